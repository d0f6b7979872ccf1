// SPDX-License-Identifier: GPL-3.0-or-later
// The edge chain: opening, default handles, hit tests, flattening, save and restore.
#include "modelfixture.h"

#include "document/documentfile.h"

namespace tessella::testing {
namespace {

const std::vector<Vertex> kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};

// Cubic Bezier by repeated interpolation, independent of the power form.
Vertex bezier(Vertex p0, Vertex p1, Vertex p2, Vertex p3, double t)
{
    auto lerp = [t](Vertex a, Vertex b) {
        return Vertex{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
    };
    const Vertex a = lerp(p0, p1), b = lerp(p1, p2), c = lerp(p2, p3);
    return lerp(lerp(a, b), lerp(b, c));
}

class ChainTest : public ModelTest
{};

TEST_F(ChainTest, TriangleOpensAsFourAnchoredNodes)
{
    open({{0, 0}, {30, 0}, {10, 20}});
    const auto all = nodes();
    ASSERT_EQ(all.size(), 4u);
    for (Node *n : all) {
        EXPECT_TRUE(n->Anchored);
        EXPECT_EQ(n->vtxPtr, n);
        EXPECT_EQ(n->nPoints, 2);
    }
    EXPECT_EQ(chain.firstNode->bLink, chain.nilNode());
    EXPECT_EQ(chain.lastNode->fLink, chain.nilNode());
    EXPECT_EQ(chain.lastNode->x, chain.firstNode->x);
    EXPECT_EQ(chain.lastNode->y, chain.firstNode->y);
    EXPECT_EQ(chain.countPoints(), 3);
}

TEST_F(ChainTest, SquareOffsetsSurfaceAndDefaultHandles)
{
    open(kSquare);
    EXPECT_EQ(chain.editOffsetX, 10);
    EXPECT_EQ(chain.editOffsetY, 10);
    EXPECT_EQ(chain.surfaceWidth, 30);
    EXPECT_EQ(chain.surfaceHeight, 30);
    const Node *c0 = chain.firstNode;
    EXPECT_EQ(c0->x, 10);
    EXPECT_EQ(c0->y, 10);
    // Handles on the line through the corner parallel to (0,10) -> (10,0), 10/3 away.
    const double d = 10.0 / 3 / std::sqrt(2.0);
    EXPECT_NEAR(c0->fcpX, 10 + d, 1e-12);
    EXPECT_NEAR(c0->fcpY, 10 - d, 1e-12);
    EXPECT_NEAR(c0->bcpX, 10 - d, 1e-12);
    EXPECT_NEAR(c0->bcpY, 10 + d, 1e-12);
    EXPECT_FALSE(c0->fActive);
    EXPECT_FALSE(c0->bActive);
}

TEST_F(ChainTest, ReflectedOpeningIsWider)
{
    doc.xfTile = tileOf(kSquare);
    ASSERT_TRUE(chain.openFromTile(doc.xfTile, true));
    EXPECT_EQ(chain.surfaceWidth, 40);
    EXPECT_EQ(chain.openWidth, 30);
}

TEST_F(ChainTest, SpareElementNeverEntersTheBoundingBox)
{
    Tile t = tileOf({{50, 50}, {60, 50}, {60, 60}, {50, 60}});
    t.verts.back() = {0, 0}; // whatever the spare holds
    ASSERT_TRUE(chain.openFromTile(t, false));
    EXPECT_EQ(chain.surfaceWidth, 30);
    EXPECT_EQ(chain.editOffsetX, 10 - 50);
    EXPECT_EQ(chain.lastNode->x, chain.firstNode->x);
    t.verts.pop_back(); // no spare at all
    ASSERT_TRUE(chain.openFromTile(t, false));
    EXPECT_EQ(chain.nodeCount(), 5);
    EXPECT_FALSE(chain.openFromTile(tileOf({{0, 0}, {1, 1}}), false));
}

TEST_F(ChainTest, StraightChainFlattensToItsCorners)
{
    open({{3, 4}, {40, 4}, {52, 30}, {15, 30}});
    const Tile back = chain.flatten(doc.xfTile);
    ASSERT_EQ(back.nVerts, 4);
    ASSERT_EQ(back.verts.size(), 5u);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(back.verts[k], doc.xfTile.verts[k]);
    EXPECT_EQ(back.verts[4], back.verts[0]);
    EXPECT_EQ(back.color, doc.xfTile.color);
}

TEST_F(ChainTest, FiveSamplesAddPointsOnTheCurve)
{
    open(kSquare);
    Node *c0 = chain.firstNode;
    Node *c1 = c0->fLink;
    c0->nPoints = 5;
    const Tile back = chain.flatten(doc.xfTile);
    ASSERT_EQ(back.nVerts, 7);
    EXPECT_EQ(chain.countPoints(), 7);
    const Vertex p0{c0->x, c0->y}, p1{c0->fcpX, c0->fcpY}, p2{c1->bcpX, c1->bcpY}, p3{c1->x, c1->y};
    for (int k = 1; k <= 3; ++k) {
        const Vertex b = bezier(p0, p1, p2, p3, k * 0.25);
        EXPECT_NEAR(back.verts[k].x, b.x - 10, 1e-12);
        EXPECT_NEAR(back.verts[k].y, b.y - 10, 1e-12);
    }
    EXPECT_EQ(back.verts[4], doc.xfTile.verts[1]);
}

TEST_F(ChainTest, HitTests)
{
    open({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    // A click on a corner hits the segment starting there (tie goes to the earlier node).
    EXPECT_EQ(chain.traverse(100, 100), chain.firstNode);
    EXPECT_EQ(chain.traverse(200, 200), corner(1));
    EXPECT_EQ(chain.traverse(150, 102), chain.firstNode);
    EXPECT_EQ(chain.footX, 150);
    EXPECT_EQ(chain.footY, 100);
    // Squared distance 9 is beyond 7; 2.5 squared is within.
    EXPECT_EQ(chain.traverse(150, 103), chain.nilNode());
    EXPECT_EQ(chain.traverse(150, 97.5), chain.firstNode);
    // Beyond either end of a segment by more than its length: a miss.
    EXPECT_EQ(chain.traverse(350, 100), chain.nilNode());
    EXPECT_EQ(chain.segmentDistance(350, 100, chain.firstNode), kHitRadius + 1);
    EXPECT_EQ(chain.segmentDistance(0, 0, chain.lastNode), kHitRadius + 1);
    // A smaller reach (zoomed in) shrinks the segment test as well.
    EXPECT_EQ(chain.traverse(150, 102, 6 / std::sqrt(2.0)), chain.firstNode);
    EXPECT_EQ(chain.traverse(150, 102.5, 6 / std::sqrt(8.0)), chain.nilNode());
}

TEST_F(ChainTest, ZeroLengthSegmentIsAMiss)
{
    open({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    Node *p = chain.insertAfter(chain.firstNode);
    p->x = chain.firstNode->x;
    p->y = chain.firstNode->y;
    p->nPoints = 2;
    chain.footX = chain.footY = 42;
    EXPECT_EQ(chain.segmentDistance(p->x, p->y, chain.firstNode), kHitRadius + 1);
    EXPECT_EQ(chain.footX, 42);
    Node *hit = chain.traverse(p->x, p->y);
    EXPECT_NE(hit, chain.firstNode);
    EXPECT_TRUE(std::isfinite(chain.footX) && std::isfinite(chain.footY));
}

TEST_F(ChainTest, CoincidentNeighboursGiveFiniteHandles)
{
    // Corner 2 has both neighbours at (10, 0).
    open({{0, 0}, {10, 0}, {10, 10}, {10, 0}});
    for (Node *n : nodes()) {
        n->nPoints = 11;
        for (double v : {n->fcpX, n->fcpY, n->bcpX, n->bcpY})
            EXPECT_TRUE(std::isfinite(v));
    }
    Node *c2 = corner(2);
    EXPECT_EQ(c2->fcpX, c2->x);
    EXPECT_EQ(c2->bcpY, c2->y);
    const Tile back = chain.flatten(doc.xfTile);
    for (int k = 0; k < back.nVerts; ++k)
        EXPECT_TRUE(std::isfinite(back.verts[k].x) && std::isfinite(back.verts[k].y));
}

TEST_F(ChainTest, SaveAndRestoreKeepFieldsInOrder)
{
    open({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    Node *p = chain.insertAfter(chain.firstNode);
    p->x = 150;
    p->y = 95;
    p->nPoints = 7;
    p->lineColr = kColourSource;
    p->ptColr = kColourSource;
    p->fActive = true;
    p->fcpX = 160;
    p->bcpY = 90;
    corner(2)->rotCenter = true;
    const auto recs = chain.saveChain();
    ASSERT_EQ(recs.size(), 6u);
    EXPECT_EQ(recs[1].anchored, 0);
    EXPECT_EQ(recs[1].fActive, kTrue);
    EXPECT_EQ(recs[0].anchored, kTrue);

    Chain other;
    ASSERT_TRUE(other.restoreChain(recs, false));
    EXPECT_EQ(other.saveChain(), recs);
    EXPECT_EQ(other.firstNode->fLink->vtxPtr, other.firstNode);
    EXPECT_EQ(other.lastNode->fLink, other.nilNode());
    EXPECT_EQ(other.refNode, nullptr);
}

TEST_F(ChainTest, RestoreRefusesChainsThatWouldNotWalk)
{
    open(kSquare);
    auto recs = chain.saveChain();
    auto noCorners = recs;
    for (auto &r : noCorners)
        r.anchored = 0;
    Chain other;
    EXPECT_FALSE(other.restoreChain(noCorners, false));
    EXPECT_TRUE(other.empty());
    EXPECT_FALSE(other.restoreChain(recs, true)); // reflected without a centre
    auto huge = recs;
    huge[0].nPoints = 27;
    EXPECT_FALSE(other.restoreChain(huge, false));
    EXPECT_TRUE(other.restoreChain(recs, false));
}

TEST_F(ChainTest, ReflectedRestoreFindsTheCentre)
{
    open(kSquare);
    auto recs = chain.saveChain();
    recs[2].refCenter = kTrue;
    Chain other;
    ASSERT_TRUE(other.restoreChain(recs, true));
    EXPECT_EQ(other.refFirst, other.firstNode);
    EXPECT_EQ(other.refNode, other.firstNode->fLink->fLink);
}

TEST_F(ChainTest, WriteBackHandsOverPolygonAndChain)
{
    open({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    chain.firstNode->nPoints = 3;
    chain.writeBackTile(doc, doc.xfTile);
    EXPECT_EQ(doc.xfReturn.nVerts, 5);
    EXPECT_EQ(doc.xfReturn.verts.size(), 6u);
    EXPECT_EQ(doc.nodeRecs, chain.saveChain());
}

TEST_F(ChainTest, ReloadedPendingPolygonReturnsToItsPlace)
{
    // The polygon sits in the tiling at (200, 300); it is edited, handed back and saved
    // while the transform is pending.
    const std::vector<Vertex> placed{{200, 300}, {300, 300}, {300, 400}, {200, 400}};
    open(placed);
    link(XformTranslate, along(0, 1, 0.5));
    drag(along(0, 1, 0.3), {chain.firstNode->x + 30, chain.firstNode->y - 20});
    chain.writeBackTile(doc, doc.xfTile);
    const Tile returned = doc.xfReturn;
    doc.tiles.push_back(returned);
    doc.curTile = 0;
    doc.xformOpen = true;
    const auto bytes = saveState(doc);
    ASSERT_TRUE(bytes.has_value());
    Document loaded;
    ASSERT_TRUE(loadState(loaded, *bytes, 0, 0).ok);
    ASSERT_TRUE(loaded.xfResume);

    Chain reopened;
    ASSERT_TRUE(reopened.openFromTile(loaded.xfTile, false));
    ASSERT_TRUE(reopened.restoreChain(loaded.nodeRecs, false, loaded.currentTile()->verts[0]));
    const Tile again = reopened.flatten(loaded.xfTile);
    ASSERT_EQ(again.nVerts, returned.nVerts);
    for (int k = 0; k < again.nVerts; ++k) {
        EXPECT_NEAR(again.verts[k].x, returned.verts[k].x, 1e-9);
        EXPECT_NEAR(again.verts[k].y, returned.verts[k].y, 1e-9);
    }
}

TEST_F(ChainTest, OutlineLimit)
{
    open(kSquare);
    EXPECT_TRUE(chain.fits(kMaxOutlinePoints - 4, 0));
    EXPECT_FALSE(chain.fits(kMaxOutlinePoints - 3, 0));
    EXPECT_FALSE(chain.fits(0, kMaxOutlinePoints - 4));
}

} // namespace
} // namespace tessella::testing
