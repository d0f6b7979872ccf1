// SPDX-License-Identifier: GPL-3.0-or-later
// A new tile being entered holds the tile actions back; every key press redraws.
#include "windowfixture.h"

namespace tessella::test {
namespace {

struct HeldAction
{
    int row;
    Vertex press; // on the tile (a corner for the vertex drag)
};

class EntryHoldsTileActions : public WindowTest, public ::testing::WithParamInterface<HeldAction>
{};

TEST_P(EntryHoldsTileActions, APressOnATileStartsNothing)
{
    doc.tiles = {squareTile(104, 40, 32, 0x00ff00)};
    start();
    clickAt(8, 8); // the first point of a new tile
    ASSERT_TRUE(window->newTile().active());
    const std::vector<Tile> before = doc.tiles;
    clickItem("lstTiles", GetParam().row);
    const Vertex p = GetParam().press;
    drag(p, {p.x + 32, p.y + 32});
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

TEST_F(WindowTest, AKeyWithoutAZoomMeaningRedraws)
{
    start();
    window->canvas()->surface().setPoint(300, 300, 0x0000ff);
    ASSERT_EQ(shownAt(300, 300), 0x0000ff);
    key(Qt::Key_A);
    EXPECT_EQ(shownAt(300, 300), kCanvasBackground);
}

} // namespace
} // namespace tessella::test
