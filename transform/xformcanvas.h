// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/viewportcanvas.h"

namespace tessella {

// The transform editor's drawing surface `picBox`. The surface itself is only a number:
// this widget covers the part of it the window shows and keeps pixels for that part
// alone, whatever the zoom. Pointer positions are reported in editor units.
class XformCanvas : public ViewportCanvas
{
    Q_OBJECT
public:
    explicit XformCanvas(QWidget *parent = nullptr);

    QPoint surfaceOffset() const { return canvasOffset(); }
    QPointF toEditor(QPointF widgetPos) const { return toPlane(widgetPos); }
};

} // namespace tessella
