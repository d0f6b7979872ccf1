// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "platform/surface.h"
#include "tileeditor/view/tilingdrawer.h"

#include <functional>
#include <span>

namespace tessella {

// What the full redraw draws besides the document.
struct ViewFrame
{
    // Canvas extent in plane units (the lattice is drawn over it).
    double extentWidth = 0;
    double extentHeight = 0;
    // The canvas line width, restored after the lattice is drawn at width 1.
    int lineWidth = 1;
    // Points of a tile being entered (the first newCount are shown).
    std::span<const Vertex> newPts;
    int newCount = 0;
    // Draws the fractal picture instead of the tiling when set.
    std::function<void(TilingDrawer &)> picture;
};

// The drawing part of the full redraw, onto a surface whose scale is already set: both
// layers cleared to the canvas background, the lattice of the settings' grid, the tiling
// (or the picture), the new-tile points and the selected-vertex dots; the result becomes
// the background picture.
void renderView(Surface &surface, const Document &doc, const DrawSettings &settings,
                const ViewFrame &frame);

} // namespace tessella
