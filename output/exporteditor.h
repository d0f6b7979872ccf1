// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "output/export/imageexport.h"
#include "platform/surface.h"

namespace tessella {

// What "save image" needs from the tile editor. app/ implements it over the editor
// window, which does not know the export; tests may use a fake over an image surface.
class ExportEditor
{
public:
    virtual ~ExportEditor() = default;

    // Lends the editor to the export: its view (zoom, canvas position, line width) is kept,
    // its commands are locked, its canvas pointer is handed to the export, and the canvas
    // shows the plane at 50 % from its home position as the background picture.
    virtual void lend() = 0;
    // Gives it back: the kept view, a full redraw, commands unlocked.
    virtual void giveBack() = 0;

    // The canvas, in its own scale; previews go on its transient layer and are shown by
    // canvasChanged.
    virtual Surface &canvas() = 0;
    virtual void canvasChanged() = 0;

    // What the export draws: the document with the view's settings, the "heavy" option,
    // and the picture the editor shows instead of the tiling, drawn for the print area
    // (empty: the tiling).
    virtual const Document &document() const = 0;
    virtual DrawSettings drawSettings() const = 0;
    virtual bool heavy() const = 0;
    virtual ExportScene scene(const PrintArea &) const { return {}; }
};

} // namespace tessella
