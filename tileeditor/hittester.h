// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "platform/probesurface.h"
#include "platform/surface.h"
#include "tileeditor/view/tilingdrawer.h"

#include <cstddef>
#include <optional>

namespace tessella {

// The canvas pixel under a pointer at the plane point (x, y) of `canvas`'s scale. A
// pointer position computed from a whole pixel may come back a hair below it after the
// division by the zoom, so values within 1e-7 of a whole pixel count as that pixel.
std::optional<PixelPoint> canvasPixelAt(const Surface &canvas, double x, double y);

// Pixel hit tests of the tile editor. A tile is painted alone in the probe colour, with
// the canvas's pen width and rasteriser, onto a one-pixel probe placed at the pointer's
// canvas pixel; the tile is hit when the probe then shows the probe colour. That is the
// answer painting on the canvas gives, with nothing painted on the canvas itself. A
// bounding-box test first skips the tiles that cannot reach the pixel.
class HitTester
{
public:
    // `canvas` gives the scale and the pen width; `settings.grid` the current grid.
    HitTester(const Document &doc, const DrawSettings &settings, const Surface &canvas);

    // Whether the painted area of tile t (fill and outline) covers the pointer's pixel.
    // Only tiles of the current grid can be hit.
    bool tileHitTest(double x, double y, std::size_t t);
    // The topmost tile of the current grid under the point (tested last to first).
    std::optional<std::size_t> foundTile(double x, double y);

private:
    // False only when tile t cannot reach canvas pixel p.
    bool boxMayCover(const Tile &tile, PixelPoint p) const;

    const Document &doc_;
    DrawSettings settings_;
    double zoom_;
    double originX_;
    double originY_;
    int penWidth_;
    ProbeSurface probe_;
    TilingDrawer drawer_;
};

// Toggles `selected` of every tile of the current grid under the point (overlapping
// tiles are all toggled). Returns whether any tile was hit.
bool groupTile(Document &doc, HitTester &tester, double x, double y);

} // namespace tessella
