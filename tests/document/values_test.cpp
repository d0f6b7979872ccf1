// SPDX-License-Identifier: GPL-3.0-or-later
// Values: colours and their conversions, point functions, centroids, pixel conversion,
// snapping and the lattice marks.
#include "document/colour.h"
#include "document/geometry.h"
#include "document/lattice.h"
#include "tests/support/tilebuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

using namespace tessella;
using namespace tessella::test;

namespace {

const double kNan = std::numeric_limits<double>::quiet_NaN(), kPi = std::numbers::pi;
const double kInf = std::numeric_limits<double>::infinity(), kRow = 8 * std::sqrt(3.0); // hex row

TEST(Geometry, PointFunctionsCentroidsAndPixelConversion)
{
    // clang-format off
    struct { bool reflect; double cx, cy, px, py, theta; Vertex expected; } const turns[] = {
        {false, 1, 1, 2, 1, kPi / 2, {1, 2}}, // y grows downwards: positive turns clockwise
        {false, 1, 1, 1, 3, kPi, {1, -1}},
        {true, 0, 2, 5, 5, 0, {5, -1}},       // across y = 2
        {true, 1, 1, 3, 2, kPi / 4, {2, 3}},  // across the diagonal: offsets swap
    };
    // clang-format on
    for (const auto &c : turns) {
        const Vertex v = c.reflect ? reflectPoint(c.cx, c.cy, c.px, c.py, c.theta)
                                   : rotatePoint(c.cx, c.cy, c.px, c.py, c.theta);
        EXPECT_LT(std::hypot(v.x - c.expected.x, v.y - c.expected.y), 1e-12)
            << c.reflect << c.theta;
    }
    Tile damaged = polygonTile({{0, 0}, {6, 0}, {0, 3}}), negative = damaged;
    damaged.nVerts = 200, negative.nVerts = -4; // only what is stored counts, the spare too
    // clang-format off
    struct { Tile tile; bool found; Vertex centre; } const centroids[] = {
        {polygonTile({{0, 0}, {4, 0}, {4, 1}, {3, 1}}), true, {2.75, 0.5}}, // not the area's
        {damaged, true, {1.5, 0.75}}, {Tile{}, false, {7, 9}}, {negative, false, {7, 9}}};
    // clang-format on
    for (const auto &c : centroids) {
        double x = 7, y = 9;
        EXPECT_TRUE(findCentroid(c.tile, x, y) == c.found && Vertex(x, y) == c.centre)
            << c.centre.x;
    }
    Document doc = documentOf({squareTile(0, 0, 2), polygonTile({{10, 0}, {13, 0}, {10, 3}}),
                               polygonTile({{100, 100}, {101, 100}, {100, 101}}),
                               polygonTile({{-50, 0}, {-40, 0}, {-50, 5}}, 1, GridHexagonal)});
    doc.tiles[0].selected = doc.tiles[1].selected = doc.tiles[3].selected = kTrue;
    double x = -3, y = 4;
    EXPECT_FALSE(groupCentroid(doc, GridCenterFace, x, y) || Vertex(x, y) != Vertex(-3, 4));
    // Every corner weighs the same.
    EXPECT_TRUE(groupCentroid(doc, GridRectangular, x, y) && Vertex(x, y) == Vertex(37.0 / 7, 1));
    // clang-format off
    struct { double v; std::optional<int> floor, round; } const pixels[] = {
        {-0.5, -1, 0}, {-3.0, -3, -3}, {2.5, 2, 2}, {3.5, 3, 4}, {-2.5, -3, -2}, {2.5000001, 2, 3},
        {4e9, kPixelLimit, kPixelLimit}, {-1e300, -kPixelLimit, -kPixelLimit}, {kNan, {}, {}}, {-kInf, {}, {}}};
    // clang-format on
    for (const auto &c : pixels)
        EXPECT_EQ(std::pair(floorToPixel(c.v), roundToPixel(c.v)), std::pair(c.floor, c.round))
            << c.v;
    EXPECT_TRUE(roundToInt(1e20, -5, 5) == 5 && roundToInt(-kInf, -5, 5) == -5 &&
                roundToInt(kNan, -5, 5) == std::nullopt);
    EXPECT_TRUE(planeToPixelFloor(110, 60, 100, 50, 0.5) == (PixelCoord{5, 5}) &&
                planeToPixelRound(1.25, 1.75, 0, 0, 2) == (PixelCoord{2, 4}));
    EXPECT_EQ(planeToPixelRound(0, 1e308, 0, 0, 1e10), std::nullopt); // overflows to inf
    EXPECT_EQ(planeToPixelFloor(1e12, -1e12, 0, 0, 1), (PixelCoord{kPixelLimit, -kPixelLimit}));
}

// Distance from (x, y) to the nearest node of `grid`, by rounding to each sub-lattice.
const auto nearestNodeDistance = [](int16_t grid, double x, double y) -> double {
    // Each sub-lattice's cell width and height and its origin, by grid.
    using Cells = std::vector<std::array<double, 4>>;
    // clang-format off
    const Cells subs[] = {{{16, 16, 8, 8}}, {{24, 24, 0, 0}, {24, 24, 12, 12}}, {{16, 2 * kRow, 0, 0}, {16, 2 * kRow, 8, kRow}}};
    // clang-format on
    double best = kInf;
    for (const auto &[a, b, ox, oy] : subs[grid - GridRectangular])
        best = std::min(best, std::hypot(x - ox - a * std::round((x - ox) / a),
                                         y - oy - b * std::round((y - oy) / b)));
    return best;
};

// First where a random walk cannot look: ties, wide tolerances, no lattice, odd input.
TEST(Lattice, SnapsExactlyWhenANodeIsNearAndMarksRowsColumnsAndDots)
{
    // clang-format off
    struct { int16_t grid; double x, y, tol; bool space, snapped; double sx, sy; } const cases[] = {
        {GridRectangular, 14, 8, 6, false, false, 14, 8},   // the tolerance is strict
        {GridRectangular, 20, 20, 20, false, true, 8, 8},   // first passing corner, not nearest
        {GridRectangular, 19, 20, 6, true, true, 19, 20},   // space places freely
        {GridNone, 8, 8, 6, false, false, 8, 8}, {17, 8, 8, 6, false, false, 8, 8},
        {GridRectangular, 8, kNan, 6, false, false, 8, kNan}};
    // clang-format on
    for (const auto &c : cases) {
        const SnapResult s = snapToGrid(c.grid, c.x, c.y, c.tol, c.space);
        EXPECT_TRUE(s.snapped == c.snapped && s.x == c.sx && (s.y == c.sy || std::isnan(c.sy)))
            << c.x;
    }
    const SnapResult far = snapToGrid(GridHexagonal, 1e300, -1e300, 6, false);
    EXPECT_TRUE(std::isfinite(far.x) && std::isfinite(far.y));

    // Away from those edges: it snaps exactly when a node is near, and lands on it.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-500, 500);
    std::uniform_real_distribution<double> tolerance(0.01, 7.9); // under half a cell
    int snapped = 0;
    for (int i = 0; i < 20000; ++i) {
        const int16_t grid = static_cast<int16_t>(GridRectangular + i % 3);
        const double x = coordinate(random), y = coordinate(random), tol = tolerance(random);
        const SnapResult s = snapToGrid(grid, x, y, tol, false);
        const double near = nearestNodeDistance(grid, x, y);
        if (std::abs(near - tol) < 1e-9)
            continue;
        ASSERT_EQ(s.snapped, near < tol) << grid << " " << x << "," << y << " tol " << tol;
        snapped += s.snapped; // on a node, within reach
        EXPECT_TRUE(!s.snapped || (nearestNodeDistance(grid, s.x, s.y) < 1e-9 &&
                                   std::hypot(s.x - x, s.y - y) < tol))
            << "not a node within reach: " << s.x << "," << s.y;
    }
    EXPECT_GT(snapped, 1000);
    const auto marks = [](int16_t grid, double w, double h, double l = -kInf, double t = -kInf,
                          double r = kInf, double b = kInf) -> std::vector<LatticeMark> {
        std::vector<LatticeMark> out;
        const auto add = [&](const LatticeMark &m) { out.push_back(m); };
        l == -kInf ? forEachLatticeMark(grid, w, h, add)
                   : forEachLatticeMarkIn(grid, w, h, l, t, r, b, add);
        return out;
    };
    // The height is rounded halves to even (39.5 to 40, 38.5 to 38), the width is not.
    EXPECT_TRUE(marks(GridRectangular, 40, 39.5).size() == 9 &&
                marks(GridRectangular, 40, 38.5).size() == 6 &&
                marks(GridRectangular, 39.9, 40).size() == 6);
    // clang-format off
    EXPECT_EQ(marks(GridCenterFace, 48, 24), (std::vector<LatticeMark>{
        {0, 0, true}, {24, 0, true}, {48, 0, true}, {12, 12, true}, {36, 12, true},
        {0, 24, true}, {24, 24, true}, {48, 24, true}}));
    const double y1 = kRow, y2 = 2 * kRow; // rows up to rnd(28 / kRow) = 2
    EXPECT_EQ(marks(GridHexagonal, 48, 28), (std::vector<LatticeMark>{
        {0, 0, false}, {0, 0, true}, {16, 0, false}, {32, 0, false}, {32, 0, true}, {48, 0, false},
        {48, 0, true}, {8, y1, false}, {8, y1, true}, {24, y1, false}, {24, y1, true},
        {40, y1, false}, {0, y2, false}, {0, y2, true}, {16, y2, false}, {32, y2, false},
        {32, y2, true}, {48, y2, false}, {48, y2, true}}));
    // clang-format on
    EXPECT_TRUE(marks(GridNone, 100, 100).empty() && marks(9, 100, 100).empty() &&
                marks(GridRectangular, kInf, 100).empty() &&
                marks(GridHexagonal, 100, kNan).empty() && marks(GridCenterFace, -5, -5).empty());

    // A clip yields exactly the matching subset of the full walk.
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> coord(-40, 260);
    for (int16_t grid : {GridRectangular, GridCenterFace, GridHexagonal}) {
        for (const auto &[w, h] :
             std::vector<std::pair<double, double>>{{200, 150}, {199.5, 150.5}, {64, 27.7}}) {
            const auto full = marks(grid, w, h);
            ASSERT_FALSE(full.empty());
            std::vector<std::array<double, 4>> clips = {
                {8, 8, 8, 8}, {0, 0, 0, 0}, {30, 30, 10, 10}};
            for (int i = 0; i < 40; ++i) {
                double a = coord(rng), b = coord(rng), c = coord(rng), d = coord(rng);
                clips.push_back({std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)});
            }
            for (const auto &[l, t, r, b] : clips) {
                std::vector<LatticeMark> expected;
                std::ranges::copy_if(full, std::back_inserter(expected), [&](const LatticeMark &m) {
                    return m.x >= l && m.x <= r && m.y >= t && m.y <= b;
                });
                EXPECT_EQ(marks(grid, w, h, l, t, r, b), expected)
                    << "grid " << grid << " clip " << l << "," << t << "," << r << "," << b;
            }
        }
    }
    EXPECT_TRUE(marks(GridRectangular, 100, 100, kNan, 0, 50, 50).empty());
    // A canvas of some 10^29 nodes: only the visible ones are visited.
    const auto near = marks(GridRectangular, 1e16, 1e16, 1e15, 1e15, 1e15 + 40, 1e15 + 40);
    EXPECT_TRUE(near.size() == 9 && near.front() == (LatticeMark{1e15 + 8, 1e15 + 8, true}));
}

// Colours are 0xBBGGRR.
const Colour kRed = 0x0000ff, kGreen = 0x00ff00, kBlue = 0xff0000, kWhite = 0xffffff;

TEST(Colour, ConversionsBothWaysEveryBranchTiesHalvesToEvenRandomRoundTripsAndShifts)
{
    // clang-format off
    struct { Colour rgb; Hsv hsv; bool toHsv, toRgb; } const conversions[] = {
        {kRed, {0, 100, 100}, true, true}, {kBlue, {240, 100, 100}, true, true},
        {0, {0, 0, 0}, true, true}, {kWhite, {0, 0, 100}, true, true},
        {packRgb(128, 128, 128), {0, 0, 50}, true, true},   // 127.5 rounds up
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
        {kRed, {30, 200, 100}, false, true}, // m = -255 steepens the slope: g = 8.5 * 30 - 255
    };
    // clang-format on
    for (const auto &c : conversions) {
        EXPECT_TRUE((!c.toHsv || rgbToHsv(c.rgb) == c.hsv) &&
                    (!c.toRgb || hsvToRgb(c.hsv.h, c.hsv.s, c.hsv.v) == c.rgb))
            << c.rgb << " " << c.hsv.h << " " << c.hsv.s;
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
    // clang-format off
    struct { Colour in; int hue; double light; Colour out; } const shifts[] = {
        {kRed, 120, 0, kGreen}, {kRed, 360, 0, kRed}, {0, 0, 180, kWhite}, {kWhite, 0, 180, 0},
        {packRgb(200, 200, 200), 0, 90, 0xb8b8b8}, // 78 + 50 = 128 folds back to 72
        {kGreen, -200, 0, 0},                      // a negative hue sum is black
        {kGreen, INT_MAX, 0, packRgb(30, 0, 255)}, // (120 + INT_MAX) mod 360 = 247
        {kGreen, 0, 1e300, packRgb(0, 59, 0)},     // the saturated value folds to 23
    };
    // clang-format on
    for (const auto &c : shifts)
        EXPECT_EQ(shiftColour(c.in, c.hue, c.light), c.out) << c.in << " " << c.hue;
    // Stray high bits are not part of the colour.
    EXPECT_TRUE(packRgb(300, -5, 128) == 255 + 65536 * 128 && invertColor(-1) == 0 &&
                invertColor(packRgb(10, 20, 30)) == packRgb(245, 235, 225));
}

} // namespace
