// SPDX-License-Identifier: GPL-3.0-or-later
// Every link keeps its destination the image of its source while the source is edited,
// and the returned polygon still tiles.
#include "linkcheck.h"

namespace tessella::testing {
namespace {

const std::vector<Vertex> kSquare{{0, 0}, {200, 0}, {200, 200}, {0, 200}};
const std::vector<Vertex> kParallelogram{{0, 0}, {240, 0}, {300, 160}, {60, 160}};
const std::vector<Vertex> kTriangle{{0, 0}, {200, 0}, {100, 160}};
const std::vector<Vertex> kHexagon{{0, 0}, {240, 0}, {360, 160}, {240, 320}, {0, 320}, {-120, 160}};
const std::vector<Vertex> kRectangle{{0, 0}, {240, 0}, {240, 120}, {0, 120}};

class MappingTest : public LinkTest
{
protected:
    // Translates edge k onto its partner, edits it and returns the link's isometry.
    Isometry translateEdge(int k, int partner)
    {
        const int n = static_cast<int>(corners().size()) - 1;
        link(XformTranslate, along(k, (k + 1) % (n + 1), 0.5));
        EXPECT_EQ(xforms.xlSrc, corner(k));
        EXPECT_EQ(xforms.xlDst, corner(partner + 1));
        editSource(1e-9);
        return xforms.linkIsometry();
    }
};

TEST_F(MappingTest, SquareTranslationsTile)
{
    open(kSquare);
    const Isometry bottom = translateEdge(0, 2);
    EXPECT_EQ(bottom.dy, 200);
    const Isometry left = translateEdge(3, 1);
    EXPECT_EQ(left.dx, 200);
    expectTiles(0, 2, bottom, 1e-9);
    expectTiles(3, 1, left, 1e-9);
}

TEST_F(MappingTest, ParallelogramTranslationsTile)
{
    open(kParallelogram);
    const Isometry a = translateEdge(0, 2);
    const Isometry b = translateEdge(1, 3);
    expectTiles(0, 2, a, 1e-9);
    expectTiles(1, 3, b, 1e-9);
}

TEST_F(MappingTest, HexagonTranslationsTile)
{
    open(kHexagon);
    const Isometry a = translateEdge(0, 3);
    const Isometry b = translateEdge(1, 4);
    const Isometry c = translateEdge(2, 5);
    expectTiles(0, 3, a, 1e-9);
    expectTiles(1, 4, b, 1e-9);
    expectTiles(2, 5, c, 1e-9);
}

TEST_F(MappingTest, TriangleCenterRotationsTile)
{
    open(kTriangle);
    std::vector<Isometry> turns;
    for (int k = 0; k < 3; ++k) {
        link(XformCenterRotation, along(k, k + 1, 0.4));
        ASSERT_TRUE(xforms.rotMid->rotCenter);
        editSource(1e-9);
        turns.push_back(xforms.linkIsometry());
    }
    for (int k = 0; k < 3; ++k)
        expectTiles(k, k, turns[k], 1e-9);
}

TEST_F(MappingTest, HexagonCenterRotationTiles)
{
    open(kHexagon);
    link(XformCenterRotation, along(2, 3, 0.2));
    editSource(1e-9);
    expectTiles(2, 2, xforms.linkIsometry(), 1e-9);
}

TEST_F(MappingTest, TriangleVertexRotationTiles)
{
    open(kTriangle);
    // Pivot at the apex: source apex -> corner 0, destination corner 1 -> apex.
    link(XformVertexRotation, along(2, 3, 0.5));
    EXPECT_EQ(xforms.rotPivot.fLink, corner(2));
    editSource(1e-4);
    expectTiles(2, 1, xforms.linkIsometry(), 1e-4);
}

TEST_F(MappingTest, SquareVertexRotationAtEveryCorner)
{
    for (int k = 0; k < 4; ++k) {
        chain.clear();
        open(kSquare);
        link(XformVertexRotation, along(k, k + 1, 0.5));
        editSource(1e-4);
        expectTiles(k, (k + 3) % 4, xforms.linkIsometry(), 1e-4);
    }
}

TEST_F(MappingTest, RectangleGlideReflectionTiles)
{
    open(kRectangle);
    // The left edge (corner 3 -> 0) onto the right edge (corner 1 -> 2).
    link(XformGlide, along(3, 4, 0.5), along(1, 2, 0.5));
    EXPECT_EQ(xforms.glSrc, corner(3));
    EXPECT_EQ(xforms.glDst, corner(2));
    const Isometry m = xforms.linkIsometry();
    EXPECT_FALSE(m.reversesHandles);
    const Vertex s = m.apply(corner(3)->x, corner(3)->y);
    const Vertex e = m.apply(corner(0)->x, corner(0)->y);
    EXPECT_NEAR(s.x, corner(1)->x, 1e-4);
    EXPECT_NEAR(s.y, corner(1)->y, 1e-4);
    EXPECT_NEAR(e.x, corner(2)->x, 1e-4);
    EXPECT_NEAR(e.y, corner(2)->y, 1e-4);
    editSource(1e-4);
    expectTiles(3, 1, m, 1e-4);
}

TEST_F(MappingTest, HexagonGlideKeepsImage)
{
    open(kHexagon);
    link(XformGlide, along(0, 1, 0.5), along(3, 4, 0.5));
    editSource(1e-4);
    expectTiles(0, 3, xforms.linkIsometry(), 1e-4);
}

TEST_F(MappingTest, InsertedDestinationNodesCountTheirSamples)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    const long before = chain.countPoints();
    click(along(0, 1, 0.25));
    const auto dst = destinationRun();
    ASSERT_EQ(dst.size(), 3u);
    for (size_t j = 0; j + 1 < dst.size(); ++j) {
        EXPECT_EQ(dst[j]->nPoints, 2);
    }
    EXPECT_EQ(chain.countPoints(), before + 2);
    const Tile back = chain.flatten(doc.xfTile);
    EXPECT_EQ(back.nVerts, 6);
    // The image of the point (50, 0) lies on the opposite edge at (50, 200).
    EXPECT_NE(std::find(back.verts.begin(), back.verts.end(), Vertex{50, 200}), back.verts.end());
}

TEST_F(MappingTest, GlideInsertedNodesCountTheirSamples)
{
    open(kRectangle);
    link(XformGlide, along(3, 4, 0.5), along(1, 2, 0.5));
    const long before = chain.countPoints();
    click(along(3, 4, 0.25));
    editor.cmdCurves();
    click(along(3, 4, 0.1));
    EXPECT_EQ(chain.countPoints(), before + 2 + 2 * 9);
    for (size_t j = 0; j + 1 < destinationRun().size(); ++j)
        EXPECT_EQ(destinationRun()[j]->nPoints, sourceRun()[j]->nPoints);
}

TEST_F(MappingTest, VertexRotationAtFirstCornerNeverMakesARing)
{
    open(kSquare);
    // The closing edge (corner 3 -> first corner) carries a point from a translation.
    link(XformTranslate, along(3, 4, 0.5));
    click(along(3, 4, 0.5));
    ASSERT_EQ(chain.nodeCount(), 7);
    // Vertex rotation about the first corner: its destination is that closing edge.
    xforms.chooseTransformation(XformVertexRotation);
    dialogs.expectYesNo(Answer::Yes);
    click(along(0, 1, 0.5));
    ASSERT_TRUE(dialogs.allConsumed());
    ASSERT_TRUE(xforms.linkActive());
    EXPECT_EQ(dialogs.log.back().text,
              "transformatiom might overwrite edits on the destination edge");
    EXPECT_EQ(dialogs.log.back().secondLine, "Do you want to proceed?");
    // Every walk still ends at the closing node.
    EXPECT_EQ(chain.nodeCount(), 6); // the old destination keeps its point
    EXPECT_EQ(nodes().back(), chain.lastNode);
    EXPECT_EQ(chain.lastNode->fLink, chain.nilNode());
    editSource(1e-4);
    EXPECT_EQ(nodes().back(), chain.lastNode);
    expectTiles(0, 3, xforms.linkIsometry(), 1e-4);
}

TEST_F(MappingTest, DeletingTheOnlyPointStraightensBothEdges)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    drag(along(0, 1, 0.5), {110, 90});
    EXPECT_EQ(chain.nodeCount(), 7);
    editor.mouseDown(PointerButton::Right, 110, 90);
    editor.mouseUp();
    EXPECT_EQ(chain.nodeCount(), 5);
    EXPECT_EQ(chain.countPoints(), 4);
    for (Node *n : corners())
        EXPECT_EQ(n->nPoints, 2);
}

} // namespace
} // namespace tessella::testing
