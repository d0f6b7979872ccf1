// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/imagesurface.h"

#include <QPointF>
#include <QWidget>

#include <functional>

namespace tessella {

// A drawing canvas far larger than its window, of which this widget shows one viewport:
// pixels are kept for that viewport alone, whatever the zoom or the canvas's nominal
// size. Pointer positions are reported in plane units (canvas pixels / zoom).
class ViewportCanvas : public QWidget
{
    Q_OBJECT
public:
    ViewportCanvas(Colour background, QWidget *parent = nullptr);

    ImageSurface &surface() { return surface_; }
    const ImageSurface &surface() const { return surface_; }

    // Shows the canvas from the given canvas pixel at the widget's top-left corner, at
    // `zoom` pixels per plane unit; the picture is cleared to the background.
    void setViewport(QPoint canvasOffset, double zoom);
    QPoint canvasOffset() const { return surface_.offset(); }

    // Plane point under a widget position, and the widget pixel a plane point is drawn at.
    QPointF toPlane(QPointF widgetPos) const;
    QPoint toWidget(double x, double y) const;

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
    Colour background_;
    ImageSurface surface_;
};

} // namespace tessella
