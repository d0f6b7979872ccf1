// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/mappedrendering.h"

namespace tessella {

MappedRendering::MappedRendering(const Document &doc, const std::vector<Tile> &unmapped,
                                 const MappingParams &params, const SurfaceRect &area, int threads)
    : unmapped_(unmapped), mapping_(params), placement_(renderPlacement(params, area))
{
    mapped_.sketches = doc.sketches;
    mapped_.grid = doc.grid;
    mapped_.tiles = unmapped_;
    if (placement_.mapped)
        mapTiles(mapped_.tiles, mapping_, placement_, threads);
}

void MappedRendering::draw(Surface &surface, const DrawSettings &settings) const
{
    TilingDrawer drawer(surface, mapped_, settings);
    if (placement_.mapped)
        setRenderingSettings(drawer.settings(), mapping_, placement_, unmapped_);
    drawer.drawList();
}

} // namespace tessella
