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
#include <vector>

namespace tessella::test {

// The real tile editor with "save image" wired as the program wires it, scripted dialogs,
// and an exporter that records each request (and by default writes nothing) unless the
// test runs the real engine.
class SaveImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qtApp();
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
        paths.appDir = dir.path();
        paths.exeName = "tessella";
        paths.configDir = dir.filePath("config");
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

    // "save image" from the files list, the save dialog answering `path`; a message box
    // with `message` is expected right after it when given.
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

    // The print area up to "enter": pulled between widget pixels, then "enter" clicked.
    void pullAndEnter(QPoint from, QPoint to)
    {
        pullOnCanvas(from, to);
        clickButton(command().printSetupWindow(), "cmdEnter");
    }

    // Waits until the export has given the editor back.
    bool waitUntilDone()
    {
        return QTest::qWaitFor([this] { return !command().busy(); }, 20000);
    }

    // The view as the user sees it: zoom and canvas position.
    struct ShownView
    {
        double zoomPct;
        QPoint offset;
        QString caption;
        friend bool operator==(const ShownView &, const ShownView &) = default;
    };
    ShownView shownView() const
    {
        return {window->view().zoomPct(), window->canvas()->canvasOffset(), window->windowTitle()};
    }

    QTemporaryDir dir;
    Document doc;
    ScriptedDialogs dialogs;
    AppPaths paths;
    std::unique_ptr<TileEditorWindow> window;
    std::unique_ptr<EditorExport> exporter;
    std::vector<ExportRequest> requests;
    SaveImageCommand::Exporter engine; // empty: report Written without writing
};

} // namespace tessella::test
