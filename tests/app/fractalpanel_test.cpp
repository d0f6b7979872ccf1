// SPDX-License-Identifier: GPL-3.0-or-later
// The fractal panel with the real tile editor, driven by real pointer, key and button events.
// The mapping and the rendering themselves are tested in tests/fractal.
#include "app/fractalwiring.h"
#include "document/colour.h"
#include "output/export/imageexport.h"

#include "tests/tileeditor/windowfixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

namespace tessella::test {
namespace {

class FractalPanelTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        EditorHooks hooks;
        hooks.fractal = &wiring;
        makeWindow(hooks);
        wiring.setEditor(window.get());
        for (int i = 0; i < 30; ++i) // six columns of five, green and blue in turn
            doc.tiles.push_back(squareTile(100 + i / 5 * 60, 100 + i % 5 * 60, 60,
                                           i / 5 % 2 ? 0x2040c0 : 0x30a050));
        start();
        unmapped = doc.tiles;
        undoBefore = undoButton()->isEnabled();
        click("cmdFrac");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel()));
    }
    void TearDown() override { delete wiring.panel(), WindowTest::TearDown(); }

    FractalPanel *panel() const { return wiring.panel(); }
    template <class T = QWidget> T *part(const char *name) const
    {
        return findControl<T>(panel(), name);
    }
    void clickPanel(const char *name)
    {
        QAbstractButton *button = part<QAbstractButton>(name);
        ASSERT_TRUE(button->isVisible()) << name;
        // Check boxes and options take the click on their mark.
        const QPoint at = qobject_cast<QPushButton *>(button) ? button->rect().center()
                                                              : QPoint(6, button->height() / 2);
        QTest::mouseClick(button, Qt::LeftButton, {}, at);
    }
    QString text(const char *label) const { return part<QLabel>(label)->text(); }
    bool enabled(const char *name) const { return part(name)->isEnabled(); }
    // A pasted text, as one change of the box.
    void pasteFramesPerKey(const QString &value)
    {
        QApplication::clipboard()->setText(value);
        QLineEdit *box = part<QLineEdit>("txtFrameDivs");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
    // Tiles as the document holds them, without what a rendering appends.
    std::vector<Tile> drawnTiles() const
    {
        return {doc.tiles.begin(), doc.tiles.begin() + std::ptrdiff_t(unmapped.size())};
    }

    FractalState state;
    FractalWiring wiring{state, dialogs};
    std::vector<Tile> unmapped;
    bool undoBefore = false;
};

TEST_F(FractalPanelTest, PullRenderChangeRestoreCloseGivesTheTilesBackBitForBit)
{
    EXPECT_TRUE(!undoButton()->isEnabled() && state.colorShiftOn);
    dialogs.expectMessage("pull a reference circle");
    clickPanel("cmdRender");
    EXPECT_FALSE(state.fractalRendered);

    // The hue recolours the tiles until the panel closes.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(part<QScrollBar>("hscHue"), Qt::Key_PageDown);
    EXPECT_TRUE(state.hueShift == 90 && panel()->swatches().colrTo.pixel(45, 5) == qRgb(255, 0, 0));
    window->Form_Resize();
    EXPECT_EQ(shownAt(130, 130), shiftColour(0x30a050, 90, 0));

    drag({290, 265}, {380, 265}); // the reference circle
    EXPECT_NEAR(state.params.refCenterX, 290, 2);
    EXPECT_NEAR(state.params.refRadius, 90, 3);
    // The reference shape in red over the tiling: its centre and its rim at the left.
    EXPECT_TRUE(shownAt(290, 265) == kRed && shownAt(290 - state.params.refRadius, 265) == kRed);

    EXPECT_FALSE(wiring.exportScene(0, 0, 400, 300));
    clickPanel("cmdRender");
    // "save image" writes the rendering: the mapped reference centre in the area's middle.
    ImageSurface band(QSize(200, 100));
    band.setScale(1, 40, 40);
    band.clearAll(kWhite);
    wiring.exportScene(40, 40, 200, 100)(band, DrawSettings{});
    EXPECT_TRUE(band.pixel(100, 50) == 0x2040c0 && band.pixel(1, 1) == kWhite);
    const auto caption = [&] {
        return part<QPushButton>("cmdRender")->text() + QString::number(window->view().zoomPct());
    };
    EXPECT_EQ(caption(), "restore50");
    const std::vector<Tile> first = doc.tiles;
    ASSERT_NE(drawnTiles(), unmapped);

    // A slider step while rendered renders again at once, from the unmapped tiles: the
    // same as restoring and rendering afresh.
    QTest::keyClick(part<QScrollBar>("hscGranularity"), Qt::Key_Left);
    ASSERT_EQ(state.params.granularity, part<QScrollBar>("hscGranularity")->value());
    const std::vector<Tile> stepped = doc.tiles;
    EXPECT_NE(stepped, first);
    clickPanel("cmdRender");
    EXPECT_EQ(caption(), "render100");
    EXPECT_EQ(drawnTiles(), unmapped);
    clickPanel("cmdRender");
    EXPECT_EQ(doc.tiles, stepped);

    // Closing while rendered restores the tiles and appends nothing.
    const int tileCount = doc.tileCount();
    clickPanel("cmdClose");
    EXPECT_FALSE(panel()->isVisible() || state.fractalRendered || state.colorShiftOn);
    EXPECT_TRUE(doc.tileCount() == tileCount && drawnTiles() == unmapped);
    EXPECT_TRUE(undoButton()->isEnabled() == undoBefore && shownAt(130, 130) == 0x30a050);
}

// The controls show what their choices use; the handles shape the circle without touching a
// tile; a tile handed back and a selection while rendered act on the real tiles, which the
// next rendering starts from (loads and saves restore them first through the same hook,
// tested with the file commands).
TEST_F(FractalPanelTest, ControlsHandlesAndChangesWhileRendered)
{
    const auto shown = [&](const char *name) { return part(name)->isVisible(); };
    EXPECT_TRUE(shown("hscFalloff") && !shown("hscBase"));
    clickPanel("optExp");
    EXPECT_TRUE(!shown("hscFalloff") && shown("lblBase") &&
                state.params.method == MappingParams::Method::Exponential);
    clickPanel("chkCSenable");
    EXPECT_FALSE(shown("hscGranularity") || state.params.smoothing);
    clickPanel("chkPinch");
    EXPECT_TRUE(shown("hscPinch"));
    clickPanel("chkWave");
    EXPECT_FALSE(part<QCheckBox>("chkPinch")->isChecked() || shown("hscPinch") || !shown("hscPhi"));
    // The skeleton turns fills and sketches off and back on.
    const auto views = control<QListWidget>("lstViews");
    for (bool on : {false, true}) {
        clickPanel("chkBound");
        EXPECT_EQ(views->item(2)->isSelected() && views->item(3)->isSelected(), on);
    }

    drag({280, 250}, {370, 250}); // the reference circle
    const double r = state.params.refRadius;
    // The aspect handle, dragged out, then reset by the right button.
    drag({280 + r, 250}, {280 + 1.5 * r, 250});
    EXPECT_NEAR(state.params.refAspect, 1.5, 0.05);
    clickAt(280 + state.params.refAspect * r, 250, Qt::RightButton);
    EXPECT_EQ(state.params.refAspect, 1);
    drag({280, 250 - r}, {280, 250 - 40}); // the radius handle above the centre
    EXPECT_NEAR(state.params.refRadius, 40, 2);
    // The centre moves; the right button there sets the squareness slider to 1.
    drag({280, 250}, {300, 270});
    EXPECT_NEAR(state.params.refCenterX, 300, 2);
    clickAt(state.params.refCenterX, state.params.refCenterY, Qt::RightButton);
    EXPECT_EQ(part<QScrollBar>("hscSquare")->value() + state.keyFrames[0].squareValue, 2);
    EXPECT_EQ(state.keyFrames[0].centerX, state.params.refCenterX);
    // Nothing of this touched the tiles ("new tile" is the editor's current mode).
    EXPECT_TRUE(drawnTiles() == unmapped && window->newTile().newCount() == 0);

    clickPanel("cmdRender");
    doc.xfReturn = squareTile(600, 100, 40, 0x777777);
    window->takeHandBack(HandBack::Exit);
    const std::vector<Tile> handedBack = doc.tiles;
    EXPECT_TRUE(!state.fractalRendered && drawnTiles() == unmapped &&
                handedBack.back() == doc.xfReturn);
    clickPanel("cmdRender");
    clickPanel("cmdRender");
    EXPECT_EQ(doc.tiles, handedBack);
    clickPanel("cmdRender");
    click("cmdSelect");
    clickItem("lstSelect", 1); // "all"
    EXPECT_FALSE(state.fractalRendered);
    for (std::size_t i = 0; i < handedBack.size(); ++i)
        EXPECT_TRUE(doc.tiles[i].verts == handedBack[i].verts &&
                    (doc.tiles[i].selected != 0) == (doc.tiles[i].grid == GridRectangular))
            << i;
}

// Key frames added, stepped, wrapped and deleted with their enabling rules; runs on the
// screen and through files; the key-frame file through its buttons.
TEST_F(FractalPanelTest, KeyFramesAreEditedSteppedRunAndKeptInAFile)
{
    clickPanel("cmdAnimate");
    EXPECT_TRUE(panel()->animation()->isVisible());
    for (const char *name : {"cmdStep", "cmdRun", "cmdStop", "opt720", "chkAntiA"})
        EXPECT_FALSE(enabled(name)) << name;
    dialogs.expectMessage("pull a reference circle");
    clickPanel("cmdAddFrame");
    EXPECT_TRUE(dialogs.beeps == 1 && state.keyFrames.size() == 1);

    // A second key frame through the question an empty press asks, then its centre dragged.
    drag({200, 250}, {260, 250});
    dialogs.expectYesNo(Answer::Yes);
    clickAt(400, 250);
    EXPECT_EQ(dialogs.log.back().text, "Do you want a new keyframe?");
    EXPECT_EQ(text("lblFrames") + " " + text("lblFrameStatus"), "2 frame 11 of 11");
    EXPECT_TRUE(state.curKeyFrame == 1 && enabled("cmdStep") && enabled("cmdRun") &&
                std::abs(state.keyFrames[1].centerX - 400) <= 1);
    drag({400, 250}, {320, 250});
    EXPECT_TRUE(std::abs(state.keyFrames[1].centerX - 320) <= 1 &&
                std::abs(state.keyFrames[0].centerX - 200) <= 1);

    pasteFramesPerKey("2");
    EXPECT_EQ(text("lblFrameStatus"), "frame 3 of 3");
    clickPanel("cmdTo1");
    EXPECT_TRUE(state.curKeyFrame == 0 && std::abs(state.params.refCenterX - 200) <= 1);
    clickPanel("cmdStep");
    // The frame's shape in green, halfway along the path (the centre's drag left the
    // control points where they were).
    const PathPoint mid = pathPoint(state.keyFrames, 0, 0.5);
    EXPECT_TRUE(mid.x > 200 && shownAt(mid.x, mid.y - state.keyFrames[0].radius) == 0x00ff00);

    clickPanel("cmdRender");
    const bool whileRendered = enabled("cmdAddFrame") || enabled("cmdDeleteFrame");
    clickPanel("cmdRender");
    EXPECT_TRUE(!whileRendered && enabled("cmdAddFrame") && enabled("cmdDeleteFrame"));
    clickPanel("cmdDeleteFrame"); // key frame 0 stays
    EXPECT_EQ(dialogs.beeps, 2);
    pasteFramesPerKey("32766");
    // A third key frame would pass 32767 frames: refused, and nothing moves.
    const std::vector<KeyFrame> two = state.keyFrames;
    dialogs.expectYesNo(Answer::Yes);
    clickAt(450, 150);
    EXPECT_TRUE(dialogs.beeps == 3 && state.keyFrames == two);

    pasteFramesPerKey("3");
    clickPanel("cmdTo1");
    clickPanel("cmdRun"); // on the screen; the last step wraps to the first frame
    EXPECT_EQ(text("lblFrameStatus"), "frame 1 of 4");
    clickPanel("chkSaveFile");
    const auto files = [&] { return QDir(dir.path()).entryList({"movie*"}, QDir::Files); };
    dialogs.expectSaveFile(dir.filePath("movie.JPG").toStdString());
    // X once the first file is there: it is the only one. Meanwhile only X acts.
    std::vector<std::string> enabledDuringRun;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!QFile::exists(dir.filePath("movie000.jpg")) || !enabled("cmdStop"))
            return;
        for (const char *name : {"cmdAddFrame", "hscFrame", "txtFrameDivs", "cmdRun", "cmdTo1",
                                 "cmdRender", "cmdClose", "hscSize", "cmdStop"})
            if (enabled(name))
                enabledDuringRun.push_back(name);
        clickPanel("cmdStop");
    });
    poll.start(0);
    clickPanel("cmdRun");
    poll.stop();
    EXPECT_EQ(enabledDuringRun, std::vector<std::string>{"cmdStop"});
    EXPECT_TRUE(enabled("cmdRun") && enabled("hscSize") && !enabled("cmdStop") &&
                state.fractalRendered);
    EXPECT_EQ(files().join(' ') + ", " + text("lblFrameStatus"), "movie000.jpg, frame 2 of 4");
    // A file that cannot be written stops the run with its path; the editor is given back.
    const QString lost = dir.filePath("gone/movie");
    dialogs.expectSaveFile((lost + ".jpg").toStdString());
    dialogs.expectMessage(("file not saved\n" + lost + "001.jpg").toStdString());
    clickPanel("cmdRun");
    EXPECT_EQ(text("lblFrameStatus"), "frame 2 of 4");
    dialogs.expectSaveFile(std::nullopt); // a cancelled dialog starts nothing
    clickPanel("cmdRun");
    clickPanel("chkSaveFile");

    clickPanel("optExp"); // a live setting no key frame holds
    const QString path = dir.filePath("keys.json");
    dialogs.expectSaveFile(path.toStdString());
    clickPanel("cmdSaveKeys");
    const std::vector<KeyFrame> saved = state.keyFrames;
    clickPanel("cmdRender"); // the run left its last frame rendered
    QScrollBar *frames = part<QScrollBar>("hscFrame");
    QTest::mouseClick(frames, Qt::LeftButton, {}, {frames->width() - 4, frames->height() / 2});
    clickPanel("cmdDeleteFrame");
    EXPECT_EQ(text("lblFrames") + " " + text("lblFrameStatus"), "1 frame 1 of 1");
    EXPECT_FALSE(state.keyFrames.size() != 1 || enabled("cmdStep") || enabled("cmdRun"));
    clickPanel("optHyp");
    dialogs.expectOpenFile(path.toStdString());
    clickPanel("cmdLoadKeys");
    EXPECT_TRUE(state.keyFrames == saved && text("lblFrames") == "2" &&
                state.params.method == MappingParams::Method::Exponential);
    EXPECT_TRUE(dialogs.allConsumed());

    // A close request during a run waits for its step.
    clickPanel("cmdTo1");
    QTimer::singleShot(0, panel(), [&] { panel()->close(); });
    clickPanel("cmdRun");
    EXPECT_EQ(panel()->animation()->frameIndex(), 1);
    EXPECT_FALSE(panel()->isVisible() || state.colorShiftOn);
}

} // namespace
} // namespace tessella::test
