// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/records.h"
#include "tileeditor/fractallink.h"

#include <QString>

#include <functional>
#include <optional>

namespace tessella {

// Pointer handlers that take the canvas over from the editor's own gestures: button 1
// left, 2 right (moves: the buttons held), positions in plane units.
struct CanvasGrab
{
    std::function<void(int button, double x, double y)> press;
    std::function<void(int buttons, double x, double y)> move;
    std::function<void(int button, double x, double y)> release;
};

// Other windows the tile editor opens. app/ installs them, so the tile editor never
// depends on those windows; an empty hook does nothing.
struct EditorHooks
{
    // The transform pick and "return to transform". For the latter, vertex 0 of the display
    // copy that was just removed, so a reloaded pending polygon goes back where it lay.
    std::function<void(std::optional<Vertex> displayCorner)> showTransformEditor;
    FractalLink *fractal = nullptr;             // the fractal panel
    std::function<void()> saveImage;            // the files entry "save image"
    std::function<void()> closeTransformEditor; // the application is ending
    // A save while a transform is pending: the transform editor writes its polygon into
    // `xfReturn` and its chain into `nodeRecs`; false when it could not (it said why).
    std::function<bool()> writeBackTransform;
    // Start-up: offer the file association (given the command-line document).
    std::function<void(const QString &)> offerFileAssociation;
};

} // namespace tessella
