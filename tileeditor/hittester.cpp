// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/hittester.h"

#include "document/numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessella {

std::optional<PixelPoint> canvasPixelAt(const Surface &canvas, double x, double y)
{
    auto toPixel = [](double v) -> std::optional<int> {
        const double whole = roundHalfEven(v);
        return std::fabs(v - whole) < 1e-7 ? roundToPixel(v) : floorToPixel(v);
    };
    const std::optional<int> px = toPixel((x - canvas.originX()) * canvas.zoom());
    const std::optional<int> py = toPixel((y - canvas.originY()) * canvas.zoom());
    if (!px || !py)
        return std::nullopt;
    return PixelPoint{*px, *py};
}

namespace {

DrawSettings probeSettings(DrawSettings settings)
{
    settings.hitTesting = true;
    settings.probePass = true;
    settings.vectorTarget = nullptr;
    settings.rendering = false;
    return settings;
}

} // namespace

void TileBoxIndex::rebuild(const Document &doc, int16_t grid)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr Box kNever{inf, inf, -inf, -inf};
    boxes_.resize(doc.tiles.size());
    for (std::size_t t = 0; t < doc.tiles.size(); ++t) {
        const Tile &tile = doc.tiles[t];
        Box box = kNever;
        const int n = tile.usableVerts();
        bool finite = n > 0 && tile.grid == grid;
        for (int j = 0; j < n && finite; ++j) {
            const Vertex &v = tile.verts[std::size_t(j)];
            finite = std::isfinite(v.x) && std::isfinite(v.y);
            if (j == 0) {
                box = {v.x, v.y, v.x, v.y};
                continue;
            }
            box.minX = std::min(box.minX, v.x);
            box.minY = std::min(box.minY, v.y);
            box.maxX = std::max(box.maxX, v.x);
            box.maxY = std::max(box.maxY, v.y);
        }
        // A tile of another grid, without corners or with a non-finite one is never
        // drawn, so it can never be hit.
        boxes_[t] = finite ? box : kNever;
    }
    table_ = doc.tiles.data();
    grid_ = grid;
    valid_ = true;
}

HitTester::HitTester(const Document &doc, const DrawSettings &settings, const Surface &canvas,
                     const TileBoxIndex *boxes)
    : doc_(doc), boxes_(boxes), settings_(probeSettings(settings)), zoom_(canvas.zoom()),
      originX_(canvas.originX()), originY_(canvas.originY()), penWidth_(canvas.penWidth()),
      probe_(0, 0), drawer_(probe_, doc_, settings_)
{
    probe_.setScale(zoom_, originX_, originY_);
    probe_.setPenWidth(penWidth_);
}

HitTester::Reach HitTester::reachOf(PixelPoint p) const
{
    // Pixel X = floor((x - origin) * zoom) reaches p only if lo <= x <= hi (one pixel of
    // slack for the division's rounding, the pen's half width and the rasteriser).
    const double margin = penWidth_ + 3;
    return {(p.x - margin) / zoom_ + originX_, (p.x + 1 + margin) / zoom_ + originX_,
            (p.y - margin) / zoom_ + originY_, (p.y + 1 + margin) / zoom_ + originY_};
}

bool HitTester::boxMayCover(const Tile &tile, const Reach &reach)
{
    // The per-tile part of every click: kept inline and branch-light.
    const std::size_t n =
        std::min<std::size_t>(std::size_t(std::max<int>(tile.nVerts, 0)), tile.verts.size());
    if (n == 0)
        return false;
    // Independent comparisons rather than a running minimum: no dependency chain.
    const Vertex *v = tile.verts.data();
    bool right = false, left = false, below = false, above = false;
    for (std::size_t k = 0; k < n; ++k) {
        right |= v[k].x >= reach.loX;
        left |= v[k].x <= reach.hiX;
        below |= v[k].y >= reach.loY;
        above |= v[k].y <= reach.hiY;
    }
    return right && left && below && above;
}

bool HitTester::probeHit(std::size_t t, PixelPoint p)
{
    probe_.moveTo(p.x, p.y, kCanvasBackground);
    probe_.setPenColour(kProbeColour);
    probe_.setFillColour(kProbeColour);
    drawer_.drawTile(t);
    return probe_.value() == kProbeColour;
}

bool HitTester::tileHitTest(double x, double y, std::size_t t)
{
    if (t >= doc_.tiles.size())
        return false;
    const Tile &tile = doc_.tiles[t];
    if (tile.grid != settings_.grid)
        return false;
    const std::optional<PixelPoint> p = canvasPixelAt(probe_, x, y);
    if (!p)
        return false;
    const Reach reach = reachOf(*p);
    const bool mayCover = boxes_ && boxes_->servesFor(doc_, settings_.grid)
                              ? boxes_->mayReach(t, reach.loX, reach.hiX, reach.loY, reach.hiY)
                              : boxMayCover(tile, reach);
    return mayCover && probeHit(t, *p);
}

std::optional<std::size_t> HitTester::foundTile(double x, double y)
{
    const std::optional<PixelPoint> p = canvasPixelAt(probe_, x, y);
    if (!p)
        return std::nullopt;
    const Reach reach = reachOf(*p);
    const std::vector<Tile> &tiles = doc_.tiles;
    const int16_t grid = settings_.grid;
    if (boxes_ && boxes_->servesFor(doc_, grid)) {
        for (std::size_t t = tiles.size(); t-- > 0;) {
            if (boxes_->mayReach(t, reach.loX, reach.hiX, reach.loY, reach.hiY) &&
                tiles[t].grid == grid && probeHit(t, *p))
                return t;
        }
        return std::nullopt;
    }
    for (std::size_t t = tiles.size(); t-- > 0;) {
        const Tile &tile = tiles[t];
        if (tile.grid == grid && boxMayCover(tile, reach) && probeHit(t, *p))
            return t;
    }
    return std::nullopt;
}

bool groupTile(Document &doc, HitTester &tester, double x, double y)
{
    bool found = false;
    for (std::size_t t = doc.tiles.size(); t-- > 0;) {
        if (tester.tileHitTest(x, y, t)) {
            found = true;
            doc.tiles[t].selected = doc.tiles[t].selected != 0 ? kFalse : kTrue;
        }
    }
    return found;
}

} // namespace tessella
