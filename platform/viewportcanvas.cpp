// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/viewportcanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tessella {

namespace {

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

ViewportCanvas::ViewportCanvas(Colour background, QWidget *parent)
    : QWidget(parent), background_(background), surface_(QSize(1, 1), QPoint(0, 0), background)
{
    setObjectName("picBox");
    setAccessibleName("picBox");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void ViewportCanvas::setViewport(QPoint canvasOffset, double zoom)
{
    const QSize size(std::max(1, width()), std::max(1, height()));
    surface_.setViewport(size, canvasOffset, background_);
    surface_.setScale(zoom);
}

QPointF ViewportCanvas::toPlane(QPointF widgetPos) const
{
    const double zoom = surface_.zoom();
    return {(widgetPos.x() + surface_.offset().x()) / zoom + surface_.originX(),
            (widgetPos.y() + surface_.offset().y()) / zoom + surface_.originY()};
}

QPoint ViewportCanvas::toWidget(double x, double y) const
{
    const double zoom = surface_.zoom();
    return {static_cast<int>(std::floor((x - surface_.originX()) * zoom)) - surface_.offset().x(),
            static_cast<int>(std::floor((y - surface_.originY()) * zoom)) - surface_.offset().y()};
}

void ViewportCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, surface_.image());
}

void ViewportCanvas::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = toPlane(event->position());
    if (onPress)
        onPress(buttonCode(event->button()), p.x(), p.y());
}

void ViewportCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = toPlane(event->position());
    if (onMove)
        onMove(buttonsCode(event->buttons()), p.x(), p.y());
}

void ViewportCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = toPlane(event->position());
    if (onRelease)
        onRelease(buttonCode(event->button()), p.x(), p.y());
}

} // namespace tessella
