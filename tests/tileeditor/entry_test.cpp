// SPDX-License-Identifier: GPL-3.0-or-later
// New tile entry and the transform pick: the point-by-point entry as a table, the shape
// check as a table, the pick's hand-over, and both once through the window.
#include "windowfixture.h"

#include "document/geometry.h"

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

TEST_F(NewTileTest, UndoAndTheTileLimit)
{
    enter("c8,8 c24,8 c24,24 c8,8");
    EXPECT_TRUE(doc.dirty);
    EXPECT_FALSE(undo.enabled()); // the first tile of an empty design takes no snapshot
    enter("c8,40 c24,40");
    EXPECT_FALSE(undo.enabled()); // disabled while entering
    enter("c24,56 c8,40");
    EXPECT_TRUE(undo.enabled());
    undo.pressed(doc);
    EXPECT_EQ(doc.tileCount(), 1);

    doc.tiles.assign(kMaxRecords - 1, squareTile(200, 200, 16, 1));
    enter("c8,8 c40,8 c40,40 c8,8"); // the last tile the table takes
    dialogs.expectMessage(kTooManyTiles);
    enter("c8,8 c40,8 c40,40 c8,8");
    EXPECT_EQ(doc.tiles.size(), std::size_t(kMaxRecords));
    EXPECT_FALSE(newTile.active());
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

class PickTest : public PointerTest
{
protected:
    void SetUp() override
    {
        PointerTest::SetUp();
        doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(104, 40, 32, 0x00ff00)};
        doc.tiles[1].angle = 0.25;
        undo.tBackup(doc);
        show();
    }
    // Fills the sketch table with runs of 100 items held by tiles far away.
    void fillSketchTable(int upTo)
    {
        while (doc.sketchCount() + 100 <= upTo) {
            Tile holder = squareTile(300, 250, 8, 1);
            holder.sketchStart =
                doc.appendSketchRun(std::vector<Sketch>(100, sketchItem(0, {{1, 1}})));
            doc.tiles.push_back(holder);
        }
    }
    FractalSnapshot fractal;
    TransformPick pick{context(), fractal};
};

TEST_F(PickTest, ThePickedTileIsHandedOverAndRemoved)
{
    EXPECT_FALSE(pick.pick(300, 200)); // a miss beeps
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_TRUE(pick.pick(120, 56));
    EXPECT_TRUE(doc.xformOpen && doc.dirty && !undo.enabled());
    EXPECT_EQ(summaries(doc.tiles), summaries({squareTile(40, 40, 32, 0x0000ff)}));
    EXPECT_EQ(summary(doc.xfTile), summary(squareTile(104, 40, 32, 0x00ff00))); // angle baked
    EXPECT_EQ(doc.xfTile.deleted, kFalse); // copied before the removal mark
    EXPECT_EQ(host.canvas.pixel(118, 50), kCanvasBackground);
}

TEST_F(PickTest, AFullSketchTableRefusesThePickWithoutChange)
{
    fillSketchTable(kMaxRecords - 1);
    doc.tiles[1].sketchStart = doc.tiles[2].sketchStart; // its copy cannot be appended
    show();
    const std::vector<Tile> before = doc.tiles;
    dialogs.expectMessage(kSketchTableFull);
    EXPECT_FALSE(pick.pick(120, 56));
    EXPECT_TRUE(doc.tiles == before && !doc.xformOpen && undo.enabled());
}

// Runs only the undo snapshot and the fractal copy still hold survive the reclaim that
// makes room for the baked copy, and those holders are rewritten.
TEST_F(PickTest, ReclaimingRoomKeepsTheRunsOfTheSnapshots)
{
    fillSketchTable(32600);
    doc.tiles.resize(2);
    doc.tiles[1].sketchStart =
        doc.appendSketchRun(std::vector<Sketch>(100, sketchItem(0, {{3, 4}})));
    undo.snapshotTilesForUpdate()[0].sketchStart = 101;
    fractal.fBackup(doc);
    fractal.tilesForUpdate()[0].sketchStart = 201;
    const Sketch held = doc.sketches[201];
    show();
    ASSERT_TRUE(pick.pick(120, 56));
    EXPECT_EQ(undo.snapshotTiles()[0].sketchStart, 1);
    EXPECT_EQ(fractal.tiles()[0].sketchStart, 101);
    EXPECT_EQ(doc.sketches[101], held);
    EXPECT_EQ(doc.xfTile.sketchStart, 301); // after its old run at 201
    EXPECT_EQ(doc.sketches[301].points[0], rotatePoint(0, 0, 3, 4, 0.25));
}

TEST_F(WindowTest, TransformPickThroughTheWindow)
{
    int shown = 0;
    EditorHooks hooks;
    hooks.showTransformEditor = [&shown](std::optional<Vertex>) { ++shown; };
    makeWindow(hooks);
    doc.tiles = {
        squareTile(40, 40, 32, 0x0000ff),
        polygonTile({{104, 40}, {120, 40}, {136, 40}, {120, 41}, {104, 40.0005}, {104, 40}}),
        squareTile(168, 40, 32, 0x00ff00)};
    start();
    click("cmdXform");
    EXPECT_TRUE(window->pickForTransform());
    dialogs.expectMessage(kHexagonRefused);
    clickAt(110, 40);
    EXPECT_FALSE(window->pickForTransform()); // one shot
    click("cmdXform");
    clickAt(184, 56);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(doc.xformOpen);
    EXPECT_EQ(control<QPushButton>("cmdXform")->text(), "return to transform");
    EXPECT_FALSE(undoButton()->isEnabled());
    EXPECT_EQ(doc.xfTile.color, 0x00ff00);
}

} // namespace
} // namespace tessella::test
