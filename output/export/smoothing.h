// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tessella {

// The smoothing step of raster export and animation frames: each output pixel (x, y) is
// the 1-2-1 / 2-4-2 / 1-2-1 weighted mean (integer division by 16) of the 3 x 3 source
// pixels around source pixel (2x, 2y), the window clamped at the picture's edges. Source
// pixels are 0xffRRGGBB words; output pixels are red, green, blue bytes.

// Output row from the source rows above, at and below its centre row (the caller passes
// the centre row again where the picture ends); `width` source pixels give
// (width + 1) / 2 output pixels.
void smoothRow(const uint32_t *above, const uint32_t *centre, const uint32_t *below, int64_t width,
               uint8_t *out);

// Zoom 1: the drawn pixels unchanged, as red, green, blue bytes.
void copyRow(const uint32_t *source, int64_t width, uint8_t *out);

} // namespace tessella
