// SPDX-License-Identifier: GPL-3.0-or-later
// A new tile being entered holds the tile actions back; every key press redraws.
#include "pointerwindowfixture.h"

namespace tessella::testing {
namespace {

struct HeldAction
{
    int row;
    QPointF press; // on the tile (a corner for the vertex drag)
};

class EntryHoldsTileActions : public PointerWindowTest,
                              public ::testing::WithParamInterface<HeldAction>
{};

TEST_P(EntryHoldsTileActions, PressOnATileStartsNothing)
{
    doc.tiles = {squareTile(104, 40, 32, 0x00ff00)};
    start();
    clickAt(8, 8); // first point of a new tile
    ASSERT_TRUE(window->newTile().active());
    const std::vector<Tile> before = doc.tiles;
    clickItem("lstTiles", GetParam().row);
    drag(GetParam().press, {{GetParam().press.x() + 32, GetParam().press.y() + 32}});
    clickAt(200, 200); // would place a turned tile
    EXPECT_TRUE(doc.tiles == before);
    EXPECT_FALSE(window->gestures().active());
}

INSTANTIATE_TEST_SUITE_P(Actions, EntryHoldsTileActions,
                         ::testing::Values(HeldAction{TileCopy, {120, 56}},
                                           HeldAction{TileMove, {120, 56}},
                                           HeldAction{TileRotate, {120, 56}},
                                           HeldAction{TileReflect, {120, 56}},
                                           HeldAction{TileVertex, {104, 40}}));

TEST_F(PointerWindowTest, AKeyWithoutAZoomMeaningRedraws)
{
    start();
    window->canvas()->surface().setPoint(300, 300, 0x0000ff);
    ASSERT_EQ(shownAt(300, 300), 0x0000ff);
    QTest::keyClick(window.get(), Qt::Key_A);
    EXPECT_EQ(shownAt(300, 300), kCanvasBackground);
}

} // namespace
} // namespace tessella::testing
