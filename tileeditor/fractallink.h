// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/surface.h"
#include "tileeditor/view/tilingdrawer.h"

#include <functional>

namespace tessella {

// The fractal panel as the tile editor sees it. app/ installs it; without one the
// "fractal" button does nothing.
class FractalLink
{
public:
    virtual ~FractalLink() = default;

    virtual bool panelOpen() const = 0;
    // The canvas shows the mapped picture (the tiles hold mapped vertices).
    virtual bool renderingShown() const = 0;
    // The "fractal" button opens the panel; as "tiles" it closes it.
    virtual void fractalButton() = 0;
    // The render button's "restore": the unmapped tiles come back.
    virtual void restoreRendering() = 0;
    // A load or a clear replaced the tiles while the panel is open.
    virtual void documentReplaced() = 0;
    // The colour shifts while the panel is open.
    virtual void applyDrawSettings(DrawSettings &settings) const = 0;
    // The full redraw's picture while a rendering is shown, over the canvas extent.
    virtual void drawPicture(TilingDrawer &drawer, double extentWidth, double extentHeight) = 0;
    // The reference shape over the tiling, on the transient layer.
    virtual void drawOverlay(Surface &surface) = 0;
    // Pointer on the canvas while the panel is open (plane units; button 1 left, 2 right;
    // tolerance in plane units). A press that returns false goes on to the pan.
    virtual bool pointerPress(int button, double x, double y, double tolerance) = 0;
    virtual void pointerMove(double x, double y) = 0;
    virtual void pointerRelease() = 0;

    // While a rendering is shown: what "save image" draws instead of the tiling, rendered
    // into the print area (plane units: its centre is the picture's centre, its size sets
    // the scale). Safe to call from several band threads at once. Empty otherwise.
    using Scene = std::function<void(Surface &surface, const DrawSettings &settings)>;
    virtual Scene exportScene(double left, double top, double width, double height) const = 0;
};

} // namespace tessella
