// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/lattice.h"

#include "document/document.h"
#include "document/numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessella {

namespace {

const double kSqrt3 = std::sqrt(3.0);

struct SubLattice
{
    double a;  // cell width
    double b;  // cell height
    double ox; // origin
    double oy;
};

bool snapInCell(const SubLattice &cell, double &x, double &y, double tolerance)
{
    const double dx = (x - cell.ox) - cell.a * std::floor((x - cell.ox) / cell.a);
    const double dy = (y - cell.oy) - cell.b * std::floor((y - cell.oy) / cell.b);
    const double corners[4][2] = {
        {-dx, -dy}, {cell.a - dx, -dy}, {cell.a - dx, cell.b - dy}, {-dx, cell.b - dy}};
    for (const auto &corner : corners) {
        const double ex = corner[0];
        const double ey = corner[1];
        if (std::sqrt(ex * ex + ey * ey) < tolerance) {
            x += ex;
            y += ey;
            return true;
        }
    }
    return false;
}

// Lattice sequences are v(i) = origin + step * i for i = 0, 1, ...; index searches
// are solved directly and then checked against v itself, so a clipped walk visits
// exactly the values the full walk would.
constexpr int64_t kMaxIndex = int64_t{1} << 52;

int64_t toIndex(double d)
{
    if (std::isnan(d))
        return 0;
    return static_cast<int64_t>(
        std::clamp(d, -static_cast<double>(kMaxIndex), static_cast<double>(kMaxIndex)));
}

double valueAt(double origin, double step, int64_t i)
{
    return origin + step * static_cast<double>(i);
}

// Largest i with v(i) <= bound (may be negative: none from 0 on).
int64_t lastAtMost(double origin, double step, double bound)
{
    if (bound == std::numeric_limits<double>::infinity())
        return kMaxIndex;
    if (bound == -std::numeric_limits<double>::infinity())
        return -1;
    int64_t i = toIndex(std::floor((bound - origin) / step));
    while (i > -kMaxIndex && valueAt(origin, step, i) > bound)
        --i;
    while (i < kMaxIndex && valueAt(origin, step, i + 1) <= bound)
        ++i;
    return i;
}

// Smallest i with v(i) >= bound.
int64_t firstAtLeast(double origin, double step, double bound)
{
    if (bound == -std::numeric_limits<double>::infinity())
        return -kMaxIndex;
    if (bound == std::numeric_limits<double>::infinity())
        return kMaxIndex + 1;
    int64_t i = toIndex(std::ceil((bound - origin) / step));
    while (i < kMaxIndex && valueAt(origin, step, i) < bound)
        ++i;
    while (i > -kMaxIndex && valueAt(origin, step, i - 1) >= bound)
        --i;
    return i;
}

struct IndexRange
{
    int64_t first;
    int64_t last; // empty when first > last
};

// Indices 0 .. maxIndex whose value lies in [lo, hi].
IndexRange clipRange(double origin, double step, int64_t maxIndex, double lo, double hi)
{
    return {std::max<int64_t>(0, firstAtLeast(origin, step, lo)),
            std::min(maxIndex, lastAtMost(origin, step, hi))};
}

struct Clip
{
    double left;
    double top;
    double right;
    double bottom;
};

// Dots at origin + step * m for every m with value <= width, inside the clip.
void dotRow(double y, double origin, double step, double width, const Clip &clip,
            const LatticeMarkVisitor &visit)
{
    const IndexRange cols =
        clipRange(origin, step, lastAtMost(origin, step, width), clip.left, clip.right);
    for (int64_t m = cols.first; m <= cols.last; ++m)
        visit({valueAt(origin, step, m), y, true});
}

void rectangularMarks(double width, double height, const Clip &clip,
                      const LatticeMarkVisitor &visit)
{
    const IndexRange rows =
        clipRange(8, 16, lastAtMost(8, 16, roundHalfEven(height)), clip.top, clip.bottom);
    for (int64_t j = rows.first; j <= rows.last; ++j)
        dotRow(valueAt(8, 16, j), 8, 16, width, clip, visit);
}

void centerFaceMarks(double width, double height, const Clip &clip, const LatticeMarkVisitor &visit)
{
    const IndexRange rows =
        clipRange(0, 12, lastAtMost(0, 12, roundHalfEven(height)), clip.top, clip.bottom);
    for (int64_t i = rows.first; i <= rows.last; ++i) {
        // Rows on a multiple of 24 carry the square corners, the others the face centres.
        dotRow(valueAt(0, 12, i), i % 2 == 0 ? 0 : 12, 24, width, clip, visit);
    }
}

void hexagonalMarks(double width, double height, const Clip &clip, const LatticeMarkVisitor &visit)
{
    const int64_t lastRow = toIndex(roundHalfEven(height / 8 / kSqrt3));
    const double rowStep = 8 * kSqrt3;
    const IndexRange rows = clipRange(0, rowStep, lastRow, clip.top, clip.bottom);
    const IndexRange cols = clipRange(0, 8, lastAtMost(0, 8, width), clip.left, clip.right);
    for (int64_t r = rows.first; r <= rows.last; ++r) {
        const double y = valueAt(0, rowStep, r);
        const int64_t parity = r % 2;
        // Only nodes whose k has the row's parity are marked at all.
        int64_t k = cols.first;
        if (k % 2 != parity)
            ++k;
        for (; k <= cols.last; k += 2) {
            const double x = valueAt(0, 8, k);
            visit({x, y, false});
            const int64_t k6 = k % 6;
            const bool dot = parity == 0 ? (k6 == 0 || k6 == 4) : (k6 == 1 || k6 == 3);
            if (dot)
                visit({x, y, true});
        }
    }
}

} // namespace

SnapResult snapToGrid(int16_t grid, double x, double y, double tolerance, bool spaceDown)
{
    if (spaceDown)
        return {x, y, true};
    SubLattice cells[2];
    int cellCount = 0;
    switch (grid) {
    case GridRectangular:
        cells[cellCount++] = {16, 16, 8, 8};
        break;
    case GridCenterFace:
        cells[cellCount++] = {24, 24, 0, 0};
        cells[cellCount++] = {24, 24, 12, 12};
        break;
    case GridHexagonal:
        cells[cellCount++] = {16, 16 * kSqrt3, 0, 0};
        cells[cellCount++] = {16, 16 * kSqrt3, 8, 8 * kSqrt3};
        break;
    default:
        return {x, y, false};
    }
    for (int i = 0; i < cellCount; ++i) {
        double sx = x;
        double sy = y;
        if (snapInCell(cells[i], sx, sy, tolerance))
            return {sx, sy, true};
    }
    return {x, y, false};
}

void forEachLatticeMark(int16_t grid, double width, double height, const LatticeMarkVisitor &visit)
{
    const double inf = std::numeric_limits<double>::infinity();
    forEachLatticeMarkIn(grid, width, height, -inf, -inf, inf, inf, visit);
}

void forEachLatticeMarkIn(int16_t grid, double width, double height, double clipLeft,
                          double clipTop, double clipRight, double clipBottom,
                          const LatticeMarkVisitor &visit)
{
    if (!std::isfinite(width) || !std::isfinite(height))
        return;
    if (std::isnan(clipLeft) || std::isnan(clipTop) || std::isnan(clipRight) ||
        std::isnan(clipBottom))
        return;
    const Clip clip{clipLeft, clipTop, clipRight, clipBottom};
    switch (grid) {
    case GridRectangular:
        rectangularMarks(width, height, clip, visit);
        break;
    case GridCenterFace:
        centerFaceMarks(width, height, clip, visit);
        break;
    case GridHexagonal:
        hexagonalMarks(width, height, clip, visit);
        break;
    default:
        break;
    }
}

} // namespace tessella
