// SPDX-License-Identifier: GPL-3.0-or-later
// Pointer editing of the source edge, curve mode, clear edge, outline limits.
#include "linkcheck.h"

namespace tessella::testing {
namespace {

const std::vector<Vertex> kSquare{{0, 0}, {200, 0}, {200, 200}, {0, 200}};

class EditingTest : public LinkTest
{
protected:
    // Fills the unlinked closing edge with nodes until the outline has `points` points.
    void fillOutlineTo(long points)
    {
        Node *c3 = corner(3);
        c3->nPoints = 2;
        while (chain.countPoints() < points) {
            Node *n = chain.insertAfter(c3);
            n->x = c3->x;
            n->y = c3->y - 1;
            n->nPoints = static_cast<int16_t>(std::min<long>(26, points - chain.countPoints() + 1));
        }
        ASSERT_EQ(chain.countPoints(), points);
    }
};

TEST_F(EditingTest, ClickWithoutLinkBeepsAndAddsNothing)
{
    open(kSquare);
    click(along(0, 1, 0.5));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(chain.nodeCount(), 5);
}

TEST_F(EditingTest, OnlyRedSegmentsTakePoints)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    click(along(1, 2, 0.5));
    click(along(2, 3, 0.5)); // the blue destination
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(chain.nodeCount(), 5);
    click(along(0, 1, 0.5));
    EXPECT_EQ(chain.nodeCount(), 7);
    EXPECT_EQ(host.total, 6);
    Node *p = chain.firstNode->fLink;
    EXPECT_EQ(p->ptColr, kColourSource);
    EXPECT_EQ(p->lineColr, kColourSource);
    EXPECT_EQ(p->vtxPtr, chain.firstNode);
    EXPECT_EQ(p->x, 300);
}

TEST_F(EditingTest, CurveModeSegmentClickAndStraighten)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    editor.cmdCurves();
    EXPECT_TRUE(host.curveButtonOn);
    EXPECT_TRUE(doc.dirty);
    click(along(0, 1, 0.5));
    EXPECT_EQ(chain.firstNode->nPoints, 11);
    EXPECT_TRUE(chain.firstNode->fActive);
    EXPECT_TRUE(corner(1)->bActive);
    EXPECT_EQ(host.total, 22);
    // The destination segment mirrors it.
    EXPECT_EQ(corner(2)->nPoints, 11);
    editor.mouseDown(PointerButton::Right, along(0, 1, 0.5).x, along(0, 1, 0.5).y);
    editor.mouseUp();
    EXPECT_EQ(chain.firstNode->nPoints, 2);
    EXPECT_FALSE(chain.firstNode->fActive);
    EXPECT_EQ(corner(2)->nPoints, 2);
    editor.cmdCurves();
    EXPECT_FALSE(host.curveButtonOn);
}

TEST_F(EditingTest, SegmentCountSetsEveryActiveSegment)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    editor.cmdCurves();
    click(along(0, 1, 0.5));
    corner(3)->fActive = true; // an active segment elsewhere
    ASSERT_TRUE(editor.setSegmentPoints(5));
    EXPECT_EQ(chain.firstNode->nPoints, 5);
    EXPECT_EQ(corner(3)->nPoints, 5);
    EXPECT_EQ(corner(2)->nPoints, 5); // the image
    EXPECT_EQ(host.total, 4 + 3 * 3);
}

TEST_F(EditingTest, RightButtonNeedsALiveLink)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    click(along(0, 1, 0.5));
    const auto saved = chain.saveChain();
    // Reloaded: the red point is back, but no link is chosen.
    Chain reloaded;
    ASSERT_TRUE(reloaded.restoreChain(saved, false));
    SketchWorkingCopy work;
    Transformations xf2(reloaded, doc, dialogs, host, work);
    PointEditor ed2(reloaded, xf2, doc, dialogs, host);
    Node *red = reloaded.firstNode->fLink;
    ASSERT_EQ(red->ptColr, kColourSource);
    ed2.mouseDown(PointerButton::Right, red->x, red->y);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(reloaded.nodeCount(), 7);
    // A red corner is never a point to delete.
    corner(1)->ptColr = kColourSource;
    editor.mouseDown(PointerButton::Right, corner(1)->x, corner(1)->y);
    EXPECT_EQ(chain.nodeCount(), 7);
    EXPECT_TRUE(corner(1)->Anchored);
}

TEST_F(EditingTest, ClearEdgeTogglesAndResetsTheLink)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    click(along(0, 1, 0.5));
    editor.cmdClear();
    EXPECT_TRUE(xforms.pendClear);
    EXPECT_EQ(xforms.xformIndex(), XformNone);
    EXPECT_EQ(host.notice, "select an edge to clear");
    editor.cmdClear();
    EXPECT_FALSE(xforms.pendClear);
    editor.cmdClear();
    click({1, 1});
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_FALSE(xforms.pendClear);
    editor.cmdClear();
    click(along(2, 3, 0.2));
    EXPECT_FALSE(xforms.pendClear);
    EXPECT_EQ(chain.nodeCount(), 6);
    EXPECT_EQ(corner(2)->nPoints, 2);
    EXPECT_EQ(corner(2)->lineColr, kColourNone);
}

TEST_F(EditingTest, DragIsClampedToTheSurface)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    drag(along(0, 1, 0.5), {-50, 1000});
    Node *p = chain.firstNode->fLink;
    EXPECT_EQ(p->x, 0);
    EXPECT_EQ(p->y, 600);
    expectImage(1e-9);
}

TEST_F(EditingTest, PointOnACornerGivesFiniteCurves)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    drag(along(0, 1, 0.5), {chain.firstNode->x, chain.firstNode->y});
    editor.cmdCurves();
    Node *p = chain.firstNode->fLink;
    click({p->x, p->y});
    EXPECT_EQ(p->nPoints, 11);
    const Tile back = chain.flatten(doc.xfTile);
    for (int k = 0; k < back.nVerts; ++k)
        EXPECT_TRUE(std::isfinite(back.verts[k].x) && std::isfinite(back.verts[k].y));
}

TEST_F(EditingTest, AddingPointsStopsAtTheOutlineLimit)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    fillOutlineTo(kMaxOutlinePoints - 3);
    const long nodesBefore = chain.nodeCount();
    click(along(0, 1, 0.5));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(chain.nodeCount(), nodesBefore);
    EXPECT_EQ(chain.countPoints(), kMaxOutlinePoints - 3);
}

TEST_F(EditingTest, CurvesStopAtTheOutlineLimit)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    fillOutlineTo(kMaxOutlinePoints - 17); // 10 line segments on both edges add 18
    editor.cmdCurves();
    click(along(0, 1, 0.5));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(chain.firstNode->nPoints, 2);
    chain.lastNode->bLink->nPoints -= 1;
    click(along(0, 1, 0.5));
    EXPECT_EQ(chain.firstNode->nPoints, 11);
    EXPECT_EQ(chain.countPoints(), kMaxOutlinePoints);
    EXPECT_FALSE(editor.setSegmentPoints(12));
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(chain.firstNode->nPoints, 11);
}

} // namespace
} // namespace tessella::testing
