// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/records.h"
#include "platform/surface.h"

#include <optional>
#include <vector>

namespace tessella {

class Chain;

// Colours of the transform editor's drawing (packed RGB).
inline constexpr Colour kOutlineColour = 220 + 256 * 110; // the sampled curves
inline constexpr Colour kBoundaryColour = 128 + 256 * 128 + 65536 * 128;
inline constexpr Colour kCornerOutlineColour = 256 * 255; // green
inline constexpr Colour kSketchFillColour = 180 + 256 * 180 + 65536 * 180;
inline constexpr Colour kHandleMarkerColour = 192 + 65536 * 90; // a handle picked for a drag

// What the view list lets through, and the states that add overlays.
struct XformDrawSettings
{
    bool curves = true;
    bool tileOutline = true;
    bool boundary = true;
    bool sketches = true;
    bool curveMode = false; // curve handles of active segments are shown
    Colour tileColour = 0;  // "negative" sketch items use its inverse
    double areaWidth = 1;   // the drawing area, editor units
    double areaHeight = 1;
};

// A regular polygon being dragged out with the sketch tools: centre, corner radius and
// number of sides, editor units.
struct RegularPreview
{
    double centreX = 0;
    double centreY = 0;
    double radius = 0;
    int sides = 0;
    bool negative = false;
    bool filled = false;
};

// Draws the transform editor's picture onto `surface`, whose scale maps editor units to
// its pixels, in the fixed order: sketch items, boundary, corner outline, sampled
// curves, the straight chain with its role colours, the segments and points of a sketch
// being entered, and the curve handles. `items` holds the working sketch items at
// indexes 1 .. itemEnd - 1 (index 0 is unused); items marked deleted are skipped.
void drawXform(Surface &surface, const Chain &chain, const std::vector<Sketch> &items, int itemEnd,
               const XformDrawSettings &settings, const Sketch *entering = nullptr,
               const std::optional<RegularPreview> &regular = std::nullopt);

// A filled circle of `radius` screen pixels around an editor point.
void drawXformDot(Surface &surface, double x, double y, Colour colour, int radius);

// The surface pixel of an editor point, nothing when it cannot be drawn.
std::optional<PixelPoint> surfacePixel(const Surface &surface, double x, double y);

} // namespace tessella
