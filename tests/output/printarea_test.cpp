// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/printarea.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace tessella;

namespace {

struct SideCase
{
    const char *text;
    std::optional<double> value;
};

class AspectSide : public ::testing::TestWithParam<SideCase>
{};

TEST_P(AspectSide, IsAPositiveFiniteNumberInAnyLocale)
{
    EXPECT_EQ(parseAspectSide(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    PrintArea, AspectSide,
    ::testing::Values(SideCase{"10", 10.0}, SideCase{" 8 ", 8.0}, SideCase{"1e3", 1000.0},
                      SideCase{"0.25", 0.25}, SideCase{"0", std::nullopt},
                      SideCase{"-4", std::nullopt}, SideCase{"", std::nullopt},
                      SideCase{"abc", std::nullopt}, SideCase{"&H10", std::nullopt},
                      SideCase{"1,5", std::nullopt}, SideCase{"$5", std::nullopt},
                      SideCase{"inf", std::nullopt}, SideCase{"1e999", std::nullopt},
                      SideCase{"nan", std::nullopt}));

struct PullCase
{
    const char *name;
    bool fixed;
    double ratio;
    double x1, y1, x2, y2; // press, release
    std::optional<PrintArea> area;
};

class Pull : public ::testing::TestWithParam<PullCase>
{};

TEST_P(Pull, GivesAnOrderedAreaOrNoneWhenEmptyOrBeyondThirtyTwoBits)
{
    const PullCase &c = GetParam();
    AreaPull pull;
    pull.setFixed(c.fixed);
    pull.setRatio(c.ratio);
    pull.press(c.x1, c.y1);
    if (c.x2 != c.x1 || c.y2 != c.y1)
        pull.move((c.x1 + c.x2) / 2, (c.y1 + c.y2) / 2);
    pull.release(c.x2, c.y2);
    EXPECT_EQ(pull.area(), c.area) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    PrintArea, Pull,
    ::testing::Values(
        PullCase{"free, either way", false, 1, 300, 500, 100, 200, PrintArea{100, 200, 300, 500}},
        PullCase{"corners round halves to even", false, 1, 0.5, 1.5, 10.5, 20.5,
                 PrintArea{0, 2, 10, 20}},
        PullCase{"fixed, up and left", true, 0.8, 100, 100, 0, 90, PrintArea{0, 20, 100, 100}},
        PullCase{"a click alone", false, 1, 40, 40, 40, 40, std::nullopt},
        PullCase{"a line", false, 1, 40, 40, 90, 40, std::nullopt},
        PullCase{"a ratio of a billion", true, 1e9, 0, 0, 10, 1, std::nullopt},
        PullCase{"far beyond 32 bits", false, 1, 0, 0, 3e9, 10, std::nullopt}));

} // namespace
