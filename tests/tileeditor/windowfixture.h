// SPDX-License-Identifier: GPL-3.0-or-later
// The real tile editor window, offscreen, with scripted dialogs, driven with real mouse
// and key events. Pointer positions are plane points.
#pragma once

#include "editorfixture.h"

#include "platform/apppaths.h"
#include "tileeditor/canvaswidget.h"
#include "tileeditor/tileeditorwindow.h"

#include "tests/qtapp.h"
#include "tests/widgetdriver.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace tessella::test {

class WindowTest : public ScriptedTest
{
protected:
    void SetUp() override
    {
        ScriptedTest::SetUp();
        qtApp();
        paths.appDir = dir.path();
        paths.exeName = "tessella";
        paths.configDir = dir.filePath("config");
        makeWindow({});
    }
    void TearDown() override
    {
        ScriptedTest::TearDown();
        doc.closing = true;
        window.reset();
    }

public:
    void makeWindow(EditorHooks hooks)
    {
        window = std::make_unique<TileEditorWindow>(doc, dialogs, paths, hooks);
        window->resize(900, 700);
    }
    // Start-up as the program does it (it appends the empty tile), then shown.
    void start(const QString &commandLine = {})
    {
        window->Form_Load(commandLine);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <class T> T *control(const char *name) const
    {
        return findControl<T>(window.get(), name);
    }
    void click(const char *button) { clickButton(window.get(), button); }
    void clickItem(const char *list, int row) { clickListItem(window.get(), list, row); }
    void key(Qt::Key k) { QTest::keyClick(window.get(), k); }

    // Canvas widget pixel of a plane point.
    QPoint widgetPixel(double x, double y) const
    {
        const double zoom = window->view().zoom();
        const QPoint offset = window->canvas()->canvasOffset();
        return {int(std::floor(x * zoom)) - offset.x(), int(std::floor(y * zoom)) - offset.y()};
    }
    // clang-format off
    void press(double x, double y, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(window->canvas(), b, {}, widgetPixel(x, y)); }
    void move(double x, double y) { QTest::mouseMove(window->canvas(), widgetPixel(x, y)); }
    void release(double x, double y, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(window->canvas(), b, {}, widgetPixel(x, y)); }
    void clickAt(double x, double y, Qt::MouseButton b = Qt::LeftButton) { press(x, y, b), release(x, y, b); }
    void drag(Vertex from, Vertex to) { press(from.x, from.y), move(to.x, to.y), release(to.x, to.y); }
    // clang-format on
    // The colour the canvas shows at a plane point.
    Colour shownAt(double x, double y) const
    {
        const QPoint p = widgetPixel(x, y) + window->canvas()->canvasOffset();
        return window->canvas()->surface().pixel(p.x(), p.y());
    }
    QString title() const { return window->windowTitle(); }
    QPushButton *undoButton() const { return control<QPushButton>("cmdUnReDo"); }

    QTemporaryDir dir;
    Document doc;
    AppPaths paths;
    std::unique_ptr<TileEditorWindow> window;
};

} // namespace tessella::test
