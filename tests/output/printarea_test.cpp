// SPDX-License-Identifier: GPL-3.0-or-later
// The area pulled for "save image" and the aspect typed for it, without the windows.
#include "output/printarea.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tessella;

namespace {

TEST(AreaPull, CornersFollowThePointerAndTheAreaIsOrderedWholeAndFitting)
{
    const double nan = std::nan(""), big = 2147483647;
    using A = std::optional<PrintArea>;
    // clang-format off
    struct { bool fixed; double ratio, ax, ay, mx, my, rx, ry; A area; } const cases[] = {
        // 10 : 8 towards the pointer's side, from either corner, down and up.
        {true, 0.8, 400, 300, 500, 400, 600, 360, PrintArea{400, 300, 600, 460}},
        {true, 0.8, 600, 460, 500, 350, 400, 400, PrintArea{400, 300, 600, 460}},
        {true, 0.8, 400, 300, 500, 250, 600, 240, PrintArea{400, 140, 600, 300}},
        {true, 0.8, 600, 140, 500, 200, 400, 200, PrintArea{400, 140, 600, 300}},
        {false, 0.8, 50, 60, 30, 30, 10, 20, PrintArea{10, 20, 50, 60}},
        {false, 0.8, 0, 0, 1, 1, 2.5, 3.5, PrintArea{0, 0, 2, 4}}, // halves to even
        {false, 0.8, 10, 10, 40, 40, 10, 50, std::nullopt},        // no width
        {false, 0.8, 10, 10, 40, 40, 50, 10, std::nullopt},        // no height
        {false, 0.8, 0, 0, 1, 1, big, 1, PrintArea{0, 0, 2147483647, 1}},
        {false, 0.8, 0, 0, 1, 1, big + 1, 1, std::nullopt},
        {false, 0.8, -big - 1, 0, 1, 1, 0, 1, PrintArea{-2147483647 - 1, 0, 0, 1}},
        {false, 0.8, -big - 2, 0, 1, 1, 0, 1, std::nullopt},
        {true, 1e9, 0, 0, 1, 1, 10, 5, std::nullopt}, // the corner is past 32 bits
        {false, 0.8, 0, 0, 1, 1, nan, 5, std::nullopt},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.ax << "," << c.ay << " to " << c.rx << "," << c.ry);
        AreaPull pull;
        pull.setFixed(c.fixed), pull.setRatio(c.ratio);
        pull.release(c.mx, c.my); // not pulling: ignored
        EXPECT_EQ(pull.area(), std::nullopt);
        pull.press(c.ax, c.ay);
        EXPECT_TRUE(pull.pulling() && !pull.area()); // a click alone is empty
        pull.move(c.mx, c.my), pull.release(c.rx, c.ry);
        EXPECT_EQ(std::pair(pull.pulling(), pull.area()), std::pair(false, c.area));
        pull.release(c.ax + 7, c.ay + 7); // after the pull: ignored
        EXPECT_EQ(pull.area(), c.area);
    }
}

TEST(AspectSide, AFiniteNumberAboveZeroInTheCLocale)
{
    const std::pair<const char *, std::optional<double>> cases[] = {
        {"10", 10},  {" 2.5 ", 2.5}, {"1e3", 1000}, {"0.0001", 0.0001}, {"0", {}},
        {"-1", {}},  {"&H10", {}},   {"1,5", {}},   {"1,000", {}},      {"$5", {}},
        {"inf", {}}, {"nan", {}},    {"1e400", {}}, {"", {}},           {"abc", {}}};
    for (const auto &[text, value] : cases)
        EXPECT_EQ(parseAspectSide(text), value) << text;
}

} // namespace
