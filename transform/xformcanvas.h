// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/imagesurface.h"

#include <QPointF>
#include <QWidget>

#include <functional>

namespace tessella {

// The transform editor's drawing surface `picBox`. The surface itself is only a number:
// this widget covers the part of it the window shows and keeps pixels for that part
// alone, whatever the zoom. Pointer positions are reported in editor units.
class XformCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit XformCanvas(QWidget *parent = nullptr);

    ImageSurface &surface() { return surface_; }
    const ImageSurface &surface() const { return surface_; }

    // Surface pixel shown at the widget's top-left corner, and the zoom factor.
    void setViewport(QPoint surfaceOffset, double zoom);
    QPoint surfaceOffset() const { return surface_.offset(); }

    // Editor point under a widget position.
    QPointF toEditor(QPointF widgetPos) const;
    // Widget pixel of an editor point (the pixel the surface draws it at).
    QPoint toWidget(double x, double y) const;

    // Pointer handlers: button (1 left, 2 right, 4 middle), editor position.
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
