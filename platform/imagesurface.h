// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/surface.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <memory>
#include <optional>

class QPainter;

namespace tessella {

QColor toQColor(Colour colour);
Colour fromQRgb(QRgb rgb);

// A raster surface holding one viewport of a canvas that may be far larger: the viewport
// shows `size` pixels starting at canvas pixel `offset`. Every call takes canvas pixels and
// is translated here, so memory follows the viewport, never the canvas's nominal size.
// Drawing is aliased (no antialiasing), like the old GDI pictures.
class ImageSurface : public Surface
{
public:
    explicit ImageSurface(QSize size = QSize(1, 1), QPoint offset = QPoint(0, 0),
                          Colour background = kCanvasBackground);
    ~ImageSurface() override;
    ImageSurface(const ImageSurface &other);
    ImageSurface &operator=(const ImageSurface &other);

    // Moves or resizes the viewport; both layers become plain `background`.
    void setViewport(QSize size, QPoint offset, Colour background = kCanvasBackground);
    QSize size() const { return image_.size(); }
    QPoint offset() const { return offset_; }

    // The current picture (background plus transient drawing), viewport pixels.
    const QImage &image() const
    {
        endPainting();
        return image_;
    }
    const QImage &background() const
    {
        endPainting();
        return background_;
    }

    // Inside a batch one painter stays open on the picture until the batch ends or the
    // picture is read, copied or replaced.
    void beginBatch() override { ++batchDepth_; }
    void endBatch() override;

    void setScale(double zoom, double originX = 0, double originY = 0) override;
    double zoom() const override { return zoom_; }
    double originX() const override { return originX_; }
    double originY() const override { return originY_; }

    void clear() override;
    void commitBackground() override;
    void clearAll(Colour background) override;

    void setPenColour(Colour colour) override { penColour_ = colour; }
    Colour penColour() const override { return penColour_; }
    void setPenWidth(int pixels) override;
    int penWidth() const override { return penWidth_; }
    void setDashed(bool dashed) override { dashed_ = dashed; }
    bool dashed() const override { return dashed_; }
    void setFillColour(Colour colour) override { fillColour_ = colour; }
    Colour fillColour() const override { return fillColour_; }
    void setFillStyle(int style) override { fillStyle_ = style; }
    int fillStyle() const override { return fillStyle_; }

    using Surface::polygon;
    void polygon(std::span<const PixelPoint> points) override;
    void polyline(std::span<const PixelPoint> points) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void linePixels(PixelPoint from, PixelPoint to) override;
    void linePixels(PixelPoint from, PixelPoint to, Colour colour) override;

    void setPoint(double x, double y) override;
    void setPoint(double x, double y, Colour colour) override;
    void lineTo(double x, double y) override;
    void lineTo(double x, double y, Colour colour) override;
    void line(double x1, double y1, double x2, double y2) override;
    void line(double x1, double y1, double x2, double y2, Colour colour) override;

    Colour pixel(int x, int y) const override;
    void setPixel(int x, int y, Colour colour) override;
    std::optional<PixelRect> visibleArea() const override
    {
        return PixelRect{offset_.x(), offset_.y(), offset_.x() + image_.width() - 1,
                         offset_.y() + image_.height() - 1};
    }

    // Canvas pixel of a plane point under the current scale; nothing when it is not finite
    // or too far away to draw.
    std::optional<PixelPoint> toPixel(double x, double y) const;

private:
    // The painter of a batch, opened on first use; outside a batch a painter for one call.
    template <typename Paint> void paint(Paint &&draw);
    void endPainting() const;
    void preparePainter(QPainter &painter, Colour penColour, bool withBrush) const;
    void drawLine(PixelPoint from, PixelPoint to, Colour colour);
    // A one-pixel line drawn here rather than by the painter, so that the pixels do not
    // depend on the viewport; returns the dash phase for the next connected segment.
    int64_t thinLine(PixelPoint from, PixelPoint to, Colour colour, int64_t phase);
    void drawPoint(PixelPoint at, Colour colour);

    QImage background_;
    QImage image_;
    QPoint offset_;
    double zoom_ = 1;
    double originX_ = 0;
    double originY_ = 0;
    Colour penColour_ = 0;
    int penWidth_ = 1;
    bool dashed_ = false;
    Colour fillColour_ = 0;
    int fillStyle_ = kFillSolid;
    std::optional<PixelPoint> current_; // current position, canvas pixels
    int batchDepth_ = 0;
    mutable std::unique_ptr<QPainter> painter_; // open only inside a batch
};

} // namespace tessella
