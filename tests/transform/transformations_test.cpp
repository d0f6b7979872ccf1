// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing transformations: prompts, refusals, overwrite questions, reflection.
#include "linkcheck.h"

namespace tessella::testing {
namespace {

const std::vector<Vertex> kSquare = test::squareCorners(0, 0, 200);
const std::vector<Vertex> kRectangle{{0, 0}, {240, 0}, {240, 120}, {0, 120}};
const std::vector<Vertex> kTriangle{{0, 0}, {200, 0}, {100, 173}};
const std::string kEditPrompt = "edit points on the red line\nor select a new transformation";

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
    link(XformCenterRotation, along(1, 2, 0.8));
    EXPECT_EQ(chain.nodeCount(), 8);
    EXPECT_EQ(xforms.rotMid, mid);
    EXPECT_EQ(mid->bLink->ptColr, kColourSource) << "the source half is red again";
    EXPECT_EQ(mid->fLink->ptColr, kColourDestination) << "and its image blue";
    expectImage(1e-9);
}

TEST_F(TransformationsTest, AChosenTransformationWaitsForItsClicks)
{
    open(kRectangle);
    link(XformGlide, along(3, 4, 0.5), along(1, 2, 0.5));
    for (int index : {XformTranslate, XformCenterRotation, XformVertexRotation, XformGlide}) {
        xforms.chooseTransformation(index);
        EXPECT_FALSE(xforms.linkActive()) << index;
    }
}

// A refused selection leaves the chain as it was and says why.
struct Refusal
{
    const char *name;
    std::vector<Vertex> corners;
    int index;
    std::vector<std::pair<int, double>> clicks; // edge, fraction along it
    const char *message;                        // nullptr: a beep
    int indexAfter;
    bool stillPending;
};

class RefusalTest : public LinkTest, public ::testing::WithParamInterface<Refusal>
{};

TEST_P(RefusalTest, RefusedSelectionChangesNothing)
{
    const Refusal &r = GetParam();
    open(r.corners);
    const long nodesBefore = chain.nodeCount();
    if (r.message)
        dialogs.expectMessage(r.message);
    xforms.chooseTransformation(r.index);
    for (auto [edge, t] : r.clicks)
        click(edge < 0 ? Vertex{1, 1} : along(edge, edge + 1, t));
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(std::tuple(dialogs.beeps, xforms.xformIndex(), xforms.anyPending()),
              std::tuple(r.message ? 0 : 1, r.indexAfter, r.stillPending));
    EXPECT_FALSE(xforms.linkActive() || doc.xfReflected);
    EXPECT_EQ(chain.nodeCount(), nodesBefore);
}

// clang-format off
const Refusal kRefusals[] = {
    {"TriangleHasNoParallelEdge", kTriangle, XformTranslate, {{0, 0.5}},
     "could not find a parallel and congruent edge", XformNone, false},
    {"RectangleCornerEdgesDiffer", kRectangle, XformVertexRotation, {{0, 0.5}},
     "adjacent edges are not congruent", XformVertexRotation, true},
    {"GlideOntoItsOwnEdge", kRectangle, XformGlide, {{0, 0.5}, {0, 0.7}},
     "source and destination must be two different edges", XformGlide, true},
    {"GlideEdgesDiffer", kRectangle, XformGlide, {{0, 0.5}, {1, 0.5}},
     "source and destination edges are not congruent", XformNone, false},
    {"NoVerticalRightmostEdge", kTriangle, XformReflect, {},
     "did not find a reflection edge\nonly vertical rightmost edges can be used for reflections",
     XformNone, false},
    {"UnreflectWithoutReflection", kSquare, XformUnreflect, {},
     "this polygon has not been reflected", XformNone, false},
    {"ClickOnNothing", kSquare, XformTranslate, {{-1, 0}}, nullptr, XformTranslate, true},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Selections, RefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const auto &info) { return std::string(info.param.name); });

// A choice that would overwrite edits asks first: No keeps everything, Yes goes on.
struct Overwrite
{
    const char *name;
    int editedEdge; // a translation link from this edge puts a point on it and its image
    int index;
    int clickedEdge;
    const char *question;
};

const Overwrite kOverwrites[] = {
    {"TranslationOntoAnEditedEdge", 2, XformTranslate, 0,
     "transformatiom might overwrite edits on the destination edge"},
    {"CentreRotationOnAnEditedEdge", 0, XformCenterRotation, 0,
     "this edge has no center point and already contains edits"},
    {"VertexRotationOntoAnEditedEdge", 0, XformVertexRotation, 1,
     "transformatiom might overwrite edits on the destination edge"},
    {"GlideOntoAnEditedEdge", 1, XformGlide, 1,
     "transformatiom might overwrite edits on the destination edge"},
    {"ReflectionOverAnEditedEdge", 3, XformReflect, -1,
     "reflection will overwrite edits on the reflection line"},
};

class OverwriteTest : public LinkTest,
                      public ::testing::WithParamInterface<std::tuple<Overwrite, Answer>>
{};

TEST_P(OverwriteTest, AsksBeforeOverwritingEdits)
{
    const auto &[o, answer] = GetParam();
    open(kSquare);
    link(XformTranslate, along(o.editedEdge, o.editedEdge + 1, 0.5));
    click(along(o.editedEdge, o.editedEdge + 1, 0.5));
    const auto before = chain.saveChain();
    dialogs.expectYesNo(answer);
    xforms.chooseTransformation(o.index);
    if (o.index == XformGlide)
        click(along(3, 4, 0.5)); // the glide's source: the left edge
    if (o.clickedEdge >= 0)
        click(along(o.clickedEdge, o.clickedEdge + 1, 0.3));
    ASSERT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(dialogs.log.back().text + "|" + dialogs.log.back().secondLine,
              o.question + std::string("|Do you want to proceed?"));
    expectSoundChain();
    if (answer == Answer::No) {
        EXPECT_EQ(xforms.xformIndex(), XformNone);
        EXPECT_FALSE(xforms.anyPending() || doc.xfReflected);
        const auto after = chain.saveChain();
        ASSERT_EQ(after.size(), before.size()) << "the edits stay";
        for (size_t k = 0; k < after.size(); ++k)
            EXPECT_TRUE(after[k].x == before[k].x && after[k].y == before[k].y) << k;
    } else if (o.index == XformReflect) {
        EXPECT_TRUE(doc.xfReflected);
    } else {
        ASSERT_TRUE(xforms.linkActive());
        expectImage(1e-4);
    }
}

INSTANTIATE_TEST_SUITE_P(Questions, OverwriteTest,
                         ::testing::Combine(::testing::ValuesIn(kOverwrites),
                                            ::testing::Values(Answer::No, Answer::Yes)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == Answer::Yes ? "Yes" : "No");
                         });

TEST_F(TransformationsTest, ReflectionAddsTheMirrorImageAndUnreflectionTakesItAway)
{
    open(kSquare);
    Sketch s;
    s.kind = 1;
    s.nPoints = 2;
    s.points = {{210, 210}, {250, 260}};
    sketches.append(s);
    const Tile square = chain.flatten(doc.xfTile);
    xforms.chooseTransformation(XformReflect);
    ASSERT_TRUE(doc.xfReflected);
    EXPECT_EQ(std::tuple(chain.surfaceWidth, host.resized), std::tuple(800.0, 1));
    expectSoundChain();
    // The square and its mirror image across x = 400 (editor): a 400 x 200 rectangle.
    const Tile back = chain.flatten(doc.xfTile);
    double minX = 1e9, maxX = -1e9, area = 0;
    for (int k = 0; k < back.nVerts; ++k) {
        minX = std::min(minX, back.verts[k].x);
        maxX = std::max(maxX, back.verts[k].x);
        area += back.verts[k].x * back.verts[k + 1].y - back.verts[k + 1].x * back.verts[k].y;
    }
    EXPECT_EQ(std::tuple(maxX - minX, area / 2), std::tuple(400.0, 400.0 * 200));
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
    for (const Vertex &v : square.verts)
        EXPECT_NE(std::find(again.verts.begin(), again.verts.end(), v), again.verts.end());
    EXPECT_EQ(again.nVerts, square.nVerts);
}

TEST_F(TransformationsTest, ReflectionUsesTheRightmostVerticalEdge)
{
    open({{0, 200}, {0, 0}, {200, 0}, {200, 200}}); // the left edge comes first
    xforms.chooseTransformation(XformReflect);
    ASSERT_TRUE(doc.xfReflected);
    const Tile back = chain.flatten(doc.xfTile);
    EXPECT_EQ(std::min_element(back.verts.begin(), back.verts.end(),
                               [](Vertex a, Vertex b) { return a.x < b.x; })
                  ->x,
              0);
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
