// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/numeric.h"
#include "document/records.h"

#include <optional>
#include <vector>

namespace tessella {

// Point (px, py) turned by theta radians about (cx, cy). Plane units.
Vertex rotatePoint(double cx, double cy, double px, double py, double theta);

// Mirror image of (px, py) across the line through (cx, cy) at angle theta (radians).
Vertex reflectPoint(double cx, double cy, double px, double py, double theta);

// Mean of the tile's corners 0 .. nVerts - 1 (not the area centroid). Only the corners
// actually stored are read. Returns false and leaves x, y unchanged for a tile
// without corners.
bool findCentroid(const Tile &tile, double &x, double &y);

// Mean of every corner of every tile on `grid` whose `selected` flag is set; each
// corner weighs the same. Returns false and leaves x, y unchanged when there is none.
bool groupCentroid(const Document &doc, int16_t grid, double &x, double &y);

// Tidies a polygon being entered after its newest point was stored at
// newPts[newCount]: drops a middle point that lies on the line of its neighbours and,
// when the polygon has just been closed on its start point, a start point lying on
// the closing line. Slopes are compared (vertical = 999999), so a reversal along the
// same line merges as well. Does nothing when newCount < 2 or newPts does not hold
// index newCount.
void lineMerge(std::vector<Vertex> &newPts, int &newCount);

// A pixel position of the drawing surface.
struct PixelCoord
{
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelCoord &, const PixelCoord &) = default;
};

// Plane point to pixel: floor((x - originX) * zoom), floor((y - originY) * zoom),
// saturated to +-kPixelLimit. nullopt when either coordinate is not finite.
std::optional<PixelCoord> planeToPixelFloor(double x, double y, double originX, double originY,
                                            double zoom);

// As planeToPixelFloor, but rounding halves to even (vector export points, dots).
std::optional<PixelCoord> planeToPixelRound(double x, double y, double originX, double originY,
                                            double zoom);

} // namespace tessella
