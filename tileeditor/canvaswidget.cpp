// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/canvaswidget.h"

#include <QMouseEvent>
#include <QPainter>

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

CanvasWidget::CanvasWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName("picBox");
    setAccessibleName("picBox");
    setAccessibleDescription("Drawing canvas showing the tiling");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void CanvasWidget::setViewport(QPoint canvasOffset, double zoom)
{
    const QSize size(std::max(1, width()), std::max(1, height()));
    if (size != surface_.size() || canvasOffset != surface_.offset())
        surface_.setViewport(size, canvasOffset);
    surface_.setScale(zoom);
}

QPointF CanvasWidget::toPlane(QPointF widgetPos) const
{
    const double zoom = surface_.zoom();
    return {(widgetPos.x() + surface_.offset().x()) / zoom + surface_.originX(),
            (widgetPos.y() + surface_.offset().y()) / zoom + surface_.originY()};
}

void CanvasWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, surface_.image());
}

void CanvasWidget::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = toPlane(event->position());
    if (onPress)
        onPress(buttonCode(event->button()), p.x(), p.y());
}

void CanvasWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = toPlane(event->position());
    if (onMove)
        onMove(buttonsCode(event->buttons()), p.x(), p.y());
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = toPlane(event->position());
    if (onRelease)
        onRelease(buttonCode(event->button()), p.x(), p.y());
}

} // namespace tessella
