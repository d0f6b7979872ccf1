// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/export/painterrecorder.h"

#include "platform/imagesurface.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace tessella {

PainterRecorder::PainterRecorder(QPainter &painter) : painter_(painter)
{
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(QPen(Qt::black, 1));
    painter_.setBrush(Qt::white);
}

VectorHandle PainterRecorder::createSolidPen(int width, Colour colour)
{
    objects_[nextHandle_] = Object{true, std::max(width, 1), colour};
    return nextHandle_++;
}

VectorHandle PainterRecorder::createSolidBrush(Colour colour)
{
    objects_[nextHandle_] = Object{false, 0, colour};
    return nextHandle_++;
}

void PainterRecorder::select(VectorHandle handle)
{
    if (handle == kStockBlackPen) {
        painter_.setPen(QPen(Qt::black, 1));
    } else if (handle == kStockWhiteBrush) {
        painter_.setBrush(Qt::white);
    } else if (const auto it = objects_.find(handle); it != objects_.end()) {
        const Object &o = it->second;
        if (o.pen) {
            painter_.setPen(
                QPen(toQColor(o.colour), o.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        } else {
            painter_.setBrush(toQColor(o.colour));
        }
    }
}

void PainterRecorder::polygon(std::span<const PixelPoint> points)
{
    if (points.size() < 2) {
        return;
    }
    QPolygon polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const PixelPoint &p : points) {
        polygon << QPoint(p.x, p.y);
    }
    painter_.drawPolygon(polygon, Qt::OddEvenFill);
}

void PainterRecorder::moveTo(PixelPoint point)
{
    current_ = point;
}

void PainterRecorder::lineTo(PixelPoint point)
{
    painter_.drawLine(QPoint(current_.x, current_.y), QPoint(point.x, point.y));
    current_ = point;
}

void PainterRecorder::deleteObject(VectorHandle handle)
{
    objects_.erase(handle);
}

} // namespace tessella
