// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imagesurface.h"

#include "platform/pixelline.h"

#include <QLineF>
#include <QPainter>
#include <QPolygon>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tessella {

namespace {

// Viewport coordinates within this range go to the painter as they are; beyond it the
// shape is clipped first, because the rasteriser works in fixed point.
constexpr int64_t kSafeRange = int64_t(1) << 20;
// Plane-unit calls whose pixel lies beyond this are skipped.
constexpr double kPixelLimit = 1e9;
constexpr int kMaxPenWidth = 64;
// Dashes of one-pixel lines, in pixels along the line.
constexpr int64_t kDashLength = 18;
constexpr int64_t kDashPeriod = 24;

struct Point64
{
    int64_t x;
    int64_t y;
};

bool inSafeRange(Point64 p)
{
    return p.x > -kSafeRange && p.x < kSafeRange && p.y > -kSafeRange && p.y < kSafeRange;
}

// Sutherland-Hodgman against one side of a rectangle. The outside runs become pieces of
// that side, which keeps the odd-even coverage of every point inside the rectangle.
template <typename Inside, typename Cross>
QPolygonF clipSide(const QPolygonF &in, Inside inside, Cross cross)
{
    QPolygonF out;
    const qsizetype n = in.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF &a = in[i];
        const QPointF &b = in[(i + 1) % n];
        const bool ia = inside(a);
        const bool ib = inside(b);
        if (ia) {
            out << a;
        }
        if (ia != ib) {
            out << cross(a, b);
        }
    }
    return out;
}

QPolygonF clipPolygon(const QPolygonF &polygon, const QRectF &r)
{
    auto atX = [](const QPointF &a, const QPointF &b, double x) {
        return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
    };
    auto atY = [](const QPointF &a, const QPointF &b, double y) {
        return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
    };
    QPolygonF p = polygon;
    p = clipSide(
        p, [&](const QPointF &q) { return q.x() >= r.left(); },
        [&](const QPointF &a, const QPointF &b) { return atX(a, b, r.left()); });
    p = clipSide(
        p, [&](const QPointF &q) { return q.x() <= r.right(); },
        [&](const QPointF &a, const QPointF &b) { return atX(a, b, r.right()); });
    p = clipSide(
        p, [&](const QPointF &q) { return q.y() >= r.top(); },
        [&](const QPointF &a, const QPointF &b) { return atY(a, b, r.top()); });
    p = clipSide(
        p, [&](const QPointF &q) { return q.y() <= r.bottom(); },
        [&](const QPointF &a, const QPointF &b) { return atY(a, b, r.bottom()); });
    return p;
}

// Liang-Barsky; false when the segment misses the rectangle.
bool clipLine(QLineF &line, const QRectF &r)
{
    const double x0 = line.x1(), y0 = line.y1();
    const double dx = line.dx(), dy = line.dy();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - r.left(), r.right() - x0, y0 - r.top(), r.bottom() - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    line = QLineF(x0 + t0 * dx, y0 + t0 * dy, x0 + t1 * dx, y0 + t1 * dy);
    return true;
}

Qt::BrushStyle brushStyle(int fillStyle)
{
    switch (fillStyle) {
    case kFillSolid:
        return Qt::SolidPattern;
    case kFillHorizontal:
        return Qt::HorPattern;
    case kFillVertical:
        return Qt::VerPattern;
    case kFillUpwardDiagonal:
        return Qt::BDiagPattern;
    case kFillDownwardDiagonal:
        return Qt::FDiagPattern;
    case kFillCross:
        return Qt::CrossPattern;
    case kFillDiagonalCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::NoBrush;
    }
}

QImage plainImage(QSize size, Colour background)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    if (image.isNull()) {
        image = QImage(1, 1, QImage::Format_RGB32);
    }
    image.fill(toQColor(background));
    return image;
}

} // namespace

QColor toQColor(Colour colour)
{
    return QColor(colour & 0xff, (colour >> 8) & 0xff, (colour >> 16) & 0xff);
}

Colour fromQRgb(QRgb rgb)
{
    return Colour(qRed(rgb) + 256 * qGreen(rgb) + 65536 * qBlue(rgb));
}

ImageSurface::ImageSurface(QSize size, QPoint offset, Colour background)
{
    setViewport(size, offset, background);
}

ImageSurface::~ImageSurface()
{
    endPainting();
}

ImageSurface::ImageSurface(const ImageSurface &other)
    : Surface(other), background_(other.background()), image_(other.image()),
      offset_(other.offset_), zoom_(other.zoom_), originX_(other.originX_),
      originY_(other.originY_), penColour_(other.penColour_), penWidth_(other.penWidth_),
      dashed_(other.dashed_), fillColour_(other.fillColour_), fillStyle_(other.fillStyle_),
      current_(other.current_)
{}

ImageSurface &ImageSurface::operator=(const ImageSurface &other)
{
    if (this != &other) {
        endPainting();
        background_ = other.background();
        image_ = other.image();
        offset_ = other.offset_;
        zoom_ = other.zoom_;
        originX_ = other.originX_;
        originY_ = other.originY_;
        penColour_ = other.penColour_;
        penWidth_ = other.penWidth_;
        dashed_ = other.dashed_;
        fillColour_ = other.fillColour_;
        fillStyle_ = other.fillStyle_;
        current_ = other.current_;
    }
    return *this;
}

void ImageSurface::endBatch()
{
    if (batchDepth_ > 0 && --batchDepth_ == 0) {
        endPainting();
    }
}

void ImageSurface::endPainting() const
{
    painter_.reset();
}

template <typename Paint> void ImageSurface::paint(Paint &&draw)
{
    if (batchDepth_ == 0) {
        QPainter painter(&image_);
        draw(painter);
        return;
    }
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
    }
    draw(*painter_);
}

void ImageSurface::setViewport(QSize size, QPoint offset, Colour background)
{
    endPainting();
    offset_ = offset;
    background_ = plainImage(size, background);
    image_ = background_;
}

void ImageSurface::setScale(double zoom, double originX, double originY)
{
    zoom_ = zoom;
    originX_ = originX;
    originY_ = originY;
}

// Copies in place when the target owns a buffer of the same shape: a window-sized layer
// is then never reallocated (and faulted in again) on every redraw.
static void copyLayer(QImage &to, const QImage &from)
{
    if (to.isDetached() && to.size() == from.size() && to.format() == from.format() &&
        to.bytesPerLine() == from.bytesPerLine() && to.constBits() != from.constBits()) {
        std::memcpy(to.bits(), from.constBits(), std::size_t(from.sizeInBytes()));
    } else {
        to = from;
    }
}

void ImageSurface::clear()
{
    endPainting();
    copyLayer(image_, background_);
}

void ImageSurface::commitBackground()
{
    endPainting();
    copyLayer(background_, image_);
}

void ImageSurface::clearAll(Colour background)
{
    endPainting();
    const QColor colour = toQColor(background);
    if (image_.isDetached() && image_.size() == background_.size()) {
        background_.fill(colour);
        image_.fill(colour);
    } else {
        background_.fill(colour);
        image_ = background_;
    }
}

void ImageSurface::setPenWidth(int pixels)
{
    penWidth_ = std::clamp(pixels, 1, kMaxPenWidth);
}

void ImageSurface::preparePainter(QPainter &painter, Colour penColour, bool withBrush) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(toQColor(penColour));
    pen.setWidth(penWidth_);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (penWidth_ == 1) {
        pen.setCosmetic(true);
    }
    if (dashed_) {
        pen.setDashPattern({18.0 / penWidth_, 6.0 / penWidth_});
        pen.setCapStyle(Qt::FlatCap);
    }
    painter.setPen(pen);
    if (withBrush) {
        QBrush brush(toQColor(fillColour_), brushStyle(fillStyle_));
        painter.setBrush(brush);
        // Hatches line up with the canvas, not with the viewport.
        painter.setBrushOrigin(-(offset_.x() % 8), -(offset_.y() % 8));
    } else {
        painter.setBrush(Qt::NoBrush);
    }
}

void ImageSurface::polygon(std::span<const PixelPoint> points)
{
    if (points.empty()) {
        return;
    }
    const bool thinPen = penWidth_ == 1;
    paint([&](QPainter &painter) {
        preparePainter(painter, penColour_, true);
        if (thinPen) {
            painter.setPen(Qt::NoPen);
        }
        bool safe = true;
        for (const PixelPoint &p : points) {
            safe = safe && inSafeRange({int64_t(p.x) - offset_.x(), int64_t(p.y) - offset_.y()});
        }
        if (safe) {
            QPolygon polygon;
            polygon.reserve(qsizetype(points.size()));
            for (const PixelPoint &p : points) {
                polygon << QPoint(p.x - offset_.x(), p.y - offset_.y());
            }
            painter.drawPolygon(polygon, Qt::OddEvenFill);
        } else {
            QPolygonF polygon;
            for (const PixelPoint &p : points) {
                polygon << QPointF(double(p.x) - offset_.x(), double(p.y) - offset_.y());
            }
            const double margin = penWidth_ + 8;
            const QRectF area(-margin, -margin, image_.width() + 2 * margin,
                              image_.height() + 2 * margin);
            polygon = clipPolygon(polygon, area);
            if (!polygon.isEmpty()) {
                painter.drawPolygon(polygon, Qt::OddEvenFill);
            }
        }
    });
    if (thinPen) {
        int64_t phase = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            phase = thinLine(points[i], points[(i + 1) % points.size()], penColour_, phase);
        }
    }
}

int64_t ImageSurface::thinLine(PixelPoint from, PixelPoint to, Colour colour, int64_t phase)
{
    const int64_t x0 = int64_t(from.x) - offset_.x(), y0 = int64_t(from.y) - offset_.y();
    const int64_t x1 = int64_t(to.x) - offset_.x(), y1 = int64_t(to.y) - offset_.y();
    const QRgb rgb = toQColor(colour).rgb();
    const bool dashed = dashed_;
    QImage &image = image_;
    forEachLinePixel(x0, y0, x1, y1, image.width(), image.height(),
                     [&](int x, int y, int64_t step) {
                         if (!dashed || (phase + step) % kDashPeriod < kDashLength) {
                             reinterpret_cast<QRgb *>(image.scanLine(y))[x] = rgb;
                         }
                     });
    return phase + std::max(std::llabs(x1 - x0), std::llabs(y1 - y0));
}

void ImageSurface::polyline(std::span<const PixelPoint> points)
{
    if (points.size() == 1) {
        drawPoint(points[0], penColour_);
    }
    int64_t phase = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (penWidth_ == 1) {
            phase = thinLine(points[i - 1], points[i], penColour_, phase);
        } else {
            drawLine(points[i - 1], points[i], penColour_);
        }
    }
}

void ImageSurface::ellipse(int left, int top, int right, int bottom)
{
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    const int64_t l = int64_t(left) - offset_.x(), r = int64_t(right) - offset_.x();
    const int64_t t = int64_t(top) - offset_.y(), b = int64_t(bottom) - offset_.y();
    const int64_t margin = penWidth_ + 2;
    // Nothing to see, or a shape too large to hand to the rasteriser.
    if (r < -margin || l > image_.width() + margin || b < -margin || t > image_.height() + margin ||
        r - l > kSafeRange || b - t > kSafeRange) {
        return;
    }
    paint([&](QPainter &painter) {
        preparePainter(painter, penColour_, true);
        painter.drawEllipse(QRect(int(l), int(t), int(r - l), int(b - t)));
    });
}

void ImageSurface::drawLine(PixelPoint from, PixelPoint to, Colour colour)
{
    if (penWidth_ == 1) {
        thinLine(from, to, colour, 0);
        return;
    }
    const Point64 a{int64_t(from.x) - offset_.x(), int64_t(from.y) - offset_.y()};
    const Point64 b{int64_t(to.x) - offset_.x(), int64_t(to.y) - offset_.y()};
    paint([&](QPainter &painter) {
        preparePainter(painter, colour, false);
        if (inSafeRange(a) && inSafeRange(b)) {
            painter.drawLine(QPoint(int(a.x), int(a.y)), QPoint(int(b.x), int(b.y)));
            return;
        }
        QLineF line(double(a.x), double(a.y), double(b.x), double(b.y));
        const double margin = penWidth_ + 8;
        if (clipLine(line, QRectF(-margin, -margin, image_.width() + 2 * margin,
                                  image_.height() + 2 * margin))) {
            painter.drawLine(line);
        }
    });
}

void ImageSurface::drawPoint(PixelPoint at, Colour colour)
{
    const int64_t x = int64_t(at.x) - offset_.x(), y = int64_t(at.y) - offset_.y();
    const int64_t margin = penWidth_;
    if (x < -margin || y < -margin || x > image_.width() + margin || y > image_.height() + margin) {
        return;
    }
    if (penWidth_ == 1) {
        setPixel(at.x, at.y, colour);
        return;
    }
    paint([&](QPainter &painter) {
        preparePainter(painter, colour, false);
        painter.drawPoint(QPoint(int(x), int(y)));
    });
}

void ImageSurface::linePixels(PixelPoint from, PixelPoint to)
{
    drawLine(from, to, penColour_);
}

void ImageSurface::linePixels(PixelPoint from, PixelPoint to, Colour colour)
{
    drawLine(from, to, colour);
}

std::optional<PixelPoint> ImageSurface::toPixel(double x, double y) const
{
    const double px = std::floor((x - originX_) * zoom_);
    const double py = std::floor((y - originY_) * zoom_);
    // Also false for NaN and infinities.
    if (!(std::abs(px) <= kPixelLimit && std::abs(py) <= kPixelLimit)) {
        return std::nullopt;
    }
    return PixelPoint{int(px), int(py)};
}

void ImageSurface::setPoint(double x, double y)
{
    setPoint(x, y, penColour_);
}

void ImageSurface::setPoint(double x, double y, Colour colour)
{
    current_ = toPixel(x, y);
    if (current_) {
        drawPoint(*current_, colour);
    }
}

void ImageSurface::lineTo(double x, double y)
{
    lineTo(x, y, penColour_);
}

void ImageSurface::lineTo(double x, double y, Colour colour)
{
    const std::optional<PixelPoint> to = toPixel(x, y);
    if (current_ && to) {
        drawLine(*current_, *to, colour);
    }
    current_ = to;
}

void ImageSurface::line(double x1, double y1, double x2, double y2)
{
    line(x1, y1, x2, y2, penColour_);
}

void ImageSurface::line(double x1, double y1, double x2, double y2, Colour colour)
{
    current_ = toPixel(x1, y1);
    lineTo(x2, y2, colour);
}

Colour ImageSurface::pixel(int x, int y) const
{
    endPainting();
    const int64_t vx = int64_t(x) - offset_.x(), vy = int64_t(y) - offset_.y();
    if (vx < 0 || vy < 0 || vx >= image_.width() || vy >= image_.height()) {
        return kInvalidColour;
    }
    return fromQRgb(image_.pixel(int(vx), int(vy)));
}

void ImageSurface::setPixel(int x, int y, Colour colour)
{
    const int64_t vx = int64_t(x) - offset_.x(), vy = int64_t(y) - offset_.y();
    if (vx < 0 || vy < 0 || vx >= image_.width() || vy >= image_.height()) {
        return;
    }
    image_.setPixel(int(vx), int(vy), toQColor(colour).rgb());
}

} // namespace tessella
