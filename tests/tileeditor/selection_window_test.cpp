// SPDX-License-Identifier: GPL-3.0-or-later
// Selection, the colour chip, new tiles and the transform pick on the real window.
#include "pointerwindowfixture.h"

#include "tileeditor/transformpick.h"

namespace tessella::testing {
namespace {

class SelectWindowTest : public PointerWindowTest
{
protected:
    void SetUp() override
    {
        PointerWindowTest::SetUp();
        doc.tiles = {squareTile(8, 8, 32, 0x0000ff), squareTile(40, 8, 32, 0x00ff00),
                     squareTile(8, 40, 32, 0x0000ff), squareTile(40, 40, 32, 0x808080),
                     squareTile(40, 40, 32, 0x0000ff, GridHexagonal)};
        start();
    }
    std::vector<int> selected() const
    {
        std::vector<int> out;
        for (std::size_t i = 0; i < doc.tiles.size(); ++i) {
            if (doc.tiles[i].selected != 0)
                out.push_back(int(i));
        }
        return out;
    }
};

TEST_F(SelectWindowTest, TileClicksToggleAndAMissBeeps)
{
    clickItem("lstSelect", 0);
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Select);
    EXPECT_TRUE(doc.dirty);
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::ArrowCursor);
    clickAt(20, 20);
    clickAt(60, 60);
    EXPECT_EQ(selected(), (std::vector<int>{0, 3}));
    clickAt(20, 20);
    EXPECT_EQ(selected(), (std::vector<int>{3}));
    clickAt(200, 200);
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(SelectWindowTest, ListEntriesAllNoneAndInvert)
{
    doc.vtxSel = {{0, 0}};
    clickItem("lstSelect", 1);
    EXPECT_EQ(selected(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(doc.vtxSel.size(), 1u);
    clickItem("lstSelect", 2);
    EXPECT_TRUE(selected().empty());
    EXPECT_TRUE(doc.vtxSel.empty());
    doc.tiles[1].selected = kTrue;
    clickItem("lstSelect", 3);
    EXPECT_EQ(selected(), (std::vector<int>{0, 2, 3}));
    clickItem("lstSelect", 8); // "no select": back to tile entry
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Tiles);
}

TEST_F(SelectWindowTest, ByColorSelectsTheColourShownOnATile)
{
    clickItem("lstSelect", 4);
    clickAt(20, 20);
    EXPECT_EQ(selected(), (std::vector<int>{0, 2}));
    clickAt(200, 200);
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(SelectWindowTest, MarqueeSelectsTheSameInBothDirections)
{
    clickItem("lstSelect", 5);
    press(30, 30);
    move(45, 50);
    move(60, 79);
    EXPECT_EQ(shownAt(45, 30), 255); // the red rectangle
    release(60, 79);
    EXPECT_EQ(selected(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_NE(shownAt(45, 30), 255);

    clickItem("lstSelect", 2);
    clickItem("lstSelect", 5);
    drag({60, 79}, {{45, 50}, {30, 30}});
    EXPECT_EQ(selected(), (std::vector<int>{0, 1, 2, 3}));

    clickItem("lstSelect", 2);
    clickItem("lstSelect", 5);
    drag({72, 72}, {{76, 76}, {100, 100}}); // the corner (72, 72) lies on the border
    EXPECT_TRUE(selected().empty());
}

TEST_F(SelectWindowTest, VertexClicksAndTheVertexMarquee)
{
    clickItem("lstSelect", 6);
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::CrossCursor);
    clickAt(41, 39);
    EXPECT_EQ(doc.vtxSel.size(), 4u);
    EXPECT_EQ(shownAt(40, 40), 255); // red dots on the selected vertices
    clickAt(39, 41);
    EXPECT_TRUE(doc.vtxSel.empty());
    clickAt(24, 24);
    EXPECT_EQ(dialogs.beeps, 1);

    clickItem("lstSelect", 7);
    drag({30, 30}, {{50, 50}});
    EXPECT_EQ(doc.vtxSel.size(), 4u);
    drag({50, 50}, {{30, 30}});
    EXPECT_EQ(doc.vtxSel.size(), 4u); // already selected: not added again
}

TEST_F(PointerWindowTest, ChipDialogCancelledAndConfirmed)
{
    start();
    QLabel *chip = control<QLabel>("picChip");
    dialogs.expectColor(std::nullopt);
    QTest::mouseClick(chip, Qt::RightButton);
    EXPECT_EQ(window->chipColour(), 256 * 192);
    ASSERT_EQ(dialogs.log.size(), 1u);
    EXPECT_EQ(dialogs.log[0].initialColor, 256 * 192);
    dialogs.expectColor(0x102030);
    QTest::mouseClick(chip, Qt::RightButton);
    EXPECT_EQ(window->chipColour(), 0x102030);
    EXPECT_EQ(chip->frameShape(), QFrame::Panel);
}

TEST_F(PointerWindowTest, ChipPickTakesTheShownColourAndRestoresThePointer)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff)};
    start();
    QLabel *chip = control<QLabel>("picChip");
    QTest::mouseClick(chip, Qt::LeftButton);
    EXPECT_TRUE(window->pickColor());
    EXPECT_EQ(chip->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::ArrowCursor);
    click("cmdPan"); // does nothing while picking
    EXPECT_FALSE(window->panMode());
    clickAt(60, 60);
    EXPECT_EQ(window->chipColour(), 0x0000ff);
    EXPECT_FALSE(window->pickColor());
    EXPECT_EQ(chip->frameShape(), QFrame::Panel);
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::CrossCursor); // "new tile" places points

    clickItem("lstTiles", 4); // "move" keeps the arrow
    QTest::mouseClick(chip, Qt::LeftButton);
    clickAt(40, 60); // the outline
    EXPECT_EQ(window->chipColour(), 0);
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(chip, Qt::LeftButton);
    clickAt(200, 200);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(window->chipColour(), 0);
}

TEST_F(PointerWindowTest, NewTileClosedOnItsFirstPoint)
{
    start();
    window->undoHistory().tBackup(doc); // a snapshot exists (the empty start-up tile)
    window->undoStateChanged();
    clickAt(9, 9);
    EXPECT_TRUE(window->newTile().active());
    EXPECT_FALSE(undoButton()->isEnabled());
    clickAt(40, 7);
    move(60, 50);
    EXPECT_EQ(shownAt(50, 28), 255); // the rubber band
    clickAt(41, 41);
    click("cmdUnReDo"); // ignored while entering
    EXPECT_EQ(window->newTile().newCount(), 3);
    clickAt(8, 40);
    clickAt(8, 8);
    ASSERT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(cornersOf(doc.tiles[1]), squareCorners(8, 8, 32));
    EXPECT_EQ(doc.tiles[1].color, 256 * 192);
    EXPECT_EQ(doc.tiles[1].grid, GridRectangular);
    EXPECT_EQ(shownAt(24, 24), 256 * 192);
    EXPECT_FALSE(window->newTile().active());
    EXPECT_TRUE(undoButton()->isEnabled());
    click("cmdUnReDo");
    EXPECT_EQ(doc.tileCount(), 1);
}

TEST_F(PointerWindowTest, NewTileFinishedOrCancelledWithTheRightButton)
{
    start();
    clickAt(8, 8);
    clickAt(40, 8);
    clickAt(8, 40);
    clickAt(200, 200, Qt::RightButton); // the right press adds no point
    ASSERT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(cornersOf(doc.tiles[1]), (std::vector<Vertex>{{8, 8}, {40, 8}, {8, 40}}));
    EXPECT_EQ(doc.tiles[1].verts.back(), (Vertex{8, 8}));

    clickAt(72, 8);
    clickAt(104, 8);
    clickAt(104, 40, Qt::RightButton); // two points: cancelled
    EXPECT_EQ(doc.tileCount(), 2);
    EXPECT_FALSE(window->newTile().active());

    clickAt(72, 8);
    clickAt(104, 8);
    clickAt(72, 8); // closing with fewer than three corners
    EXPECT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(dialogs.beeps, 1);
    clickAt(16, 60); // between nodes
    EXPECT_EQ(dialogs.beeps, 2);
}

TEST_F(PointerWindowTest, TransformPickHandsTheTileOver)
{
    int shown = 0;
    EditorHooks hooks;
    hooks.showTransformEditor = [&shown](std::optional<Vertex>) { ++shown; };
    window = std::make_unique<TileEditorWindow>(doc, dialogs, paths, hooks);
    window->resize(900, 700);
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(104, 40, 32, 0x00ff00)};
    start();
    click("cmdXform");
    EXPECT_TRUE(window->pickForTransform());
    clickAt(120, 60);
    EXPECT_FALSE(window->pickForTransform());
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(doc.xformOpen);
    EXPECT_TRUE(doc.dirty);
    EXPECT_EQ(control<QPushButton>("cmdXform")->text(), "return to transform");
    EXPECT_FALSE(undoButton()->isEnabled());
    ASSERT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(doc.xfTile.color, 0x00ff00);
    EXPECT_EQ(shownAt(120, 60), kCanvasBackground);
}

TEST_F(PointerWindowTest, TransformPickRefusals)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(104, 40, 32, 0x00ff00),
                 squareTile(168, 40, 32, 0xff0000), squareTile(232, 40, 32, 0x808080)};
    doc.tiles[0].setCorners({{40, 40}, {72, 40}, {72, 72}, {56, 80}, {40, 72}});
    doc.tiles[1].setCorners(
        {{104, 40}, {120, 40}, {136, 40}, {120, 41}, {104, 40.0005}, {104, 40}});
    doc.tiles[2].setCorners({{168, 40}, {200, 40}, {200, 40.0005}});
    start();
    click("cmdXform");
    dialogs.expectMessage(kShapeRefused);
    clickAt(56, 56);
    click("cmdXform");
    dialogs.expectMessage(kHexagonRefused);
    clickAt(110, 40);
    click("cmdXform");
    dialogs.expectMessage(kFlatRefused);
    clickAt(184, 40);
    click("cmdXform");
    doc.xformOpen = true; // a transform became pending meanwhile
    dialogs.expectMessage("transform editor is in use\nyou must first exit the transform editor");
    clickAt(248, 56);
    doc.xformOpen = false;
    click("cmdXform");
    clickAt(300, 300);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(doc.tileCount(), 5);
    EXPECT_FALSE(window->pickForTransform());
}

} // namespace
} // namespace tessella::testing
