// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tileeditor/editorhost.h"

namespace tessella {

// The colour chip `picChip`: the colour new tiles take. A right click chooses it in the
// colour dialog; a left click arms a pick, and the next press on the plane takes the
// colour the canvas shows on a tile there. Colours are packed RGB.
class ColourChip
{
public:
    static constexpr Colour kInitialColour = 0 + 256 * 192; // RGB(0, 192, 0)

    explicit ColourChip(EditorContext ctx) : ctx_(ctx) {}

    Colour colour() const { return colour_; }
    void setColour(Colour colour) { colour_ = colour; }
    // The chip's raised border; flat while a pick is armed.
    bool raised() const { return raised_; }
    // `pickColor`: the next press on the plane picks a colour.
    bool armed() const { return armed_; }

    // The chip was pressed with `button` (1 left, 2 right, 4 middle). Returns true when a
    // pick was armed (the canvas pointer then becomes the arrow).
    bool pressed(int button);
    // `getColor`: the colour dialog, starting from the chip's colour; nothing when the
    // user cancelled.
    std::optional<Colour> getColor();
    // The press on the plane while armed: takes the colour shown on the tile under the
    // pointer (a miss beeps and leaves the colour). Always disarms and redraws. Returns
    // whether a tile was found.
    bool pick(double x, double y);
    // Disarms without picking (the border is restored).
    void disarm();

private:
    EditorContext ctx_;
    Colour colour_ = kInitialColour;
    bool raised_ = true;
    bool armed_ = false;
};

} // namespace tessella
