// SPDX-License-Identifier: GPL-3.0-or-later
// "save image" through the real tile editor and the real print setup and quality windows,
// driven with real events. The file types, sizes and failures belong to tests/output; here
// the windows' protocol, and one file written by the real engine and read back.
#include "app/editorexport.h"
#include "platform/imagesurface.h"

#include "tests/support/files.h"
#include "tests/tileeditor/windowfixture.h"

#include <QDir>
#include <QTimer>

#include <optional>
#include <tuple>

namespace tessella::test {
namespace {

const QPoint kFrom(200, 150);

// The real tile editor with "save image" wired as the program wires it. Every
// request reaches `engine`; without one it is reported written, and nothing is written.
class SaveImageTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        doc = documentOf({squareTile(40, 40, 60), squareTile(100, 40, 60, 0x00aa00)});
        EditorHooks hooks;
        hooks.saveImage = [this] { exporter->command().saveImage(); };
        makeWindow(hooks);
        exporter = std::make_unique<EditorExport>(
            *window, dialogs, [this](const Document &d, const ExportRequest &r, ExportSink *s) {
                requests.push_back(r);
                return engine ? engine(d, r, s) : ExportResult{ExportResult::Status::Written, {}};
            });
        start();
    }
    void TearDown() override { exporter.reset(), WindowTest::TearDown(); }
    SaveImageCommand &command() { return exporter->command(); }

    // "save image" from the files list; the dialog answers `path`, then `message` is shown.
    void chooseSaveImage(const std::optional<std::string> &path,
                         std::optional<std::string> message = std::nullopt)
    {
        dialogs.expectSaveFile(path);
        if (message)
            dialogs.expectMessage(message);
        click("cmdFiles");
        clickItem("lstFiles", FileCommands::SaveImage);
    }
    // A real left-button drag on the canvas between widget pixels, then "enter".
    void pull(QPoint from, QPoint to, bool enter = true)
    {
        QTest::mousePress(window->canvas(), Qt::LeftButton, {}, from);
        QTest::mouseMove(window->canvas(), (from + to) / 2);
        QTest::mouseMove(window->canvas(), to);
        QTest::mouseRelease(window->canvas(), Qt::LeftButton, {}, to);
        if (enter)
            clickButton(command().printSetupWindow(), "cmdEnter");
    }
    static void clickOption(const QWidget *window, const char *name)
    {
        QWidget *option = findControl<QWidget>(window, name);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    }
    // The quality window's option, then "OK", and the export run to its end.
    void chooseQuality(const char *option)
    {
        QualityWindow *quality = command().qualityWindow();
        ASSERT_NE(quality, nullptr);
        clickOption(quality, option);
        clickButton(quality, "cmdOK");
        ASSERT_TRUE(QTest::qWaitFor([this] { return !command().busy(); }, 20000));
    }
    // The view as the user sees it: zoom, canvas position, caption.
    std::tuple<double, QPoint, QString> shownView() const
    {
        return {window->view().zoomPct(), window->canvas()->canvasOffset(), window->windowTitle()};
    }

    std::unique_ptr<EditorExport> exporter;
    std::vector<ExportRequest> requests;
    SaveImageCommand::Exporter engine;
};

// One editor through every outcome. A cancelled dialog (the path is kept for the next
// time), an unknown type, "enter" on an empty area (a beep; the print setup cannot be closed
// before it) and a closed quality window write nothing and give the editor back as it was.
TEST_F(SaveImageTest, EveryOutcomeGivesTheEditorBackAndTheRealEngineWritesTheTypedArea)
{
    key(Qt::Key_Period);
    auto before = shownView();
    const std::pair<std::optional<std::string>, std::optional<std::string>> refusals[] = {
        {std::nullopt, std::nullopt},
        {dir.filePath("a.JPG").toStdString(), ".JPG is not a recognized file type"}};
    for (const auto &[path, message] : refusals) {
        chooseSaveImage(path, message);
        EXPECT_FALSE(command().busy() || window->lockedForExport());
        EXPECT_EQ(shownView(), before);
        EXPECT_EQ(command().imagePath().toStdString(), path.value_or(""));
    }
    chooseSaveImage(dir.filePath("a.bmp").toStdString());
    PrintSetupWindow *setup = command().printSetupWindow();
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(window->lockedForExport() && !control<QWidget>("cmdFiles")->isEnabled());
    EXPECT_DOUBLE_EQ(window->view().zoomPct(), 50);
    clickButton(setup, "cmdEnter");     // nothing pulled
    pull(kFrom, kFrom + QPoint(90, 0)); // no height
    EXPECT_EQ(dialogs.beeps, 2);
    setup->close();
    EXPECT_TRUE(setup->isVisible());
    pull(kFrom, kFrom + QPoint(60, 40));
    EXPECT_FALSE(setup->isVisible());
    command().qualityWindow()->close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !command().busy(); }, 20000));
    EXPECT_TRUE(requests.empty() && !window->lockedForExport());
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
        if (c.heavy != window->heavyLines()) {
            click("cmdView");
            clickItem("lstViews", 0);
            before = shownView();
        }
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
    setup = command().printSetupWindow();
    ASSERT_NE(setup, nullptr);
    clickOption(setup, "optConstrain");
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
    const auto &kept = command().aspectSettings();
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
        StatusWindow *status = command().statusWindow();
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

} // namespace
} // namespace tessella::test
