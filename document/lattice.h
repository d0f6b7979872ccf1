// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

namespace tessella {

// The lattices of the grid list (entries 1 .. 3; entry 0 and any other value have
// none). All measures are plane units:
//   rectangular  (8 + 16i, 8 + 16j)
//   center face  (24i, 24j) and the face centres (12 + 24i, 12 + 24j)
//   hexagonal    rows y = 8 sqrt3 r; even rows x = 16m, odd rows x = 8 + 16m

struct SnapResult
{
    double x = 0;
    double y = 0;
    bool snapped = false;
};

// Moves (x, y) to a lattice node closer than `tolerance` (strictly). Cells are tested
// sub-lattice by sub-lattice, corners in a fixed order, and the first corner that
// passes wins, not the nearest. With the space bar held every point counts as
// snapped and stays where it is; a grid without a lattice never snaps.
SnapResult snapToGrid(int16_t grid, double x, double y, double tolerance, bool spaceDown);

// One mark of the drawn lattice: a dot (filled circle of radius 1 pixel) or a single
// pixel point, centred on the plane point (x, y).
struct LatticeMark
{
    double x = 0;
    double y = 0;
    bool dot = false;
    friend bool operator==(const LatticeMark &, const LatticeMark &) = default;
};

using LatticeMarkVisitor = std::function<void(const LatticeMark &)>;

// Every mark of the lattice drawn on a canvas of width x height plane units, row by
// row from the top, left to right within a row. On the hexagonal lattice a node that
// carries a dot yields its point first, then the dot. Nothing for a non-finite size.
void forEachLatticeMark(int16_t grid, double width, double height, const LatticeMarkVisitor &visit);

// The marks of forEachLatticeMark that lie inside the clip rectangle (edges
// included), in the same order. Work grows with the marks inside the clip, not with
// the canvas, so a viewport can draw just what it shows (widen the clip by the dot
// radius to catch dots straddling its edge).
void forEachLatticeMarkIn(int16_t grid, double width, double height, double clipLeft,
                          double clipTop, double clipRight, double clipBottom,
                          const LatticeMarkVisitor &visit);

} // namespace tessella
