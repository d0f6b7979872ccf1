// SPDX-License-Identifier: GPL-3.0-or-later
// Picking a tile for the transform editor: the shape check, baking the sketch
// transform, reclaiming the sketch table and the hand-over.
#include "pointerfixture.h"

#include "document/geometry.h"
#include "tileeditor/transformpick.h"

#include <cmath>
#include <numbers>

namespace tessella::pointertest {
namespace {

Tile regularHexagon(double cx, double cy, double r)
{
    std::vector<Vertex> pts;
    for (int k = 0; k < 6; ++k) {
        const double a = k * std::numbers::pi / 3;
        pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return polygonTile(pts, 0x808080);
}

Sketch item(int16_t kind, std::vector<Vertex> points)
{
    Sketch s;
    s.kind = kind;
    s.nPoints = int16_t(points.size());
    s.points = std::move(points);
    s.pointsAllocated = true;
    return s;
}

class TransformCheckTest : public PointerTest
{
protected:
    bool check(const Tile &tile)
    {
        doc.tiles = {tile};
        return checkTransformable(doc, 0, dialogs);
    }
};

TEST_F(TransformCheckTest, TrianglesQuadrilateralsAndSpecialHexagonsPass)
{
    EXPECT_TRUE(check(polygonTile({{8, 8}, {40, 8}, {8, 24}}, 1)));
    EXPECT_TRUE(check(square(8, 8, 32, 1)));
    EXPECT_TRUE(check(polygonTile({{0, 0}, {30, 5}, {12, 40}, {-4, 20}}, 1)));
    EXPECT_TRUE(check(regularHexagon(100, 100, 16)));
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(TransformCheckTest, OtherShapesAreRefusedWithTheirMessages)
{
    Tile moved = regularHexagon(100, 100, 16);
    moved.verts[2].x += 0.01;
    dialogs.expectMessage(kHexagonRefused);
    EXPECT_FALSE(check(moved));
    Tile nearly = regularHexagon(100, 100, 16);
    nearly.verts[2].x += 0.0004; // within the tolerance
    EXPECT_TRUE(check(nearly));

    dialogs.expectMessage(kShapeRefused);
    EXPECT_FALSE(check(polygonTile({{0, 0}, {20, 0}, {26, 18}, {10, 30}, {-6, 18}}, 1)));
    dialogs.expectMessage(kShapeRefused);
    EXPECT_FALSE(check(Tile{}));
}

TEST_F(TransformCheckTest, FlatTilesAreRefused)
{
    // A triangle flattened by a vertex drag.
    dialogs.expectMessage(kFlatRefused);
    EXPECT_FALSE(check(polygonTile({{8, 8}, {24, 8}, {40, 8}}, 1)));
    dialogs.expectMessage(kFlatRefused);
    EXPECT_FALSE(check(polygonTile({{8, 8}, {8, 8.0005}, {8.0005, 40}}, 1)));
    dialogs.expectMessage(kFlatRefused);
    EXPECT_FALSE(check(polygonTile({{8, 8}, {std::nan(""), 8}, {20, 40}}, 1)));
    // Coincident corners inside a box with area are left to the editor.
    EXPECT_TRUE(check(polygonTile({{8, 8}, {8, 8}, {40, 8}, {8, 40}}, 1)));
}

TEST_F(TransformCheckTest, APendingTransformRefusesEveryPick)
{
    doc.xformOpen = true;
    dialogs.expectMessage("transform editor is in use\nyou must first exit the transform editor");
    EXPECT_FALSE(check(square(8, 8, 32, 1)));
}

// Draws tile 0's sketch alone.
QImage sketchPicture(const Document &doc)
{
    ImageSurface surface(QSize(200, 200));
    surface.setScale(1);
    TilingDrawer drawer(surface, doc);
    drawer.drawSketch(0);
    return surface.image();
}

TEST(BakeSketch, AMirroredTurnedTileDrawsInTheSamePlace)
{
    Document doc;
    doc.tiles = {square(60, 60, 48, 0x00ff00)};
    doc.tiles[0].reflected = 1.0;
    doc.tiles[0].angle = 0.7;
    doc.tiles[0].sketchStart = doc.appendSketchRun(
        {item(0, {{5, 5}, {30, 10}, {12, 40}}), item(1, {{20, 20}, {40, 22}, {28, 36}})});
    const QImage before = sketchPicture(doc);
    const std::vector<Sketch> oldRun(doc.sketches.begin() + 1, doc.sketches.end());
    ASSERT_TRUE(bakeSketch(doc, 0, {}));
    EXPECT_EQ(doc.tiles[0].reflected, 0);
    EXPECT_EQ(doc.tiles[0].angle, 0);
    EXPECT_EQ(doc.tiles[0].sketchStart, 3);
    EXPECT_EQ(doc.sketchCount(), 4);
    EXPECT_EQ(doc.sketches[3].count, 2);
    // The old run stays, unreferenced.
    EXPECT_EQ(std::vector<Sketch>(doc.sketches.begin() + 1, doc.sketches.begin() + 3), oldRun);
    EXPECT_EQ(sketchPicture(doc), before);
    EXPECT_NE(doc.sketches[3].points[1], doc.sketches[1].points[1]);
}

TEST(BakeSketch, TileWithoutASketchOnlyLosesItsTransform)
{
    Document doc;
    doc.tiles = {square(60, 60, 48, 0x00ff00)};
    doc.tiles[0].reflected = 1.0;
    doc.tiles[0].angle = 0.7;
    doc.tiles[0].sketchStart = 12; // names no run
    ASSERT_TRUE(bakeSketch(doc, 0, {}));
    EXPECT_EQ(doc.tiles[0].sketchStart, 0);
    EXPECT_EQ(doc.tiles[0].angle, 0);
    EXPECT_TRUE(doc.sketches.empty());
}

// A table of unreferenced runs of 100 items each, filled up to `records` records.
void fillWithOldRuns(Document &doc, int records)
{
    while (doc.sketchCount() + 100 < records)
        doc.appendSketchRun(std::vector<Sketch>(100, item(0, {{1, 1}, {2, 2}})));
}

TEST(BakeSketch, AFullTableIsReclaimedRewritingEveryHolder)
{
    Document doc;
    fillWithOldRuns(doc, 32700);
    doc.tiles = {square(60, 60, 48, 1), square(120, 60, 48, 2)};
    doc.tiles[0].sketchStart = doc.appendSketchRun(std::vector<Sketch>(100, item(0, {{3, 4}})));
    doc.tiles[0].angle = 0.5;
    std::vector<Tile> undoTiles = {doc.tiles[1]};
    undoTiles[0].sketchStart = 101; // an old run still held by the undo snapshot
    std::vector<Tile> fractalTiles = {doc.tiles[1]};
    fractalTiles[0].sketchStart = 201;
    doc.xfReturn.sketchStart = 101;
    doc.xfTile.sketchStart = 32765; // names no run
    const Sketch held = doc.sketches[201];
    ASSERT_EQ(doc.tiles[0].sketchStart, 32601);
    ASSERT_GT(doc.sketchCount() + 100, kMaxRecords - 1); // the copy cannot be appended

    ASSERT_TRUE(bakeSketch(doc, 0, {&undoTiles, &fractalTiles}));
    // Kept: record 0, the runs at 101 and 201 and the tile's own run, then its copy.
    EXPECT_EQ(doc.sketchCount(), 400);
    EXPECT_EQ(undoTiles[0].sketchStart, 1);
    EXPECT_EQ(doc.xfReturn.sketchStart, 1);
    EXPECT_EQ(fractalTiles[0].sketchStart, 101);
    EXPECT_EQ(doc.sketches[101], held);
    EXPECT_EQ(doc.xfTile.sketchStart, 0);
    EXPECT_EQ(doc.tiles[0].sketchStart, 301);
    EXPECT_EQ(doc.sketches[201].count, 100); // the tile's old run, unreferenced now
    EXPECT_EQ(doc.sketches[201].points[0], (Vertex{3, 4}));
    EXPECT_EQ(doc.sketches[301].count, 100);
    EXPECT_EQ(doc.sketches[301].points[0], rotatePoint(0, 0, 3, 4, 0.5));
}

TEST(BakeSketch, ATableFullOfLiveRunsRefusesWithoutChange)
{
    Document doc;
    doc.tiles = {square(60, 60, 48, 1)};
    while (doc.sketchCount() + 100 <= kMaxRecords - 1) {
        Tile holder = square(200, 200, 8, 1);
        holder.sketchStart = doc.appendSketchRun(std::vector<Sketch>(100, item(0, {{1, 1}})));
        doc.tiles.push_back(holder);
    }
    doc.tiles[0].sketchStart = doc.tiles[1].sketchStart;
    doc.tiles[0].angle = 0.5;
    const Document before = doc;
    EXPECT_FALSE(bakeSketch(doc, 0, {}));
    EXPECT_TRUE(doc.tiles == before.tiles);
    EXPECT_TRUE(doc.sketches == before.sketches);
}

class TransformPickTest : public PointerTest
{
protected:
    void SetUp() override
    {
        PointerTest::SetUp();
        doc.tiles = {square(40, 40, 32, 0x0000ff), square(104, 40, 32, 0x00ff00)};
        doc.tiles[1].angle = 0.25;
        undo.tBackup(doc);
        show();
    }
    FractalSnapshot fractal;
    TransformPick pick{context(), fractal};
};

TEST_F(TransformPickTest, PickedTileIsHandedOverAndRemoved)
{
    ASSERT_TRUE(pick.pick(120, 56));
    EXPECT_TRUE(doc.xformOpen);
    EXPECT_TRUE(doc.dirty);
    EXPECT_FALSE(undo.enabled());
    EXPECT_GT(host.undoChanges, 0);
    ASSERT_EQ(doc.tileCount(), 1);
    EXPECT_EQ(doc.tiles[0].color, 0x0000ff);
    EXPECT_EQ(corners(doc.xfTile), corners(square(104, 40, 32, 0)));
    EXPECT_EQ(doc.xfTile.color, 0x00ff00);
    EXPECT_EQ(doc.xfTile.angle, 0);
    EXPECT_EQ(doc.xfTile.deleted, kFalse); // copied before the removal mark
    EXPECT_EQ(host.canvas.pixel(118, 50), kCanvasBackground);
}

TEST_F(TransformPickTest, MissesAndRefusalsLeaveTheDocument)
{
    const std::vector<Tile> before = doc.tiles;
    EXPECT_FALSE(pick.pick(300, 200));
    EXPECT_EQ(dialogs.beeps, 1);
    doc.tiles[0] = polygonTile({{40, 40}, {72, 40}, {72, 72}, {56, 80}, {40, 72}}, 0x0000ff);
    show();
    dialogs.expectMessage(kShapeRefused);
    EXPECT_FALSE(pick.pick(56, 56));
    EXPECT_FALSE(doc.xformOpen);
    EXPECT_EQ(doc.tileCount(), 2);
    EXPECT_TRUE(undo.enabled());
}

TEST_F(TransformPickTest, AFullSketchTableRefusesThePick)
{
    while (doc.sketchCount() + 100 <= kMaxRecords - 1) {
        Tile holder = square(300, 250, 8, 1);
        holder.sketchStart = doc.appendSketchRun(std::vector<Sketch>(100, item(0, {{1, 1}})));
        doc.tiles.push_back(holder);
    }
    doc.tiles[1].sketchStart = doc.tiles[2].sketchStart;
    const std::vector<Tile> before = doc.tiles;
    dialogs.expectMessage(kSketchTableFull);
    EXPECT_FALSE(pick.pick(120, 56));
    EXPECT_TRUE(doc.tiles == before);
    EXPECT_FALSE(doc.xformOpen);
}

} // namespace
} // namespace tessella::pointertest
