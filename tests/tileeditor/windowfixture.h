// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/mvlformat.h"
#include "platform/scripteddialogs.h"
#include "tileeditor/canvaswidget.h"
#include "tileeditor/tileeditorwindow.h"

#include "tests/qtapp.h"
#include "tests/widgetdriver.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace tessella::testing {

inline QApplication &testApp()
{
    return tessella::test::qtApp();
}

inline Tile squareTile(double x, double y, double side, Colour colour,
                       int16_t grid = GridRectangular)
{
    Tile t;
    t.setCorners({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}});
    t.color = colour;
    t.grid = grid;
    return t;
}

// The real tile editor window, offscreen, with scripted dialogs and paths of its own.
class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testApp();
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
        paths.appDir = dir.path();
        paths.exeName = "tessella";
        paths.configDir = dir.filePath("config");
        window = std::make_unique<TileEditorWindow>(doc, dialogs, paths);
        window->resize(900, 700);
    }

    void TearDown() override
    {
        EXPECT_TRUE(dialogs.allConsumed()) << dialogs.pending() << " dialogs never shown";
        doc.closing = true;
        window.reset();
    }

    // Start-up as the program does it, then the window is shown.
    void start(const QString &commandLine = {})
    {
        window->Form_Load(commandLine);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <class T> T *control(const char *name) const
    {
        return tessella::test::findControl<T>(window.get(), name);
    }
    void click(const char *button) { tessella::test::clickButton(window.get(), button); }
    void clickItem(const char *listName, int row)
    {
        tessella::test::clickListItem(window.get(), listName, row);
    }

    // Canvas widget pixel of a plane point.
    QPoint widgetPixel(double x, double y) const
    {
        CanvasWidget *canvas = window->canvas();
        const double zoom = window->view().zoom();
        return {static_cast<int>(std::floor(x * zoom)) - canvas->canvasOffset().x(),
                static_cast<int>(std::floor(y * zoom)) - canvas->canvasOffset().y()};
    }

    Colour shownAt(double x, double y) const
    {
        const QPoint p = widgetPixel(x, y);
        return window->canvas()->surface().pixel(p.x() + window->canvas()->canvasOffset().x(),
                                                 p.y() + window->canvas()->canvasOffset().y());
    }

    QString writeDocument(const QString &name, const Document &d)
    {
        const auto bytes = tessella::writeDocument(d);
        EXPECT_TRUE(bytes.has_value());
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char *>(bytes->data()), static_cast<qint64>(bytes->size()));
        return dir.filePath(name);
    }

    QTemporaryDir dir;
    Document doc;
    ScriptedDialogs dialogs;
    AppPaths paths;
    std::unique_ptr<TileEditorWindow> window;
};

} // namespace tessella::testing
