// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tessella::test {

// A window's control by its name; a test failure when there is none.
template <class T> T *findControl(const QWidget *window, const char *name)
{
    T *c = window->findChild<T *>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// A real left click on a named button.
inline void clickButton(const QWidget *window, const char *button)
{
    QTest::mouseClick(findControl<QPushButton>(window, button), Qt::LeftButton);
}

// A real left click on a row of a named, visible list.
inline void clickListItem(const QWidget *window, const char *listName, int row)
{
    QListWidget *list = findControl<QListWidget>(window, listName);
    ASSERT_TRUE(list->isVisible()) << listName;
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace tessella::test
