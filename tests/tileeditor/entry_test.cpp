// SPDX-License-Identifier: GPL-3.0-or-later
// The transform pick: the shape check as a table and the pick's hand-over.
#include "editorfixture.h"

#include "document/geometry.h"
#include "tileeditor/transformpick.h"

namespace tessella::test {
namespace {

struct ShapeCase
{
    std::vector<Vertex> corners;
    const char *refusal; // nullptr: transformable
};

std::vector<Vertex> hexagon(double nudge)
{
    std::vector<Vertex> pts = regularCorners(6, 100, 100, 16);
    pts[2].x += nudge;
    return pts;
}

TEST_F(PointerTest, OnlyTrianglesQuadrilateralsAndSpecialHexagonsAreTransformable)
{
    const ShapeCase cases[] = {
        {{{8, 8}, {40, 8}, {8, 24}}, nullptr},
        {{{0, 0}, {30, 5}, {12, 40}, {-4, 20}}, nullptr},
        {hexagon(0), nullptr},
        {hexagon(0.0004), nullptr}, // within the tolerance
        {hexagon(0.01), kHexagonRefused},
        {{{0, 0}, {20, 0}, {26, 18}, {10, 30}, {-6, 18}}, kShapeRefused},
        {{}, kShapeRefused},
        {{{8, 8}, {24, 8}, {40, 8}}, kFlatRefused}, // flattened by a vertex drag
        {{{8, 8}, {8, 8.0005}, {8.0005, 40}}, kFlatRefused},
        {{{8, 8}, {std::nan(""), 8}, {20, 40}}, kFlatRefused},
        {{{8, 8}, {8, 8}, {40, 8}, {8, 40}}, nullptr}, // coincident corners: the editor's
    };
    for (const ShapeCase &c : cases) {
        doc.tiles = {polygonTile(c.corners)};
        if (c.refusal)
            dialogs.expectMessage(c.refusal);
        EXPECT_EQ(checkTransformable(doc, 0, dialogs), c.refusal == nullptr) << c.corners.size();
    }
    doc.xformOpen = true;
    dialogs.expectMessage(kTransformInUse);
    EXPECT_FALSE(checkTransformable(doc, 0, dialogs));
}

TEST_F(PointerTest, ThePickedTileIsHandedOverAndRemoved)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(104, 40, 32, 0x00ff00)};
    doc.tiles[1].angle = 0.25;
    undo.tBackup(doc);
    show();
    FractalSnapshot fractal;
    TransformPick pick{context(), fractal};
    EXPECT_FALSE(pick.pick(300, 200)); // a miss beeps
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_TRUE(pick.pick(120, 56));
    EXPECT_TRUE(doc.xformOpen && doc.dirty && !undo.enabled());
    EXPECT_EQ(summaries(doc.tiles), summaries({squareTile(40, 40, 32, 0x0000ff)}));
    EXPECT_EQ(summary(doc.xfTile), summary(squareTile(104, 40, 32, 0x00ff00))); // angle baked
    EXPECT_EQ(doc.xfTile.deleted, kFalse); // copied before the removal mark
    EXPECT_EQ(host.canvas.pixel(118, 50), kCanvasBackground);
}

} // namespace
} // namespace tessella::test
