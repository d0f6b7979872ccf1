// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controltips.h"

#include <QListWidget>
#include <QString>
#include <QWidget>

namespace tessella {

namespace {

void tipEntries(QListWidget *list, const char *entry, const QString &tip)
{
    const QString text = QString::fromUtf8(entry);
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem *item = list->item(row);
        if (item->text() != text)
            continue;
        item->setToolTip(tip);
        item->setData(Qt::AccessibleDescriptionRole, tip);
    }
}

} // namespace

void applyControlTips(QWidget *window, std::span<const ControlTip> tips)
{
    for (const ControlTip &t : tips) {
        const QString tip = QString::fromUtf8(t.tip);
        // Several controls may share a name (the mode panels' frames do).
        QList<QWidget *> controls = window->findChildren<QWidget *>(QString::fromUtf8(t.control));
        if (window->objectName() == QLatin1String(t.control))
            controls.prepend(window);
        for (QWidget *control : controls) {
            if (t.entry) {
                if (auto *list = qobject_cast<QListWidget *>(control))
                    tipEntries(list, t.entry, tip);
                continue;
            }
            control->setToolTip(tip);
            control->setAccessibleDescription(tip);
        }
    }
}

} // namespace tessella
