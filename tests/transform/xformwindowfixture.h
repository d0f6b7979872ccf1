// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/scripteddialogs.h"
#include "transform/xformcanvas.h"
#include "transform/xformwindow.h"

#include "tests/qtapp.h"
#include "tests/widgetdriver.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tessella::testing {

inline QApplication &testApp()
{
    return tessella::test::qtApp();
}

inline Tile squareAt(double x, double y, double side)
{
    Tile t;
    t.setCorners({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}});
    t.color = 0x00c000;
    t.grid = GridRectangular;
    return t;
}

// The real transform editor, offscreen, on a polygon handed over as by the pick. The
// hand-back callback stands in for the tile editor: like its activation rule it appends
// xfReturn once per hand-back.
class XformWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testApp();
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
    }

    void TearDown() override
    {
        EXPECT_TRUE(dialogs.allConsumed()) << dialogs.pending() << " dialogs never shown";
        doc.closing = true;
        window.reset();
    }

    // Opens the window on `tile` (a 40 x 40 square at (100, 100) unless told).
    void open(const Tile &tile = squareAt(100, 100, 40),
              std::optional<Vertex> displayVertex0 = std::nullopt)
    {
        doc.xfTile = tile;
        doc.xformOpen = true;
        makeWindow(displayVertex0);
    }

    void makeWindow(std::optional<Vertex> displayVertex0 = std::nullopt)
    {
        XformCallbacks callbacks;
        callbacks.handBack = [this](HandBack how) {
            handBacks.push_back(how);
            doc.tiles.push_back(doc.xfReturn);
            doc.curTile = static_cast<int16_t>(doc.tileCount() - 1);
        };
        callbacks.unloaded = [this] { ++unloads; };
        window = std::make_unique<XformWindow>(doc, dialogs, callbacks);
        window->resize(900, 700);
        ASSERT_TRUE(window->Form_Load(displayVertex0));
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

    // Chooses a transformation with the list, opening it first when hidden.
    void choose(int index)
    {
        if (!control<QListWidget>("lstXforms")->isVisible())
            click("cmdXforms");
        clickItem("lstXforms", index);
    }

    // Widget pixel of an editor point, moved by (dx, dy) screen pixels.
    QPoint at(double x, double y, int dx = 0, int dy = 0) const
    {
        return window->canvas()->toWidget(x, y) + QPoint(dx, dy);
    }

    void press(double x, double y, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(window->canvas(), b, {}, at(x, y));
    }
    void release(double x, double y, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(window->canvas(), b, {}, at(x, y));
    }
    void clickAt(double x, double y, Qt::MouseButton b = Qt::LeftButton)
    {
        press(x, y, b);
        release(x, y, b);
    }
    void moveTo(double x, double y) { QTest::mouseMove(window->canvas(), at(x, y)); }

    void key(Qt::Key k) { QTest::keyClick(window.get(), k); }

    std::string text(const char *name) const
    {
        return control<QLineEdit>(name)->text().toStdString();
    }
    QString notice() const { return control<QLabel>("lblNotice")->text(); }

    // Nodes of the chain from firstNode to lastNode.
    std::vector<Node *> nodes() const
    {
        std::vector<Node *> out;
        Chain &c = window->chain();
        for (Node *v = c.firstNode; v != c.nilNode(); v = v->fLink)
            out.push_back(v);
        return out;
    }

    Document doc;
    ScriptedDialogs dialogs;
    std::unique_ptr<XformWindow> window;
    std::vector<HandBack> handBacks;
    int unloads = 0;
};

} // namespace tessella::testing
