// SPDX-License-Identifier: GPL-3.0-or-later
// New tile entry and the transform pick: the point-by-point entry as a table, the shape
// check as a table and the pick's hand-over.
#include "editorfixture.h"

#include "document/geometry.h"
#include "tileeditor/transformpick.h"

namespace tessella::test {
namespace {

// "c" presses (a click), "R" a right press, "s"/"u" the space bar down and up.
struct EntryCase
{
    const char *events;
    std::vector<Vertex> corners; // of the new tile; empty: none was made
    int beeps = 0;
};

class NewTileTest : public PointerTest
{
protected:
    void SetUp() override
    {
        PointerTest::SetUp();
        show();
    }
    void enter(const char *events)
    {
        for (const Event &e : parse(events)) {
            if (e.op == 'c')
                newTile.press(e.x, e.y);
            if (e.op == 'R')
                newTile.rightPress();
            host.space = e.op == 's' || (host.space && e.op != 'u');
        }
    }
};

TEST_F(NewTileTest, EntryTable)
{
    chip.setColour(kTileColour);
    const EntryCase cases[] = {
        // Snapped to nodes, closed on the first corner.
        {"c9,7 c41,9 c40,41 c7,40 c10,10", {{8, 8}, {40, 8}, {40, 40}, {8, 40}}},
        // Collinear points merge; a start on the closing line is dropped.
        {"c24,8 c40,8 c40,24 c8,24 c8,8 c24,8", {{8, 8}, {40, 8}, {40, 24}, {8, 24}}},
        {"c8,8 c40,8 c8,40 R", {{8, 8}, {40, 8}, {8, 40}}}, // a right press closes
        {"c8,8 c24,8 R", {}},                               // ... or cancels fewer points
        {"c8,8 c24,8 c8,8", {}, 1},                         // the reversal merges: one corner left
        {"c8,8 c8,24 c8,8", {}, 1},                         // both merges fire: none left
        {"c16,16", {}, 1},                                  // no node within reach
        {"c14,8", {}, 1}, // 6 units from the nearest node is not within reach
        // A repeated point adds nothing; with the space bar a point is taken as it is.
        {"c8,8 c24,8 c24,8 s c30.5,17.25 u R", {{8, 8}, {24, 8}, {30.5, 17.25}}},
    };
    for (const EntryCase &c : cases) {
        doc.tiles.clear();
        dialogs.beeps = 0;
        enter(c.events);
        EXPECT_FALSE(newTile.active()) << c.events;
        EXPECT_EQ(dialogs.beeps, c.beeps) << c.events;
        EXPECT_EQ(summaries(doc.tiles),
                  summaries(c.corners.empty() ? std::vector<Tile>{}
                                              : std::vector{polygonTile(c.corners)}))
            << c.events;
        EXPECT_TRUE(doc.tiles.empty() || doc.tiles[0].verts.back() == c.corners[0]); // closing copy
    }
}

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
