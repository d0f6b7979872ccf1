// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor window from start-up on, driven with real key and mouse events: what
// its buttons and pop-up lists do to the document and the canvas, the desktop's standard
// shortcuts and files dropped on it as the window system delivers them.
#include "windowfixture.h"

#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

namespace tessella::test {
namespace {

// Start-up, the zoom keys (one ladder: they reach the window whichever control has the
// focus), a hand-back, and a document named on the command line.
TEST_F(WindowTest, StartUpZoomHandBackAndACommandLineDocument)
{
    start();
    EXPECT_TRUE(doc.tileCount() == 1 && summaries(doc.tiles).empty() && !doc.dirty &&
                !undoButton()->isEnabled());
    EXPECT_TRUE(shownAt(8, 8) == kBlack && shownAt(16, 16) == kCanvasBackground); // the lattice
    dialogs.expectMessage("load or create a tessellation");
    click("cmdFrac");

    // clang-format off
    const std::tuple<Qt::Key, const char *, int, int> ladder[] = { // caption, line width, beeps
        {Qt::Key_Comma, "71%", 1, 0}, {Qt::Key_Comma, "50%", 1, 0}, {Qt::Key_Comma, "50%", 1, 1},
        {Qt::Key_Period, "71%", 1, 1}, {Qt::Key_Period, "100%", 1, 1}, {Qt::Key_Period, "141%", 1, 1},
        {Qt::Key_Period, "200%", 2, 1}, {Qt::Key_Period, "283%", 2, 1}, {Qt::Key_Period, "400%", 4, 1},
        {Qt::Key_Period, "400%", 4, 2}, {Qt::Key_Slash, "50%", 1, 2},
    };
    // clang-format on
    EXPECT_EQ(title(), "tile editor    100%");
    QListWidget *focused = control<QListWidget>("lstTiles");
    focused->setFocus();
    for (const auto &[key, caption, lineWidth, beeps] : ladder) {
        QTest::keyClick(focused, key);
        EXPECT_EQ(title(), QString("tile editor    ") + caption);
        EXPECT_TRUE(window->canvasLineWidth() == lineWidth && dialogs.beeps == beeps) << caption;
    }

    doc.xfReturn = squareTile(8, 8, 16, 0x123456);
    window->Form_Activate(); // an activation without a hand-back adds nothing
    EXPECT_EQ(doc.tileCount(), 1);
    window->setSkipActivate(); // one activation skipped, the next one counts again
    window->Form_Activate();
    doc.xfEditorOnly = true;
    window->takeHandBack(HandBack::Exit);
    EXPECT_FALSE(doc.xfEditorOnly);
    window->Form_Activate();
    window->hide(); // as around a message box
    window->show();
    EXPECT_TRUE(summaries(doc.tiles) == summaries({doc.xfReturn}) && doc.curTile == 1);
    doc.xfEditorOnly = true; // "return to transform": the display copy becomes the current tile
    window->takeHandBack(HandBack::Return);
    EXPECT_TRUE(!doc.xfEditorOnly && doc.curTile == 2);

    const QString path = dir.filePath("two.mvl");
    writeDoc(path,
             documentOf({squareTile(40, 40, 32, 0x0000ff), squareTile(72, 40, 32, 0x00ff00)}));
    doc = Document{};
    makeWindow({});
    start(path); // no dialog; the empty tile comes after the loaded ones
    EXPECT_TRUE(doc.tileCount() == 3 && doc.curTile == 2);
    EXPECT_EQ(window->fileCommands().docPath(), path);
    EXPECT_TRUE(shownAt(56, 56) == 0x0000ff && shownAt(88, 56) == 0x00ff00);
    EXPECT_EQ(shownAt(40, 50), kBlack); // outlines with "lines"
}

TEST_F(WindowTest, TheViewListCouplesHeavyAndLinesAndTheGridListSwitchesTheShownTiles)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff),
                 squareTile(48, 48, 24, 0x00ff00, GridCenterFace)};
    doc.tiles[0].sketchStart = 1; // a line across it, (44, 52) to (68, 52)
    doc.sketches = {Sketch{}, sketchItem(0, {{4, 12}, {28, 12}}, 1)};
    start();
    EXPECT_EQ(shownAt(56, 52), kBlack);
    click("cmdView");
    QListWidget *views = control<QListWidget>("lstViews");
    const QRect button = control<QWidget>("cmdView")->geometry();
    EXPECT_EQ(views->geometry().topLeft(), button.bottomLeft() + QPoint(0, 1)); // drops below
    clickItem("lstViews", 3);                                                   // sketches off
    EXPECT_EQ(shownAt(56, 52), 0x0000ff);
    clickItem("lstViews", 0); // heavy on: lines stays on, the width doubles
    EXPECT_TRUE(views->item(0)->isSelected() && views->item(1)->isSelected());
    EXPECT_EQ(window->canvasLineWidth(), 2);
    clickItem("lstViews", 1); // lines off: heavy goes off too
    EXPECT_FALSE(views->item(0)->isSelected() || views->item(1)->isSelected());
    EXPECT_EQ(window->canvasLineWidth(), 1);
    EXPECT_EQ(shownAt(40, 50), 0x0000ff); // the outline in the tile's colour
    clickItem("lstViews", 2);             // fills off
    EXPECT_EQ(shownAt(56, 56), kWhite);
    clickItem("lstViews", 0); // heavy on again brings lines back
    EXPECT_TRUE(views->item(1)->isSelected());
    clickItem("lstViews", 2); // fills on again

    click("cmdGrids");
    QListWidget *grids = control<QListWidget>("lstGrids");
    clickItem("lstGrids", 0);               // the empty entry changes nothing
    clickItem("lstGrids", GridRectangular); // the current grid: the list stays open
    EXPECT_TRUE(window->curGrid() == GridRectangular && grids->isVisible());
    clickItem("lstGrids", GridCenterFace);
    EXPECT_TRUE(window->curGrid() == GridCenterFace && !grids->isVisible());
    EXPECT_EQ(shownAt(60, 60), 0x00ff00);
    EXPECT_EQ(shownAt(44, 44), kCanvasBackground); // the rectangular tile is hidden
}

TEST_F(WindowTest, ReturnToTransformRemovesOnlyAnExistingDisplayCopy)
{
    doc.tiles = {squareTile(200, 200, 32, 0x0000ff)};
    doc.xformOpen = true, doc.curTile = 0; // loaded so: the start-up tile leaves it current
    start();
    EXPECT_EQ(doc.curTile, 0);
    // The rotation readout sits at its plane point on a zoomed, scrolled canvas too.
    key(Qt::Key_Period);
    clickItem("lstTiles", TileRotate);
    press(216, 216);
    const QPoint at = window->canvas()->mapTo(window.get(), widgetPixel(266, 166));
    EXPECT_LE((control<QLabel>("lblRotval")->pos() - at).manhattanLength(),
              1); // a pixel's rounding
    release(216, 216);
    doc.curTile = 7; // names no tile: nothing may be deleted
    click("cmdXform");
    EXPECT_EQ(doc.tileCount(), 2);
    doc.curTile = 0;
    click("cmdXform");
    EXPECT_TRUE(summaries(doc.tiles).empty());
}

// The fractal panel as the canvas sees it: it records the pointer and takes a press when
// `onHandle` says the press met one of its handles.
struct FakeFractal : FractalLink
{
    bool panelOpen() const override { return true; }
    bool renderingShown() const override { return false; }
    void fractalButton() override {}
    void restoreRendering() override {}
    void documentReplaced() override {}
    void applyDrawSettings(DrawSettings &) const override {}
    void drawPicture(TilingDrawer &, double, double) override {}
    void drawOverlay(Surface &) override {}
    bool pointerPress(int button, double, double, double reach) override
    {
        return buttons.push_back(button), tolerance = reach, onHandle;
    }
    void pointerMove(double, double) override { ++moves; }
    void pointerRelease() override { ++releases; }
    Scene exportScene(double, double, double, double) const override { return {}; }
    bool onHandle = false;
    std::vector<int> buttons;
    double tolerance = 0;
    int moves = 0, releases = 0;
};

// While the panel is open the canvas serves it: presses with a six-pixel reach, and a right
// drag that meets no handle pans, as a left drag does in pan mode.
TEST_F(WindowTest, AnOpenFractalPanelTakesThePointerAndARightDragOffItsHandlesPans)
{
    FakeFractal fractal;
    makeWindow({.fractal = &fractal});
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff)};
    start();
    key(Qt::Key_Period);
    const QPoint home = window->canvas()->canvasOffset();
    const std::vector<Tile> before = doc.tiles;
    auto dragWith = [&](Qt::MouseButton b, bool handle) {
        fractal.onHandle = handle;
        press(300, 200, b);
        move(100, 200);
        release(100, 200, b);
        return window->canvas()->canvasOffset();
    };
    EXPECT_EQ(dragWith(Qt::RightButton, true), home);
    EXPECT_EQ(dragWith(Qt::LeftButton, false), home);
    EXPECT_TRUE(fractal.buttons == (std::vector<int>{2, 1}) && fractal.moves == 2);
    EXPECT_DOUBLE_EQ(fractal.tolerance, 6 / window->view().zoom());
    const QPoint panned = dragWith(Qt::RightButton, false);
    EXPECT_TRUE(panned.x() > home.x() && fractal.moves == 2);
    move(40, 40); // the pan ended with the release
    EXPECT_EQ(window->canvas()->canvasOffset(), panned);
    click("cmdPan");
    EXPECT_GT(dragWith(Qt::LeftButton, true).x(), panned.x());
    // Pan mode keeps the press from the panel.
    EXPECT_TRUE(fractal.buttons.size() == 3 && fractal.releases == 4 && doc.tiles == before);
    // The panel keeps its views in two slots; an empty slot changes nothing.
    window->saveView(1);
    const double left = window->view().canvasLeft();
    key(Qt::Key_Slash);
    window->restoreView(0);
    EXPECT_EQ(title(), "tile editor    50%");
    window->saveView(0);
    window->restoreView(1);
    EXPECT_TRUE(title() == "tile editor    141%" && window->view().canvasLeft() == left);
    window->restoreView(0);
    EXPECT_EQ(title(), "tile editor    50%");
}

using Kind = ScriptedDialogs::Kind;

// What each shortcut's command shows first with unsaved edits (answered Cancel): the question's
// first line or the file dialog's title. The keys are the desktop's standard ones (Ctrl+Q
// where a desktop binds none to Quit).
const std::tuple<const char *, std::optional<Kind>, const char *> kShortcuts[] = {
    {"Ctrl+O", Kind::YesNoCancel, "Loading new state will overwrite your edits"},
    {"Ctrl+S", Kind::SaveFile, "Save .mvl File"},
    {"Ctrl+Q", Kind::YesNoCancel, "Do you want to save your edits?"},
    {"Ctrl+Z", std::nullopt, ""}, // undo, last: it changes the tiles
};

class DesktopTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        start();
        // One unsaved edit that can be undone.
        doc.appendTile(squareTile(40, 40, 32, 0xff0000));
        window->undoHistory().tBackup(doc);
        doc.tiles.back().color = 0x0000ff;
        window->undoStateChanged();
        doc.dirty = true;
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // Drags `paths` over the canvas and drops them; true when the window took them.
    bool drop(const QStringList &paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &p : paths)
            urls << QUrl::fromUserInput(p);
        mime.setUrls(urls);
        const QPoint at = window->canvas()->mapTo(window.get(), QPoint(50, 50));
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->windowHandle(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        // Delivered even after a refused enter, the drop must be refused on its own.
        QCoreApplication::sendEvent(window.get(), &dropped);
        return enter.isAccepted() && dropped.isAccepted();
    }
};

TEST_F(DesktopTest, ShortcutsRunTheirCommandsExceptWhileTypingOrEnteringATile)
{
    auto *text = new QLineEdit(window.get());
    text->show();
    for (const auto &[keys, dialog, shownText] : kShortcuts) {
        SCOPED_TRACE(keys);
        text->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return text->hasFocus(); }));
        QTest::keySequence(text, QKeySequence(keys));
        EXPECT_TRUE(dialogs.log.empty() && undoButton()->text() == "undo");

        window->canvas()->setFocus();
        if (dialog == Kind::SaveFile)
            dialogs.expectSaveFile(std::nullopt);
        else if (dialog)
            dialogs.expectYesNoCancel(Answer::Cancel);
        QTest::keySequence(window->canvas(), QKeySequence(keys));
        if (!dialog) {
            EXPECT_TRUE(undoButton()->text() == "redo" && doc.tiles.back().color == 0xff0000u);
            continue;
        }
        ASSERT_EQ(dialogs.log.size(), 1u);
        const ScriptedDialogs::Shown &shown = dialogs.log.front();
        EXPECT_EQ(shown.kind, *dialog);
        EXPECT_EQ(dialog == Kind::SaveFile ? shown.options.title : shown.text, shownText);
        dialogs.log.clear();
    }
    EXPECT_TRUE(window->isVisible());
    clickAt(104, 104);
    ASSERT_TRUE(window->newTile().active());
    QTest::keySequence(window->canvas(), QKeySequence(std::get<0>(kShortcuts[0])));
    EXPECT_TRUE(dialogs.log.empty()); // not while entering a tile
    // A held space bar stays held through the releases its auto-repeat sends.
    QTest::keyPress(window->canvas(), Qt::Key_Space);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
    QCoreApplication::sendEvent(window->canvas(), &repeat);
    EXPECT_TRUE(window->spaceHeld());
    QTest::keyRelease(window->canvas(), Qt::Key_Space);
    EXPECT_FALSE(window->spaceHeld());
    // The window's own close request asks the same question.
    dialogs.expectYesNoCancel(Answer::Cancel);
    window->close();
    EXPECT_TRUE(window->isVisible());
    dialogs.expectYesNoCancel(Answer::No);
    window->close();
    EXPECT_TRUE(!window->isVisible() && doc.closing);
}

TEST_F(DesktopTest, ADroppedMvlFileOpensAndAnythingElseIsRefused)
{
    const QString mvl = dir.filePath("dropped.mvl"), other = dir.filePath("dropped.txt");
    std::vector<uint8_t> bytes = *writeDocument(squareRow(3, 32, 0x00ff00));
    writeBytes(other, bytes);
    // A foreign file, whose tiles sit around the origin: the load centres them on the canvas.
    std::copy(kHeaderForeignH.begin(), kHeaderForeignH.end(), bytes.begin());
    writeBytes(mvl, bytes);
    QDir(dir.path()).mkdir("folder.mvl");
    const int16_t before = doc.tileCount();
    // clang-format off
    for (const QStringList &paths :
         {QStringList{other}, {mvl, mvl}, {"https://example.org/a.mvl"}, {dir.filePath("folder.mvl")}})
        // clang-format on
        EXPECT_FALSE(drop(paths)) << paths.join(' ').toStdString();
    // Lent to an export or an animation run, the window takes no file and no shortcut.
    window->lockForRun();
    EXPECT_FALSE(drop({mvl}));
    for (const auto &shortcut : kShortcuts)
        QTest::keySequence(window->canvas(), QKeySequence(std::get<0>(shortcut)));
    window->unlock();
    QCoreApplication::processEvents();
    EXPECT_TRUE(doc.tileCount() == before && dialogs.log.empty() && window->isVisible() &&
                undoButton()->text() == "undo" && undoButton()->isEnabled());
    for (const char *name : {"cmdFiles", "cmdXform", "cmdFrac", "picChip"})
        EXPECT_TRUE(control<QWidget>(name)->isEnabled()) << name;

    dialogs.expectYesNoCancel(Answer::No);
    dialogs.expectMessage(); // the foreign file's report
    ASSERT_TRUE(drop({mvl}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc.tileCount() == 3; }));
    EXPECT_EQ(dialogs.log.front().text, "Loading new state will overwrite your edits");
    EXPECT_EQ(window->fileCommands().docPath(), mvl);
    const PlaneView &view = window->view();
    EXPECT_EQ(doc.tiles[0].verts[0],
              (Vertex{view.extentWidth() / 2, 10 + view.extentHeight() / 2}));
}

} // namespace
} // namespace tessella::test
