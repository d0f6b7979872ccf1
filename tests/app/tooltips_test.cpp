// SPDX-License-Identifier: GPL-3.0-or-later
// Every control a user operates explains itself when hovered, and says the same to a
// screen reader.
#include "app/fractalwiring.h"
#include "platform/scripteddialogs.h"
#include "tileeditor/tileeditorwindow.h"
#include "transform/sketchwindow.h"
#include "transform/xformwindow.h"

#include "tests/qtapp.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace tessella {
namespace {

class TooltipTest;

struct WindowCase
{
    const char *name;
    std::function<QWidget *(TooltipTest &)> open;
};

class TooltipTest : public ::testing::TestWithParam<WindowCase>
{
public:
    QWidget *tileEditor()
    {
        AppPaths paths;
        paths.appDir = dir.path();
        paths.exeName = "tessella";
        paths.configDir = dir.filePath("config");
        tiles = std::make_unique<TileEditorWindow>(doc, dialogs, paths);
        return tiles.get();
    }
    XformWindow *xformEditor()
    {
        xform = std::make_unique<XformWindow>(doc, dialogs);
        return xform.get();
    }
    QWidget *sketchPalette() { return new SketchWindow(*xformEditor(), dialogs); }
    QWidget *fractalPanel()
    {
        fractal = std::make_unique<FractalPanel>(fractalState, wiring, dialogs);
        return fractal.get();
    }

protected:
    void SetUp() override { test::qtApp(); }
    void TearDown() override
    {
        doc.closing = true;
        fractal.reset();
        xform.reset();
        tiles.reset();
    }

    QTemporaryDir dir;
    Document doc;
    ScriptedDialogs dialogs;
    std::unique_ptr<TileEditorWindow> tiles;
    std::unique_ptr<XformWindow> xform;
    FractalState fractalState;
    FractalWiring wiring{fractalState, dialogs};
    std::unique_ptr<FractalPanel> fractal;
};

// The user's controls: every named button, scroll bar and text box (Qt's own helpers,
// such as the scroll bars inside a list, are unnamed or named "qt_...").
bool isControl(const QWidget *w)
{
    const QString name = w->objectName();
    if (name.isEmpty() || name.startsWith("qt_"))
        return false;
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QAbstractSlider *>(w) ||
           qobject_cast<const QLineEdit *>(w) || qobject_cast<const QListWidget *>(w);
}

TEST_P(TooltipTest, EveryControlAndListEntryHasOne)
{
    QWidget *window = GetParam().open(*this);
    int controls = 0;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!isControl(w))
            continue;
        ++controls;
        const std::string name = w->objectName().toStdString();
        if (const auto *list = qobject_cast<const QListWidget *>(w)) {
            for (int row = 0; row < list->count(); ++row) {
                const QListWidgetItem *item = list->item(row);
                if (item->text().isEmpty())
                    continue; // the separators do nothing
                const QString tip = item->toolTip();
                EXPECT_FALSE(tip.isEmpty()) << name << " \"" << item->text().toStdString() << '"';
                EXPECT_EQ(item->data(Qt::AccessibleDescriptionRole).toString(), tip) << name;
            }
            continue;
        }
        EXPECT_FALSE(w->toolTip().isEmpty()) << name;
        EXPECT_EQ(w->accessibleDescription(), w->toolTip()) << name;
    }
    EXPECT_GT(controls, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, TooltipTest,
    ::testing::Values(
        WindowCase{"TileEditor", [](TooltipTest &t) { return t.tileEditor(); }},
        WindowCase{"TransformEditor", [](TooltipTest &t) -> QWidget * { return t.xformEditor(); }},
        WindowCase{"SketchPalette", [](TooltipTest &t) { return t.sketchPalette(); }}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tessella
