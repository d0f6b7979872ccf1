// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/imagesurface.h"

#include <QWidget>

#include <functional>

namespace tessella {

// The drawing canvas `picBox`. The canvas is larger than the window and only a number:
// this widget covers the part of the window the canvas may show and keeps pixels for
// that viewport alone. Pointer positions are reported in plane units.
class CanvasWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CanvasWidget(QWidget *parent = nullptr);

    ImageSurface &surface() { return surface_; }
    const ImageSurface &surface() const { return surface_; }

    // Canvas pixel shown at the widget's top-left corner, and the plane scale.
    void setViewport(QPoint canvasOffset, double zoom);
    QPoint canvasOffset() const { return surface_.offset(); }

    // Plane point under a widget pixel.
    QPointF toPlane(QPointF widgetPos) const;

    // Pointer handlers: button (1 left, 2 right, 4 middle), plane position.
    std::function<void(int button, double x, double y)> onPress;
    std::function<void(int buttons, double x, double y)> onMove;
    std::function<void(int button, double x, double y)> onRelease;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    ImageSurface surface_;
};

} // namespace tessella
