// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/hittester.h"

#include "document/numeric.h"

#include <algorithm>
#include <cmath>

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

HitTester::HitTester(const Document &doc, const DrawSettings &settings, const Surface &canvas)
    : doc_(doc), settings_(probeSettings(settings)), zoom_(canvas.zoom()),
      originX_(canvas.originX()), originY_(canvas.originY()), penWidth_(canvas.penWidth()),
      probe_(0, 0), drawer_(probe_, doc_, settings_)
{
    probe_.setScale(zoom_, originX_, originY_);
    probe_.setPenWidth(penWidth_);
}

bool HitTester::boxMayCover(const Tile &tile, PixelPoint p) const
{
    const int n = tile.usableVerts();
    if (n == 0)
        return false;
    // Pixel X = floor((x - origin) * zoom) reaches p only if lo <= x <= hi (one pixel of
    // slack for the division's rounding, the pen's half width and the rasteriser).
    const double margin = penWidth_ + 3;
    const double loX = (p.x - margin) / zoom_ + originX_;
    const double hiX = (p.x + 1 + margin) / zoom_ + originX_;
    const double loY = (p.y - margin) / zoom_ + originY_;
    const double hiY = (p.y + 1 + margin) / zoom_ + originY_;
    const Vertex *v = tile.verts.data();
    double minX = v[0].x, maxX = v[0].x, minY = v[0].y, maxY = v[0].y;
    for (int j = 1; j < n; ++j) {
        minX = std::min(minX, v[j].x);
        maxX = std::max(maxX, v[j].x);
        minY = std::min(minY, v[j].y);
        maxY = std::max(maxY, v[j].y);
    }
    return maxX >= loX && minX <= hiX && maxY >= loY && minY <= hiY;
}

bool HitTester::tileHitTest(double x, double y, std::size_t t)
{
    if (t >= doc_.tiles.size())
        return false;
    const Tile &tile = doc_.tiles[t];
    if (tile.grid != settings_.grid)
        return false;
    const std::optional<PixelPoint> p = canvasPixelAt(probe_, x, y);
    if (!p || !boxMayCover(tile, *p))
        return false;
    probe_.moveTo(p->x, p->y, kCanvasBackground);
    probe_.setPenColour(kProbeColour);
    probe_.setFillColour(kProbeColour);
    drawer_.drawTile(t);
    return probe_.value() == kProbeColour;
}

std::optional<std::size_t> HitTester::foundTile(double x, double y)
{
    for (std::size_t t = doc_.tiles.size(); t-- > 0;) {
        if (tileHitTest(x, y, t))
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
