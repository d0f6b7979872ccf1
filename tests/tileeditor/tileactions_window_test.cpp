// SPDX-License-Identifier: GPL-3.0-or-later
// Tile and group actions on the real window, from press to release.
#include "pointerwindowfixture.h"

#include "document/geometry.h"
#include "tileeditor/tilegestures.h"

#include <numbers>

namespace tessella::testing {
namespace {

constexpr double kPi = std::numbers::pi;

TEST_F(PointerWindowTest, RotateTurnsSnapsAndIsPlacedByASecondClick)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff)};
    start();
    clickItem("lstTiles", TileRotate);
    press(56, 56);
    EXPECT_TRUE(rotationLabel()->isVisible());
    EXPECT_EQ(rotationLabel()->text(), QString::fromUtf8("0\u00b0"));
    // 50 units right of and above the pointer, over the canvas.
    EXPECT_EQ(rotationLabel()->pos(), window->canvas()->mapTo(window.get(), widgetPixel(106, 6)));
    move(56, 64);
    move(56, 76); // 20 units down: snaps down to 45 degrees
    EXPECT_EQ(rotationLabel()->text(), QString::fromUtf8("-45\u00b0"));
    EXPECT_EQ(doc.tiles[0].angle, 0);
    release(56, 76);
    EXPECT_FALSE(rotationLabel()->isVisible());
    EXPECT_NEAR(doc.tiles[0].angle, kPi / 4, 1e-12);
    EXPECT_TRUE(window->gestures().active());
    clickAt(56, 76); // placed where it was turned
    EXPECT_FALSE(window->gestures().active());
    const Vertex turned = rotatePoint(56, 56, 40, 40, kPi / 4);
    EXPECT_NEAR(doc.tiles[0].verts[0].x, turned.x, 1e-9);
    EXPECT_NEAR(doc.tiles[0].verts[0].y, turned.y, 1e-9);
    EXPECT_TRUE(doc.dirty);

    click("cmdUnReDo");
    EXPECT_EQ(cornersOf(doc.tiles[0]), squareCorners(40, 40, 32));
    EXPECT_EQ(doc.tiles[0].angle, 0);
}

TEST_F(PointerWindowTest, RotateWithTheSpaceBarHeldIsFreeAndPlacedFreely)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff)};
    start();
    clickItem("lstTiles", TileRotate);
    holdSpace();
    press(56, 56);
    move(56, 76);
    release(56, 76);
    EXPECT_DOUBLE_EQ(doc.tiles[0].angle, 20.0 / 64 * kPi);
    move(61, 79); // free: the tile follows by (5, 3)
    clickAt(61, 79);
    releaseSpace();
    const Vertex turned = rotatePoint(56, 56, 40, 40, 20.0 / 64 * kPi);
    EXPECT_NEAR(doc.tiles[0].verts[0].x, turned.x + 5, 1e-9);
    EXPECT_NEAR(doc.tiles[0].verts[0].y, turned.y + 3, 1e-9);
}

TEST_F(PointerWindowTest, ReflectMirrorsThenThePlacingClickPutsItOnANode)
{
    doc.tiles = {squareTile(200, 200, 16, 0x00ff00)};
    doc.tiles[0].setCorners({{8, 8}, {40, 8}, {8, 24}});
    start();
    clickItem("lstTiles", TileReflect);
    press(14, 12);
    EXPECT_EQ(doc.tiles[0].reflected, 1.0);
    release(14, 12);
    EXPECT_EQ(doc.tiles[0].angle, 0);
    // Vertex 0 is at (29.33, 8); 10 units right it lands on the node (40, 8).
    move(24, 12);
    clickAt(24, 12);
    EXPECT_EQ(cornersOf(doc.tiles[0]), (std::vector<Vertex>{{40, 8}, {8, 8}, {40, 24}}));
    EXPECT_EQ(shownAt(36, 12), 0x00ff00);
    click("cmdUnReDo");
    EXPECT_EQ(doc.tiles[0].reflected, 0.0);
    EXPECT_EQ(cornersOf(doc.tiles[0]), (std::vector<Vertex>{{8, 8}, {40, 8}, {8, 24}}));
}

TEST_F(PointerWindowTest, CopyIsDroppedOrPlacedAndUndone)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff)};
    start();
    ASSERT_EQ(doc.tileCount(), 2);
    clickItem("lstTiles", TileCopy);
    drag({50, 50}, {{53, 52}});
    EXPECT_EQ(doc.tileCount(), 2);
    drag({50, 50}, {{60, 50}, {82, 51}});
    ASSERT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(cornersOf(doc.tiles[2]), squareCorners(72, 40, 32));
    EXPECT_EQ(cornersOf(doc.tiles[0]), squareCorners(40, 40, 32));
    EXPECT_EQ(shownAt(100, 56), 0x0000ff);
    click("cmdUnReDo"); // the release's snapshot: the copy back where it was made
    ASSERT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(cornersOf(doc.tiles[2]), squareCorners(40, 40, 32));
}

TEST_F(PointerWindowTest, MoveWithAndWithoutTheSpaceBar)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff)};
    start();
    clickItem("lstTiles", TileMove);
    drag({50, 50}, {{66, 67}});
    EXPECT_EQ(cornersOf(doc.tiles[0]), squareCorners(56, 56, 32));
    holdSpace();
    drag({70, 70}, {{73, 71}});
    releaseSpace();
    EXPECT_EQ(cornersOf(doc.tiles[0]), squareCorners(59, 57, 32));
    click("cmdUnReDo");
    EXPECT_EQ(cornersOf(doc.tiles[0]), squareCorners(56, 56, 32));
}

TEST_F(PointerWindowTest, RecolorThroughTheColourDialog)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff)};
    start();
    clickItem("lstTiles", TileRecolor);
    dialogs.expectColor(std::nullopt);
    clickAt(56, 56);
    EXPECT_EQ(doc.tiles[0].color, 0x0000ff);
    EXPECT_FALSE(undoButton()->isEnabled());
    dialogs.expectColor(0x00c0c0);
    clickAt(56, 56);
    EXPECT_EQ(doc.tiles[0].color, 0x00c0c0);
    EXPECT_EQ(shownAt(56, 56), 0x00c0c0);
    click("cmdUnReDo");
    EXPECT_EQ(doc.tiles[0].color, 0x0000ff);
}

TEST_F(PointerWindowTest, VertexDragMovesASharedCornerOfBothTiles)
{
    doc.tiles = {squareTile(8, 8, 32, 0x0000ff), squareTile(40, 8, 32, 0x00ff00)};
    start();
    clickItem("lstTiles", TileVertex);
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::CrossCursor);
    drag({41, 39}, {{50, 45}, {57, 57}});
    EXPECT_EQ(doc.tiles[0].verts[2], (Vertex{56, 56}));
    EXPECT_EQ(doc.tiles[1].verts[3], (Vertex{56, 56}));
    EXPECT_TRUE(doc.vtxSel.empty());
    clickAt(150, 150); // no vertex near: beep
    EXPECT_EQ(dialogs.beeps, 1);
    click("cmdUnReDo");
    EXPECT_EQ(doc.tiles[1].verts[3], (Vertex{40, 40}));
}

TEST_F(PointerWindowTest, DeleteRemovesATileButNotTheDisplayCopy)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(104, 40, 32, 0x00ff00)};
    start();
    clickItem("lstTiles", TileDelete);
    clickAt(56, 56);
    ASSERT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(doc.tiles[0].color, 0x00ff00);
    EXPECT_EQ(shownAt(60, 60), kCanvasBackground);
    doc.xformOpen = true;
    doc.curTile = 0;
    dialogs.expectMessage(kDeleteRefused);
    clickAt(120, 56);
    EXPECT_EQ(doc.tileCount(), 2);
    clickAt(300, 300);
    EXPECT_EQ(dialogs.beeps, 1);
    click("cmdUnReDo");
    EXPECT_EQ(doc.tileCount(), 3);
}

class GroupWindowTest : public PointerWindowTest
{
protected:
    void SetUp() override
    {
        PointerWindowTest::SetUp();
        doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(72, 40, 32, 0x00ff00),
                     squareTile(200, 200, 32, 0xff0000)};
        doc.tiles[0].selected = kTrue;
        doc.tiles[1].selected = kTrue;
        start();
    }
};

TEST_F(GroupWindowTest, GroupRotateTurnsTheSelectionAndIsPlaced)
{
    clickItem("lstAction", GroupRotate);
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Action);
    drag({300, 100}, {{300, 132}}); // a quarter turn about (72, 56)
    EXPECT_NEAR(doc.tiles[0].angle, kPi / 2, 1e-12);
    move(300, 132);
    clickAt(300, 132);
    EXPECT_EQ(cornersOf(doc.tiles[0]),
              (std::vector<Vertex>{{88, 24}, {88, 56}, {56, 56}, {56, 24}}));
    EXPECT_EQ(cornersOf(doc.tiles[2]), squareCorners(200, 200, 32));
    click("cmdUnReDo");
    EXPECT_EQ(cornersOf(doc.tiles[0]), squareCorners(40, 40, 32));
}

TEST_F(GroupWindowTest, GroupReflectMirrorsAboutThePlaneVertical)
{
    clickItem("lstAction", GroupReflect);
    press(300, 100);
    release(300, 100);
    clickAt(300, 100);
    EXPECT_EQ(cornersOf(doc.tiles[0]),
              (std::vector<Vertex>{{104, 40}, {72, 40}, {72, 72}, {104, 72}}));
    EXPECT_EQ(doc.tiles[0].reflected, 1.0);
    EXPECT_EQ(doc.tiles[2].reflected, 0.0);
}

TEST_F(GroupWindowTest, GroupCopyLeavesUnselectedCopiesAndGroupMoveFollows)
{
    clickItem("lstAction", GroupCopy);
    drag({300, 100}, {{300, 133}});
    ASSERT_EQ(doc.tileCount(), 6);
    EXPECT_EQ(cornersOf(doc.tiles[0]), squareCorners(40, 72, 32));
    EXPECT_EQ(cornersOf(doc.tiles[4]), squareCorners(40, 40, 32));
    EXPECT_EQ(doc.tiles[4].selected, kFalse);
    EXPECT_EQ(doc.tiles[5].selected, kFalse);
    clickItem("lstAction", GroupMove);
    drag({300, 100}, {{316, 100}});
    EXPECT_EQ(cornersOf(doc.tiles[0]), squareCorners(56, 72, 32));
    EXPECT_EQ(cornersOf(doc.tiles[4]), squareCorners(40, 40, 32));
    click("cmdUnReDo");
    EXPECT_EQ(cornersOf(doc.tiles[0]), squareCorners(40, 72, 32));
}

TEST_F(GroupWindowTest, GroupVertexDragMovesTheSelectedVertices)
{
    dialogs.expectMessage("no vertices are selected");
    clickItem("lstAction", GroupVertex);
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Select);
    doc.vtxSel = {{0, 1}, {1, 0}};
    clickItem("lstAction", GroupVertex);
    drag({72, 40}, {{73, 25}});
    EXPECT_EQ(doc.tiles[0].verts[1], (Vertex{72, 24}));
    EXPECT_EQ(doc.tiles[1].verts[0], (Vertex{72, 24}));
    EXPECT_EQ(doc.vtxSel.size(), 2u);
    click("cmdUnReDo");
    EXPECT_EQ(doc.tiles[0].verts[1], (Vertex{72, 40}));
}

TEST_F(GroupWindowTest, GroupRecolorDeleteAndNoAction)
{
    dialogs.expectColor(0x202020);
    clickItem("lstAction", GroupRecolor);
    EXPECT_EQ(doc.tiles[0].color, 0x202020);
    EXPECT_EQ(doc.tiles[2].color, 0xff0000);
    int shown = 0; // the selected tiles are hatched in their new colour
    for (int x = 44; x < 68; ++x)
        shown += shownAt(x, 60) == 0x202020 ? 1 : 0;
    EXPECT_GT(shown, 0);
    clickItem("lstAction", GroupDelete);
    EXPECT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(control<QListWidget>("lstAction")->currentRow(), GroupNone);
    click("cmdUnReDo");
    EXPECT_EQ(doc.tileCount(), 4);
    clickItem("lstAction", GroupNone);
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Tiles);
    EXPECT_EQ(control<QListWidget>("lstTiles")->currentRow(), 0);
}

TEST_F(GroupWindowTest, ChoicesWithoutASelectionAreRefused)
{
    for (Tile &tile : doc.tiles)
        tile.selected = kFalse;
    for (int choice : {GroupRotate, GroupReflect, GroupCopy, GroupMove, GroupDelete}) {
        dialogs.expectMessage("no tiles are selected");
        click("cmdAction");
        clickItem("lstAction", choice);
        EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Select) << choice;
    }
    dialogs.expectMessage("no tiles are selected");
    clickItem("lstAction", GroupRecolor); // no colour dialog, and no panel change
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Action);
    EXPECT_EQ(doc.tileCount(), 4);
}

TEST_F(GroupWindowTest, GroupCopyPastTheTileLimitIsRefused)
{
    for (int i = 0; i < 17000; ++i)
        doc.tiles.push_back(doc.tiles[0]);
    const std::size_t count = doc.tiles.size();
    clickItem("lstAction", GroupCopy);
    dialogs.expectMessage("too many tiles");
    press(300, 100);
    move(300, 133);
    release(300, 133);
    EXPECT_EQ(doc.tiles.size(), count);
    EXPECT_EQ(cornersOf(doc.tiles[0]), squareCorners(40, 40, 32));
}

} // namespace
} // namespace tessella::testing
