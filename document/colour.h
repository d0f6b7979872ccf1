// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/records.h"

namespace tessella {

inline constexpr int redOf(Colour c)
{
    return c & 255;
}
inline constexpr int greenOf(Colour c)
{
    return (c >> 8) & 255;
}
inline constexpr int blueOf(Colour c)
{
    return (c >> 16) & 255;
}

// red + 256 * green + 65536 * blue; each component is clamped to 0 .. 255 first.
Colour packRgb(int r, int g, int b);

// RGB(255 - r, 255 - g, 255 - b) of c.
Colour invertColor(Colour c);

// Hue in degrees (0 .. 360), saturation and value in percent (0 .. 100).
struct Hsv
{
    int h = 0;
    int s = 0;
    int v = 0;
    friend bool operator==(const Hsv &, const Hsv &) = default;
};

// Hue, saturation and value of c, each rounded halves to even. A grey has h = s = 0;
// equal maxima count as red before green before blue.
Hsv rgbToHsv(Colour c);

// Packed colour of (h, s, v), by sextants 0..60, 61..120, ... 301..360 of the whole
// degree h; h outside 0 .. 360 gives black. Out-of-range s or v give components
// clamped to 0 .. 255.
Colour hsvToRgb(int h, int s, int v);

// The fractal panel's colour shift of a tile colour: hue turned by hueShift degrees
// (modulo 360, keeping the sign of the sum), value raised by lightShift / 1.8 and
// folded back at 100 and 200.
Colour shiftColour(Colour c, int hueShift, double lightShift);

} // namespace tessella
