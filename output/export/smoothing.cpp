// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/export/smoothing.h"

namespace tessella {

namespace {

// Red and blue in two 16-bit lanes of one word, green alone: a weighted sum of sixteen
// bytes (at most 4080) never carries out of its lane.
inline uint32_t redBlue(uint32_t p)
{
    return p & 0x00ff00ffu;
}

inline uint32_t green(uint32_t p)
{
    return (p >> 8) & 0xffu;
}

struct Column
{
    uint32_t rb;
    uint32_t g;
};

inline Column column(const uint32_t *above, const uint32_t *centre, const uint32_t *below,
                     int64_t x)
{
    const uint32_t a = above[x], c = centre[x], b = below[x];
    return {redBlue(a) + 2 * redBlue(c) + redBlue(b), green(a) + 2 * green(c) + green(b)};
}

inline void put(Column left, Column mid, Column right, uint8_t *out)
{
    const uint32_t rb = left.rb + 2 * mid.rb + right.rb;
    const uint32_t g = left.g + 2 * mid.g + right.g;
    out[0] = uint8_t(rb >> 20);
    out[1] = uint8_t(g >> 4);
    out[2] = uint8_t((rb & 0xffffu) >> 4);
}

} // namespace

void smoothRow(const uint32_t *above, const uint32_t *centre, const uint32_t *below, int64_t width,
               uint8_t *out)
{
    if (width <= 0) {
        return;
    }
    Column left = column(above, centre, below, 0);
    int64_t x = 0;
    // Every even x with both neighbours inside; the right column is the next one's left.
    for (; x + 1 < width; x += 2) {
        const Column mid = column(above, centre, below, x);
        const Column right = column(above, centre, below, x + 1);
        put(left, mid, right, out);
        out += 3;
        left = right;
    }
    if (x < width) {
        // The last column of an odd width: its right neighbour is clamped to itself.
        const Column mid = column(above, centre, below, x);
        put(left, mid, mid, out);
    }
}

void copyRow(const uint32_t *source, int64_t width, uint8_t *out)
{
    for (int64_t x = 0; x < width; ++x) {
        const uint32_t p = source[x];
        out[0] = uint8_t(p >> 16);
        out[1] = uint8_t(p >> 8);
        out[2] = uint8_t(p);
        out += 3;
    }
}

} // namespace tessella
