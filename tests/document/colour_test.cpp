// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/colour.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

using namespace tessella;

namespace {

const Colour kRed = packRgb(255, 0, 0), kGreen = packRgb(0, 255, 0), kBlue = packRgb(0, 0, 255);
const Colour kWhite = packRgb(255, 255, 255);

TEST(Colour, ConversionsBothWaysEveryBranchTiesHalvesToEvenAndRandomRoundTrips)
{
    // clang-format off
    struct { Colour rgb; Hsv hsv; bool toHsv, toRgb; } const cases[] = {
        {kRed, {0, 100, 100}, true, true}, {kBlue, {240, 100, 100}, true, true},
        {0, {0, 0, 0}, true, true}, {kWhite, {0, 0, 100}, true, true},
        {packRgb(128, 128, 128), {0, 0, 50}, true, true},   // 127.5 rounds up
        {packRgb(255, 255, 0), {60, 100, 100}, true, true},  // red wins over green
        {packRgb(0, 255, 255), {180, 100, 100}, true, true}, // green wins over blue
        {packRgb(255, 0, 255), {300, 100, 100}, true, true}, // red wins over blue
        {packRgb(255, 0, 128), {330, 100, 100}, true, true}, // red highest, blue above green
        {packRgb(0, 255, 128), {150, 100, 100}, true, true}, {packRgb(128, 0, 255), {270, 100, 100}, true, true},
        {packRgb(200, 199, 199), {0, 0, 78}, true, false}, // saturation 0.5 rounds to 0
        {packRgb(200, 197, 197), {0, 2, 78}, true, false}, // saturation 1.5 rounds to 2
        {packRgb(251, 255, 0), {61, 100, 100}, false, true}, // 4.25 * 59
        {packRgb(0, 251, 255), {181, 100, 100}, false, true}, {kRed, {360, 100, 100}, false, true},
        {packRgb(30, 0, 255), {247, 100, 100}, false, true},
        {packRgb(255, 192, 128), {30, 50, 100}, false, true}, // m 127.5, g 191.5
        {packRgb(76, 76, 76), {0, 0, 30}, false, true},       // 76.5
        {0, {361, 100, 100}, false, true}, {0, {-1, 100, 100}, false, true},
        {kWhite, {0, 0, 1000}, false, true}, {0, {0, 0, -50}, false, true},
        {kGreen, {120, 2000000000, 2000000000}, false, true},
        {kRed, {30, 200, 100}, false, true}, // m = -255 steepens the slope: g = 8.5 * 30 - 255
    };
    // clang-format on
    for (const auto &c : cases) {
        EXPECT_TRUE(!c.toHsv || rgbToHsv(c.rgb) == c.hsv) << c.rgb;
        EXPECT_TRUE(!c.toRgb || hsvToRgb(c.hsv.h, c.hsv.s, c.hsv.v) == c.rgb)
            << c.hsv.h << " " << c.hsv.s;
    }
    // Random colours round-trip nearly, and a zero shift is the round trip.
    std::mt19937 random(11);
    std::uniform_int_distribution<int> component(0, 255);
    for (int i = 0; i < 5000; ++i) {
        const Colour c = packRgb(component(random), component(random), component(random));
        const Hsv hsv = rgbToHsv(c);
        const Colour back = hsvToRgb(hsv.h, hsv.s, hsv.v);
        // Whole degrees and percent lose at most half a step each.
        for (int shift : {0, 8, 16})
            EXPECT_NEAR((back >> shift) & 255, (c >> shift) & 255, 4) << c;
        EXPECT_EQ(shiftColour(c, 0, 0), back) << c;
    }
}

TEST(Colour, ShiftTurnsHueAndFoldsValue)
{
    // clang-format off
    struct { Colour in; int hue; double light; Colour out; } const cases[] = {
        {kRed, 120, 0, kGreen}, {kRed, 360, 0, kRed}, {0, 0, 180, kWhite}, {kWhite, 0, 180, 0},
        {packRgb(200, 200, 200), 0, 90, 0xb8b8b8}, // 78 + 50 = 128 folds back to 72
        {kGreen, -200, 0, 0},                      // a negative hue sum is black
        {kGreen, INT_MAX, 0, packRgb(30, 0, 255)}, // (120 + INT_MAX) mod 360 = 247
        {kGreen, 0, 1e300, packRgb(0, 59, 0)},     // the saturated value folds to 23
    };
    // clang-format on
    for (const auto &c : cases)
        EXPECT_EQ(shiftColour(c.in, c.hue, c.light), c.out) << c.in << " " << c.hue;
    EXPECT_EQ(packRgb(300, -5, 128), 255 + 65536 * 128);
    EXPECT_EQ(invertColor(packRgb(10, 20, 30)), packRgb(245, 235, 225));
    EXPECT_EQ(invertColor(-1), 0); // stray high bits are not part of the colour
}

} // namespace
