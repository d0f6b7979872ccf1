// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/compaction.h"
#include "document/documentfile.h"
#include "document/sketchruns.h"
#include "document/undo.h"
#include "tests/support/tilebuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace tessella;
using namespace tessella::test;

namespace {

TEST(Compaction, KeepsSurvivorsInOrderCurTileFollowsSelectionEmptiedTablesStopAtTheLimit)
{
    // clang-format off
    struct { int tiles; std::vector<int> deleted; int16_t cur;
             std::vector<Colour> survivors; int16_t curAfter; } const cases[] = {
        {5, {0, 2}, 3, {1, 3, 4}, 1}, // curTile follows its tile
        {4, {3, 0}, 3, {1, 2}, 3},    // a removed curTile keeps its value
        {2, {0}, -1, {1}, -1}, {2, {}, 1, {0, 1}, 1}, {3, {0, 1, 2}, 1, {}, 1},
    };
    // clang-format on
    for (const auto &c : cases) {
        Document doc = squareRow(c.tiles, 10, 0);
        for (int i : c.deleted)
            doc.tiles[i].deleted = kTrue;
        doc.curTile = c.cur, doc.vtxSel = {{0, 0}, {static_cast<int16_t>(c.tiles - 1), 1}};
        compresT(doc);
        std::vector<Colour> colours;
        for (const Tile &t : doc.tiles)
            colours.push_back(t.color);
        // Indices shift: no selected vertex survives.
        EXPECT_EQ(std::tuple(colours, doc.curTile, doc.vtxSel.size()),
                  std::tuple(c.survivors, c.curAfter, 0u))
            << c.tiles << " " << c.cur;
    }
    Document doc = squareRow(3, 10, 0);
    doc.vtxSel = {{0, 1}, {1, 0}, {2, 2}, {1, 2}, {0, 0}};
    compresV(doc, 1);
    EXPECT_EQ(doc.vtxSel, (std::vector<VertexRef>{{0, 1}, {2, 2}, {0, 0}}));
    // The tables stop at the 16-bit limit.
    doc = Document{};
    doc.tiles.resize(kMaxRecords - 1);
    EXPECT_FALSE(doc.canAppendTiles(-1) || doc.canAppendTiles(2));
    EXPECT_TRUE(doc.appendTile(Tile{}) && !doc.appendTile(Tile{}));
    doc.vtxSel.resize(kMaxRecords - 1);
    EXPECT_TRUE(doc.appendVertexRef({1, 2}) && !doc.appendVertexRef({1, 2}));
    EXPECT_TRUE(doc.vtxSelCount() == kMaxRecords && doc.appendSketchRun({}) == 0);
    // Record 0 comes first.
    EXPECT_TRUE(doc.appendSketchRun({Sketch{}, Sketch{}}) == 1 && doc.sketches[1].count == 2 &&
                doc.sketchCount() == 2);
    doc.sketches.resize(kMaxRecords - 2);
    EXPECT_TRUE(doc.appendSketchRun({Sketch{}, Sketch{}, Sketch{}}) == 0 &&
                doc.appendSketchRun({Sketch{}, Sketch{}}) == kMaxRecords - 2);
}

// A run of `n` items whose first point's x is `tag`.
const auto run = [](int n, double tag) {
    return std::vector<Sketch>(
        n, {.nPoints = 2, .points = {{tag, 1}, {2, -3}}, .pointsAllocated = true});
};

TEST(SketchRuns, ReclaimKeepsReferencedRunsBakeMovesTheTransformIntoTheSketch)
{
    Document doc = squareRow(2, 10, 0);
    for (int k = 0; k < 5; ++k)
        doc.appendSketchRun(run(2, k)); // runs at 1, 3, 5, 7, 9
    // xfReturn's start names no run.
    doc.tiles[0].sketchStart = doc.xfTile.sketchStart = 7;
    doc.tiles[1].sketchStart = 3, doc.xfReturn.sketchStart = 40;
    std::vector<Tile> undoTiles{Tile{.verts = {}, .sketchStart = 9}};
    int32_t loose = 3;
    EXPECT_EQ(reclaimSketchRuns(doc, {&undoTiles, nullptr}, {&loose, nullptr}), 4);
    EXPECT_TRUE(doc.sketchCount() == 6 && doc.sketches[0] == Sketch{});
    EXPECT_EQ((std::vector<int32_t>{doc.tiles[1].sketchStart, loose, doc.tiles[0].sketchStart,
                                    doc.xfTile.sketchStart, undoTiles[0].sketchStart,
                                    doc.xfReturn.sketchStart}),
              (std::vector<int32_t>{1, 1, 3, 3, 5, 0}));
    EXPECT_TRUE(doc.sketches[1].count == 2 && doc.sketches[3].count == 2 &&
                doc.sketches[5].count == 2 && doc.sketches[5].points[0].x == 4 &&
                doc.sketches[6].points[0].x == 4);
    EXPECT_TRUE(sketchRunLength(doc, 3) == 2 && sketchRunLength(doc, 4) == 0); // mid-run
    // Nothing to free: nothing changes.
    EXPECT_TRUE(reclaimSketchRuns(doc, {&undoTiles}) == 0 && doc.tiles[0].sketchStart == 3);
    // A bake moves the transform into the sketch.
    doc = squareRow(2, 10, 0);
    doc.tiles[0].sketchStart = doc.appendSketchRun(run(2, 5));
    doc.tiles[0].reflected = 1.0, doc.tiles[0].angle = 0.7;
    ASSERT_TRUE(bakeSketch(doc, 0, {}));
    EXPECT_TRUE(doc.tiles[0].sketchStart == 3 && doc.tiles[0].reflected == 0 &&
                doc.tiles[0].angle == 0);
    // Mirrored across the vertical through the tile's first vertex, then turned.
    const double c = std::cos(0.7), s = std::sin(0.7);
    ASSERT_EQ(doc.sketches[4].points.size(), 2u);
    const Vertex p = doc.sketches[4].points[1];
    EXPECT_LT(std::hypot(p.x - (-2 * c + 3 * s), p.y - (-2 * s - 3 * c)), 1e-12);

    // A full table is reclaimed first (the old run at 1 goes)...
    doc.sketches.resize(kMaxRecords);
    ASSERT_TRUE(bakeSketch(doc, 0, {}));
    EXPECT_TRUE(doc.sketchCount() == 4 && doc.tiles[0].sketchStart == 3);
    // ... and one full of runs still held elsewhere refuses, changing nothing.
    std::vector<Tile> holders{Tile{.verts = {}, .sketchStart = 1}}; // the run the tile had before
    while (doc.sketches.size() < static_cast<size_t>(kMaxRecords))
        holders.emplace_back().sketchStart = doc.appendSketchRun(run(1, 0));
    const Document before = doc;
    EXPECT_FALSE(bakeSketch(doc, 0, {&holders}));
    EXPECT_TRUE(doc.tiles == before.tiles && doc.sketches == before.sketches);
}

// Random editing sessions against a model of the single undo level: every press swaps
// the live tiles and curTile with the snapshot, a new snapshot replaces the old one, a
// transform pick or a load leaves nothing to undo, and the vertex selection never names
// a vertex that is not stored.
TEST(Undo, RandomEditUndoRedoSequencesKeepTheDocumentValidTheFractalSnapshotRestores)
{
    std::mt19937 random(2024);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    int swaps = 0;
    for (int session = 0; session < 60; ++session) {
        Document doc =
            documentOf({squareTile(0, 0, 10, 1), polygonTile(regularCorners(6, 50, 50, 9), 2)});
        UndoHistory undo;
        Document held; // the model's snapshot: its tiles and curTile
        bool enabled = false, snapshot = false, undoCaption = true;
        for (int step = 0; step < 80; ++step) {
            SCOPED_TRACE(step);
            const int action = pick(9), n = doc.tileCount();
            if (action <= 4) { // an editing action: snapshot, then change the tiles
                if (n > 0)
                    held = doc, enabled = snapshot = undoCaption = true;
                undo.tBackup(doc);
                if (action <= 1 && n > 0) {
                    doc.tiles[pick(n)].verts[0].x += pick(1000);
                } else if (action == 2) {
                    doc.appendTile(polygonTile(regularCorners(3 + pick(4), 30, 30, 8), pick(1000)));
                    doc.curTile = static_cast<int16_t>(doc.tileCount() - 1);
                } else if (action >= 3 && n > 0) { // delete one, or revert the session
                    for (int i = 0; i < n; ++i)
                        doc.tiles[i].deleted = action == 4 || i == pick(n) ? kTrue : kFalse;
                    compresT(doc);
                }
            } else if (action == 5 && n > 0) {
                const int t = pick(n);
                doc.appendVertexRef({int16_t(t), int16_t(pick(doc.tiles[t].usableVerts()))});
            } else if (action == 6 && n > 0) {
                compresV(doc, static_cast<int16_t>(pick(n)));
            } else if (action == 7) {
                const Document live = doc;
                undo.pressed(doc);
                ASSERT_TRUE(enabled || doc.tiles == live.tiles);
                if (enabled) {
                    ++swaps;
                    ASSERT_TRUE(doc.tiles == held.tiles && doc.curTile == held.curTile);
                    held = live;
                    undoCaption = !undoCaption;
                    std::vector<VertexRef> kept;
                    for (const VertexRef &r : live.vtxSel)
                        if (doc.hasTile(r.tile) && r.vertex < doc.tiles[r.tile].usableVerts() &&
                            doc.tiles.size() >= live.tiles.size())
                            kept.push_back(r);
                    EXPECT_EQ(doc.vtxSel, kept);
                }
            } else if (action == 8) { // a transform pick, or a load
                enabled = false;
                if (step % 2 == 0)
                    undo.reset(), snapshot = false, undoCaption = true;
                else
                    undo.disable();
            }
            ASSERT_TRUE(undo.enabled() == enabled && undo.hasSnapshot() == snapshot);
            ASSERT_EQ(undo.caption(), undoCaption ? "undo" : "redo");
            for (const VertexRef &r : doc.vtxSel)
                ASSERT_TRUE(doc.hasTile(r.tile) && r.vertex >= 0 &&
                            r.vertex < doc.tiles[r.tile].usableVerts());
            Document copy = doc;
            ASSERT_TRUE(saveState(copy).has_value());
        }
    }
    EXPECT_GT(swaps, 300);
    Document doc = squareRow(2, 10, 0);
    const std::vector<Tile> opening = doc.tiles;
    FractalSnapshot snap;
    EXPECT_TRUE(snap.empty());
    snap.fBackup(doc);
    for (int render = 0; render < 2; ++render) {
        doc.tiles[1].verts[2].y *= 0.5; // a render writes mapped positions
        doc.tiles.push_back(polygonTile(regularCorners(6, 0, 0, 5)));
        doc.vtxSel = {{2, 4}, {0, 2}};
        snap.fRestore(doc); // the stale selection goes
        EXPECT_TRUE(doc.tiles == opening && doc.vtxSel == std::vector<VertexRef>(1, {0, 2}));
    }
    Document empty; // no tiles: the older copy stays
    snap.fBackup(empty), snap.fRestore(empty);
    EXPECT_EQ(empty.tiles, opening);
}

} // namespace
