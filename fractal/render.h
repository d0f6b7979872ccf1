// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/undo.h"
#include "fractal/mapping.h"
#include "tileeditor/view/tilingdrawer.h"

#include <vector>

namespace tessella {

// The part of the plane a drawing surface shows, in its own scale units (plane units on
// screen, the print area in an export).
struct SurfaceRect
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// Where a rendering puts the mapped points: x * mapScale + mapCenterX (surface units),
// or, for pinch and wave, back about the reference centre in plane units.
struct RenderPlacement
{
    bool mapped = false; // false: no circle, the tiles are drawn as they are
    double mapScale = 1;
    double mapCenterX = 0;
    double mapCenterY = 0;
    // The longest mapped piece left undivided (mapped units); 0: no subdivision.
    double segLength = 0;
};

// Most vertices one mapped tile may have.
inline constexpr int kMaxMappedVerts = 32767;

// Scale, centre and piece length of a rendering onto `rect`. Without a usable circle
// (radius not above 0, or not finite) nothing is mapped.
RenderPlacement renderPlacement(const MappingParams &params, const SurfaceRect &rect);

// Maps the tile's outline, adding points along every edge whose mapped length reaches
// segLength (interpolated before mapping), at most kMaxMappedVerts in all: longer pieces
// are taken for that tile when needed. segLength not above 0 or not finite maps the
// corners only. The result is in mapped units, not yet placed.
void subdivideTile(Tile &tile, const RadialMapping &mapping, double segLength);

// Maps and places every tile in place, on both cores (or `threads`). The tiles must be
// unmapped.
void mapTiles(std::vector<Tile> &tiles, const RadialMapping &mapping,
              const RenderPlacement &placement, int threads = 2);

// The drawing settings that place sketches like the mapped tiles.
void setRenderingSettings(DrawSettings &settings, const RadialMapping &mapping,
                          const RenderPlacement &placement, const std::vector<Tile> &unmapped);

// One rendering: puts the unmapped tiles of `snapshot` back (so renderings never
// compound), maps them for `rect` with the parameters read once, and draws the tiling
// with the drawer (whose surface the caller has cleared). Returns the placement used.
RenderPlacement Frender(TilingDrawer &drawer, Document &doc, FractalSnapshot &snapshot,
                        const MappingParams &params, const SurfaceRect &rect);

} // namespace tessella
