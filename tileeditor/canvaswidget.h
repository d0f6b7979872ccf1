// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/viewportcanvas.h"

namespace tessella {

// The tile editor's drawing canvas `picBox`: a viewport of the canvas, which is larger
// than the window; pointer positions are plane coordinates.
class CanvasWidget : public ViewportCanvas
{
    Q_OBJECT
public:
    explicit CanvasWidget(QWidget *parent = nullptr);
};

} // namespace tessella
