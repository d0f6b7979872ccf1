// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/document.h"
#include "document/lattice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace tessella;

namespace {

const double kSqrt3 = std::sqrt(3.0);

std::vector<LatticeMark> allMarks(int16_t grid, double w, double h)
{
    std::vector<LatticeMark> marks;
    forEachLatticeMark(grid, w, h, [&](const LatticeMark &m) { marks.push_back(m); });
    return marks;
}

std::vector<LatticeMark> clippedMarks(int16_t grid, double w, double h, double l, double t,
                                      double r, double b)
{
    std::vector<LatticeMark> marks;
    forEachLatticeMarkIn(grid, w, h, l, t, r, b, [&](const LatticeMark &m) { marks.push_back(m); });
    return marks;
}

} // namespace

TEST(SnapToGrid, RectangularCases)
{
    SnapResult s = snapToGrid(GridRectangular, 13, 9, 6, false);
    EXPECT_TRUE(s.snapped);
    EXPECT_EQ(s.x, 8);
    EXPECT_EQ(s.y, 8);

    s = snapToGrid(GridRectangular, 21, 21, 6, false); // third corner of the cell
    EXPECT_TRUE(s.snapped);
    EXPECT_EQ(s.x, 24);
    EXPECT_EQ(s.y, 24);

    s = snapToGrid(GridRectangular, 19, 20, 6, false); // nearest node 6.4 away
    EXPECT_FALSE(s.snapped);
    EXPECT_EQ(s.x, 19);
    EXPECT_EQ(s.y, 20);

    s = snapToGrid(GridRectangular, -9, -7, 6, false); // cells before the origin
    EXPECT_TRUE(s.snapped);
    EXPECT_EQ(s.x, -8);
    EXPECT_EQ(s.y, -8);
}

TEST(SnapToGrid, ToleranceIsStrict)
{
    EXPECT_FALSE(snapToGrid(GridRectangular, 14, 8, 6, false).snapped);
    EXPECT_TRUE(snapToGrid(GridRectangular, 13.999, 8, 6, false).snapped);
}

TEST(SnapToGrid, FirstPassingCornerWinsNotTheNearest)
{
    // (20, 20) is 5.7 from (24, 24) but the first corner (8, 8), 17 away, passes first.
    const SnapResult s = snapToGrid(GridRectangular, 20, 20, 20, false);
    EXPECT_TRUE(s.snapped);
    EXPECT_EQ(s.x, 8);
    EXPECT_EQ(s.y, 8);
}

TEST(SnapToGrid, CenterFaceUsesFaceCentres)
{
    const SnapResult s = snapToGrid(GridCenterFace, 10, 11, 6, false);
    EXPECT_TRUE(s.snapped);
    EXPECT_EQ(s.x, 12);
    EXPECT_EQ(s.y, 12);
    const SnapResult corner = snapToGrid(GridCenterFace, 47, 2, 6, false);
    EXPECT_TRUE(corner.snapped);
    EXPECT_EQ(corner.x, 48);
    EXPECT_EQ(corner.y, 0);
}

TEST(SnapToGrid, HexagonalOddRowNodeWithinFive)
{
    // Node of an odd row: x = 8 + 16m, y = 8 sqrt3 (2r + 1), here m = 2, r = 1.
    const double nx = 40;
    const double ny = 24 * kSqrt3;
    for (const auto &[ox, oy] : std::vector<std::pair<double, double>>{
             {3, 4}, {-3, 4}, {3, -4}, {-3, -4}, {5, 0}, {0, -5}}) {
        const SnapResult s = snapToGrid(GridHexagonal, nx + ox, ny + oy, 6, false);
        EXPECT_TRUE(s.snapped) << ox << "," << oy;
        EXPECT_NEAR(s.x, nx, 1e-9);
        EXPECT_NEAR(s.y, ny, 1e-9);
    }
    // Even-row node (32, 16 sqrt3).
    const SnapResult even = snapToGrid(GridHexagonal, 35, 16 * kSqrt3 - 4, 6, false);
    EXPECT_TRUE(even.snapped);
    EXPECT_NEAR(even.x, 32, 1e-9);
    EXPECT_NEAR(even.y, 16 * kSqrt3, 1e-9);
    // Between the rows, far from every node.
    EXPECT_FALSE(snapToGrid(GridHexagonal, 8, 7, 6, false).snapped);
}

TEST(SnapToGrid, SpaceAndEmptyGrid)
{
    SnapResult s = snapToGrid(GridRectangular, 19, 20, 6, true);
    EXPECT_TRUE(s.snapped); // free placement counts as placed
    EXPECT_EQ(s.x, 19);
    EXPECT_EQ(s.y, 20);
    s = snapToGrid(GridNone, 8, 8, 6, false);
    EXPECT_FALSE(s.snapped);
    EXPECT_EQ(s.x, 8);
    EXPECT_FALSE(snapToGrid(17, 8, 8, 6, false).snapped); // unknown grid from a file
}

TEST(SnapToGrid, SmallToleranceRemovesDriftAndNanNeverSnaps)
{
    const SnapResult s = snapToGrid(GridRectangular, 24.0000001, 7.9999999, 0.001, false);
    EXPECT_TRUE(s.snapped);
    EXPECT_NEAR(s.x, 24, 1e-12);
    EXPECT_NEAR(s.y, 8, 1e-12);
    const SnapResult n = snapToGrid(GridRectangular, std::nan(""), 8, 6, false);
    EXPECT_FALSE(n.snapped);
    // Far out every double is within a rounding step of a node; it must stay finite.
    const SnapResult far = snapToGrid(GridHexagonal, 1e300, -1e300, 6, false);
    EXPECT_TRUE(std::isfinite(far.x) && std::isfinite(far.y));
}

TEST(LatticeMarks, RectangularRowsUseTheRoundedHeight)
{
    const auto marks = allMarks(GridRectangular, 40, 40);
    ASSERT_EQ(marks.size(), 9u);
    EXPECT_EQ(marks.front(), (LatticeMark{8, 8, true}));
    EXPECT_EQ(marks[1], (LatticeMark{24, 8, true}));
    EXPECT_EQ(marks.back(), (LatticeMark{40, 40, true}));
    // 39.5 rounds to 40 (row y = 40 drawn), 38.5 to 38 (it is not): halves to even.
    EXPECT_EQ(allMarks(GridRectangular, 40, 39.5).size(), 9u);
    EXPECT_EQ(allMarks(GridRectangular, 40, 38.5).size(), 6u);
    // The width is not rounded.
    EXPECT_EQ(allMarks(GridRectangular, 39.9, 40).size(), 6u);
}

TEST(LatticeMarks, CenterFaceAlternatesCornerAndFaceRows)
{
    const auto marks = allMarks(GridCenterFace, 48, 24);
    const std::vector<LatticeMark> expected = {{0, 0, true},   {24, 0, true},  {48, 0, true},
                                               {12, 12, true}, {36, 12, true}, {0, 24, true},
                                               {24, 24, true}, {48, 24, true}};
    EXPECT_EQ(marks, expected);
}

TEST(LatticeMarks, HexagonalPointsAndDots)
{
    const double y1 = 8 * kSqrt3;
    const double y2 = 8 * kSqrt3 * 2;
    const auto marks = allMarks(GridHexagonal, 48, 28); // R = rnd(2.02) = 2
    const std::vector<LatticeMark> expected = {
        {0, 0, false},   {0, 0, true},    {16, 0, false},  {32, 0, false}, {32, 0, true},
        {48, 0, false},  {48, 0, true},   {8, y1, false},  {8, y1, true},  {24, y1, false},
        {24, y1, true},  {40, y1, false}, {0, y2, false},  {0, y2, true},  {16, y2, false},
        {32, y2, false}, {32, y2, true},  {48, y2, false}, {48, y2, true}};
    EXPECT_EQ(marks, expected);
    // Rows stop at R even when the canvas is taller than row R.
    EXPECT_EQ(allMarks(GridHexagonal, 0, 34).size(), allMarks(GridHexagonal, 0, 28).size());
}

TEST(LatticeMarks, NothingForEmptyGridOrBadSizes)
{
    EXPECT_TRUE(allMarks(GridNone, 100, 100).empty());
    EXPECT_TRUE(allMarks(9, 100, 100).empty());
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(allMarks(GridRectangular, inf, 100).empty());
    EXPECT_TRUE(allMarks(GridHexagonal, 100, std::nan("")).empty());
    EXPECT_TRUE(allMarks(GridCenterFace, -5, -5).empty());
}

TEST(LatticeMarks, ClipYieldsExactlyTheMatchingSubset)
{
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> coord(-40, 260);
    const std::vector<std::array<double, 4>> fixedClips = {
        {8, 8, 8, 8},       // exactly one node
        {0, 0, 0, 0},       // the origin
        {-50, -50, -1, -1}, // entirely before the canvas
        {30, 30, 10, 10},   // inverted: empty
        {12, 24, 36, 48},   // edges on nodes
    };
    for (int16_t grid : {GridRectangular, GridCenterFace, GridHexagonal}) {
        for (const auto &[w, h] :
             std::vector<std::pair<double, double>>{{200, 150}, {199.5, 150.5}, {64, 27.7}}) {
            const auto full = allMarks(grid, w, h);
            ASSERT_FALSE(full.empty());
            std::vector<std::array<double, 4>> clips = fixedClips;
            for (int i = 0; i < 40; ++i) {
                double a = coord(rng), b = coord(rng), c = coord(rng), d = coord(rng);
                clips.push_back({std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)});
            }
            for (const auto &[l, t, r, b] : clips) {
                std::vector<LatticeMark> expected;
                for (const LatticeMark &m : full)
                    if (m.x >= l && m.x <= r && m.y >= t && m.y <= b)
                        expected.push_back(m);
                EXPECT_EQ(clippedMarks(grid, w, h, l, t, r, b), expected)
                    << "grid " << grid << " clip " << l << "," << t << "," << r << "," << b;
            }
        }
    }
}

TEST(LatticeMarks, ClipOfAHugeCanvasVisitsOnlyTheVisibleNodes)
{
    // Enumerating this canvas whole would take 10^19 steps.
    const auto marks = clippedMarks(GridRectangular, 1e11, 1e11, 1e9, 1e9, 1e9 + 40, 1e9 + 40);
    ASSERT_EQ(marks.size(), 9u);
    EXPECT_EQ(marks.front(), (LatticeMark{1e9 + 8, 1e9 + 8, true}));
    EXPECT_EQ(marks.back(), (LatticeMark{1e9 + 40, 1e9 + 40, true}));

    const auto hex = clippedMarks(GridHexagonal, 1e11, 1e11, 5e8, 5e8, 5e8 + 100, 5e8 + 100);
    EXPECT_FALSE(hex.empty());
    for (const LatticeMark &m : hex) {
        EXPECT_GE(m.x, 5e8);
        EXPECT_LE(m.y, 5e8 + 100);
    }
}
