// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/colour.h"

#include "document/numeric.h"

#include <algorithm>
#include <climits>

namespace tessella {

namespace {

// Halves-to-even rounding of a colour computation; NaN cannot arise from whole inputs.
int rnd(double v)
{
    return roundToInt(v, INT_MIN / 2, INT_MAX / 2).value_or(0);
}

} // namespace

Colour packRgb(int r, int g, int b)
{
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    return r + 256 * g + 65536 * b;
}

Colour invertColor(Colour c)
{
    return packRgb(255 - redOf(c), 255 - greenOf(c), 255 - blueOf(c));
}

Hsv rgbToHsv(Colour c)
{
    const int r = redOf(c);
    const int g = greenOf(c);
    const int b = blueOf(c);
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    Hsv hsv;
    hsv.v = rnd(max * 100.0 / 255.0);
    if (max > min) {
        hsv.s = rnd((max - min) * 100.0 / max);
        const double d = 60.0 / (max - min);
        double h;
        if (max == r)
            h = b <= g ? (g - b) * d : (g - b) * d + 360;
        else if (max == g)
            h = (b - r) * d + 120;
        else
            h = (r - g) * d + 240;
        hsv.h = rnd(h);
    }
    return hsv;
}

Colour hsvToRgb(int h, int s, int v)
{
    if (h < 0 || h > 360)
        return 0;
    const int bigM = rnd(static_cast<double>(v) * 255.0 / 100.0);
    const int m = rnd((100.0 - s) * bigM / 100.0);
    const double slope = (static_cast<double>(bigM) - m) / 60.0;
    if (h <= 60)
        return packRgb(bigM, rnd(slope * h + m), m);
    if (h <= 120)
        return packRgb(rnd(slope * (120 - h) + m), bigM, m);
    if (h <= 180)
        return packRgb(m, bigM, rnd(slope * (h - 120) + m));
    if (h <= 240)
        return packRgb(m, rnd(slope * (240 - h) + m), bigM);
    if (h <= 300)
        return packRgb(rnd(slope * (h - 240) + m), m, bigM);
    return packRgb(bigM, m, rnd(slope * (360 - h) + m));
}

Colour shiftColour(Colour c, int hueShift, double lightShift)
{
    const Hsv hsv = rgbToHsv(c);
    // Summed in 64 bits so no shift can overflow; the remainder keeps the sum's sign.
    const int h = static_cast<int>((static_cast<long long>(hsv.h) + hueShift) % 360);
    int v = rnd(lightShift / 1.8 + hsv.v);
    if (v >= 200)
        v %= 200;
    else if (v >= 100)
        v = 200 - v;
    return hsvToRgb(h, hsv.s, v);
}

} // namespace tessella
