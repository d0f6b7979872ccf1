// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace tessella;

namespace {

Tile polygon(const std::vector<Vertex> &corners)
{
    Tile t;
    t.setCorners(corners);
    t.grid = GridRectangular;
    return t;
}

} // namespace

TEST(PointFunctions, RotateAboutCentre)
{
    const Vertex quarter = rotatePoint(1, 1, 2, 1, std::numbers::pi / 2);
    EXPECT_NEAR(quarter.x, 1, 1e-12);
    EXPECT_NEAR(quarter.y, 2, 1e-12); // y grows downwards: a positive angle turns clockwise
    const Vertex none = rotatePoint(5, 5, 7, -3, 0);
    EXPECT_EQ(none, (Vertex{7, -3}));
}

TEST(PointFunctions, ReflectAcrossLine)
{
    // Across the vertical line through the origin: x is negated.
    const Vertex mirrored = reflectPoint(0, 0, 3, 4, std::numbers::pi / 2);
    EXPECT_NEAR(mirrored.x, -3, 1e-12);
    EXPECT_NEAR(mirrored.y, 4, 1e-12);
    // Across the horizontal line y = 2.
    const Vertex flipped = reflectPoint(0, 2, 5, 5, 0);
    EXPECT_NEAR(flipped.x, 5, 1e-12);
    EXPECT_NEAR(flipped.y, -1, 1e-12);
    // Across the diagonal through (1, 1): coordinates relative to it swap.
    const Vertex diag = reflectPoint(1, 1, 3, 2, std::numbers::pi / 4);
    EXPECT_NEAR(diag.x, 2, 1e-12);
    EXPECT_NEAR(diag.y, 3, 1e-12);
}

TEST(Centroid, IsTheVertexMean)
{
    double x = 0, y = 0;
    ASSERT_TRUE(findCentroid(polygon({{0, 0}, {2, 0}, {2, 2}, {0, 2}}), x, y));
    EXPECT_DOUBLE_EQ(x, 1);
    EXPECT_DOUBLE_EQ(y, 1);
    // Not the area centroid: the clustered corners pull the centre.
    ASSERT_TRUE(findCentroid(polygon({{0, 0}, {4, 0}, {4, 1}, {3, 1}}), x, y));
    EXPECT_DOUBLE_EQ(x, 2.75);
    EXPECT_DOUBLE_EQ(y, 0.5);
}

TEST(Centroid, TileWithoutCornersLeavesOutputsUnchanged)
{
    Tile empty;
    double x = 7, y = 9;
    EXPECT_FALSE(findCentroid(empty, x, y));
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 9);

    Tile negative = polygon({{1, 1}, {2, 2}, {3, 3}});
    negative.nVerts = -4;
    EXPECT_FALSE(findCentroid(negative, x, y));
    EXPECT_EQ(x, 7);
}

TEST(Centroid, CountLargerThanStoredArrayReadsOnlyStoredCorners)
{
    Tile t;
    t.verts = {{0, 0}, {6, 0}, {0, 3}};
    t.nVerts = 200; // damaged count
    double x = 0, y = 0;
    ASSERT_TRUE(findCentroid(t, x, y));
    EXPECT_DOUBLE_EQ(x, 2);
    EXPECT_DOUBLE_EQ(y, 1);
}

TEST(Centroid, SpareClosingElementIsNotCounted)
{
    Tile t = polygon({{0, 0}, {3, 0}, {0, 3}}); // stores a fourth, closing copy
    ASSERT_EQ(t.verts.size(), 4u);
    double x = 0, y = 0;
    ASSERT_TRUE(findCentroid(t, x, y));
    EXPECT_DOUBLE_EQ(x, 1);
    EXPECT_DOUBLE_EQ(y, 1);
}

TEST(GroupCentroid, WeighsEveryCornerOfSelectedTilesOnTheGrid)
{
    Document doc;
    doc.tiles.push_back(polygon({{0, 0}, {2, 0}, {2, 2}, {0, 2}}));     // square, sum (4, 4)
    doc.tiles.push_back(polygon({{10, 0}, {13, 0}, {10, 3}}));          // triangle, sum (33, 3)
    doc.tiles.push_back(polygon({{100, 100}, {101, 100}, {100, 101}})); // not selected
    doc.tiles.push_back(polygon({{-50, 0}, {-40, 0}, {-50, 5}}));       // other grid
    doc.tiles[0].selected = kTrue;
    doc.tiles[1].selected = kTrue;
    doc.tiles[3].selected = kTrue;
    doc.tiles[3].grid = GridHexagonal;
    double x = 0, y = 0;
    ASSERT_TRUE(groupCentroid(doc, GridRectangular, x, y));
    EXPECT_DOUBLE_EQ(x, 37.0 / 7);
    EXPECT_DOUBLE_EQ(y, 7.0 / 7);
}

TEST(GroupCentroid, NothingSelectedLeavesOutputsUnchanged)
{
    Document doc;
    doc.tiles.push_back(polygon({{0, 0}, {2, 0}, {2, 2}}));
    double x = -3, y = 4;
    EXPECT_FALSE(groupCentroid(doc, GridRectangular, x, y));
    EXPECT_EQ(x, -3);
    EXPECT_EQ(y, 4);
    doc.tiles[0].selected = kTrue;
    EXPECT_FALSE(groupCentroid(doc, GridCenterFace, x, y)); // selected, but on another grid
    EXPECT_EQ(x, -3);
}

namespace {

// Enters the points one by one as the new-tile gesture does: store at newCount, merge,
// then count the stored point.
std::vector<Vertex> enter(const std::vector<Vertex> &points, int &newCount)
{
    std::vector<Vertex> newPts(points.size() + 1);
    newCount = 0;
    for (const Vertex &p : points) {
        newPts[newCount] = p;
        lineMerge(newPts, newCount);
        ++newCount;
    }
    newPts.resize(newCount);
    return newPts;
}

} // namespace

TEST(LineMerge, CollinearMiddlePointIsDropped)
{
    int count = 0;
    const auto pts = enter({{0, 0}, {1, 0}, {2, 0}}, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(pts, (std::vector<Vertex>{{0, 0}, {2, 0}}));
}

TEST(LineMerge, VerticalSegmentsMergeThroughTheSentinel)
{
    int count = 0;
    const auto pts = enter({{0, 0}, {0, 1}, {0, 2}}, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(pts, (std::vector<Vertex>{{0, 0}, {0, 2}}));
}

TEST(LineMerge, ReversalAlongTheSameLineMerges)
{
    int count = 0;
    const auto pts = enter({{0, 0}, {4, 2}, {2, 1}}, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(pts, (std::vector<Vertex>{{0, 0}, {2, 1}}));
}

TEST(LineMerge, CornerIsKept)
{
    int count = 0;
    const auto pts = enter({{0, 0}, {2, 0}, {2, 1}}, count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(pts, (std::vector<Vertex>{{0, 0}, {2, 0}, {2, 1}}));
}

TEST(LineMerge, ClosedRectangleStartedMidEdgeDropsItsStart)
{
    std::vector<Vertex> newPts(8);
    const std::vector<Vertex> input = {{1, 0}, {2, 0}, {2, 1}, {0, 1}, {0, 0}, {1, 0}};
    int newCount = 0;
    for (size_t i = 0; i < input.size(); ++i) {
        newPts[newCount] = input[i];
        lineMerge(newPts, newCount);
        if (i + 1 < input.size())
            ++newCount;
    }
    // Closed: starts and ends (at index newCount) with the same point.
    ASSERT_EQ(newCount, 4);
    EXPECT_EQ(newPts[0], (Vertex{0, 0}));
    EXPECT_EQ(newPts[newCount], newPts[0]);
    EXPECT_EQ(newPts[1], (Vertex{2, 0}));
    EXPECT_EQ(newPts[2], (Vertex{2, 1}));
    EXPECT_EQ(newPts[3], (Vertex{0, 1}));
}

TEST(LineMerge, ClosingOnACornerKeepsTheStart)
{
    std::vector<Vertex> newPts = {{0, 0}, {2, 0}, {2, 2}, {0, 0}};
    int newCount = 3;
    lineMerge(newPts, newCount);
    EXPECT_EQ(newCount, 3);
    EXPECT_EQ(newPts[0], (Vertex{0, 0}));
}

TEST(LineMerge, DegenerateClosingsStayInBounds)
{
    // A reversal back onto the start: the middle point merges, one corner is left.
    std::vector<Vertex> newPts = {{8, 8}, {24, 8}, {8, 8}};
    int newCount = 2;
    lineMerge(newPts, newCount);
    EXPECT_EQ(newCount, 1);
    EXPECT_EQ(newPts[1], (Vertex{8, 8}));

    // The vertical variant: both merges fire and nothing is left.
    newPts = {{8, 8}, {8, 24}, {8, 8}};
    newCount = 2;
    lineMerge(newPts, newCount);
    EXPECT_EQ(newCount, 0);
    EXPECT_EQ(newPts[0], (Vertex{8, 8}));
}

TEST(LineMerge, TooFewPointsOrShortArrayDoNothing)
{
    std::vector<Vertex> newPts = {{0, 0}, {1, 0}};
    int newCount = 1;
    lineMerge(newPts, newCount);
    EXPECT_EQ(newCount, 1);
    newCount = 2; // index 2 is not stored
    lineMerge(newPts, newCount);
    EXPECT_EQ(newCount, 2);
    EXPECT_EQ(newPts, (std::vector<Vertex>{{0, 0}, {1, 0}}));
}

TEST(PixelConversion, FloorAndHalvesToEven)
{
    EXPECT_EQ(floorToPixel(2.7), 2);
    EXPECT_EQ(floorToPixel(-0.5), -1);
    EXPECT_EQ(floorToPixel(-3.0), -3);
    EXPECT_EQ(roundToPixel(2.5), 2);
    EXPECT_EQ(roundToPixel(3.5), 4);
    EXPECT_EQ(roundToPixel(-2.5), -2);
    EXPECT_EQ(roundToPixel(2.5000001), 3);
}

TEST(PixelConversion, NonFiniteIsReportedAndHugeSaturates)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(floorToPixel(std::nan("")), std::nullopt);
    EXPECT_EQ(floorToPixel(inf), std::nullopt);
    EXPECT_EQ(roundToPixel(-inf), std::nullopt);
    EXPECT_EQ(floorToPixel(1e300), kPixelLimit);
    EXPECT_EQ(floorToPixel(-1e300), -kPixelLimit);
    EXPECT_EQ(roundToPixel(4e9), kPixelLimit);
    EXPECT_EQ(roundToInt(1e20, -5, 5), 5);
    EXPECT_EQ(roundToInt(-inf, -5, 5), -5);
    EXPECT_EQ(roundToInt(std::nan(""), -5, 5), std::nullopt);
}

TEST(PixelConversion, PlanePointsUseOriginAndZoom)
{
    EXPECT_EQ(planeToPixelFloor(10.3, -0.2, 0, 0, 2), (PixelCoord{20, -1}));
    EXPECT_EQ(planeToPixelFloor(110, 60, 100, 50, 0.5), (PixelCoord{5, 5}));
    EXPECT_EQ(planeToPixelRound(1.25, 1.75, 0, 0, 2), (PixelCoord{2, 4}));
    EXPECT_EQ(planeToPixelFloor(std::nan(""), 0, 0, 0, 1), std::nullopt);
    EXPECT_EQ(planeToPixelRound(0, 1e308, 0, 0, 1e10), std::nullopt); // overflows to inf
    EXPECT_EQ(planeToPixelFloor(1e12, -1e12, 0, 0, 1), (PixelCoord{kPixelLimit, -kPixelLimit}));
}
