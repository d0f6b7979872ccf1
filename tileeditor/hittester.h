// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "platform/probesurface.h"
#include "platform/surface.h"
#include "tileeditor/view/tilingdrawer.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace tessella {

// The canvas pixel under a pointer at the plane point (x, y) of `canvas`'s scale. A
// pointer position computed from a whole pixel may come back a hair below it after the
// division by the zoom, so values within 1e-7 of a whole pixel count as that pixel.
std::optional<PixelPoint> canvasPixelAt(const Surface &canvas, double x, double y);

// The plane bounding boxes of one grid's tiles, taken at one moment (the window takes
// them at every full redraw, which every edit ends with). It answers only for the tile
// table it was taken from: a table that was reallocated, resized or swapped (undo) is
// not served, and code that moves corners in place without a redraw calls invalidate().
class TileBoxIndex
{
public:
    void rebuild(const Document &doc, int16_t grid);
    void invalidate() { valid_ = false; }
    bool servesFor(const Document &doc, int16_t grid) const
    {
        return valid_ && grid_ == grid && table_ == doc.tiles.data() &&
               boxes_.size() == doc.tiles.size();
    }
    // Whether tile t's box reaches the plane box [loX, hiX] x [loY, hiY].
    bool mayReach(std::size_t t, double loX, double hiX, double loY, double hiY) const
    {
        const Box &b = boxes_[t];
        return b.maxX >= loX && b.minX <= hiX && b.maxY >= loY && b.minY <= hiY;
    }

private:
    struct Box
    {
        double minX, minY, maxX, maxY; // min +inf, max -inf: a tile that is never drawn
    };
    std::vector<Box> boxes_;
    const Tile *table_ = nullptr;
    int16_t grid_ = 0;
    bool valid_ = false;
};

// Pixel hit tests of the tile editor. A tile is painted alone in the probe colour, with
// the canvas's pen width and rasteriser, onto a one-pixel probe placed at the pointer's
// canvas pixel; the tile is hit when the probe then shows the probe colour. That is the
// answer painting on the canvas gives, with nothing painted on the canvas itself. A
// bounding-box test first skips the tiles that cannot reach the pixel.
class HitTester
{
public:
    // `canvas` gives the scale and the pen width; `settings.grid` the current grid. The
    // box index, when given and still serving this table, spares reading every tile.
    HitTester(const Document &doc, const DrawSettings &settings, const Surface &canvas,
              const TileBoxIndex *boxes = nullptr);

    // Whether the painted area of tile t (fill and outline) covers the pointer's pixel.
    // Only tiles of the current grid can be hit.
    bool tileHitTest(double x, double y, std::size_t t);
    // The topmost tile of the current grid under the point (tested last to first).
    std::optional<std::size_t> foundTile(double x, double y);

private:
    // The plane box a tile's corners must reach for the tile to reach one canvas pixel.
    struct Reach
    {
        double loX, hiX, loY, hiY;
    };
    Reach reachOf(PixelPoint p) const;
    // False only when the tile cannot reach the pixel of `reach`.
    static bool boxMayCover(const Tile &tile, const Reach &reach);
    // Paints tile t alone on the probe at canvas pixel p.
    bool probeHit(std::size_t t, PixelPoint p);

    const Document &doc_;
    const TileBoxIndex *boxes_;
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
