// SPDX-License-Identifier: GPL-3.0-or-later
// The links between edges: choosing them (refusals, overwrite questions, reflection), and
// editing the source edge: every link keeps its destination the image of its source and
// the returned polygon still tiles; clicks that are refused; handles; the outline limit.
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

constexpr int N = XformNone, T = XformTranslate, C = XformCenterRotation, V = XformVertexRotation,
              G = XformGlide, R = XformReflect;

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
{};

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
    const auto src = t.runs().first;
    const size_t i = rng() % (src.size() - 1);
    Node *inner = src.size() > 2 ? src[1 + rng() % (src.size() - 2)] : nullptr;
    Node *handle = nullptr;
    for (Node *n : src)
        handle = n->fActive && n != src.back() ? n : handle;
    switch (rng() % 6) {
    case 0: // adds a point (or curves the segment), pulled at once or not
        pull(t, mix(t.at(src[i]), t.at(src[i + 1]), 0.3 + 0.4 * u(rng)), rng() % 2 ? shift(rng) : 0,
             shift(rng), rng() % 2);
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

// Each link chosen in turn and its source edited at random, with the checks of the chain
// and the image after every edit; at the end each link's copy of the polygon still tiles.
TEST_P(LinkShapeTest, EditedSourcesKeepTheirImagesAndThePolygonTiles)
{
    const Shape &s = GetParam();
    std::mt19937 rng(17);
    open(s.corners);
    std::vector<Isometry> maps;
    for (const Link &l : s.links) {
        const std::optional<Vertex> dest =
            l.index == XformGlide ? std::optional(along(l.destination, l.destination + 1, 0.5))
                                  : std::nullopt;
        link(l.index, along(l.source, l.source + 1, 0.4), dest);
        if (l.index != XformCenterRotation) {
            EXPECT_EQ(std::tuple(runs().first[0], runs().second[0]),
                      std::tuple(corner(l.source), corner(l.destination)));
        }
        for (int step = 0; step < 60 && !HasFailure(); ++step) {
            randomEdit(*this, rng);
            SCOPED_TRACE(::testing::Message() << "after edit " << step);
            expectSoundChain();
            expectImage(s.cornerTol);
        }
        if (editor.curveMode())
            editor.cmdCurves();
        const auto src = runs().first; // the edge carries at least one point
        if (src.size() == 2)
            click(mix(at(src[0]), at(src[1]), 0.5));
        maps.push_back(xforms.linkIsometry());
    }
    for (size_t k = 0; k < s.links.size(); ++k)
        expectTiles(s.links[k].source, s.links[k].destination, maps[k], s.cornerTol);
}

INSTANTIATE_TEST_SUITE_P(Shapes, LinkShapeTest, ::testing::ValuesIn(kShapes),
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

// A red point without a link, as a reloaded document has, is not deleted.
TEST_F(LinkTest, RightClickOnARedPointWithoutALinkChangesNothing)
{
    open(kSquare);
    Node *p = chain.insertAfter(chain.firstNode);
    std::tie(p->x, p->y, p->nPoints) = std::tuple(300.0, 200.0, int16_t(2));
    chain.firstNode->lineColr = p->lineColr = p->ptColr = kColourSource;
    const auto before = chain.saveChain();
    click({300, 200}, PointerButton::Right);
    EXPECT_EQ(std::tuple(dialogs.beeps, chain.saveChain()), std::tuple(1, before));
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
    EXPECT_TRUE(editor.setSegmentPoints(2) && chain.firstNode->nPoints == 2) << "the least";
    EXPECT_TRUE(editor.setSegmentPoints(11) && !editor.setSegmentPoints(12));
    EXPECT_EQ(std::tuple(dialogs.beeps, chain.firstNode->nPoints), std::tuple(3, int16_t(11)));
    // Resampling adds no node: it is allowed with the node table full.
    for (long n = chain.nodeCount(); n < kMaxOutlinePoints; ++n)
        chain.insertAfter(chain.lastNode->bLink)->nPoints = 1;
    EXPECT_TRUE(editor.setSegmentPoints(9));
    const long nodes = chain.nodeCount(); // and a reflection would not fit
    xforms.chooseTransformation(XformReflect);
    EXPECT_EQ(std::tuple(dialogs.beeps, doc.xfReflected, chain.nodeCount()),
              std::tuple(4, int16_t(0), nodes));
}

// A second centre rotation on the same edge finds the centre among the edge's points.
TEST_F(LinkTest, CentreRotationInsertsOneCentreAndFindsItAgain)
{
    open(kSquare);
    link(XformCenterRotation, along(1, 2, 0.3));
    Node *mid = xforms.rotMid;
    EXPECT_TRUE(mid->rotCenter && !mid->Anchored);
    EXPECT_EQ(at(mid), mix(at(corner(1)), at(corner(2)), 0.5));
    click(along(1, 2, 0.25)); // a point on the red half, where clicked, and its image
    ASSERT_EQ(chain.nodeCount(), 8);
    EXPECT_NEAR(
        std::hypot(mid->bLink->x - along(1, 2, 0.25).x, mid->bLink->y - along(1, 2, 0.25).y), 0,
        1e-9);
    xforms.chooseTransformation(XformCenterRotation);
    EXPECT_FALSE(xforms.linkActive()) << "a chosen transformation waits for its click";
    link(XformCenterRotation, along(1, 2, 0.8));
    EXPECT_EQ(std::tuple(chain.nodeCount(), xforms.rotMid), std::tuple(8, mid));
    EXPECT_EQ(std::tuple(mid->bLink->ptColr, mid->fLink->ptColr),
              std::tuple(kColourSource, kColourDestination))
        << "the red half and its blue image";
    expectImage(1e-9);
}

// A choice that cannot go ahead says why (a message, or a beep for a click on nothing)
// and changes nothing; one that would overwrite edits asks first: No keeps everything,
// Yes goes on.
struct Choice
{
    const char *name;
    std::vector<Vertex> corners;
    int editedEdge; // -1, or a translation from this edge puts a point on it and its image
    int index;
    std::vector<std::pair<int, double>> clicks; // edge (-1: off the polygon), fraction along
    const char *text;                           // message or question; nullptr: a beep
    std::optional<Answer> answer;               // the question's, or none for a message
    int indexAfter;
    bool pending;
};

class ChoiceTest : public LinkTest, public ::testing::WithParamInterface<Choice>
{};

TEST_P(ChoiceTest, RefusesOrAsksBeforeOverwritingEdits)
{
    const Choice &r = GetParam();
    open(r.corners);
    if (r.editedEdge >= 0) {
        link(XformTranslate, along(r.editedEdge, r.editedEdge + 1, 0.5));
        click(along(r.editedEdge, r.editedEdge + 1, 0.5));
    }
    const auto before = chain.saveChain();
    if (r.answer)
        dialogs.expectYesNo(*r.answer);
    else if (r.text)
        dialogs.expectMessage(r.text);
    xforms.chooseTransformation(r.index);
    for (auto [edge, t] : r.clicks)
        click(edge < 0 ? Vertex{1, 1} : along(edge, edge + 1, t));
    ASSERT_TRUE(dialogs.allConsumed());
    const bool yes = r.answer == Answer::Yes;
    EXPECT_EQ(std::tuple(dialogs.beeps, xforms.xformIndex(), xforms.anyPending(),
                         xforms.linkActive(), doc.xfReflected != 0),
              std::tuple(r.text ? 0 : 1, r.indexAfter, r.pending, yes && r.index != XformReflect,
                         yes && r.index == XformReflect));
    expectSoundChain();
    if (xforms.linkActive())
        expectImage(1e-4);
    const auto after = chain.saveChain();
    ASSERT_TRUE(yes || after.size() == before.size()) << "the edits stay";
    for (size_t k = 0; !yes && k < after.size(); ++k)
        EXPECT_TRUE(after[k].x == before[k].x && after[k].y == before[k].y) << k;
}

constexpr auto No = Answer::No, Yes = Answer::Yes;
const char *const kOverwrite = "transformatiom might overwrite edits on the destination edge";
const char *const kNoCentre = "this edge has no center point and already contains edits";
const char *const kOnMirror = "reflection will overwrite edits on the reflection line";

// clang-format off
const Choice kChoices[] = {
    {"TriangleHasNoParallelEdge", kTriangle, -1, T, {{0, 0.5}},
     "could not find a parallel and congruent edge", {}, N, false},
    {"RectangleCornerEdgesDiffer", kRectangle, -1, V, {{0, 0.5}},
     "adjacent edges are not congruent", {}, V, true},
    {"GlideOntoItsOwnEdge", kRectangle, -1, G, {{0, 0.5}, {0, 0.7}},
     "source and destination must be two different edges", {}, G, true},
    {"GlideEdgesDiffer", kRectangle, -1, G, {{0, 0.5}, {1, 0.5}},
     "source and destination edges are not congruent", {}, N, false},
    {"NoVerticalRightmostEdge", kTriangle, -1, R, {},
     "did not find a reflection edge\nonly vertical rightmost edges can be used for reflections",
     {}, N, false},
    {"UnreflectWithoutReflection", kSquare, -1, XformUnreflect, {},
     "this polygon has not been reflected", {}, N, false},
    {"ClickOnNothing", kSquare, -1, T, {{-1, 0}}, nullptr, {}, T, true},
    {"TranslationOntoAnEditedEdgeYes", kSquare, 2, T, {{0, 0.3}}, kOverwrite, Yes, T, false},
    {"CentreRotationOnAnEditedEdgeNo", kSquare, 0, C, {{0, 0.3}}, kNoCentre, No, N, false},
    {"CentreRotationOnAnEditedEdgeYes", kSquare, 0, C, {{0, 0.3}}, kNoCentre, Yes, C, false},
    {"VertexRotationOntoAnEditedEdgeYes", kSquare, 0, V, {{1, 0.3}}, kOverwrite, Yes, V, false},
    {"GlideOntoAnEditedEdgeNo", kSquare, 1, G, {{3, 0.5}, {1, 0.3}}, kOverwrite, No, N, false},
    {"GlideOntoAnEditedEdgeYes", kSquare, 1, G, {{3, 0.5}, {1, 0.3}}, kOverwrite, Yes, G, false},
    {"ReflectionOverAnEditedEdgeNo", kSquare, 3, R, {}, kOnMirror, No, N, false},
    {"ReflectionOverAnEditedEdgeYes", kSquare, 3, R, {}, kOnMirror, Yes, R, false},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Choices, ChoiceTest, ::testing::ValuesIn(kChoices),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LinkTest, ReflectionAddsTheMirrorImageAndUnreflectionTakesItAway)
{
    open({{0, 200}, {0, 0}, {200, 0}, {200, 200}}); // the left edge comes first
    sketches.append({.kind = 1, .nPoints = 2, .points = {{210, 210}, {250, 260}}});
    const Tile square = chain.flatten(doc.xfTile);
    xforms.chooseTransformation(XformReflect);
    ASSERT_TRUE(doc.xfReflected);
    EXPECT_EQ(std::tuple(chain.surfaceWidth, host.resized), std::tuple(800.0, 1));
    expectSoundChain();
    // The square and its mirror image across its rightmost vertical edge: 400 x 200.
    const Tile back = chain.flatten(doc.xfTile);
    double minX = 1e9, maxX = -1e9, area = 0;
    for (int k = 0; k < back.nVerts; ++k) {
        minX = std::min(minX, back.verts[k].x);
        maxX = std::max(maxX, back.verts[k].x);
        area += back.verts[k].x * back.verts[k + 1].y - back.verts[k + 1].x * back.verts[k].y;
    }
    EXPECT_EQ(std::tuple(minX, maxX, area / 2), std::tuple(0.0, 400.0, 400.0 * 200));
    EXPECT_TRUE(chain.refFirst == chain.firstNode && chain.refNode && chain.refNode->refCenter);
    ASSERT_EQ(sketches.sketchNext, 3) << "the sketch gets a mirrored copy";
    EXPECT_EQ(sketches.sketchItems[2].points[0].x, 2 * 400 - 210);

    // While reflected, "clear edge" refuses and another transformation asks first.
    dialogs.expectMessage("reflected polygons can not be modified");
    editor.cmdClear();
    EXPECT_FALSE(xforms.pendClear);
    dialogs.expectYesNo(Answer::No);
    xforms.chooseTransformation(XformTranslate);
    EXPECT_EQ(dialogs.log.back().text + dialogs.log.back().secondLine,
              "this polygon has been reflectedDo you want to unreflect it now?");
    EXPECT_TRUE(doc.xfReflected && xforms.xformIndex() == XformNone);
    dialogs.expectYesNo(Answer::Yes);
    xforms.chooseTransformation(XformTranslate);
    EXPECT_EQ(
        std::tuple(doc.xfReflected, xforms.pendTranslate, chain.surfaceWidth, sketches.sketchNext),
        std::tuple(int16_t(0), true, 600.0, 2));
    expectSoundChain();
    const Tile again = chain.flatten(doc.xfTile);
    ASSERT_EQ(again.nVerts, square.nVerts);
    EXPECT_TRUE(std::is_permutation(again.verts.begin(), again.verts.begin() + again.nVerts,
                                    square.verts.begin()))
        << "the same corners, the chain may start at another";
}

} // namespace
} // namespace tessella::testing
