// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/geometry.h"

#include <cmath>

namespace tessella {

Vertex rotatePoint(double cx, double cy, double px, double py, double theta)
{
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    return {cx + (px - cx) * c - (py - cy) * s, cy + (px - cx) * s + (py - cy) * c};
}

Vertex reflectPoint(double cx, double cy, double px, double py, double theta)
{
    const double c = std::cos(2 * theta);
    const double s = std::sin(2 * theta);
    return {cx + (px - cx) * c + (py - cy) * s, cy + (px - cx) * s - (py - cy) * c};
}

bool findCentroid(const Tile &tile, double &x, double &y)
{
    const int n = tile.usableVerts();
    if (n == 0)
        return false;
    double sx = 0;
    double sy = 0;
    for (int j = 0; j < n; ++j) {
        sx += tile.verts[j].x;
        sy += tile.verts[j].y;
    }
    x = sx / n;
    y = sy / n;
    return true;
}

bool groupCentroid(const Document &doc, int16_t grid, double &x, double &y)
{
    double sx = 0;
    double sy = 0;
    long count = 0;
    for (const Tile &tile : doc.tiles) {
        if (tile.grid != grid || tile.selected == 0)
            continue;
        const int n = tile.usableVerts();
        for (int j = 0; j < n; ++j) {
            sx += tile.verts[j].x;
            sy += tile.verts[j].y;
        }
        count += n;
    }
    if (count == 0)
        return false;
    x = sx / static_cast<double>(count);
    y = sy / static_cast<double>(count);
    return true;
}

namespace {

double slope(const Vertex &q, const Vertex &r)
{
    const double dx = r.x - q.x;
    if (dx == 0)
        return 999999;
    return (r.y - q.y) / dx;
}

} // namespace

void lineMerge(std::vector<Vertex> &newPts, int &newCount)
{
    const int n = newCount;
    if (n < 2 || static_cast<size_t>(n) >= newPts.size())
        return;
    const double s1 = slope(newPts[n - 1], newPts[n]);
    const double s2 = slope(newPts[n - 2], newPts[n - 1]);
    if (std::fabs(s1 - s2) < 0.0001) {
        newPts[n - 1] = newPts[n];
        newCount = n - 1;
    }
    if (newPts[0] == newPts[newCount]) {
        const double s3 = slope(newPts[0], newPts[1]);
        if (std::fabs(s1 - s3) < 0.0001) {
            newPts[0] = newPts[newCount - 1];
            newCount -= 1;
        }
    }
}

namespace {

template <typename Convert>
std::optional<PixelCoord> planeToPixel(double x, double y, double originX, double originY,
                                       double zoom, Convert convert)
{
    const std::optional<int> px = convert((x - originX) * zoom);
    const std::optional<int> py = convert((y - originY) * zoom);
    if (!px || !py)
        return std::nullopt;
    return PixelCoord{*px, *py};
}

} // namespace

std::optional<PixelCoord> planeToPixelFloor(double x, double y, double originX, double originY,
                                            double zoom)
{
    return planeToPixel(x, y, originX, originY, zoom, floorToPixel);
}

std::optional<PixelCoord> planeToPixelRound(double x, double y, double originX, double originY,
                                            double zoom)
{
    return planeToPixel(x, y, originX, originY, zoom, roundToPixel);
}

} // namespace tessella
