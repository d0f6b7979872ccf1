// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/colour.h"

#include <gtest/gtest.h>

using namespace tessella;

namespace {
const Colour kRed = packRgb(255, 0, 0);
const Colour kGreen = packRgb(0, 255, 0);
const Colour kBlue = packRgb(0, 0, 255);
const Colour kWhite = packRgb(255, 255, 255);
} // namespace

TEST(Colour, PackAndComponents)
{
    EXPECT_EQ(packRgb(1, 2, 3), 1 + 256 * 2 + 65536 * 3);
    EXPECT_EQ(packRgb(300, -5, 128), 255 + 65536 * 128);
    const Colour c = packRgb(12, 34, 56);
    EXPECT_EQ(redOf(c), 12);
    EXPECT_EQ(greenOf(c), 34);
    EXPECT_EQ(blueOf(c), 56);
}

TEST(Colour, Invert)
{
    EXPECT_EQ(invertColor(packRgb(10, 20, 30)), packRgb(245, 235, 225));
    EXPECT_EQ(invertColor(0), kWhite);
    EXPECT_EQ(invertColor(-1), 0); // stray high bits are not part of the colour
}

TEST(Hsv, Primaries)
{
    EXPECT_EQ(rgbToHsv(kRed), (Hsv{0, 100, 100}));
    EXPECT_EQ(rgbToHsv(kGreen), (Hsv{120, 100, 100}));
    EXPECT_EQ(rgbToHsv(kBlue), (Hsv{240, 100, 100}));
    EXPECT_EQ(rgbToHsv(0), (Hsv{0, 0, 0}));
    EXPECT_EQ(rgbToHsv(kWhite), (Hsv{0, 0, 100}));
}

TEST(Hsv, EqualMaximaResolveRedGreenBlue)
{
    EXPECT_EQ(rgbToHsv(packRgb(255, 255, 0)).h, 60);  // red wins over green
    EXPECT_EQ(rgbToHsv(packRgb(0, 255, 255)).h, 180); // green wins over blue
    EXPECT_EQ(rgbToHsv(packRgb(255, 0, 255)).h, 300); // red, blue above green
}

TEST(Hsv, RoundTripsForPrimariesAndSecondaries)
{
    for (Colour c : {kRed, kGreen, kBlue, packRgb(255, 255, 0), packRgb(0, 255, 255),
                     packRgb(255, 0, 255), kWhite, Colour{0}, packRgb(128, 128, 128)}) {
        const Hsv hsv = rgbToHsv(c);
        EXPECT_EQ(hsvToRgb(hsv.h, hsv.s, hsv.v), c) << "colour " << c;
    }
}

TEST(Hsv, HalvesRoundToEven)
{
    // Saturation (200 - 199) * 100 / 200 = 0.5 rounds to 0.
    EXPECT_EQ(rgbToHsv(packRgb(200, 199, 199)), (Hsv{0, 0, 78}));
    // Saturation 3 * 100 / 200 = 1.5 rounds to 2.
    EXPECT_EQ(rgbToHsv(packRgb(200, 197, 197)).s, 2);
    // Value 30 % is 76.5 and becomes 76; 50 % is 127.5 and becomes 128.
    EXPECT_EQ(hsvToRgb(0, 0, 30), packRgb(76, 76, 76));
    EXPECT_EQ(hsvToRgb(0, 0, 50), packRgb(128, 128, 128));
}

TEST(Hsv, SextantBoundaries)
{
    EXPECT_EQ(hsvToRgb(60, 100, 100), packRgb(255, 255, 0));
    EXPECT_EQ(hsvToRgb(61, 100, 100), packRgb(251, 255, 0)); // 4.25 * 59 = 250.75
    EXPECT_EQ(hsvToRgb(180, 100, 100), packRgb(0, 255, 255));
    EXPECT_EQ(hsvToRgb(181, 100, 100), packRgb(0, 251, 255));
    EXPECT_EQ(hsvToRgb(360, 100, 100), kRed);
    EXPECT_EQ(hsvToRgb(30, 50, 100), packRgb(255, 192, 128)); // m 127.5, g 191.5
}

TEST(Hsv, HueOutsideTheCircleIsBlack)
{
    EXPECT_EQ(hsvToRgb(361, 100, 100), 0);
    EXPECT_EQ(hsvToRgb(-1, 100, 100), 0);
}

TEST(Hsv, OutOfRangeValuesAreClamped)
{
    EXPECT_EQ(hsvToRgb(0, 0, 1000), kWhite);
    EXPECT_EQ(hsvToRgb(0, 0, -50), 0);
    EXPECT_EQ(hsvToRgb(120, 2000000000, 2000000000), kGreen);
}

TEST(ColourShift, RedTurnedBy120IsGreen)
{
    EXPECT_EQ(shiftColour(kRed, 120, 0), kGreen);
    EXPECT_EQ(shiftColour(kRed, 240, 0), kBlue);
    EXPECT_EQ(shiftColour(kRed, 360, 0), kRed);
}

TEST(ColourShift, ZeroShiftIsTheHsvRoundTrip)
{
    for (Colour c : {packRgb(10, 200, 30), packRgb(90, 91, 255), packRgb(17, 17, 17)}) {
        const Hsv hsv = rgbToHsv(c);
        EXPECT_EQ(shiftColour(c, 0, 0), hsvToRgb(hsv.h, hsv.s, hsv.v));
    }
}

TEST(ColourShift, ValueFoldsAt100And200)
{
    // lightShift 180 adds 100: black becomes white, white becomes black (200 mod 200).
    EXPECT_EQ(shiftColour(0, 0, 180), kWhite);
    EXPECT_EQ(shiftColour(kWhite, 0, 180), 0);
    // 78 + 50 = 128 folds back to 72.
    EXPECT_EQ(shiftColour(packRgb(200, 200, 200), 0, 90), hsvToRgb(0, 0, 72));
}

TEST(ColourShift, NegativeHueSumGivesBlackAndHugeShiftsAreSafe)
{
    EXPECT_EQ(shiftColour(kGreen, -200, 0), 0);
    EXPECT_EQ(shiftColour(kGreen, 2147483647, 0), hsvToRgb((120 + 2147483647LL) % 360, 100, 100));
    const Colour bright = shiftColour(kGreen, 0, 1e300);
    EXPECT_GE(bright, 0);
    EXPECT_LE(bright, 0xffffff);
    EXPECT_EQ(redOf(bright), 0);
    EXPECT_EQ(blueOf(bright), 0);
}
