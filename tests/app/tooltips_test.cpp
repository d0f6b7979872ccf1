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
TEST_F(WindowTest, EveryControlOfEveryWindowHasATooltip)
{
    XformWindow xform(doc, dialogs);
    FractalState fractal;
    FractalWiring wiring(fractal, dialogs);
    FractalPanel panel(fractal, wiring, dialogs);
    const QWidget *windows[] = {window.get(), &xform, new SketchWindow(xform, dialogs, &xform),
                                &panel};
    for (const QWidget *w : windows)
        for (const QWidget *c : w->findChildren<QWidget *>()) {
            const std::string name = c->objectName().toStdString();
            if (name.empty() || name.starts_with("qt_"))
                continue;
            const auto *list = qobject_cast<const QListWidget *>(c);
            for (int row = 0; list && row < list->count(); ++row) {
                const QListWidgetItem *item = list->item(row);
                EXPECT_TRUE((item->text().isEmpty() || !item->toolTip().isEmpty()) &&
                            item->data(Qt::AccessibleDescriptionRole).toString() == item->toolTip())
                    << name << " row " << row;
            }
            const bool operated = qobject_cast<const QAbstractButton *>(c) ||
                                  qobject_cast<const QAbstractSlider *>(c) ||
                                  qobject_cast<const QLineEdit *>(c);
            EXPECT_TRUE(!operated ||
                        (!c->toolTip().isEmpty() && c->accessibleDescription() == c->toolTip()))
                << name;
        }
}

} // namespace
} // namespace tessella::test
