// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/compaction.h"

#include <gtest/gtest.h>

using namespace tessella;

namespace {

Tile tileAt(double x, int16_t grid = GridRectangular)
{
    Tile t;
    t.setCorners({{x, 0}, {x + 1, 0}, {x + 1, 1}});
    t.grid = grid;
    return t;
}

Document docWith(int n)
{
    Document doc;
    for (int i = 0; i < n; ++i)
        doc.tiles.push_back(tileAt(i));
    return doc;
}

} // namespace

TEST(CompresT, KeepsSurvivorsInOrder)
{
    Document doc = docWith(5);
    doc.tiles[1].deleted = kTrue;
    doc.tiles[3].deleted = kTrue;
    compresT(doc);
    ASSERT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(doc.tiles[0].verts[0].x, 0);
    EXPECT_EQ(doc.tiles[1].verts[0].x, 2);
    EXPECT_EQ(doc.tiles[2].verts[0].x, 4);
}

TEST(CompresT, EveryTileDeletedLeavesAnEmptyTable)
{
    Document doc = docWith(3);
    for (Tile &t : doc.tiles)
        t.deleted = kTrue;
    compresT(doc);
    EXPECT_EQ(doc.tileCount(), 0);
    EXPECT_TRUE(doc.tiles.empty());
}

TEST(CompresT, EmptiesVertexSelectionEvenWhenItsTilesSurvive)
{
    Document doc = docWith(3);
    doc.vtxSel = {{0, 1}, {2, 2}};
    doc.tiles[1].deleted = kTrue;
    compresT(doc);
    EXPECT_EQ(doc.vtxSelCount(), 0);

    Document untouched = docWith(2);
    untouched.vtxSel = {{0, 0}};
    compresT(untouched); // nothing deleted
    EXPECT_EQ(untouched.tileCount(), 2);
    EXPECT_EQ(untouched.vtxSelCount(), 0);
}

TEST(CompresT, CurTileFollowsItsTile)
{
    Document doc = docWith(5);
    doc.curTile = 3;
    doc.tiles[0].deleted = kTrue;
    doc.tiles[2].deleted = kTrue;
    compresT(doc);
    ASSERT_TRUE(doc.currentTile() != nullptr);
    EXPECT_EQ(doc.curTile, 1);
    EXPECT_EQ(doc.currentTile()->verts[0].x, 3);
}

TEST(CompresT, RemovedCurTileKeepsItsOldValue)
{
    Document doc = docWith(4);
    doc.curTile = 3;
    doc.tiles[3].deleted = kTrue;
    doc.tiles[0].deleted = kTrue;
    compresT(doc);
    EXPECT_EQ(doc.curTile, 3);
    EXPECT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(doc.currentTile(), nullptr); // names no tile: users must check
}

TEST(CompresT, NegativeCurTileIsLeftAlone)
{
    Document doc = docWith(2);
    doc.curTile = -1;
    doc.tiles[0].deleted = kTrue;
    compresT(doc);
    EXPECT_EQ(doc.curTile, -1);
    EXPECT_EQ(doc.tileCount(), 1);
}

TEST(CompresT, TilesOfOtherGridsSurvive)
{
    Document doc;
    doc.tiles = {tileAt(0, GridRectangular), tileAt(1, GridHexagonal), tileAt(2)};
    doc.tiles[0].deleted = kTrue;
    compresT(doc);
    ASSERT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(doc.tiles[0].grid, GridHexagonal);
    EXPECT_EQ(doc.tiles[0].verts[0].x, 1);
}

TEST(CompresV, RemovesOnlyEntriesOfThatTile)
{
    Document doc = docWith(3);
    doc.vtxSel = {{0, 1}, {1, 0}, {2, 2}, {1, 2}, {0, 0}};
    compresV(doc, 1);
    const std::vector<VertexRef> expected = {{0, 1}, {2, 2}, {0, 0}};
    EXPECT_EQ(doc.vtxSel, expected);

    compresV(doc, 0);
    compresV(doc, 2);
    EXPECT_EQ(doc.vtxSelCount(), 0);
    compresV(doc, 2); // empty selection stays empty
    EXPECT_EQ(doc.vtxSelCount(), 0);
}
