// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing transformations: prompts, refusals, overwrite questions, reflection.
#include "linkcheck.h"

namespace tessella::testing {
namespace {

const std::vector<Vertex> kSquare = test::squareCorners(0, 0, 200);
const std::vector<Vertex> kRectangle{{0, 0}, {240, 0}, {240, 120}, {0, 120}};
const std::vector<Vertex> kTriangle{{0, 0}, {200, 0}, {100, 173}};

class TransformationsTest : public LinkTest
{};

// A second centre rotation on the same edge finds the centre among the edge's points.
TEST_F(TransformationsTest, CentreRotationInsertsOneCentreAndFindsItAgain)
{
    open(kSquare);
    link(XformCenterRotation, along(1, 2, 0.3));
    Node *mid = xforms.rotMid;
    EXPECT_TRUE(mid->rotCenter && !mid->Anchored);
    EXPECT_EQ(at(mid), mix(at(corner(1)), at(corner(2)), 0.5));
    click(along(1, 2, 0.25)); // a point on the red half and its image
    ASSERT_EQ(chain.nodeCount(), 8);
    xforms.chooseTransformation(XformCenterRotation);
    EXPECT_FALSE(xforms.linkActive()) << "a chosen transformation waits for its click";
    link(XformCenterRotation, along(1, 2, 0.8));
    EXPECT_EQ(std::tuple(chain.nodeCount(), xforms.rotMid), std::tuple(8, mid));
    EXPECT_EQ(mid->bLink->ptColr, kColourSource) << "the source half is red again";
    EXPECT_EQ(mid->fLink->ptColr, kColourDestination) << "and its image blue";
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
    if (r.answer)
        EXPECT_EQ(dialogs.log.back().text + "|" + dialogs.log.back().secondLine,
                  r.text + std::string("|Do you want to proceed?"));
    const bool yes = r.answer == Answer::Yes;
    EXPECT_EQ(std::tuple(dialogs.beeps, xforms.xformIndex(), xforms.anyPending()),
              std::tuple(r.text ? 0 : 1, r.indexAfter, r.pending));
    EXPECT_EQ(std::tuple(xforms.linkActive(), doc.xfReflected != 0),
              std::tuple(yes && r.index != XformReflect, yes && r.index == XformReflect));
    expectSoundChain();
    if (xforms.linkActive())
        expectImage(1e-4);
    if (yes)
        return;
    const auto after = chain.saveChain();
    ASSERT_EQ(after.size(), before.size()) << "the edits stay";
    for (size_t k = 0; k < after.size(); ++k)
        EXPECT_TRUE(after[k].x == before[k].x && after[k].y == before[k].y) << k;
}

constexpr int N = XformNone, T = XformTranslate, C = XformCenterRotation, V = XformVertexRotation,
              G = XformGlide, R = XformReflect;
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
    {"TranslationOntoAnEditedEdgeNo", kSquare, 2, T, {{0, 0.3}}, kOverwrite, No, N, false},
    {"TranslationOntoAnEditedEdgeYes", kSquare, 2, T, {{0, 0.3}}, kOverwrite, Yes, T, false},
    {"CentreRotationOnAnEditedEdgeNo", kSquare, 0, C, {{0, 0.3}}, kNoCentre, No, N, false},
    {"CentreRotationOnAnEditedEdgeYes", kSquare, 0, C, {{0, 0.3}}, kNoCentre, Yes, C, false},
    {"VertexRotationOntoAnEditedEdgeNo", kSquare, 0, V, {{1, 0.3}}, kOverwrite, No, N, false},
    {"VertexRotationOntoAnEditedEdgeYes", kSquare, 0, V, {{1, 0.3}}, kOverwrite, Yes, V, false},
    {"GlideOntoAnEditedEdgeNo", kSquare, 1, G, {{3, 0.5}, {1, 0.3}}, kOverwrite, No, N, false},
    {"GlideOntoAnEditedEdgeYes", kSquare, 1, G, {{3, 0.5}, {1, 0.3}}, kOverwrite, Yes, G, false},
    {"ReflectionOverAnEditedEdgeNo", kSquare, 3, R, {}, kOnMirror, No, N, false},
    {"ReflectionOverAnEditedEdgeYes", kSquare, 3, R, {}, kOnMirror, Yes, R, false},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Choices, ChoiceTest, ::testing::ValuesIn(kChoices),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(TransformationsTest, ReflectionAddsTheMirrorImageAndUnreflectionTakesItAway)
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
    EXPECT_EQ(chain.refFirst, chain.firstNode);
    ASSERT_TRUE(chain.refNode && chain.refNode->refCenter);
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
    EXPECT_TRUE(!doc.xfReflected && xforms.pendTranslate);
    EXPECT_EQ(std::tuple(chain.surfaceWidth, sketches.sketchNext), std::tuple(600.0, 2));
    expectSoundChain();
    const Tile again = chain.flatten(doc.xfTile);
    ASSERT_EQ(again.nVerts, square.nVerts);
    EXPECT_TRUE(std::is_permutation(again.verts.begin(), again.verts.begin() + again.nVerts,
                                    square.verts.begin()))
        << "the same corners, the chain may start at another";
}

TEST_F(TransformationsTest, ReflectionRefusedWhenTheOutlineWouldNotFit)
{
    open(kSquare);
    for (int k = 0; k < 1400; ++k)
        chain.insertAfter(chain.firstNode)->nPoints = 13;
    const long nodesBefore = chain.nodeCount();
    xforms.chooseTransformation(XformReflect);
    EXPECT_EQ(std::tuple(dialogs.beeps, doc.xfReflected, chain.nodeCount()),
              std::tuple(1, int16_t(0), nodesBefore));
}

} // namespace
} // namespace tessella::testing
