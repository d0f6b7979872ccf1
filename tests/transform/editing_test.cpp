// SPDX-License-Identifier: GPL-3.0-or-later
// Pointer editing of the source edge: clicks that are refused, curve mode, clear edge,
// degenerate points and the outline limit.
#include "linkcheck.h"

namespace tessella::testing {
namespace {

const std::vector<Vertex> kSquare{{0, 0}, {200, 0}, {200, 200}, {0, 200}};

// Clicks that cannot be used change nothing in the chain.
struct Refused
{
    const char *name;
    void (*setup)(ModelTest &);
    bool curveMode;
    PointerButton button;
    int corner; // click on this corner, or (corner < 0) on edge -corner - 1 at 0.5
    int beeps;
};

void noLink(ModelTest &) {}
void linkBottom(ModelTest &t)
{
    t.link(XformTranslate, t.along(0, 1, 0.5));
}
// A red point with no link chosen, as a reloaded document shows it.
void redPointWithoutLink(ModelTest &t)
{
    Node *p = t.chain.insertAfter(t.chain.firstNode);
    p->x = 300; // the middle of the bottom edge
    p->y = 200;
    p->nPoints = 2;
    t.chain.firstNode->lineColr = p->lineColr = p->ptColr = kColourSource;
}
void redCorner(ModelTest &t)
{
    linkBottom(t);
    t.corner(1)->ptColr = kColourSource;
}

const Refused kRefused[] = {
    {"LeftWithoutLink", noLink, false, PointerButton::Left, -1, 1},
    {"RightOnARedPointWithoutLink", redPointWithoutLink, false, PointerButton::Right, -1, 1},
    {"LeftOnAnEdgeThatIsNotRed", linkBottom, false, PointerButton::Left, -2, 1},
    {"LeftOnTheBlueDestination", linkBottom, false, PointerButton::Left, -3, 1},
    {"RightOnARedCorner", redCorner, false, PointerButton::Right, 1, 0},
    {"CurveModeLeftOnAnEdgeThatIsNotRed", linkBottom, true, PointerButton::Left, -2, 1},
    {"CurveModeRightOnAnEdgeThatIsNotRed", linkBottom, true, PointerButton::Right, -2, 1},
};

class RefusedClickTest : public ModelTest, public ::testing::WithParamInterface<Refused>
{};

TEST_P(RefusedClickTest, ChangesNothing)
{
    const Refused &r = GetParam();
    open(kSquare);
    r.setup(*this);
    if (r.curveMode)
        editor.cmdCurves();
    const auto before = chain.saveChain();
    click(r.corner >= 0 ? Vertex{corner(r.corner)->x, corner(r.corner)->y}
                        : along(-r.corner - 1, -r.corner, 0.5),
          r.button);
    EXPECT_EQ(dialogs.beeps, r.beeps);
    EXPECT_EQ(chain.saveChain(), before);
}

INSTANTIATE_TEST_SUITE_P(Clicks, RefusedClickTest, ::testing::ValuesIn(kRefused),
                         [](const auto &info) { return std::string(info.param.name); });

class EditingTest : public LinkTest
{
protected:
    void SetUp() override
    {
        open(kSquare);
        link(XformTranslate, along(0, 1, 0.5));
    }

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

TEST_F(EditingTest, AddedPointIsARedPointOfTheSourceEdge)
{
    click(along(0, 1, 0.5));
    Node *p = chain.firstNode->fLink;
    EXPECT_FALSE(p->Anchored);
    EXPECT_EQ(p->ptColr, kColourSource);
    EXPECT_EQ(p->lineColr, kColourSource);
    EXPECT_EQ(p->vtxPtr, chain.firstNode);
    EXPECT_EQ(p->x, 300);
    EXPECT_EQ(host.total, 6);
}

TEST_F(EditingTest, CurveModeCurvesAndStraightensSegmentsAndTheirImages)
{
    editor.cmdCurves();
    EXPECT_TRUE(host.curveButtonOn);
    EXPECT_TRUE(doc.dirty);
    click(along(0, 1, 0.5));
    EXPECT_EQ(chain.firstNode->nPoints, 11);
    EXPECT_TRUE(chain.firstNode->fActive);
    EXPECT_TRUE(corner(1)->bActive);
    EXPECT_EQ(corner(2)->nPoints, 11) << "the image";
    EXPECT_EQ(host.total, 22);
    // Every active segment takes the count, also one outside the link.
    corner(3)->fActive = true;
    ASSERT_TRUE(editor.setSegmentPoints(5));
    EXPECT_EQ(corner(3)->nPoints, 5);
    EXPECT_EQ(corner(2)->nPoints, 5);
    EXPECT_EQ(host.total, 4 + 3 * 3);
    click(along(0, 1, 0.5), PointerButton::Right);
    EXPECT_EQ(chain.firstNode->nPoints, 2);
    EXPECT_FALSE(chain.firstNode->fActive);
    EXPECT_EQ(corner(2)->nPoints, 2);
    editor.cmdCurves();
    EXPECT_FALSE(host.curveButtonOn);
    EXPECT_FALSE(corner(3)->fActive);
}

TEST_F(EditingTest, ClearEdgeTogglesThenRemovesTheClickedEdgesPoints)
{
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
    EXPECT_EQ(corner(2)->fLink, corner(3));
    EXPECT_EQ(corner(2)->nPoints, 2);
    EXPECT_EQ(corner(2)->lineColr, kColourNone);
}

TEST_F(EditingTest, DragIsClampedToTheSurface)
{
    drag(along(0, 1, 0.5), {-50, 1000});
    Node *p = chain.firstNode->fLink;
    EXPECT_EQ(p->x, 0);
    EXPECT_EQ(p->y, 600);
    expectImage(1e-9);
}

TEST_F(EditingTest, PointDraggedOntoACornerGivesFiniteCurves)
{
    drag(along(0, 1, 0.5), {chain.firstNode->x, chain.firstNode->y});
    editor.cmdCurves();
    Node *p = chain.firstNode->fLink;
    click({p->x, p->y});
    EXPECT_EQ(p->nPoints, 11);
    const Tile back = chain.flatten(doc.xfTile);
    for (int k = 0; k < back.nVerts; ++k)
        EXPECT_TRUE(std::isfinite(back.verts[k].x) && std::isfinite(back.verts[k].y)) << k;
}

TEST_F(EditingTest, EditsStopAtTheOutlineLimit)
{
    fillOutlineTo(kMaxOutlinePoints - 3);
    const long nodesBefore = chain.nodeCount();
    click(along(0, 1, 0.5));
    EXPECT_EQ(dialogs.beeps, 1) << "a point and its image would add 4";
    EXPECT_EQ(chain.nodeCount(), nodesBefore);

    chain.lastNode->bLink->nPoints -= 14; // room for 17: curving both edges adds 18
    editor.cmdCurves();
    click(along(0, 1, 0.5));
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(chain.firstNode->nPoints, 2);
    chain.lastNode->bLink->nPoints -= 1;
    click(along(0, 1, 0.5));
    EXPECT_EQ(chain.firstNode->nPoints, 11);
    EXPECT_EQ(chain.countPoints(), kMaxOutlinePoints);
    EXPECT_FALSE(editor.setSegmentPoints(12));
    EXPECT_EQ(dialogs.beeps, 3);
    EXPECT_EQ(chain.firstNode->nPoints, 11);
    EXPECT_TRUE(editor.setSegmentPoints(10));
}

} // namespace
} // namespace tessella::testing
