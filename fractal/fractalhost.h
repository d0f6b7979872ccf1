// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/undo.h"
#include "tileeditor/view/tilingdrawer.h"

#include <QString>

namespace tessella {

// What the fractal panel needs from the tile editor. app/ implements it over the window.
class FractalHost
{
public:
    virtual ~FractalHost() = default;

    virtual Document &document() = 0;
    virtual FractalSnapshot &fractalSnapshot() = 0;
    // The undo button's enabled state (the panel keeps it and gives it back).
    virtual bool undoEnabled() const = 0;
    virtual void setUndoEnabled(bool on) = 0;
    // Caption of the editor's "fractal"/"tiles" button.
    virtual void setFractalCaption(const QString &caption) = 0;
    // Activates the editor with its activation skipped (no hand-back is appended).
    virtual void activateSkipped() = 0;
    // View slots: 0 the editing view, 1 the render view.
    virtual void saveView(int slot) = 0;
    virtual void restoreView(int slot) = 0;
    // The "/" key: zoom 50 %, canvas home, full redraw.
    virtual void resetZoomKey() = 0;
    // The full redraw (persistent picture cleared and taken again).
    virtual void refresh() = 0;
    // Redraws the reference overlay on the transient layer.
    virtual void redrawOverlay() = 0;
    // "skeleton": the view list's "fills" and "sketches" off (on when false).
    virtual void setSkeleton(bool on) = 0;
    // What frame files are drawn with: the editor's grid and view options, and its zoom
    // (canvas pixels per plane unit).
    virtual DrawSettings drawSettings() const = 0;
    virtual double zoom() const = 0;
    // During an animation run the editor only shows the frames: its commands, keys and
    // dropped files wait, so nothing changes the tiles the frames are drawn from.
    virtual void lockForRun(bool on) = 0;
};

} // namespace tessella
