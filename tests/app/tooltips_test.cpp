// SPDX-License-Identifier: GPL-3.0-or-later
// Every control a user operates explains itself when hovered, and says the same to a
// screen reader.
#include "app/fractalwiring.h"
#include "transform/sketchwindow.h"
#include "transform/xformwindow.h"

#include "tests/tileeditor/windowfixture.h"

#include <QAbstractSlider>
#include <QLineEdit>

namespace tessella::test {
namespace {

// Named buttons, scroll bars and text boxes, and the entries of named lists (Qt's own
// helpers inside them are unnamed or "qt_...").
void expectEveryControlTipped(const QWidget *window)
{
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        const std::string name = w->objectName().toStdString();
        if (name.empty() || name.starts_with("qt_"))
            continue;
        if (const auto *list = qobject_cast<const QListWidget *>(w)) {
            for (int row = 0; row < list->count(); ++row) {
                const QListWidgetItem *item = list->item(row);
                const QString tip = item->toolTip();
                EXPECT_TRUE((item->text().isEmpty() || !tip.isEmpty()) &&
                            item->data(Qt::AccessibleDescriptionRole).toString() == tip)
                    << name << " row " << row;
            }
        } else if (qobject_cast<const QAbstractButton *>(w) ||
                   qobject_cast<const QAbstractSlider *>(w) || qobject_cast<const QLineEdit *>(w)) {
            EXPECT_TRUE(!w->toolTip().isEmpty() && w->accessibleDescription() == w->toolTip())
                << name;
        }
    }
}

TEST_F(WindowTest, EveryControlOfEveryWindowHasATooltip)
{
    XformWindow xform(doc, dialogs);
    FractalState fractal;
    FractalWiring wiring(fractal, dialogs);
    FractalPanel panel(fractal, wiring, dialogs);
    const std::pair<const char *, QWidget *> windows[] = {
        {"tile editor", window.get()},
        {"transform editor", &xform},
        {"sketch palette", new SketchWindow(xform, dialogs, &xform)},
        {"fractal panel", &panel},
    };
    for (const auto &[name, w] : windows) {
        SCOPED_TRACE(name);
        expectEveryControlTipped(w);
    }
}

} // namespace
} // namespace tessella::test
