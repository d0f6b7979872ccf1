// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace tessella {

// Other windows the tile editor opens. app/ installs them, so the tile editor never
// depends on those windows; an empty hook does nothing.
struct EditorHooks
{
    std::function<void()> showTransformEditor;  // the transform pick and "return to transform"
    std::function<void()> fractal;              // the "fractal" button with enough tiles
    std::function<bool()> fractalShown;         // the canvas shows the fractal picture
    std::function<void()> renderFractal;        // the fractal panel's render command
    std::function<void()> saveImage;            // the files entry "save image"
    std::function<void()> closeTransformEditor; // the application is ending
    // Start-up: offer the file association (given the command-line document).
    std::function<void(const QString &)> offerFileAssociation;
};

} // namespace tessella
