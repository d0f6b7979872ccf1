// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pixelline.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

using namespace tessella;

namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels linePixels(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int w = 1000, int h = 1000)
{
    Pixels pixels;
    forEachLinePixel(x0, y0, x1, y1, w, h, [&](int x, int y, int64_t) { pixels.insert({x, y}); });
    return pixels;
}

} // namespace

TEST(PixelLine, BothEndsAndNearestRows)
{
    EXPECT_EQ(linePixels(0, 0, 4, 2), (Pixels{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    EXPECT_EQ(linePixels(3, 3, 3, 3), (Pixels{{3, 3}}));
    EXPECT_EQ(linePixels(2, 1, 2, 4), (Pixels{{2, 1}, {2, 2}, {2, 3}, {2, 4}}));
    EXPECT_EQ(linePixels(5, 0, 0, 5).size(), 6u);
}

TEST(PixelLine, BackwardsCoversTheSamePixels)
{
    std::mt19937 random(3);
    std::uniform_int_distribution<int> c(0, 300);
    for (int i = 0; i < 500; ++i) {
        const int x0 = c(random), y0 = c(random), x1 = c(random), y1 = c(random);
        EXPECT_EQ(linePixels(x0, y0, x1, y1), linePixels(x1, y1, x0, y0));
    }
}

TEST(PixelLine, WindowDoesNotChangeThePixels)
{
    // The part of a line seen through a small window equals the same part of the whole.
    std::mt19937 random(5);
    std::uniform_int_distribution<int> c(-400, 700);
    for (int i = 0; i < 300; ++i) {
        const int x0 = c(random), y0 = c(random), x1 = c(random), y1 = c(random);
        const Pixels whole = linePixels(x0 + 1000, y0 + 1000, x1 + 1000, y1 + 1000, 3000, 3000);
        const Pixels seen = linePixels(x0 - 100, y0 - 120, x1 - 100, y1 - 120, 37, 23);
        Pixels expected;
        for (const auto &[x, y] : whole) {
            const int vx = x - 1100, vy = y - 1120;
            if (vx >= 0 && vx < 37 && vy >= 0 && vy < 23) {
                expected.insert({vx, vy});
            }
        }
        EXPECT_EQ(seen, expected);
    }
}

TEST(PixelLine, StepsCountFromTheStartAndHugeLinesStayCheap)
{
    std::vector<int64_t> steps;
    forEachLinePixel(9, 0, 0, 0, 20, 1, [&](int, int, int64_t step) { steps.push_back(step); });
    ASSERT_EQ(steps.size(), 10u);
    EXPECT_EQ(steps.front(), 9); // visited left to right, counted from the start at x = 9
    EXPECT_EQ(steps.back(), 0);

    // Only the visible stretch is walked, even for a line of four billion pixels.
    int visited = 0;
    forEachLinePixel(-(int64_t(1) << 32), 5, int64_t(1) << 32, 7, 10, 10, [&](int, int y, int64_t) {
        ++visited;
        EXPECT_EQ(y, 6);
    });
    EXPECT_EQ(visited, 10);
}
