// SPDX-License-Identifier: GPL-3.0-or-later
// The transformations list answers its arrow keys as it answers clicks; the point counts
// are shown in their own text colour.
#include "xformwindowfixture.h"

namespace tessella::testing {
namespace {

TEST_F(XformWindowTest, AnArrowKeyInTheTransformationsListChoosesAsAClickDoes)
{
    open();
    choose(XformTranslate);
    const QString clicked = notice();
    choose(XformNone);
    ASSERT_NE(notice(), clicked);

    click("cmdXforms");
    QListWidget *list = control<QListWidget>("lstXforms");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), XformTranslate);
    EXPECT_EQ(notice(), clicked);
    EXPECT_TRUE(window->transformations().pendTranslate);
}

TEST_F(XformWindowTest, PointCountsShowTheirTextColour)
{
    open();
    for (const char *name : {"txtnPoints", "txtTotal"})
        EXPECT_EQ(control<QLineEdit>(name)->palette().color(QPalette::Text), QColor(96, 96, 0))
            << name;
}

} // namespace
} // namespace tessella::testing
