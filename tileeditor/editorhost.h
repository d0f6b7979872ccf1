// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/undo.h"
#include "platform/dialogs.h"
#include "platform/surface.h"
#include "tileeditor/hittester.h"
#include "tileeditor/view/tilingdrawer.h"

#include <string>

namespace tessella {

// What the tile editor's pointer logic needs from its window. The window implements it;
// tests use a fake with an image surface.
class EditorHost
{
public:
    virtual ~EditorHost() = default;

    // The screen canvas (scale already set: pixel = floor((plane - origin) * zoom)).
    virtual Surface &canvasSurface() = 0;
    // The grid list's index and the view options as the full redraw uses them.
    virtual DrawSettings drawSettings() const = 0;
    // The space bar is held: every point counts as snapped, rotations do not snap.
    virtual bool spaceHeld() const = 0;
    // Empties the background picture, runs the full redraw and keeps the result as the
    // new background (also the "full redraw" after an edit).
    virtual void refreshBackground() = 0;
    // Previews were drawn on the canvas's transient layer: show them.
    virtual void previewsDrawn() = 0;
    // The undo history's enabled state or caption changed.
    virtual void undoButtonChanged() = 0;
    // The rotation readout `lblRotval`: shown with its top-left corner at the plane point
    // (x, y), given a new caption, hidden.
    virtual void showRotationLabel(const std::string &caption, double x, double y) = 0;
    virtual void setRotationLabel(const std::string &caption) = 0;
    virtual void hideRotationLabel() = 0;
    // The tile boxes taken at the last full redraw, for hit tests; none by default.
    virtual const TileBoxIndex *tileBoxes() const { return nullptr; }
    // Corners were moved in place without a full redraw: the boxes are stale.
    virtual void tilesMovedInPlace() {}
};

// The state every piece of the pointer logic works on.
struct EditorContext
{
    Document &doc;
    UndoHistory &undo;
    Dialogs &dialogs;
    EditorHost &host;
};

// Refusal of an edit that would pass the 16-bit tile table limit.
inline constexpr const char *kTooManyTiles = "too many tiles";

} // namespace tessella
