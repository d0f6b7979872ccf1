// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowfixture.h"

#include <QLabel>

#include <vector>

namespace tessella::testing {

// The real window driven with real mouse events on its canvas, in plane units.
class PointerWindowTest : public WindowTest
{
protected:
    void press(double x, double y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(window->canvas(), button, {}, widgetPixel(x, y));
    }
    void move(double x, double y) { QTest::mouseMove(window->canvas(), widgetPixel(x, y)); }
    void release(double x, double y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(window->canvas(), button, {}, widgetPixel(x, y));
    }
    // Press at `from`, move through `path`, release at its last point.
    void drag(QPointF from, std::vector<QPointF> path)
    {
        press(from.x(), from.y());
        for (const QPointF &p : path)
            move(p.x(), p.y());
        const QPointF end = path.empty() ? from : path.back();
        release(end.x(), end.y());
    }
    void clickAt(double x, double y, Qt::MouseButton button = Qt::LeftButton)
    {
        press(x, y, button);
        release(x, y, button);
    }
    void holdSpace() { QTest::keyPress(window.get(), Qt::Key_Space); }
    void releaseSpace() { QTest::keyRelease(window.get(), Qt::Key_Space); }

    QLabel *rotationLabel() const { return control<QLabel>("lblRotval"); }
    QPushButton *undoButton() const { return control<QPushButton>("cmdUnReDo"); }
    // The tile's corners 0 .. nVerts - 1.
    static std::vector<Vertex> cornersOf(const Tile &tile)
    {
        return {tile.verts.begin(), tile.verts.begin() + tile.usableVerts()};
    }
    static std::vector<Vertex> squareCorners(double x, double y, double side)
    {
        return {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
    }
};

} // namespace tessella::testing
