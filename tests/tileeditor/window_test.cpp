// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor window driven with real key and mouse events.
#include "windowfixture.h"

#include "document/compaction.h"

#include <QLabel>

namespace tessella::testing {
namespace {

TEST_F(WindowTest, StartUpHoldsOneEmptyTileAndNeedsMoreForTheFractal)
{
    start();
    EXPECT_EQ(doc.tileCount(), 1);
    EXPECT_EQ(doc.tiles[0].nVerts, 0);
    EXPECT_EQ(doc.tiles[0].grid, 0);
    EXPECT_EQ(doc.curTile, 0);
    EXPECT_FALSE(doc.dirty);
    EXPECT_EQ(window->windowTitle(), "tile editor    100%");
    EXPECT_FALSE(control<QPushButton>("cmdUnReDo")->isEnabled());
    EXPECT_EQ(control<QListWidget>("lstTiles")->currentRow(), 0);
    EXPECT_EQ(control<QListWidget>("lstGrids")->currentRow(), GridRectangular);

    dialogs.expectMessage("load or create a tessellation");
    click("cmdFrac");

    // Controls without text carry their names for assistive technology.
    EXPECT_EQ(window->canvas()->accessibleName(), "picBox");
    EXPECT_EQ(control<QLabel>("picChip")->accessibleName(), "picChip");
    EXPECT_FALSE(control<QLabel>("picChip")->accessibleDescription().isEmpty());
}

TEST_F(WindowTest, CommandLineDocumentLoadsWithoutDialogThenGainsTheEmptyTile)
{
    Document saved;
    saved.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(72, 40, 32, 0x00ff00)};
    const QString path = writeDocument("two.mvl", saved);
    start(path);
    ASSERT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(doc.tiles[1].color, 0x00ff00);
    EXPECT_EQ(doc.curTile, 2);
    EXPECT_EQ(window->fileCommands().docPath(), path);
    // The tiles are on the canvas in their packed colours.
    EXPECT_EQ(shownAt(56, 56), 0x0000ff);
    EXPECT_EQ(shownAt(88, 56), 0x00ff00);
    EXPECT_EQ(shownAt(40, 40), 0); // black outline with "lines"
}

TEST_F(WindowTest, HandBackAppendsOncePerHandBack)
{
    start();
    doc.xfReturn = squareTile(8, 8, 16, 0x123456);
    window->Form_Activate(); // an activation without a hand-back adds nothing
    EXPECT_EQ(doc.tileCount(), 1);
    window->takeHandBack(HandBack::Exit);
    window->Form_Activate();
    EXPECT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(doc.curTile, 1);
    EXPECT_EQ(doc.tiles[1].color, 0x123456);
    // Hiding and showing the window (as around a message box) adds nothing either.
    window->hide();
    window->show();
    EXPECT_EQ(doc.tileCount(), 2);
}

TEST_F(WindowTest, ZoomKeysStepRefuseAndReset)
{
    start();
    for (const char *caption : {"tile editor    141%", "tile editor    200%", "tile editor    283%",
                                "tile editor    400%"}) {
        QTest::keyClick(window.get(), Qt::Key_Period);
        EXPECT_EQ(window->windowTitle(), caption);
    }
    EXPECT_EQ(window->canvasLineWidth(), 4);
    QTest::keyClick(window.get(), Qt::Key_Period);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(window->windowTitle(), "tile editor    400%");
    // Keys reach the window whichever control has the focus.
    control<QListWidget>("lstTiles")->setFocus();
    QTest::keyClick(control<QListWidget>("lstTiles"), Qt::Key_Slash);
    EXPECT_EQ(window->windowTitle(), "tile editor    50%");
    QTest::keyClick(window.get(), Qt::Key_Comma);
    EXPECT_EQ(dialogs.beeps, 2);
    QTest::keyPress(window.get(), Qt::Key_Space);
    EXPECT_TRUE(window->spaceDown());
    QTest::keyRelease(window.get(), Qt::Key_Space);
    EXPECT_FALSE(window->spaceDown());
}

TEST_F(WindowTest, ViewListCouplesHeavyAndLinesAndSetsLineWidth)
{
    start();
    click("cmdView");
    QListWidget *views = control<QListWidget>("lstViews");
    clickItem("lstViews", 0); // heavy on: lines stays on, width doubles
    EXPECT_TRUE(views->item(0)->isSelected());
    EXPECT_TRUE(views->item(1)->isSelected());
    EXPECT_EQ(window->canvasLineWidth(), 2);
    clickItem("lstViews", 1); // lines off: heavy goes off too
    EXPECT_FALSE(views->item(0)->isSelected());
    EXPECT_FALSE(views->item(1)->isSelected());
    EXPECT_EQ(window->canvasLineWidth(), 1);
}

TEST_F(WindowTest, ViewOptionsChangeWhatTheCanvasShows)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff)};
    start();
    EXPECT_EQ(shownAt(56, 56), 0x0000ff);
    click("cmdView");
    clickItem("lstViews", 2); // fills off: white inside
    EXPECT_EQ(shownAt(56, 56), 0xffffff);
    clickItem("lstViews", 1); // lines off: outline in the tile's colour
    EXPECT_EQ(shownAt(40, 40), 0x0000ff);
}

TEST_F(WindowTest, GridListRefusesAndSwitches)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff),
                 squareTile(48, 48, 24, 0x00ff00, GridCenterFace)};
    start();
    click("cmdGrids");
    QListWidget *grids = control<QListWidget>("lstGrids");
    clickItem("lstGrids", 0); // the empty entry changes nothing
    EXPECT_EQ(window->curGrid(), GridRectangular);
    EXPECT_EQ(grids->currentRow(), GridRectangular);
    clickItem("lstGrids", GridRectangular); // the current grid: list stays open
    EXPECT_TRUE(grids->isVisible());
    clickItem("lstGrids", GridCenterFace);
    EXPECT_EQ(window->curGrid(), GridCenterFace);
    EXPECT_FALSE(grids->isVisible());
    EXPECT_EQ(shownAt(60, 60), 0x00ff00);
    EXPECT_EQ(shownAt(44, 44), kCanvasBackground); // the rectangular tile is hidden

    doc.xformOpen = true;
    click("cmdGrids");
    dialogs.expectMessage("please close transform editor before changing grids");
    clickItem("lstGrids", GridHexagonal);
    EXPECT_EQ(window->curGrid(), GridCenterFace);
    EXPECT_EQ(grids->currentRow(), GridCenterFace);
    EXPECT_FALSE(grids->isVisible());
}

TEST_F(WindowTest, LatticeDotsAreDrawn)
{
    start();
    EXPECT_EQ(shownAt(8, 8), 0);
    EXPECT_EQ(shownAt(24, 8), 0);
    EXPECT_EQ(shownAt(16, 16), kCanvasBackground);
}

TEST_F(WindowTest, PanDragStaysWithinTheClamps)
{
    start();
    const QPoint home = window->canvas()->canvasOffset();
    click("cmdPan");
    EXPECT_TRUE(window->panMode());
    CanvasWidget *canvas = window->canvas();
    // Dragging right or down would uncover the area left of or above the canvas.
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(canvas, QPoint(400, 400));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(400, 400));
    EXPECT_EQ(canvas->canvasOffset(), home);
    // Dragging left moves the canvas by a fifteenth of the plane distance.
    for (int i = 0; i < 3; ++i) {
        QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(400, 300));
        QTest::mouseMove(canvas, QPoint(100, 300));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(100, 300));
    }
    EXPECT_GT(canvas->canvasOffset().x(), home.x());
    EXPECT_EQ(canvas->canvasOffset().y(), home.y());
    click("cmdPan");
    EXPECT_FALSE(window->panMode());
}

TEST_F(WindowTest, UndoRedoAndRevertSession)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(72, 40, 32, 0x00ff00)};
    start();
    ASSERT_EQ(doc.tileCount(), 3);
    click("cmdRevert"); // not dirty: no question
    EXPECT_EQ(doc.tileCount(), 0);
    QPushButton *undo = control<QPushButton>("cmdUnReDo");
    ASSERT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "undo");
    click("cmdUnReDo");
    EXPECT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(undo->text(), "redo");
    EXPECT_EQ(shownAt(56, 56), 0x0000ff);
    click("cmdUnReDo");
    EXPECT_EQ(doc.tileCount(), 0);
    EXPECT_EQ(undo->text(), "undo");
    EXPECT_EQ(shownAt(60, 60), kCanvasBackground);

    doc.dirty = true;
    dialogs.expectYesNoCancel(Answer::Cancel);
    click("cmdRevert");
    EXPECT_TRUE(doc.dirty);
}

TEST_F(WindowTest, FilesListSavesAndLoadsThroughDialogs)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff)};
    start();
    const QString path = dir.filePath("saved.mvl");
    click("cmdFiles");
    dialogs.expectSaveFile(path.toStdString());
    dialogs.expectMessage("saved as:\n" + path.toStdString());
    clickItem("lstFiles", FileCommands::SaveState);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(control<QListWidget>("lstFiles")->isVisible());

    doc.tiles.clear();
    doc.dirty = true;
    click("cmdFiles");
    dialogs.expectYesNoCancel(Answer::No);
    dialogs.expectOpenFile(path.toStdString());
    clickItem("lstFiles", FileCommands::LoadState);
    EXPECT_EQ(doc.tileCount(), 2);
    EXPECT_FALSE(doc.dirty);
    EXPECT_EQ(shownAt(56, 56), 0x0000ff);

    // A cancelled dialog changes nothing.
    click("cmdFiles");
    dialogs.expectOpenFile(std::nullopt);
    clickItem("lstFiles", FileCommands::LoadState);
    EXPECT_EQ(doc.tileCount(), 2);
}

TEST_F(WindowTest, CloseRequestAsksAboutUnsavedEdits)
{
    start();
    doc.dirty = true;
    dialogs.expectYesNoCancel(Answer::Cancel);
    window->close();
    EXPECT_TRUE(window->isVisible());
    // Yes, then a cancelled save dialog: the edits are still unsaved, so it stays open.
    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(std::nullopt);
    window->close();
    EXPECT_TRUE(window->isVisible());
    dialogs.expectYesNoCancel(Answer::No);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(doc.closing);
}

TEST_F(WindowTest, TileListChoiceMarksTheDocumentDirty)
{
    start();
    QTest::mouseClick(control<QPushButton>("cmdSelect"), Qt::LeftButton);
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Select);
    QListWidget *tiles = control<QListWidget>("lstTiles");
    QTest::mouseClick(tiles->viewport(), Qt::LeftButton, {},
                      tiles->visualItemRect(tiles->item(4)).center());
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Tiles);
    EXPECT_TRUE(doc.dirty);
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowTest, ReturnToTransformRemovesOnlyAnExistingDisplayCopy)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff)};
    start();
    doc.xformOpen = true;
    doc.curTile = 7; // names no tile: nothing may be deleted
    click("cmdXform");
    EXPECT_EQ(doc.tileCount(), 2);
    doc.curTile = 0;
    click("cmdXform");
    EXPECT_EQ(doc.tileCount(), 1);
    EXPECT_EQ(doc.tiles[0].nVerts, 0);
}

} // namespace
} // namespace tessella::testing
