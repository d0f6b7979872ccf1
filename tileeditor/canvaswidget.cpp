// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/canvaswidget.h"

namespace tessella {

CanvasWidget::CanvasWidget(QWidget *parent) : ViewportCanvas(kCanvasBackground, parent)
{
    setAccessibleDescription("Drawing canvas showing the tiling");
}

} // namespace tessella
