// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/imagesurface.h"

namespace tessella {

// A one-pixel surface placed at one canvas pixel, for hit tests: whatever is drawn on it
// with the same calls as on the canvas leaves the colour that pixel of the canvas would
// show, without painting the canvas. It starts out as the canvas background colour.
class ProbeSurface : public ImageSurface
{
public:
    ProbeSurface(int canvasX, int canvasY, Colour background = kCanvasBackground);

    // Places the probe at another canvas pixel and resets it to `background`.
    void moveTo(int canvasX, int canvasY, Colour background = kCanvasBackground);
    int canvasX() const { return offset().x(); }
    int canvasY() const { return offset().y(); }

    // The colour of the probed pixel.
    Colour value() const { return pixel(canvasX(), canvasY()); }
};

} // namespace tessella
