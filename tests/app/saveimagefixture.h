// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/editorexport.h"

#include "tests/tileeditor/windowfixture.h"

#include <optional>
#include <tuple>
#include <vector>

namespace tessella::test {

// The real tile editor with "save image" wired as the program wires it. Every request
// reaches `engine`; without one it is reported written, and nothing is written.
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
    void TearDown() override
    {
        exporter.reset();
        WindowTest::TearDown();
    }

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

    // A real left-button drag on the canvas between widget pixels.
    void pullOnCanvas(QPoint from, QPoint to)
    {
        QWidget *canvas = window->canvas();
        QTest::mousePress(canvas, Qt::LeftButton, {}, from);
        QTest::mouseMove(canvas, (from + to) / 2);
        QTest::mouseMove(canvas, to);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
    }
    void pullAndEnter(QPoint from, QPoint to)
    {
        pullOnCanvas(from, to);
        clickButton(command().printSetupWindow(), "cmdEnter");
    }

    // A real click on an option button's indicator.
    static void clickOption(const QWidget *window, const char *name)
    {
        QWidget *option = findControl<QWidget>(window, name);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    }
    // The quality window's option, then "OK".
    void chooseQuality(const char *option)
    {
        QualityWindow *quality = command().qualityWindow();
        ASSERT_NE(quality, nullptr);
        clickOption(quality, option);
        clickButton(quality, "cmdOK");
    }

    bool waitUntilDone()
    {
        return QTest::qWaitFor([this] { return !command().busy(); }, 20000);
    }

    // The view as the user sees it: zoom, canvas position, caption.
    auto shownView() const
    {
        return std::tuple(window->view().zoomPct(), window->canvas()->canvasOffset(),
                          window->windowTitle());
    }

    std::unique_ptr<EditorExport> exporter;
    std::vector<ExportRequest> requests;
    SaveImageCommand::Exporter engine;
};

} // namespace tessella::test
