// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/export/imageexport.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tessella {

// A width or height typed for the fixed aspect: a finite number greater than 0, read the
// same in every locale ("1e3" counts, "&H10", "1,5" or a currency sign do not).
std::optional<double> parseAspectSide(const std::string &text);

// The rectangle pulled on the tile editor's canvas: the press gives the anchor corner,
// moves give the moving corner (with a fixed aspect its y follows from x), the release
// ends the pull. Everything stays in doubles until the area is taken, so no corner can
// overflow while it is pulled.
class AreaPull
{
public:
    // With a fixed aspect the rectangle is `ratio` (height / width) times as high as wide.
    void setFixed(bool fixed) { fixed_ = fixed; }
    bool fixed() const { return fixed_; }
    void setRatio(double ratio) { ratio_ = ratio; }
    double ratio() const { return ratio_; }

    // A new pull; the moving corner starts at the anchor, so a click alone is empty.
    void press(double x, double y);
    // The pointer moved with the button held.
    void move(double x, double y) { constrainCorner(x, y); }
    void release(double x, double y);
    // Fixes the moving corner for the pointer at (x, y).
    void constrainCorner(double x, double y);
    void clear();

    bool pulling() const { return pulling_; }
    double anchorX() const { return anchorX_; }
    double anchorY() const { return anchorY_; }
    double cornerX() const { return cornerX_; }
    double cornerY() const { return cornerY_; }

    // The pulled area, ordered; nothing when it is empty or a corner does not fit 32 bits.
    std::optional<PrintArea> area() const;

private:
    bool fixed_ = false;
    double ratio_ = 0.8;
    bool pulling_ = false;
    double anchorX_ = 0;
    double anchorY_ = 0;
    double cornerX_ = 0;
    double cornerY_ = 0;
};

} // namespace tessella
