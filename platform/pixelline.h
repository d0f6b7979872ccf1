// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tessella {

// Floor of n / d for d > 0.
inline __int128 floorDiv(__int128 n, __int128 d)
{
    const __int128 q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

// Visits the pixels of the one-pixel line from (x0, y0) to (x1, y1), both ends included,
// that lie in [0, width) x [0, height): plot(x, y, step), step counting pixels from the
// start along the longer axis. Each pixel is computed from the end points alone, so the
// result does not depend on the visible area: a one-pixel probe sees exactly what a full
// canvas shows. A line drawn backwards covers the same pixels.
template <typename Plot>
void forEachLinePixel(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width, int height,
                      Plot plot)
{
    const int64_t dx = x1 - x0;
    const int64_t dy = y1 - y0;
    if (dx == 0 && dy == 0) {
        if (x0 >= 0 && y0 >= 0 && x0 < width && y0 < height) {
            plot(int(x0), int(y0), int64_t(0));
        }
        return;
    }
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    // Work along the major axis from the lower end, so both directions round alike.
    int64_t a = xMajor ? x0 : y0, b = xMajor ? x1 : y1;   // major axis
    int64_t ma = xMajor ? y0 : x0, mb = xMajor ? y1 : x1; // minor axis
    const int64_t start = a;
    if (a > b) {
        std::swap(a, b);
        std::swap(ma, mb);
    }
    const __int128 run = b - a;
    const __int128 rise = mb - ma;
    const int64_t limit = xMajor ? width : height;
    const int64_t otherLimit = xMajor ? height : width;
    const int64_t first = std::max<int64_t>(a, 0);
    const int64_t last = std::min<int64_t>(b, limit - 1);
    for (int64_t m = first; m <= last; ++m) {
        // Nearest minor coordinate, halves rounded up.
        const int64_t n = int64_t(ma + floorDiv(2 * (m - a) * rise + run, 2 * run));
        if (n < 0 || n >= otherLimit) {
            continue;
        }
        const int64_t step = std::llabs(m - start);
        if (xMajor) {
            plot(int(m), int(n), step);
        } else {
            plot(int(n), int(m), step);
        }
    }
}

} // namespace tessella
