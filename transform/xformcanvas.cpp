// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/xformcanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tessella {

namespace {

// White, as a fresh picture box.
constexpr Colour kSurfaceBackground = 0xffffff;

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int buttonsCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

} // namespace

XformCanvas::XformCanvas(QWidget *parent)
    : QWidget(parent), surface_(QSize(1, 1), QPoint(0, 0), kSurfaceBackground)
{
    setObjectName("picBox");
    setAccessibleName("picBox");
    setAccessibleDescription("Drawing surface of the transform editor: the polygon's edges, "
                             "points, curve handles and sketch items");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::ClickFocus);
}

void XformCanvas::setViewport(QPoint surfaceOffset, double zoom)
{
    const QSize size(std::max(1, width()), std::max(1, height()));
    surface_.setViewport(size, surfaceOffset, kSurfaceBackground);
    surface_.setScale(zoom);
}

QPointF XformCanvas::toEditor(QPointF widgetPos) const
{
    const double zoom = surface_.zoom();
    return {(widgetPos.x() + surface_.offset().x()) / zoom,
            (widgetPos.y() + surface_.offset().y()) / zoom};
}

QPoint XformCanvas::toWidget(double x, double y) const
{
    const double zoom = surface_.zoom();
    return {static_cast<int>(std::floor(x * zoom)) - surface_.offset().x(),
            static_cast<int>(std::floor(y * zoom)) - surface_.offset().y()};
}

void XformCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, surface_.image());
}

void XformCanvas::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = toEditor(event->position());
    if (onPress)
        onPress(buttonCode(event->button()), p.x(), p.y());
}

void XformCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = toEditor(event->position());
    if (onMove)
        onMove(buttonsCode(event->buttons()), p.x(), p.y());
}

void XformCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = toEditor(event->position());
    if (onRelease)
        onRelease(buttonCode(event->button()), p.x(), p.y());
}

} // namespace tessella
