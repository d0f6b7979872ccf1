// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

namespace tessella {

// The fractal panel's four swatch strips, one pixel per unit of their 0 .. 180 by 0 .. 13
// scale: the hue circle before and after the hue shift, the grey ramp (black to white and
// back) before and after the value shift.
struct SwatchStrips
{
    QImage colrFrom;
    QImage colrTo;
    QImage valFrom;
    QImage valTo;
};

inline constexpr int kSwatchWidth = 181;
inline constexpr int kSwatchHeight = 14;

SwatchStrips paintSwatches(int hueShift, int lightShift);

} // namespace tessella
