// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/render.h"

namespace tessella {

// A rendering onto another surface than the screen (an export's print area, a frame):
// the unmapped tiles are mapped once into a copy of the document, which any number of
// band surfaces may then draw at the same time. The print area is the drawing surface of
// the rendering: its centre is the mapped centre and its size gives the scale.
class MappedRendering
{
public:
    // `threads` map the tiles (see mapTiles).
    MappedRendering(const Document &doc, const std::vector<Tile> &unmapped,
                    const MappingParams &params, const SurfaceRect &area, int threads = 2);

    // Draws the mapped tiling with `settings` (grid, view options, colour shifts, vector
    // target); reads shared state only.
    void draw(Surface &surface, const DrawSettings &settings) const;

    const Document &mapped() const { return mapped_; }
    const RenderPlacement &placement() const { return placement_; }

private:
    Document mapped_;
    std::vector<Tile> unmapped_;
    RadialMapping mapping_;
    RenderPlacement placement_;
};

} // namespace tessella
