// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/compaction.h"
#include "document/undo.h"

#include <gtest/gtest.h>

using namespace tessella;

namespace {

Tile regular(int corners, double x)
{
    std::vector<Vertex> pts;
    for (int i = 0; i < corners; ++i)
        pts.push_back({x + i, static_cast<double>(i * i)});
    Tile t;
    t.setCorners(pts);
    t.grid = GridRectangular;
    t.color = static_cast<Colour>(corners);
    return t;
}

Document docWith(std::initializer_list<int> cornerCounts)
{
    Document doc;
    double x = 0;
    for (int n : cornerCounts)
        doc.tiles.push_back(regular(n, x += 100));
    return doc;
}

void deleteTile(Document &doc, int index)
{
    doc.tiles[index].deleted = kTrue;
    compresT(doc);
}

} // namespace

TEST(Undo, StartsDisabledAndNeedsTiles)
{
    UndoHistory undo;
    EXPECT_FALSE(undo.enabled());
    EXPECT_EQ(undo.caption(), "undo");
    Document empty;
    undo.tBackup(empty); // the first tile of an empty design takes no snapshot
    EXPECT_FALSE(undo.enabled());
    EXPECT_FALSE(undo.hasSnapshot());
    undo.pressed(empty); // a disabled button does nothing
    EXPECT_EQ(empty.tileCount(), 0);
}

TEST(Undo, SecondPressIsRedo)
{
    Document doc = docWith({3, 4});
    const std::vector<Tile> before = doc.tiles;
    UndoHistory undo;
    undo.tBackup(doc);
    EXPECT_TRUE(undo.enabled());
    doc.tiles[1].verts[0].x = -1; // the edit
    const std::vector<Tile> after = doc.tiles;

    undo.pressed(doc);
    EXPECT_EQ(doc.tiles, before);
    EXPECT_EQ(undo.caption(), "redo");
    undo.pressed(doc);
    EXPECT_EQ(doc.tiles, after);
    EXPECT_EQ(undo.caption(), "undo");
}

TEST(Undo, NewSnapshotDiscardsRedo)
{
    Document doc = docWith({3});
    UndoHistory undo;
    undo.tBackup(doc);
    doc.tiles[0].color = 77;
    undo.pressed(doc);
    EXPECT_EQ(undo.caption(), "redo");
    undo.tBackup(doc);
    EXPECT_EQ(undo.caption(), "undo");
    doc.tiles[0].color = 99;
    undo.pressed(doc);
    EXPECT_EQ(doc.tiles[0].color, 3); // the colour 77 edit is gone for good
}

TEST(Undo, SnapshotIsIndependentOfLaterEdits)
{
    Document doc = docWith({4});
    UndoHistory undo;
    undo.tBackup(doc);
    doc.tiles[0].verts[2] = {1000, 1000};
    EXPECT_EQ(undo.snapshotTiles()[0].verts[2], (Vertex{102, 4}));
}

TEST(Undo, RevertThenUndoAndRedoWithEmptySides)
{
    Document doc = docWith({3, 4, 6});
    const std::vector<Tile> before = doc.tiles;
    UndoHistory undo;
    undo.tBackup(doc); // "revert session": snapshot, delete all, compact
    for (Tile &t : doc.tiles)
        t.deleted = kTrue;
    compresT(doc);
    ASSERT_EQ(doc.tileCount(), 0);

    undo.pressed(doc);
    EXPECT_EQ(doc.tiles, before);
    undo.pressed(doc);
    EXPECT_EQ(doc.tileCount(), 0);
    undo.pressed(doc);
    EXPECT_EQ(doc.tileCount(), 3);
}

TEST(Undo, DeletingTheOnlyTileThenUndoRedo)
{
    Document doc = docWith({5});
    UndoHistory undo;
    undo.tBackup(doc);
    deleteTile(doc, 0);
    undo.pressed(doc);
    EXPECT_EQ(doc.tileCount(), 1);
    undo.pressed(doc);
    EXPECT_EQ(doc.tileCount(), 0);
    EXPECT_TRUE(doc.tiles.empty());
}

TEST(Undo, FewerTilesEmptyTheSelectionMoreKeepValidEntries)
{
    Document doc = docWith({3, 4});
    UndoHistory undo;
    undo.tBackup(doc);
    doc.tiles.push_back(regular(4, 500)); // e.g. a copy
    doc.vtxSel = {{0, 1}};
    undo.pressed(doc); // 2 tiles come back where 3 were
    EXPECT_EQ(doc.vtxSelCount(), 0);

    doc.vtxSel = {{0, 2}, {1, 3}};
    undo.pressed(doc); // redo: 3 tiles where 2 were
    EXPECT_EQ(doc.tileCount(), 3);
    const std::vector<VertexRef> kept = {{0, 2}, {1, 3}};
    EXPECT_EQ(doc.vtxSel, kept);
}

TEST(Undo, UndoAfterDeleteDropsReferencesPastTheRestoredTiles)
{
    // Triangle and hexagon; the triangle is deleted, the hexagon becomes tile 0.
    Document doc = docWith({3, 6});
    UndoHistory undo;
    undo.tBackup(doc);
    deleteTile(doc, 0);
    ASSERT_EQ(doc.tiles[0].nVerts, 6);
    doc.vtxSel = {{0, 5}, {0, 1}};
    undo.pressed(doc); // tile 0 is the triangle again: vertex 5 names nothing
    ASSERT_EQ(doc.tileCount(), 2);
    const std::vector<VertexRef> kept = {{0, 1}};
    EXPECT_EQ(doc.vtxSel, kept);
    for (const VertexRef &ref : doc.vtxSel) {
        ASSERT_TRUE(doc.hasTile(ref.tile));
        EXPECT_LT(ref.vertex, doc.tiles[ref.tile].usableVerts());
    }
}

TEST(Undo, SwapDropsReferencesToMissingTilesAndNegativeIndices)
{
    Document doc = docWith({3, 3, 3});
    UndoHistory undo;
    undo.tBackup(doc);
    doc.tiles[0].color = 1; // same count: the selection is kept, but filtered
    doc.vtxSel = {{5, 0}, {-1, 0}, {1, -2}, {2, 2}};
    undo.pressed(doc);
    const std::vector<VertexRef> kept = {{2, 2}};
    EXPECT_EQ(doc.vtxSel, kept);
}

TEST(Undo, CurTileTravelsWithTheTiles)
{
    // A returned transform copy sits at the end and is curTile.
    Document doc = docWith({3, 4, 4, 6});
    doc.curTile = 3;
    UndoHistory undo;
    undo.tBackup(doc);
    deleteTile(doc, 0);
    ASSERT_EQ(doc.curTile, 2);
    undo.pressed(doc);
    EXPECT_EQ(doc.curTile, 3);
    ASSERT_NE(doc.currentTile(), nullptr);
    EXPECT_EQ(doc.currentTile()->nVerts, 6);
    undo.pressed(doc); // redo: back to the compacted numbering
    EXPECT_EQ(doc.curTile, 2);
    EXPECT_EQ(doc.currentTile()->nVerts, 6);
}

TEST(Undo, ResetAfterLoadForgetsTheSnapshot)
{
    Document doc = docWith({3});
    UndoHistory undo;
    undo.tBackup(doc);
    undo.pressed(doc);
    undo.reset();
    EXPECT_FALSE(undo.enabled());
    EXPECT_FALSE(undo.hasSnapshot());
    EXPECT_EQ(undo.caption(), "undo");
    Document loaded = docWith({4, 4});
    undo.pressed(loaded); // disabled: the old document's tiles never come back
    EXPECT_EQ(loaded.tileCount(), 2);
    EXPECT_EQ(loaded.tiles[0].nVerts, 4);
}

TEST(Undo, DisableHoldsUntilTheNextSnapshot)
{
    Document doc = docWith({3});
    UndoHistory undo;
    undo.tBackup(doc);
    doc.tiles[0].color = 42;
    undo.disable(); // the transform pick
    undo.pressed(doc);
    EXPECT_EQ(doc.tiles[0].color, 42);
    EXPECT_TRUE(undo.hasSnapshot());
    undo.tBackup(doc);
    EXPECT_TRUE(undo.enabled());
    undo.setEnabled(false);
    EXPECT_FALSE(undo.enabled());
    undo.setEnabled(true);
    undo.pressed(doc);
    EXPECT_EQ(undo.caption(), "redo");
}

TEST(FractalSnapshot, RestoreGoesBackToTheTilesAtOpening)
{
    Document doc = docWith({3, 4});
    const std::vector<Tile> before = doc.tiles;
    FractalSnapshot snap;
    EXPECT_TRUE(snap.empty());
    snap.fBackup(doc);
    EXPECT_FALSE(snap.empty());
    for (Tile &t : doc.tiles)
        for (Vertex &v : t.verts)
            v = {v.x * 0.5, v.y * 0.5}; // a render writes mapped positions
    snap.fRestore(doc);
    EXPECT_EQ(doc.tiles, before);
    snap.fRestore(doc); // every render starts from the same copy
    EXPECT_EQ(doc.tiles, before);
    EXPECT_EQ(snap.tiles(), before);
}

TEST(FractalSnapshot, EmptyDocumentKeepsTheOlderCopy)
{
    Document doc = docWith({3});
    FractalSnapshot snap;
    snap.fBackup(doc);
    Document empty;
    snap.fBackup(empty);
    ASSERT_EQ(snap.tiles().size(), 1u);
    snap.fRestore(empty);
    EXPECT_EQ(empty.tileCount(), 1);
}

TEST(FractalSnapshot, RestoreDropsStaleVertexReferences)
{
    Document doc = docWith({3});
    FractalSnapshot snap;
    snap.fBackup(doc);
    doc.tiles.push_back(regular(6, 0));
    doc.vtxSel = {{1, 4}, {0, 2}};
    snap.fRestore(doc);
    const std::vector<VertexRef> kept = {{0, 2}};
    EXPECT_EQ(doc.vtxSel, kept);
}
