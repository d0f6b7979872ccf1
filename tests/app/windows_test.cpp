// SPDX-License-Identifier: GPL-3.0-or-later
// The windows app/ wires, as the program wires them, driven with real pointer, key and
// button events: the file association question, the hand-over between the two editors,
// "save image" and the fractal panel. What the windows only pass on (the
// mapping, the export, the document rules) is tested in the other folders.
#include "app/commandline.h"
#include "app/editorexport.h"
#include "app/editorsession.h"
#include "app/fileassociationwindow.h"
#include "app/fractalwiring.h"
#include "document/colour.h"
#include "document/documentfile.h"
#include "output/export/imageexport.h"
#include "platform/imagesurface.h"
#include "platform/scripteddialogs.h"
#include "transform/sketchwindow.h"
#include "transform/xformcanvas.h"
#include "transform/xformwindow.h"

#include "tests/support/files.h"
#include "tests/tileeditor/windowfixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

#include <optional>
#include <tuple>

namespace tessella::test {
namespace {

// A real click on a named control: a push button in its middle, a check box or an option
// on its mark.
void clickControl(const QWidget *window, const char *name)
{
    QAbstractButton *button = findControl<QAbstractButton>(window, name);
    ASSERT_TRUE(button->isVisible()) << name;
    const QPoint at = qobject_cast<QPushButton *>(button) ? button->rect().center()
                                                          : QPoint(6, button->height() / 2);
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
}

// The window clicked with the real mouse: what it says, what it leaves on disk, whether
// the question comes back at the next start.
TEST(FileAssociationWindow, AnswersWriteTheAssociationAndTheMarkerAndReportFailures)
{
    qtApp();
    const std::string success = "Associated the file extension .mvl with this application";
    // clang-format off
    struct { const char *name; std::vector<const char *> buttons; std::optional<std::string> message;
             const char *blocker; bool closes, marker, association, asksAgain; } const cases[] = {
        {"yes", {"cmdYes"}, success, nullptr, true, true, true, false},
        {"yes after changing its mind", {"ChkDontAsk", "ChkDontAsk", "cmdYes"}, success, nullptr,
         true, true, true, false},
        // A failed association is not asked about again; a marker that cannot be written is.
        {"association fails", {"cmdYes"}, "Error: Creating Key!", "share/applications", true,
         true, false, false},
        {"marker fails", {"cmdYes"}, success, "config", true, false, true, true},
        {"don't ask: yes is disabled", {"ChkDontAsk", "cmdYes"}, {}, nullptr, false, false, false, true},
        {"don't ask, no", {"ChkDontAsk", "cmdNo"}, {}, nullptr, true, true, false, false},
        {"no", {"cmdNo"}, {}, nullptr, true, false, false, true},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString config = dir.filePath("config/tessella");
        ASSERT_TRUE(putFile(config + "/old-name.sem") && putFile(config + "/settings.ini"));
        // A file where a directory belongs.
        ASSERT_TRUE(!c.blocker || (QDir(dir.filePath(c.blocker)).removeRecursively() &&
                                   putFile(dir.filePath(c.blocker))));
        ScriptedDialogs dialogs;
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
        if (c.message)
            dialogs.expectMessage(*c.message);
        const FileAssociationSetup setup{
            {dir.filePath("share"), dir.filePath("my bin/tessella"), {}, {}},
            {config + "/tessella.sem", true}};
        FileAssociationWindow window(dialogs, setup);
        window.show();
        for (const char *name : c.buttons)
            QTest::mouseClick(window.findChild<QAbstractButton *>(name), Qt::LeftButton);
        EXPECT_TRUE(dialogs.allConsumed() && dialogs.log.size() == (c.message ? 1u : 0u));
        EXPECT_EQ(
            std::tuple(!window.isVisible(), QFileInfo(setup.marker.path).isFile(),
                       QFileInfo(dir.filePath("share/applications/tessella.desktop")).isFile(),
                       shouldOfferAssociation(setup.marker.path, {})),
            std::tuple(c.closes, c.marker, c.association, c.asksAgain));
        // "yes" replaces the old markers beside its own, and nothing else.
        const bool yes = c.closes && std::string(c.buttons.back()) == "cmdYes";
        EXPECT_TRUE(!c.marker || (QFileInfo::exists(config + "/old-name.sem") != yes &&
                                  QFileInfo::exists(config + "/settings.ini")));
    }
    EXPECT_FALSE(shouldOfferAssociation(QString(), "drawing.mvl")); // opened with a file
}

const Tile kKept = squareTile(20, 20, 40, 0x0000ff);     // never picked
const Tile kPicked = squareTile(100, 100, 40, 0x00ff00); // at editor (40, 40) once picked
const Tile kGone = squareTile(160, 20, 40, 0xff0000);    // deleted while the pick is open

using HandOver = ScriptedTest;

// An unpicked tile can be deleted while the picked one is open; "return to transform" before
// any hand-back removes no tile; the pending polygon is saved with its chain, and a new
// session that opens the file from the command line gives it back where it was left.
TEST_F(HandOver, ThePendingPolygonIsSavedAndReopensExactlyFromTheCommandLine)
{
    qtApp();
    QTemporaryDir dir;
    Document doc;
    std::unique_ptr<EditorSession> session;
    const auto start = [&](const QString &commandLine) {
        session.reset();
        doc = Document{};
        session = std::make_unique<EditorSession>(
            doc, dialogs, AppPaths{dir.path(), "tessella", dir.filePath("config"), {}});
        session->tileEditor().resize(900, 700);
        session->tileEditor().Form_Load(commandLine);
        session->tileEditor().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&session->tileEditor()));
        return &session->tileEditor();
    };
    const auto xform = [&] { return session->transformEditor(); };
    // A click, or a drag down to `toY`, at plane points.
    const auto clickOn = [](ViewportCanvas *canvas, double x, double y, double toY = -1) {
        QTest::mousePress(canvas, Qt::LeftButton, {}, canvas->toWidget(x, y));
        QTest::mouseMove(canvas, canvas->toWidget(x, toY < 0 ? y : toY));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, canvas->toWidget(x, toY < 0 ? y : toY));
    };
    const QString two = dir.filePath("two.mvl"), pending = dir.filePath("pending.mvl");
    writeDoc(two, documentOf({kGone, kKept, kPicked}));
    TileEditorWindow *editor = start({});
    dialogs.expectOpenFile(two.toStdString());
    clickButton(editor, "cmdFiles");
    clickListItem(editor, "lstFiles", FileCommands::LoadState);
    clickButton(editor, "cmdXform");
    clickOn(editor->canvas(), 120, 120); // the pick
    ASSERT_NE(xform(), nullptr);
    clickListItem(editor, "lstTiles", TileDelete);
    clickOn(editor->canvas(), 180, 40); // no refusal message
    clickButton(editor, "cmdXform");    // "return to transform"
    EXPECT_EQ(doc.tiles, std::vector<Tile>{kKept});

    // A translation link with one point added on the top edge and pulled up by 10.
    XformCanvas *canvas = xform()->canvas();
    clickButton(xform(), "cmdXforms");
    clickListItem(xform(), "lstXforms", XformTranslate);
    clickOn(canvas, 60, 40);
    clickOn(canvas, 60, 40);
    clickOn(canvas, 60, 40, 30);
    ASSERT_EQ(xform()->chain().countPoints(), 6);
    const std::vector<NodeRecord> chain = xform()->chain().saveChain();
    clickButton(xform(), "cmdReturn");
    ASSERT_TRUE(editor->isVisible());
    dialogs.expectSaveFile(pending.toStdString());
    dialogs.expectMessage("saved as:\n" + pending.toStdString());
    clickButton(editor, "cmdFiles");
    clickListItem(editor, "lstFiles", FileCommands::SaveState);
    const LoadedFile file = loadDocumentFile(pending);
    const Document &saved = file.doc;
    ASSERT_TRUE(file.report.ok);
    ASSERT_EQ(saved.tileCount(), 2);
    EXPECT_TRUE(saved.tiles[0] == kKept && saved.curTile == 1 && saved.tiles[1].nVerts == 6 &&
                saved.tiles[1].verts[0] == kPicked.verts[0]);
    EXPECT_EQ(saved.nodeRecs, chain);

    // A new session opens the file before its window is first shown.
    editor = start(pending);
    ASSERT_EQ(doc.tileCount(), 3); // and the empty start-up tile
    EXPECT_EQ(doc.curTile, 1);
    clickButton(editor, "cmdXform");
    ASSERT_TRUE(doc.tileCount() == 2 && doc.tiles[0] == kKept && xform());
    EXPECT_EQ(xform()->chain().saveChain(), chain);
    clickButton(xform(), "cmdReturn");
    ASSERT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(doc.tiles[2].verts, saved.tiles[1].verts) << "back where it was left";
}

const QPoint kFrom(200, 150);

// The real tile editor with "save image" wired as the program wires it, through every
// outcome. A cancelled dialog (the path is kept for the next time), an unknown type, "enter"
// on an empty area (a beep; the print setup cannot be closed before it) and a closed
// quality window write nothing and give the editor back as it was.
TEST_F(WindowTest, SaveImageGivesTheEditorBackAfterEveryOutcomeAndWritesTheTypedArea)
{
    doc = documentOf({squareTile(40, 40, 60), squareTile(100, 40, 60, 0x00aa00)});
    // Every request reaches `engine`; without one it is reported written, and nothing is.
    std::vector<ExportRequest> requests;
    SaveImageCommand::Exporter engine;
    std::unique_ptr<EditorExport> exporter;
    EditorHooks hooks;
    hooks.saveImage = [&] { exporter->command().saveImage(); };
    makeWindow(hooks);
    exporter = std::make_unique<EditorExport>(
        *window, dialogs, [&](const Document &d, const ExportRequest &r, ExportSink *s) {
            requests.push_back(r);
            return engine ? engine(d, r, s) : ExportResult{ExportResult::Status::Written, {}};
        });
    SaveImageCommand &command = exporter->command();
    start();
    // "save image" from the files list; the dialog answers `path`, then `message` is shown.
    const auto chooseSaveImage = [&](const std::optional<std::string> &path,
                                     const std::optional<std::string> &message = std::nullopt) {
        dialogs.expectSaveFile(path);
        if (message)
            dialogs.expectMessage(*message);
        click("cmdFiles");
        clickItem("lstFiles", FileCommands::SaveImage);
    };
    // A real left-button drag on the canvas between widget pixels, then "enter".
    const auto pull = [&](QPoint from, QPoint to, bool enter = true) {
        QTest::mousePress(window->canvas(), Qt::LeftButton, {}, from);
        QTest::mouseMove(window->canvas(), to);
        QTest::mouseRelease(window->canvas(), Qt::LeftButton, {}, to);
        if (enter)
            clickButton(command.printSetupWindow(), "cmdEnter");
    };
    const auto done = [&] { return QTest::qWaitFor([&] { return !command.busy(); }, 20000); };
    // The quality window's option, then "OK", and the export run to its end.
    const auto chooseQuality = [&](const char *option) {
        ASSERT_NE(command.qualityWindow(), nullptr);
        clickControl(command.qualityWindow(), option);
        clickButton(command.qualityWindow(), "cmdOK");
        ASSERT_TRUE(done());
    };
    // The view as the user sees it: zoom, canvas position, caption.
    const auto shownView = [&] {
        return std::tuple(window->view().zoomPct(), window->canvas()->canvasOffset(),
                          window->windowTitle());
    };

    key(Qt::Key_Period);
    auto before = shownView();
    const std::pair<std::optional<std::string>, std::optional<std::string>> refusals[] = {
        {std::nullopt, std::nullopt},
        {dir.filePath("a.JPG").toStdString(), ".JPG is not a recognized file type"}};
    for (const auto &[path, message] : refusals) {
        chooseSaveImage(path, message);
        EXPECT_FALSE(command.busy() || window->locked());
        EXPECT_EQ(shownView(), before);
        EXPECT_EQ(command.imagePath().toStdString(), path.value_or(""));
    }
    chooseSaveImage(dir.filePath("a.bmp").toStdString());
    PrintSetupWindow *setup = command.printSetupWindow();
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(window->locked() && !control<QWidget>("cmdFiles")->isEnabled());
    EXPECT_DOUBLE_EQ(window->view().zoomPct(), 50);
    clickButton(setup, "cmdEnter");     // nothing pulled
    pull(kFrom, kFrom + QPoint(90, 0)); // no height
    EXPECT_EQ(dialogs.beeps, 2);
    setup->close();
    EXPECT_TRUE(setup->isVisible());
    pull(kFrom, kFrom + QPoint(60, 40));
    EXPECT_FALSE(setup->isVisible());
    command.qualityWindow()->close();
    ASSERT_TRUE(done());
    EXPECT_TRUE(requests.empty() && !window->locked());
    EXPECT_EQ(shownView(), before);

    // Each pass: the quality's zoom and the view's "heavy" reach the engine, its outcome is
    // shown as it is, and the view comes back at 100 %, redrawn.
    key(Qt::Key_Slash);
    before = shownView();
    using S = ExportResult::Status;
    // clang-format off
    struct { const char *option; int zoom; bool heavy; S status; const char *message; } const cases[] = {
        {"opt100", 1, false, S::Written, ""}, {"opt200", 2, true, S::Failed, "file not saved\nx"},
        {"opt800", 8, false, S::Cancelled, ""}};
    // clang-format on
    const std::string path = dir.filePath("a.jpg").toStdString();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.option);
        if (c.heavy != window->heavyLines()) // the view list's "heavy"
            click("cmdView"), clickItem("lstViews", 0), before = shownView();
        requests.clear();
        engine = [&](auto &&...) { return ExportResult{c.status, QString(c.message)}; };
        chooseSaveImage(path);
        pull(kFrom, kFrom + QPoint(50, 25));
        if (c.status != S::Cancelled)
            dialogs.expectMessage(c.status == S::Written ? "saved as:\n" + path : c.message);
        chooseQuality(c.option);
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(std::tuple(requests[0].qualityZoom, requests[0].heavy, requests[0].area),
                  std::tuple(c.zoom, c.heavy, PrintArea{400, 300, 500, 350}));
        EXPECT_EQ(shownView(), before);
        EXPECT_TRUE(control<QWidget>("cmdFiles")->isEnabled() && shownAt(70, 70) == kTileColour);
    }

    // At 50 % a widget pixel is two plane units: a pull from (10, 10) 50 pixels right at the
    // typed aspect of 10 : 5 is the area from (20, 20) to (120, 70); "best" quality (zoom 4,
    // halved by the smoothing) gives 2 file pixels per unit. The pull's own arithmetic is
    // tested without the windows.
    engine = exportImage;
    const QString png = dir.filePath("a.png");
    chooseSaveImage(png.toStdString());
    setup = command.printSetupWindow();
    ASSERT_NE(setup, nullptr);
    clickControl(setup, "optConstrain");
    for (const auto &[box, text] : {std::pair{"txtWidth", "10"}, {"txtHeight", "5"}}) {
        QWidget *edit = findControl<QWidget>(setup, box);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }
    pull(QPoint(10, 10), QPoint(60, 20), false);
    const AreaPull &area = setup->pull(); // the rubber band reaches the moving corner
    EXPECT_EQ(window->canvas()->surface().pixel(int(area.cornerX() / 2), int(area.cornerY() / 2)),
              kRed);
    clickButton(setup, "cmdEnter");
    dialogs.expectMessage("saved as:\n" + png.toStdString());
    chooseQuality("opt400");
    const auto &kept = command.aspectSettings();
    EXPECT_TRUE(kept.fixedAspect == 1 && kept.aspectWidth == 10 && kept.aspectHeight == 5);
    const QImage image(png);
    ASSERT_EQ(image.size(), QSize(200, 100));
    // Plane points inside the first and second tile and outside both, from corner (20, 20).
    auto at = [&](int x, int y) { return image.pixel((x - 20) * 2, (y - 20) * 2); };
    EXPECT_EQ(at(60, 50), toQColor(kTileColour).rgb());
    EXPECT_EQ(at(110, 50), toQColor(0x00aa00).rgb());
    EXPECT_EQ(at(22, 22), qRgb(255, 255, 255));

    // A poster cancelled from its status window writes nothing and leaves the old file.
    const QString poster = dir.filePath("poster.jpg");
    ASSERT_TRUE(putFile(poster, "old picture"));
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        StatusWindow *status = command.statusWindow();
        if (status && status->isVisible())
            QTest::mouseClick(findControl<QPushButton>(status, "Command1"), Qt::LeftButton);
    });
    clicker.start(5);
    chooseSaveImage(poster.toStdString());
    pull(QPoint(5, 5), QPoint(600, 450)); // some 9000 x 4500 pixels
    chooseQuality("opt800");
    EXPECT_EQ(requests.size(), 3u); // the last pass, the typed area, the poster
    EXPECT_EQ(fileBytes(poster), "old picture");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_EQ(shownView(), before);
}

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
    void clickPanel(const char *name) { clickControl(panel(), name); }
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
    EXPECT_TRUE(std::abs(state.params.refCenterX - 290) <= 2 &&
                std::abs(state.params.refRadius - 90) <= 3);
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
    for (const char *name : {"optExp", "chkCSenable", "chkPinch"})
        clickPanel(name);
    EXPECT_TRUE(shown("hscPinch") && !shown("hscFalloff") && shown("lblBase") &&
                !shown("hscGranularity") && !state.params.smoothing &&
                state.params.method == MappingParams::Method::Exponential);
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

// Key frames added, stepped and deleted with their enabling rules; runs on the screen
// (wrapping to the first frame) and into files; the key-frame file through its buttons.
TEST_F(FractalPanelTest, KeyFramesAreEditedSteppedRunAndKeptInAFile)
{
    clickPanel("cmdAnimate");
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
    pasteFramesPerKey("0.5"); // emptied, the old number stays, the box takes the next text
    EXPECT_TRUE(part<QLineEdit>("txtFrameDivs")->text().isEmpty() &&
                panel()->animation()->framesPerKey() == 2);
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
        if (!window->locked()) // the editor's commands would change the tiles
            enabledDuringRun.push_back("the tile editor");
        clickPanel("cmdStop");
    });
    poll.start(0);
    clickPanel("cmdRun");
    poll.stop();
    EXPECT_EQ(enabledDuringRun, std::vector<std::string>{"cmdStop"});
    EXPECT_TRUE(enabled("cmdRun") && enabled("hscSize") && !enabled("cmdStop") &&
                state.fractalRendered && !window->locked());
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

    // A close request during a run waits for its step.
    clickPanel("cmdTo1");
    QTimer::singleShot(0, panel(), [&] { panel()->close(); });
    clickPanel("cmdRun");
    EXPECT_EQ(panel()->animation()->frameIndex(), 1);
    EXPECT_FALSE(panel()->isVisible() || state.colorShiftOn);
    // So does the editor's, though the run keeps its commands locked: the program closes.
    clickControl(window.get(), "cmdFrac");
    clickPanel("cmdAnimate");
    QTimer::singleShot(0, window.get(), [&] { window->close(); });
    clickPanel("cmdRun");
    EXPECT_TRUE(doc.closing && !window->isVisible() && panel()->animation()->frameIndex() == 2);
}

// Every named button, slider and text box, and every entry of a named list, explains itself
// when hovered and says the same to a screen reader.
TEST_F(FractalPanelTest, EveryControlOfEveryWindowHasATooltip)
{
    XformWindow xform(doc, dialogs);
    const std::pair<const char *, QWidget *> windows[] = {
        {"tile editor", window.get()},
        {"transform editor", &xform},
        {"sketch palette", new SketchWindow(xform, dialogs, &xform)},
        {"fractal panel", panel()}};
    for (const auto &[title, w] : windows)
        for (const QWidget *c : w->findChildren<QWidget *>()) {
            const std::string name = c->objectName().toStdString();
            if (name.empty() || name.starts_with("qt_"))
                continue;
            if (const auto *list = qobject_cast<const QListWidget *>(c)) {
                for (int row = 0; row < list->count(); ++row) {
                    const QListWidgetItem *item = list->item(row);
                    EXPECT_TRUE((item->text().isEmpty() || !item->toolTip().isEmpty()) &&
                                item->data(Qt::AccessibleDescriptionRole).toString() ==
                                    item->toolTip())
                        << title << ' ' << name << " row " << row;
                }
            } else if (qobject_cast<const QAbstractButton *>(c) ||
                       qobject_cast<const QAbstractSlider *>(c) ||
                       qobject_cast<const QLineEdit *>(c)) {
                EXPECT_TRUE(!c->toolTip().isEmpty() && c->accessibleDescription() == c->toolTip())
                    << title << ' ' << name;
            }
        }
}

} // namespace
} // namespace tessella::test
