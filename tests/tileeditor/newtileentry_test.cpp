// SPDX-License-Identifier: GPL-3.0-or-later
// Entering new tiles point by point, without a window.
#include "pointerfixture.h"

namespace tessella::pointertest {
namespace {

class NewTileTest : public PointerTest
{
protected:
    void SetUp() override
    {
        PointerTest::SetUp();
        show();
    }
    void enter(std::vector<Vertex> points)
    {
        for (const Vertex &p : points)
            newTile.press(p.x, p.y);
    }
};

TEST_F(NewTileTest, SquareClosedOnItsFirstCornerTakesTheChipColourAndGrid)
{
    chip.setColour(0x336699);
    enter({{9, 7}, {41, 9}, {40, 41}, {7, 40}});
    EXPECT_TRUE(newTile.active());
    EXPECT_EQ(newTile.newCount(), 4);
    EXPECT_TRUE(doc.tiles.empty());
    newTile.press(10, 10); // snaps onto the first corner: closed
    ASSERT_EQ(doc.tileCount(), 1);
    const Tile &tile = doc.tiles[0];
    EXPECT_EQ(corners(tile), (std::vector<Vertex>{{8, 8}, {40, 8}, {40, 40}, {8, 40}}));
    ASSERT_EQ(tile.verts.size(), 5u); // the closing copy stays as the spare element
    EXPECT_EQ(tile.verts[4], (Vertex{8, 8}));
    EXPECT_EQ(tile.color, 0x336699);
    EXPECT_EQ(tile.grid, GridRectangular);
    EXPECT_EQ(tile.reflected, 0);
    EXPECT_TRUE(doc.dirty);
    EXPECT_FALSE(newTile.active());
    EXPECT_EQ(newTile.newCount(), 0);
    // The first tile of an empty design takes no snapshot: undo stays disabled.
    EXPECT_FALSE(undo.enabled());
}

TEST_F(NewTileTest, LaterTilesAreUndoable)
{
    doc.tiles = {square(200, 200, 16, 1)};
    undo.tBackup(doc);
    enter({{8, 8}, {24, 8}, {24, 24}});
    EXPECT_FALSE(undo.enabled()); // disabled while entering
    enter({{8, 8}});
    ASSERT_EQ(doc.tileCount(), 2);
    EXPECT_TRUE(undo.enabled());
    undo.pressed(doc);
    EXPECT_EQ(doc.tileCount(), 1);
}

TEST_F(NewTileTest, CollinearPointsMergeAndAStartOnTheClosingLineIsDropped)
{
    enter({{24, 8}, {40, 8}, {40, 24}, {8, 24}, {8, 8}});
    EXPECT_EQ(newTile.newCount(), 5);
    newTile.press(24, 8);
    ASSERT_EQ(doc.tileCount(), 1);
    EXPECT_EQ(corners(doc.tiles[0]), (std::vector<Vertex>{{8, 8}, {40, 8}, {40, 24}, {8, 24}}));

    enter({{8, 56}, {24, 56}, {40, 56}});
    EXPECT_EQ(newTile.newCount(), 2);
    EXPECT_EQ(newTile.newPts()[1], (Vertex{40, 56}));
}

TEST_F(NewTileTest, PressesThatDoNotSnapOrRepeatAddNothing)
{
    newTile.press(16, 16); // 8 units from every node
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_FALSE(newTile.active());
    enter({{8, 8}, {24, 8}, {24, 8}});
    EXPECT_EQ(newTile.newCount(), 2);
    host.space = true; // with the space bar held every point is taken as it is
    newTile.press(30.5, 17.25);
    EXPECT_EQ(newTile.newPts()[2], (Vertex{30.5, 17.25}));
}

TEST_F(NewTileTest, RightPressFinishesThreePointsAndCancelsFewer)
{
    enter({{8, 8}, {24, 8}});
    newTile.rightPress();
    EXPECT_TRUE(doc.tiles.empty());
    EXPECT_FALSE(newTile.active());
    enter({{8, 8}, {40, 8}, {8, 40}});
    newTile.rightPress();
    ASSERT_EQ(doc.tileCount(), 1);
    EXPECT_EQ(corners(doc.tiles[0]), (std::vector<Vertex>{{8, 8}, {40, 8}, {8, 40}}));
    EXPECT_EQ(doc.tiles[0].verts.back(), (Vertex{8, 8}));
}

TEST_F(NewTileTest, ClosingWithFewerThanThreeCornersIsCancelled)
{
    doc.tiles = {square(200, 200, 16, 1)};
    const std::vector<Tile> before = doc.tiles;
    enter({{8, 8}, {24, 8}, {8, 8}}); // the reversal merges: one corner left
    EXPECT_EQ(doc.tiles, before);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_FALSE(newTile.active());
    EXPECT_FALSE(undo.hasSnapshot());
    enter({{8, 8}, {8, 24}, {8, 8}}); // both merges fire: no corner left
    EXPECT_EQ(doc.tiles, before);
    EXPECT_EQ(dialogs.beeps, 2);
}

TEST_F(NewTileTest, RubberBandFollowsThePointer)
{
    enter({{8, 8}, {40, 8}});
    newTile.move(100, 100);
    EXPECT_EQ(host.canvas.pixel(70, 54), 255); // on the line from (40, 8) to (100, 100)
    EXPECT_EQ(host.canvas.pixel(24, 8), 255);
    newTile.move(40, 200);
    EXPECT_NE(host.canvas.pixel(70, 54), 255);
}

TEST_F(NewTileTest, ATileBeyondTheTableLimitIsRefused)
{
    doc.tiles.assign(kMaxRecords, square(200, 200, 16, 1));
    dialogs.expectMessage(kTooManyTiles);
    enter({{8, 8}, {40, 8}, {40, 40}, {8, 8}});
    EXPECT_EQ(doc.tiles.size(), std::size_t(kMaxRecords));
    EXPECT_FALSE(newTile.active());
    EXPECT_FALSE(undo.hasSnapshot());
}

} // namespace
} // namespace tessella::pointertest
