// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <optional>

namespace tessella {

// Every double-to-integer conversion of a coordinate goes through these helpers:
// a NaN, an infinity or a huge value would otherwise be undefined behaviour.

// Largest magnitude a converted pixel coordinate may take. Far beyond any canvas, yet
// small enough that a painter adding pen widths, offsets or products of two such
// values in 64 bits never overflows.
inline constexpr int kPixelLimit = 1 << 24;

// Nearest integer, halves to the even neighbour (the default rounding mode).
inline double roundHalfEven(double v)
{
    return std::nearbyint(v);
}

// Clamps an already integral double into [lo, hi] and converts it; nullopt for NaN.
inline std::optional<int> saturateToInt(double integral, int lo, int hi)
{
    if (std::isnan(integral))
        return std::nullopt;
    if (integral <= lo)
        return lo;
    if (integral >= hi)
        return hi;
    return static_cast<int>(integral);
}

// Halves-to-even rounding into [lo, hi]; nullopt for NaN, infinities saturate.
inline std::optional<int> roundToInt(double v, int lo, int hi)
{
    return saturateToInt(roundHalfEven(v), lo, hi);
}

// floor(v) in pixels, saturated to +-kPixelLimit; nullopt when v is not finite, so
// the caller skips the shape instead of drawing towards a bogus corner.
inline std::optional<int> floorToPixel(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    return saturateToInt(std::floor(v), -kPixelLimit, kPixelLimit);
}

// Halves-to-even rounding in pixels, saturated to +-kPixelLimit; nullopt when v is
// not finite.
inline std::optional<int> roundToPixel(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    return saturateToInt(roundHalfEven(v), -kPixelLimit, kPixelLimit);
}

} // namespace tessella
