// SPDX-License-Identifier: GPL-3.0-or-later
// Editing the source edge: every link keeps its destination the image of its source and
// the returned polygon still tiles; clicks that are refused; curve mode; clear edge;
// degenerate points and the outline limit.
#include "linkcheck.h"

#include <random>

namespace tessella::testing {
namespace {

const std::vector<Vertex> kSquare = test::squareCorners(0, 0, 200);
const std::vector<Vertex> kParallelogram{{0, 0}, {240, 0}, {300, 160}, {60, 160}};
const std::vector<Vertex> kTriangle{{0, 0}, {200, 0}, {100, 160}};
const std::vector<Vertex> kHexagon{{0, 0}, {240, 0}, {360, 160}, {240, 320}, {0, 320}, {-120, 160}};
const std::vector<Vertex> kRectangle{{0, 0}, {240, 0}, {240, 120}, {0, 120}};

// One link: its list index, the edge clicked as source and the edge that becomes its
// destination (edges named by their start corner).
struct Link
{
    int index;
    int source;
    int destination;
};

struct Shape
{
    const char *name;
    std::vector<Vertex> corners;
    std::vector<Link> links; // chosen one after the other on the same polygon
    double cornerTol;        // rotations turn by a single-precision angle
};

constexpr int T = XformTranslate, C = XformCenterRotation, V = XformVertexRotation, G = XformGlide;

// clang-format off
const Shape kShapes[] = {
    {"SquareTranslations", kSquare, {{T, 0, 2}, {T, 3, 1}}, 1e-9},
    {"ParallelogramTranslations", kParallelogram, {{T, 0, 2}, {T, 1, 3}}, 1e-9},
    {"HexagonTranslations", kHexagon, {{T, 0, 3}, {T, 1, 4}, {T, 2, 5}}, 1e-9},
    {"TriangleCentreRotations", kTriangle, {{C, 0, 0}, {C, 1, 1}, {C, 2, 2}}, 1e-9},
    {"HexagonCentreRotation", kHexagon, {{C, 2, 2}}, 1e-9},
    {"TriangleVertexRotationAtTheApex", kTriangle, {{V, 2, 1}}, 1e-4},
    {"SquareVertexRotationAtCorner0", kSquare, {{V, 0, 3}}, 1e-4},
    {"SquareVertexRotationAtCorner1", kSquare, {{V, 1, 0}}, 1e-4},
    {"SquareVertexRotationAtCorner2", kSquare, {{V, 2, 1}}, 1e-4},
    {"SquareVertexRotationAtCorner3", kSquare, {{V, 3, 2}}, 1e-4},
    {"RectangleGlide", kRectangle, {{G, 3, 1}}, 1e-4},
    {"HexagonGlide", kHexagon, {{G, 0, 3}}, 1e-4},
};
// clang-format on

class LinkShapeTest : public LinkTest, public ::testing::WithParamInterface<Shape>
{
protected:
    void choose(const Link &l)
    {
        const std::optional<Vertex> dest =
            l.index == XformGlide ? std::optional(along(l.destination, l.destination + 1, 0.5))
                                  : std::nullopt;
        link(l.index, along(l.source, l.source + 1, 0.4), dest);
        if (l.index != XformCenterRotation) {
            EXPECT_EQ(sourceRun().front(), corner(l.source));
            EXPECT_EQ(destinationRun().front(), corner(l.destination));
        }
    }
};

// A press that takes a red point (or adds one) and drags it: its handles move with it.
void pull(LinkTest &t, Vertex from, double dx, double dy, bool preview)
{
    t.editor.mouseDown(PointerButton::Left, from.x, from.y);
    Node *p = t.editor.dragPoint ? t.editor.dragNode : nullptr;
    auto offsets = [p] {
        return std::array{p->fcpX - p->x, p->fcpY - p->y, p->bcpX - p->x, p->bcpY - p->y};
    };
    const std::array<double, 4> before = p ? offsets() : std::array<double, 4>{};
    t.editor.mouseMove(from.x + dx, from.y + dy, preview);
    for (size_t k = 0; p && k < 4; ++k)
        EXPECT_NEAR(offsets()[k], before[k], 1e-9) << "handle offset " << k;
    t.editor.mouseUp();
}

// One random edit of the source: add, drag, delete, curve, resample or turn a handle.
void randomEdit(LinkTest &t, std::mt19937 &rng)
{
    std::uniform_real_distribution<double> u(0, 1), shift(-15, 15);
    const auto src = t.sourceRun();
    const size_t i = rng() % (src.size() - 1);
    Node *inner = src.size() > 2 ? src[1 + rng() % (src.size() - 2)] : nullptr;
    Node *handle = nullptr;
    for (Node *n : src)
        handle = n->fActive && n != src.back() ? n : handle;
    switch (rng() % 6) {
    case 0: // adds a point (or curves the segment), pulled at once or not
        pull(t, t.mix(t.at(src[i]), t.at(src[i + 1]), 0.3 + 0.4 * u(rng)),
             rng() % 2 ? shift(rng) : 0, shift(rng), rng() % 2);
        break;
    case 1:
        if (inner)
            pull(t, t.at(inner), shift(rng), shift(rng), rng() % 2);
        break;
    case 2:
        if (inner)
            t.click(t.at(inner), PointerButton::Right);
        break;
    case 3:
        t.editor.cmdCurves();
        break;
    case 4: {
        const int samples = 2 + static_cast<int>(rng() % 25);
        if (t.editor.setSegmentPoints(samples)) {
            for (Node *n : src)
                EXPECT_TRUE(!n->fActive || n->nPoints == samples);
        }
        break;
    }
    default:
        if (!handle || !t.editor.curveMode())
            break;
        // A handle dragged with the right button turns the other one along.
        auto turn = [handle] {
            return signedAngle(handle->fcpX, handle->fcpY, handle->x, handle->y, handle->bcpX,
                               handle->bcpY);
        };
        const float before = turn();
        const bool right = rng() % 2;
        t.editor.mouseDown(right ? PointerButton::Right : PointerButton::Left, handle->fcpX,
                           handle->fcpY);
        const bool turning = right && t.editor.dragHandle && t.editor.handleNode == handle;
        t.editor.mouseMove(handle->fcpX + shift(rng), handle->fcpY + shift(rng), false);
        t.editor.mouseUp();
        if (turning) {
            EXPECT_NEAR(std::remainder(turn() - before, 2 * 3.14159265358979), 0, 1e-3);
        }
    }
}

// Random edits, each followed by the checks of the chain and the image.
void editRandomly(LinkTest &t, std::mt19937 &rng, double cornerTol)
{
    for (int step = 0; step < 60 && !::testing::Test::HasFailure(); ++step) {
        randomEdit(t, rng);
        SCOPED_TRACE(::testing::Message() << "after edit " << step);
        t.expectSoundChain();
        t.expectImage(cornerTol);
    }
    if (t.editor.curveMode())
        t.editor.cmdCurves();
    // The edge carries at least one point for the tiling check.
    const auto src = t.sourceRun();
    if (src.size() == 2)
        t.click(t.mix(t.at(src[0]), t.at(src[1]), 0.5));
}

TEST_P(LinkShapeTest, EditedSourcesKeepTheirImagesAndThePolygonTiles)
{
    const Shape &s = GetParam();
    std::mt19937 rng(17);
    open(s.corners);
    std::vector<Isometry> maps;
    for (const Link &l : s.links) {
        choose(l);
        editRandomly(*this, rng, s.cornerTol);
        maps.push_back(xforms.linkIsometry());
    }
    for (size_t k = 0; k < s.links.size(); ++k)
        expectTiles(s.links[k].source, s.links[k].destination, maps[k], s.cornerTol);
}

INSTANTIATE_TEST_SUITE_P(Shapes, LinkShapeTest, ::testing::ValuesIn(kShapes),
                         [](const auto &info) { return std::string(info.param.name); });

class MappingTest : public LinkTest
{};

// The destination of a vertex rotation about the first corner ends at the closing node:
// joining it to the first node would close the chain into a ring.
TEST_F(MappingTest, VertexRotationAboutTheFirstCornerNeverMakesARing)
{
    open(kSquare);
    link(XformTranslate, along(3, 4, 0.5));
    click(along(3, 4, 0.5));
    ASSERT_EQ(chain.nodeCount(), 7);
    xforms.chooseTransformation(XformVertexRotation);
    dialogs.expectYesNo(Answer::Yes);
    click(along(0, 1, 0.5));
    ASSERT_TRUE(dialogs.allConsumed() && xforms.linkActive());
    EXPECT_EQ(chain.nodeCount(), 6) << "the old destination's point is gone";
    std::mt19937 rng(5);
    editRandomly(*this, rng, 1e-4);
    expectTiles(0, 3, xforms.linkIsometry(), 1e-4);
}

// Clicks that cannot be used change nothing in the chain.
struct Refused
{
    const char *name;
    int setup; // 0 nothing, 1 a link from the bottom edge, 2 and its corner 1 red,
               // 3 a red point on the bottom edge with no link, as a reloaded document has
    bool curveMode;
    PointerButton button;
    int corner; // click on this corner, or (corner < 0) on edge -corner - 1 at 0.5
    int beeps;
};

constexpr PointerButton L = PointerButton::Left, R = PointerButton::Right;

// clang-format off
const Refused kRefused[] = {
    {"LeftWithoutLink", 0, false, L, -1, 1},
    {"RightOnARedPointWithoutLink", 3, false, R, -1, 1},
    {"LeftOnAnEdgeThatIsNotRed", 1, false, L, -2, 1},
    {"LeftOnTheBlueDestination", 1, false, L, -3, 1},
    {"RightOnARedCorner", 2, false, R, 1, 0},
    {"CurveModeLeftOnAnEdgeThatIsNotRed", 1, true, L, -2, 1},
    {"CurveModeRightOnAnEdgeThatIsNotRed", 1, true, R, -2, 1},
};
// clang-format on

class RefusedClickTest : public LinkTest, public ::testing::WithParamInterface<Refused>
{};

TEST_P(RefusedClickTest, ChangesNothing)
{
    const Refused &r = GetParam();
    open(kSquare);
    if (r.setup == 1 || r.setup == 2)
        link(XformTranslate, along(0, 1, 0.5));
    if (r.setup == 2)
        corner(1)->ptColr = kColourSource;
    if (r.setup == 3) {
        Node *p = chain.insertAfter(chain.firstNode);
        std::tie(p->x, p->y, p->nPoints) = std::tuple(300.0, 200.0, int16_t(2));
        chain.firstNode->lineColr = p->lineColr = p->ptColr = kColourSource;
    }
    if (r.curveMode)
        editor.cmdCurves();
    const auto before = chain.saveChain();
    click(r.corner >= 0 ? at(corner(r.corner)) : along(-r.corner - 1, -r.corner, 0.5), r.button);
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
};

TEST_F(EditingTest, ActiveHandlesAreDraggedForwardAndBackward)
{
    editor.cmdCurves();
    click(along(0, 1, 0.5));
    Node *c0 = chain.firstNode, *c1 = corner(1);
    const Vertex f{c0->fcpX, c0->fcpY}, b{c1->bcpX, c1->bcpY};
    for (auto [from, to, backward] : {std::tuple(f, Vertex{f.x + 5, f.y - 7}, false),
                                      std::tuple(b, Vertex{b.x - 4, b.y + 6}, true)}) {
        editor.mouseDown(PointerButton::Left, from.x, from.y);
        EXPECT_TRUE(editor.dragHandle && editor.dragBwd == backward);
        EXPECT_EQ(host.dot, 192 + 90 * 65536) << "the picked handle's marker";
        editor.mouseMove(to.x, to.y, false);
        editor.mouseUp();
    }
    EXPECT_EQ(std::tuple(c0->fcpX, c0->fcpY, c1->bcpX, c1->bcpY),
              std::tuple(f.x + 5, f.y - 7, b.x - 4, b.y + 6));
    expectImage(1e-9);
    // Exactly at the reach is outside it, as for every other pick.
    const double atReach = c0->fcpX + kHitRadius;
    ASSERT_EQ(atReach - c0->fcpX, kHitRadius);
    editor.mouseDown(PointerButton::Left, atReach, c0->fcpY);
    EXPECT_FALSE(editor.dragHandle);
    editor.mouseUp();
}

TEST_F(EditingTest, EditsStopAtTheOutlineLimit)
{
    // The unlinked closing edge filled with nodes up to three points short of the limit.
    Node *c3 = corner(3);
    c3->nPoints = 2;
    while (chain.countPoints() < kMaxOutlinePoints - 3) {
        Node *n = chain.insertAfter(c3);
        std::tie(n->x, n->y) = std::tuple(c3->x, c3->y - 1);
        n->nPoints = static_cast<int16_t>(
            std::min<long>(26, kMaxOutlinePoints - 3 - chain.countPoints() + 1));
    }
    ASSERT_EQ(chain.countPoints(), kMaxOutlinePoints - 3);
    const long nodesBefore = chain.nodeCount();
    click(along(0, 1, 0.5));
    EXPECT_EQ(std::tuple(dialogs.beeps, chain.nodeCount()), std::tuple(1, nodesBefore))
        << "a point and its image would add 4";

    chain.lastNode->bLink->nPoints -= 14; // room for 17: curving both edges adds 18
    editor.cmdCurves();
    click(along(0, 1, 0.5));
    EXPECT_EQ(std::tuple(dialogs.beeps, chain.firstNode->nPoints), std::tuple(2, int16_t(2)));
    chain.lastNode->bLink->nPoints -= 1;
    click(along(0, 1, 0.5));
    EXPECT_EQ(std::tuple(chain.firstNode->nPoints, chain.countPoints()),
              std::tuple(int16_t(11), long(kMaxOutlinePoints)));
    EXPECT_TRUE(editor.setSegmentPoints(2)) << "one line segment is the least";
    EXPECT_EQ(chain.firstNode->nPoints, 2);
    EXPECT_TRUE(editor.setSegmentPoints(11));
    EXPECT_FALSE(editor.setSegmentPoints(12));
    EXPECT_EQ(std::tuple(dialogs.beeps, chain.firstNode->nPoints), std::tuple(3, int16_t(11)));
    EXPECT_TRUE(editor.setSegmentPoints(10));
    // Resampling adds no node: it is allowed with the node table full.
    for (long n = chain.nodeCount(); n < kMaxOutlinePoints; ++n)
        chain.insertAfter(chain.lastNode->bLink)->nPoints = 1;
    EXPECT_TRUE(editor.setSegmentPoints(9));
}

} // namespace
} // namespace tessella::testing
