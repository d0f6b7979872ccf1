// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/editorexport.h"
#include "platform/scripteddialogs.h"
#include "tileeditor/canvaswidget.h"
#include "tileeditor/tileeditorwindow.h"

#include "tests/qtapp.h"
#include "tests/support/tilebuilder.h"
#include "tests/widgetdriver.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <tuple>
#include <vector>

namespace tessella::test {

// The real tile editor with "save image" wired as the program wires it and scripted
// dialogs. Every request reaches `engine`; without one it is reported written unwritten.
class SaveImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qtApp();
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
        paths = {dir.path(), "tessella", dir.filePath("config"), {}};
        doc = documentOf({squareTile(40, 40, 60), squareTile(100, 40, 60, 0x00aa00)});
        EditorHooks hooks;
        hooks.saveImage = [this] { exporter->command().saveImage(); };
        window = std::make_unique<TileEditorWindow>(doc, dialogs, paths, hooks);
        window->resize(900, 700);
        exporter = std::make_unique<EditorExport>(
            *window, dialogs, [this](const Document &d, const ExportRequest &r, ExportSink *s) {
                requests.push_back(r);
                return engine ? engine(d, r, s) : ExportResult{ExportResult::Status::Written, {}};
            });
        window->Form_Load({});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        EXPECT_TRUE(dialogs.allConsumed()) << dialogs.pending() << " dialogs never shown";
        exporter.reset();
        doc.closing = true;
        window.reset();
    }

    SaveImageCommand &command() { return exporter->command(); }

    // "save image" from the files list; the dialog answers `path`, then `message` is shown.
    void chooseSaveImage(const std::optional<std::string> &path,
                         std::optional<std::string> message = std::nullopt)
    {
        dialogs.expectSaveFile(path);
        if (message)
            dialogs.expectMessage(message);
        clickButton(window.get(), "cmdFiles");
        clickListItem(window.get(), "lstFiles", FileCommands::SaveImage);
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

    QTemporaryDir dir;
    Document doc;
    ScriptedDialogs dialogs;
    AppPaths paths;
    std::unique_ptr<TileEditorWindow> window;
    std::unique_ptr<EditorExport> exporter;
    std::vector<ExportRequest> requests;
    SaveImageCommand::Exporter engine;
};

} // namespace tessella::test
