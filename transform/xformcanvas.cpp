// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/xformcanvas.h"

namespace tessella {

namespace {
// White, as a fresh picture box.
constexpr Colour kSurfaceBackground = 0xffffff;
} // namespace

XformCanvas::XformCanvas(QWidget *parent) : ViewportCanvas(kSurfaceBackground, parent)
{
    setAccessibleDescription("Drawing surface of the transform editor: the polygon's edges, "
                             "points, curve handles and sketch items");
    setFocusPolicy(Qt::ClickFocus);
}

} // namespace tessella
