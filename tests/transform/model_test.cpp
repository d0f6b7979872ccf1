// SPDX-License-Identifier: GPL-3.0-or-later
// The transform editor's model without its window. The edge chain: default handles and
// flattening. The links between edges: choosing them (refusals, overwrite questions,
// reflection), and editing the source edge: every link keeps its destination the image of
// its source and the returned polygon still tiles; handles; the outline limit. The sketch
// tools, and the sketch items' way into the editor and back into the document.
#include "linkcheck.h"
#include "platform/imagesurface.h"
#include "transform/sketchtools.h"

#include <numbers>
#include <random>

namespace tessella::testing {
namespace {

// A star-shaped (so simple) polygon of n corners around (200, 100).
std::vector<Vertex> randomPolygon(std::mt19937 &rng, int n)
{
    std::uniform_real_distribution<double> radius(40, 150), jitter(0.1, 0.9);
    std::vector<Vertex> out;
    for (int k = 0; k < n; ++k) {
        const double a = 2 * std::numbers::pi * (k + jitter(rng)) / n, r = radius(rng);
        out.push_back({200 + r * std::cos(a), 100 + r * std::sin(a)});
    }
    return out;
}

// Interior nodes, sample counts (0 and 1 included: they add nothing), handles and flags
// at random, as a long editing session may leave them.
void scramble(Chain &chain, std::mt19937 &rng)
{
    std::uniform_real_distribution<double> d(-30, 30);
    for (Node *v = chain.firstNode; v != chain.lastNode; v = v->fLink) {
        if (v->Anchored && rng() % 2) {
            Node *p = chain.insertAfter(v);
            p->x = (v->x + p->fLink->x) / 2 + d(rng), p->y = (v->y + p->fLink->y) / 2 + d(rng);
            p->rotCenter = rng() % 2;
        }
    }
    for (Node *v = chain.firstNode; v != chain.nilNode(); v = v->fLink) {
        v->nPoints = static_cast<int16_t>(rng() % 27);
        v->fcpX = v->x + d(rng), v->fcpY = v->y + d(rng);
        v->bcpX = v->x + d(rng), v->bcpY = v->y + d(rng);
        v->fActive = v->bActive = rng() % 2;
        v->lineColr = v->ptColr = rng() % 2 ? kColourSource : kColourWarning;
    }
}

// Both handles lie on the line through the node parallel to the chord between its
// neighbours, a third of the way to each neighbour: the curve is smooth at every corner.
TEST_F(LinkTest, DefaultHandlesLieOnTheChordParallelAThirdOfTheWayAndFlattenSamplesTheCurves)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 20; ++round) {
        open(randomPolygon(rng, 3 + round % 6));
        for (Node *v : nodes()) {
            const Node *p = chain.prevNode(v);
            const Node *n = chain.nextNode(v);
            const double cx = n->x - p->x, cy = n->y - p->y, chord = std::hypot(cx, cy);
            const double kf = std::hypot(n->x - v->x, n->y - v->y) / 3 / chord;
            const double kb = std::hypot(v->x - p->x, v->y - p->y) / 3 / chord;
            EXPECT_NEAR(std::hypot(v->fcpX - v->x - kf * cx, v->fcpY - v->y - kf * cy), 0, 1e-9);
            EXPECT_NEAR(std::hypot(v->bcpX - v->x + kb * cx, v->bcpY - v->y + kb * cy), 0, 1e-9);
        }
    }
    // Neighbours closer than 1e-9: no chord, the handles stay on the node.
    open({{0, 0}, {10, 0}, {10, 10}, {10 + 1e-10, 0}});
    Node *c2 = corner(2);
    EXPECT_EQ(std::tuple(c2->fcpX, c2->fcpY, c2->bcpX, c2->bcpY),
              std::tuple(c2->x, c2->y, c2->x, c2->y));
    // Every segment is sampled on its Bezier curve.
    rng.seed(5);
    for (int round = 0; round < 20; ++round) {
        open(randomPolygon(rng, 3 + round % 5));
        scramble(chain, rng);
        const Tile back = chain.flatten(doc.xfTile);
        size_t i = 0;
        for (const Node *v = chain.firstNode; v != chain.lastNode; v = v->fLink) {
            const Node *n = v->fLink;
            for (int k = 0; k + 1 < v->nPoints; ++k, ++i) {
                ASSERT_LT(i, back.verts.size());
                const Vertex b = bezier(at(v), {v->fcpX, v->fcpY}, {n->bcpX, n->bcpY}, at(n),
                                        k / (v->nPoints - 1.0));
                expectAt(back.verts[i], {b.x - chain.editOffsetX, b.y - chain.editOffsetY}, 1e-9,
                         "sample", i);
            }
        }
        ASSERT_EQ(std::tuple(back.nVerts, chain.countPoints(), back.verts.size()),
                  std::tuple(int16_t(i), long(i), i + 1));
        EXPECT_TRUE(back.verts.back() == back.verts.front() && back.color == doc.xfTile.color);
    }
    // Straight segments hand back exactly the corners.
    open({{3, 4}, {40, 4}, {52, 30}, {15, 30}});
    EXPECT_EQ(chain.flatten(doc.xfTile).verts, doc.xfTile.verts);
    // The surface is three times the corners' box, the polygon in its middle third.
    EXPECT_EQ(
        std::tuple(chain.surfaceWidth, chain.surfaceHeight, chain.editOffsetX, chain.editOffsetY),
        std::tuple(147.0, 78.0, 46.0, 22.0));
}

using Points = std::vector<Vertex>;
const Points kSquare = test::squareCorners(0, 0, 200);
const Points kTriangle{{0, 0}, {200, 0}, {100, 160}};
const Points kHexagon{{0, 0}, {240, 0}, {360, 160}, {240, 320}, {0, 320}, {-120, 160}};
const Points kRectangle{{0, 0}, {240, 0}, {240, 120}, {0, 120}};

struct Shape
{
    const char *name;
    std::vector<Vertex> corners;
    // Links chosen one after the other: list index, the edge clicked as source and the edge
    // that becomes its destination (edges named by their start corner).
    std::vector<std::array<int, 3>> links;
    double cornerTol; // rotations turn by a single-precision angle
};

constexpr int N = XformNone, T = XformTranslate, C = XformCenterRotation, V = XformVertexRotation,
              G = XformGlide, R = XformReflect;

// clang-format off
const Shape kShapes[] = {
    {"SquareTranslations", kSquare, {{T, 0, 2}, {T, 3, 1}}, 1e-9},
    {"HexagonTranslations", kHexagon, {{T, 0, 3}, {T, 1, 4}, {T, 2, 5}}, 1e-9},
    {"TriangleCentreRotations", kTriangle, {{C, 0, 0}, {C, 1, 1}, {C, 2, 2}}, 1e-9},
    {"TriangleVertexRotationAtTheApex", kTriangle, {{V, 2, 1}}, 1e-4},
    {"SquareVertexRotationAtCorner0", kSquare, {{V, 0, 3}}, 1e-4},
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
        const bool resampled = t.editor.setSegmentPoints(samples);
        for (Node *n : src)
            EXPECT_TRUE(!resampled || !n->fActive || n->nPoints == samples);
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
        EXPECT_TRUE(!turning ||
                    std::abs(std::remainder(turn() - before, 2 * std::numbers::pi)) < 1e-3);
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
    for (auto [index, source, destination] : s.links) {
        link(index, along(source, source + 1, 0.4),
             index == G ? std::optional(along(destination, destination + 1, 0.5)) : std::nullopt);
        EXPECT_TRUE(index == C || std::tuple(runs().first[0], runs().second[0]) ==
                                      std::tuple(corner(source), corner(destination)));
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
        expectTiles(s.links[k][1], s.links[k][2], maps[k], s.cornerTol);
}

INSTANTIATE_TEST_SUITE_P(Shapes, LinkShapeTest, ::testing::ValuesIn(kShapes),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LinkTest, ActiveHandlesAreDraggedForwardAndBackward)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    editor.cmdCurves();
    click(along(0, 1, 0.5));
    Node *c0 = chain.firstNode, *c1 = corner(1);
    const Vertex f{c0->fcpX, c0->fcpY}, b{c1->bcpX, c1->bcpY};
    for (auto [from, to, backward] : {std::tuple(f, Vertex{f.x + 5, f.y - 7}, false),
                                      std::tuple(b, Vertex{b.x - 4, b.y + 6}, true)}) {
        editor.mouseDown(PointerButton::Left, from.x, from.y);
        EXPECT_TRUE(editor.dragHandle && editor.dragBwd == backward);
        EXPECT_EQ(dot, 192 + 90 * 65536) << "the picked handle's marker";
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

TEST_F(LinkTest, EditsStopAtTheOutlineLimit)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
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
    EXPECT_EQ(at(mid), mix(at(corner(1)), at(corner(2)), 0.5));
    click(along(1, 2, 0.25)); // a point on the red half, where clicked, and its image
    ASSERT_EQ(chain.nodeCount(), 8);
    expectAt(at(mid->bLink), along(1, 2, 0.25), 1e-9, "the added point");
    xforms.chooseTransformation(XformCenterRotation);
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
    {"GlideEdgesDiffer", kRectangle, -1, G, {{0, 0.5}, {1, 0.5}},
     "source and destination edges are not congruent", {}, N, false},
    {"NoVerticalRightmostEdge", kTriangle, -1, R, {},
     "did not find a reflection edge\nonly vertical rightmost edges can be used for reflections",
     {}, N, false},
    {"ClickOnNothing", kSquare, -1, T, {{-1, 0}}, nullptr, {}, T, true},
    {"TranslationOntoAnEditedEdgeYes", kSquare, 2, T, {{0, 0.3}}, kOverwrite, Yes, T, false},
    {"CentreRotationOnAnEditedEdgeNo", kSquare, 0, C, {{0, 0.3}}, kNoCentre, No, N, false},
    {"CentreRotationOnAnEditedEdgeYes", kSquare, 0, C, {{0, 0.3}}, kNoCentre, Yes, C, false},
    {"VertexRotationOntoAnEditedEdgeYes", kSquare, 0, V, {{1, 0.3}}, kOverwrite, Yes, V, false},
    {"GlideOntoAnEditedEdgeYes", kSquare, 1, G, {{3, 0.5}, {1, 0.3}}, kOverwrite, Yes, G, false},
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
    EXPECT_EQ(std::tuple(chain.surfaceWidth, resized), std::tuple(800.0, 1));
    expectSoundChain();
    // The square and its mirror image across its rightmost vertical edge.
    const Tile back = chain.flatten(doc.xfTile);
    const Points mirrored{{0, 200}, {0, 0}, {200, 0}, {400, 0}, {400, 200}, {200, 200}};
    EXPECT_TRUE(back.nVerts == 6 &&
                std::is_permutation(mirrored.begin(), mirrored.end(), back.verts.begin()));
    ASSERT_EQ(sketches.sketchNext, 3) << "the sketch gets a mirrored copy";
    EXPECT_EQ(sketches.sketchItems[2].points[0].x, 2 * 400 - 210);

    // While reflected, "clear edge" refuses and another transformation asks first.
    dialogs.expectMessage("reflected polygons can not be modified");
    editor.cmdClear();
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

constexpr double kReach = 6.0;

// The palette's part is the fixture's.
class SketchToolsTest : public ::testing::Test, public SketchToolsHost
{
protected:
    void sketchRedraw() override {}
    void sketchBeep() override { ++beeps; }
    void enableCurve(bool enabled) override { curveButton = enabled; }
    void click(double x, double y, PointerButton b = PointerButton::Left)
    {
        tools.mouseDown(b, x, y, kReach);
        tools.mouseUp(b, x, y);
    }
    // The last item.
    const Sketch &last() const { return work.sketchItems.at(work.sketchNext - 1); }
    // Left clicks, then a right click that ends an open line.
    void polyline(const std::vector<Vertex> &corners)
    {
        for (const Vertex &p : corners)
            click(p.x, p.y);
        click(0, 0, PointerButton::Right);
    }

    int beeps = 0;
    bool curveButton = false;
    SketchWorkingCopy work;
    SketchTools tools{work, *this};
};

// A polyline of n corners curves into n - 2 pieces of five samples, each piece running
// from one midpoint of consecutive corners to the next with both inner controls on the
// corner between them.
TEST_F(SketchToolsTest, CurvesThroughPolylinesOfEveryLength)
{
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> pos(0, 300);
    for (int n = 3; n <= 12; ++n) {
        std::vector<Vertex> c;
        for (int k = 0; k < n; ++k)
            c.push_back({pos(rng), pos(rng)});
        ASSERT_TRUE(work.append({.nPoints = static_cast<int16_t>(n), .points = c}));
        curveButton = true; // as the palette shows it for a fresh line
        tools.cmdCurve();
        ASSERT_TRUE(tools.curveUnderway && tools.curvePoints.size() == size_t(n - 1));
        tools.cmdCurve();
        EXPECT_FALSE(tools.curveUnderway || curveButton);
        const Sketch &s = last();
        ASSERT_EQ(std::tuple(s.nPoints, s.points.size()),
                  std::tuple(5 * (n - 2), size_t(5 * (n - 2))));
        for (int k = 1; k + 1 < n; ++k) {
            for (int j = 0; j < 5; ++j) {
                const Vertex e =
                    bezier(mix(c[k - 1], c[k], 0.5), c[k], c[k], mix(c[k], c[k + 1], 0.5), j / 5.0);
                const Vertex &p = s.points[5 * (k - 1) + j];
                EXPECT_NEAR(std::hypot(p.x - e.x, p.y - e.y), 0, 1e-9);
            }
        }
    }
    // Two points make no curve: the line stays. A non-finite pointer moves no rubber band.
    click(0, 0);
    ASSERT_NE(tools.entering(), nullptr) << "one point shows";
    tools.mouseMove(30, 0);
    tools.mouseMove(std::nan(""), 5);
    EXPECT_EQ(tools.rubberBand()->second, (Vertex{30, 0}));
    polyline({{30, 0}});
    EXPECT_FALSE(curveButton || tools.prepCurve());
    EXPECT_EQ(std::tuple(beeps, last().nPoints), std::tuple(1, 2));
    // The preview of an open curve is not closed: nothing on the chord back to its start.
    polyline({{10, 50}, {50, 30}, {50, 90}});
    ASSERT_TRUE(tools.prepCurve());
    ImageSurface preview(QSize(100, 100), QPoint(0, 0), 0xffffff);
    drawSketchOverlay(preview, tools);
    EXPECT_EQ(std::tuple(preview.pixel(38, 42), preview.pixel(30, 40)),
              std::tuple(0xffffff, kOutlineColour));
    tools.closeCurve();
    // The regular polygon's preview reaches the pointer.
    tools.chooseTool(SketchTool::Polygon);
    tools.mouseDown(PointerButton::Left, 50, 50, kReach);
    tools.mouseMove(53, 46);
    EXPECT_EQ(tools.regularPreview()->radius, 5);
    // 6556 corners would curve into 5 * 6554 = 32770 points, past 16 bits: refused.
    Sketch big{.nPoints = 6556, .points = {}};
    for (int i = 0; i < 6556; ++i)
        big.points.push_back({i * 10.0, (i % 2) * 10.0});
    ASSERT_TRUE(work.append(big));
    EXPECT_FALSE(tools.prepCurve());
    work.sketchItems[work.sketchNext - 1].nPoints = 6555;
    ASSERT_TRUE(tools.prepCurve());
    tools.closeCurve();
    EXPECT_EQ(last().nPoints, 32765);
}

Sketch item(double x, double y, int16_t kind = 0)
{
    return {.kind = kind, .nPoints = 2, .points = {{x, y}, {x + 5, y + 1}}};
}

class SketchStoreTest : public ::testing::Test
{
protected:
    Document doc;
    SketchWorkingCopy work;
    Tile tile;

    void SetUp() override
    {
        doc.appendSketchRun({item(100, 100)}); // another polygon's run
        tile.sketchStart = doc.appendSketchRun({item(1, 2), item(3, 4, 1)});
        ASSERT_EQ(tile.sketchStart, 2);
    }
};

// Runs that point outside the table, or hold more than it, load only what is there.
TEST_F(SketchStoreTest, LoadsOnlyWhatTheTableHoldsAndDropsReloadedMirrorImagesOnlyWhole)
{
    // start, count, points of the second item, items loaded
    for (auto [start, count, nPoints, items] :
         {std::array{99, 2, 2, 0}, {2, 50, 2, 2}, {2, 2, 40, 2}, {2, 0, 2, 0}, {0, 2, 2, 0}}) {
        Tile t = tile;
        t.sketchStart = start;
        doc.sketches[2].count = static_cast<int16_t>(count);
        doc.sketches[3].nPoints = static_cast<int16_t>(nPoints);
        loadSketches(doc, t, 0, 0, work);
        ASSERT_EQ(work.sketchNext, items + 1) << start << " " << count << " " << nPoints;
    }
    // After a reload only the geometry tells the mirrored half, and all of it must match.
    loadSketches(doc, tile, 0, 0, work);
    mirrorSketches(work, 50);
    ASSERT_EQ(work.sketchNext, 5);
    EXPECT_EQ(work.sketchItems[3].points[0].x, 99);
    work.mirrorFrom = 0;
    work.sketchItems[4].points[0].x += 1;
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, 5) << "not a mirror image in every point";
    work.sketchItems[4].points[0].x -= 1;
    work.sketchItems[4].kind = 0;
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, 5) << "nor of another kind";
    work.sketchItems[4].kind = 1;
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, 3);
    // No room for the copies: none made, none dropped.
    work.sketchItems.resize(kMaxRecords);
    work.sketchNext = kMaxRecords;
    mirrorSketches(work, 50);
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, kMaxRecords);
}

} // namespace
} // namespace tessella::testing
