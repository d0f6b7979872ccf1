// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing transformations: checks, messages, colours, reflection.
#include "linkcheck.h"

namespace tessella::testing {
namespace {

const std::vector<Vertex> kSquare{{0, 0}, {200, 0}, {200, 200}, {0, 200}};
const std::vector<Vertex> kRectangle{{0, 0}, {240, 0}, {240, 120}, {0, 120}};
const std::vector<Vertex> kTriangle{{0, 0}, {200, 0}, {100, 173}};

class TransformationsTest : public LinkTest
{};

TEST_F(TransformationsTest, TranslationFindsTheOppositeEdgeAndColours)
{
    open(kSquare);
    xforms.chooseTransformation(XformTranslate);
    EXPECT_TRUE(xforms.pendTranslate);
    EXPECT_EQ(host.notice, "select a source edge");
    click(along(0, 1, 0.5));
    EXPECT_FALSE(xforms.pendTranslate);
    EXPECT_EQ(xforms.xlDst, corner(3));
    EXPECT_EQ(corner(0)->lineColr, kColourSource);
    EXPECT_EQ(corner(2)->lineColr, kColourDestination);
    EXPECT_EQ(corner(1)->lineColr, kColourNone);
    EXPECT_EQ(host.notice, "edit points on the red line\nor select a new transformation");
    EXPECT_EQ(host.shownIndex, XformTranslate);
}

TEST_F(TransformationsTest, TriangleHasNoTranslationPartner)
{
    open(kTriangle);
    dialogs.expectMessage("could not find a parallel and congruent edge");
    xforms.chooseTransformation(XformTranslate);
    click(along(0, 1, 0.5));
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(xforms.xformIndex(), XformNone);
    EXPECT_FALSE(xforms.linkActive());
}

TEST_F(TransformationsTest, MissedSelectionClickBeeps)
{
    open(kSquare);
    xforms.chooseTransformation(XformTranslate);
    click({1, 1});
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(xforms.pendTranslate);
}

TEST_F(TransformationsTest, CenterRotationInsertsOneCentre)
{
    open(kSquare);
    link(XformCenterRotation, along(1, 2, 0.3));
    EXPECT_EQ(chain.nodeCount(), 6);
    Node *mid = xforms.rotMid;
    EXPECT_TRUE(mid->rotCenter);
    EXPECT_EQ(mid->x, corner(1)->x);
    EXPECT_EQ(mid->y, (corner(1)->y + corner(2)->y) / 2);
    link(XformCenterRotation, along(1, 2, 0.8));
    EXPECT_EQ(chain.nodeCount(), 6);
    EXPECT_EQ(xforms.rotMid, mid);
}

TEST_F(TransformationsTest, CenterRotationOnAnEditedEdgeAsks)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    click(along(0, 1, 0.5));
    dialogs.expectYesNo(Answer::No);
    xforms.chooseTransformation(XformCenterRotation);
    click(along(0, 1, 0.2));
    EXPECT_EQ(dialogs.log.back().text, "this edge has no center point and already contains edits");
    EXPECT_EQ(xforms.xformIndex(), XformNone);
    EXPECT_EQ(chain.nodeCount(), 7);
    dialogs.expectYesNo(Answer::Yes);
    xforms.chooseTransformation(XformCenterRotation);
    click(along(0, 1, 0.2));
    EXPECT_TRUE(xforms.linkActive());
    EXPECT_EQ(chain.nodeCount(), 7); // the point went, the centre came
}

TEST_F(TransformationsTest, RectangleVertexRotationRefusedAndStaysPending)
{
    open(kRectangle);
    for (int k = 0; k < 4; ++k) {
        dialogs.expectMessage("adjacent edges are not congruent");
        xforms.chooseTransformation(XformVertexRotation);
        click(along(k, k + 1, 0.5));
        EXPECT_TRUE(xforms.pendVertexRot);
        EXPECT_FALSE(xforms.linkActive());
    }
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(chain.nodeCount(), 5);
}

TEST_F(TransformationsTest, DestinationWithEditsShownMagentaAndKeptOnNo)
{
    open(kSquare);
    link(XformTranslate, along(2, 3, 0.5)); // top edge is the source
    click(along(2, 3, 0.5));
    ASSERT_EQ(chain.nodeCount(), 7);
    dialogs.expectYesNo(Answer::No);
    xforms.chooseTransformation(XformTranslate);
    click(along(0, 1, 0.5)); // its destination is the edited top edge
    EXPECT_EQ(xforms.xformIndex(), XformNone);
    EXPECT_EQ(chain.nodeCount(), 7);
    // After the "No" the colours are reset; on Yes the destination is replaced.
    dialogs.expectYesNo(Answer::Yes);
    xforms.chooseTransformation(XformTranslate);
    click(along(0, 1, 0.5));
    EXPECT_TRUE(xforms.linkActive());
    // The destination now images the bottom edge's own point.
    EXPECT_EQ(chain.nodeCount(), 7);
    expectImage(1e-9);
}

TEST_F(TransformationsTest, GlideChecks)
{
    open(kRectangle);
    xforms.chooseTransformation(XformGlide);
    click(along(0, 1, 0.5));
    EXPECT_TRUE(xforms.pendGlideDest);
    EXPECT_EQ(host.notice, "select destination edge");
    dialogs.expectMessage("source and destination must be two different edges");
    click(along(0, 1, 0.7));
    EXPECT_TRUE(xforms.pendGlideDest);
    dialogs.expectMessage("source and destination edges are not congruent");
    click(along(1, 2, 0.5));
    EXPECT_FALSE(xforms.pendGlideDest);
    EXPECT_EQ(xforms.xformIndex(), XformNone);
    EXPECT_TRUE(dialogs.allConsumed());
    // A congruent pair links, and nothing stays pending: the next click edits.
    link(XformGlide, along(0, 1, 0.5), along(2, 3, 0.5));
    EXPECT_FALSE(xforms.anyPending());
    click(along(0, 1, 0.5));
    EXPECT_EQ(chain.nodeCount(), 7);
}

TEST_F(TransformationsTest, ReflectAndUnreflect)
{
    open(kSquare);
    Sketch s;
    s.kind = 1;
    s.nPoints = 2;
    s.points = {{210, 210}, {250, 260}};
    sketches.append(s);
    xforms.chooseTransformation(XformReflect);
    EXPECT_TRUE(doc.xfReflected);
    EXPECT_EQ(chain.surfaceWidth, 800);
    EXPECT_EQ(host.resized, 1);
    // The outline is the square and its mirror image: a 400 x 200 rectangle.
    const Tile back = chain.flatten(doc.xfTile);
    double minX = 1e9, maxX = -1e9, area = 0;
    for (int k = 0; k < back.nVerts; ++k) {
        minX = std::min(minX, back.verts[k].x);
        maxX = std::max(maxX, back.verts[k].x);
        const Vertex &a = back.verts[k], &b = back.verts[k + 1];
        area += a.x * b.y - b.x * a.y;
    }
    EXPECT_EQ(maxX - minX, 400);
    EXPECT_EQ(area / 2, 400 * 200);
    EXPECT_EQ(chain.refFirst, chain.firstNode);
    ASSERT_NE(chain.refNode, nullptr);
    EXPECT_TRUE(chain.refNode->refCenter);
    // The sketch got a mirrored copy across the reflection line x = 400 (editor).
    ASSERT_EQ(sketches.sketchNext, 3);
    EXPECT_EQ(sketches.sketchItems[2].points[0].x, 2 * 400 - 210);
    EXPECT_TRUE(sketches.sketchesChanged);

    // A reflected polygon can not be cleared; another transformation asks first.
    dialogs.expectMessage("reflected polygons can not be modified");
    editor.cmdClear();
    dialogs.expectYesNo(Answer::No);
    xforms.chooseTransformation(XformTranslate);
    EXPECT_EQ(dialogs.log.back().text, "this polygon has been reflected");
    EXPECT_TRUE(doc.xfReflected);
    EXPECT_EQ(xforms.xformIndex(), XformNone);
    dialogs.expectYesNo(Answer::Yes);
    xforms.chooseTransformation(XformTranslate);
    EXPECT_FALSE(doc.xfReflected);
    EXPECT_TRUE(xforms.pendTranslate);
    EXPECT_EQ(chain.surfaceWidth, 600);
    EXPECT_EQ(sketches.sketchNext, 2);
    // The square is back: four corners, area and place as before.
    const Tile again = chain.flatten(doc.xfTile);
    ASSERT_EQ(again.nVerts, 4);
    for (const Vertex &v : kSquare)
        EXPECT_NE(std::find(again.verts.begin(), again.verts.end(), v), again.verts.end());
    EXPECT_TRUE(dialogs.allConsumed());
}

TEST_F(TransformationsTest, ReflectRefusedWithoutVerticalRightmostEdge)
{
    open(kTriangle);
    dialogs.expectMessage("did not find a reflection edge\nonly vertical rightmost edges can be "
                          "used for reflections");
    xforms.chooseTransformation(XformReflect);
    EXPECT_FALSE(doc.xfReflected);
    EXPECT_EQ(xforms.xformIndex(), XformNone);
    EXPECT_EQ(chain.nodeCount(), 4);
    dialogs.expectMessage("this polygon has not been reflected");
    xforms.chooseTransformation(XformUnreflect);
    EXPECT_TRUE(dialogs.allConsumed());
}

TEST_F(TransformationsTest, ReflectionOverwritesEditsOnlyAfterYes)
{
    open(kSquare);
    link(XformTranslate, along(3, 4, 0.5));
    click(along(3, 4, 0.5)); // the right edge (corner 1 -> 2) gets the image
    dialogs.expectYesNo(Answer::No);
    xforms.chooseTransformation(XformReflect);
    EXPECT_EQ(dialogs.log.back().text, "reflection will overwrite edits on the reflection line");
    EXPECT_FALSE(doc.xfReflected);
    EXPECT_EQ(chain.nodeCount(), 7);
}

TEST_F(TransformationsTest, ReflectionRefusedWhenTheOutlineWouldNotFit)
{
    open(kSquare);
    for (int k = 0; k < 1400; ++k)
        chain.insertAfter(chain.firstNode)->nPoints = 13;
    const long nodesBefore = chain.nodeCount();
    xforms.chooseTransformation(XformReflect);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_FALSE(doc.xfReflected);
    EXPECT_EQ(chain.nodeCount(), nodesBefore);
}

} // namespace
} // namespace tessella::testing
