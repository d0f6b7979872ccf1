// SPDX-License-Identifier: GPL-3.0-or-later
// The raster surfaces: what a drawing call leaves in which pixel, and the oracles that
// tie a viewport, a batch and a one-pixel probe to the full canvas.
#include "platform/imagesurface.h"
#include "platform/pixelline.h"
#include "platform/probesurface.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <optional>
#include <random>
#include <set>

using namespace tessella;

namespace {

constexpr Colour kRed = 0x0000ff, kGreen = 0x00ff00, kBlue = 0xff0000, kBg = kCanvasBackground;
constexpr int kBig = 2000000000;

// clang-format off
const auto box = [](int l, int t, int r, int b) {
    return std::vector<PixelPoint>{{l, t}, {r, t}, {r, b}, {l, b}}; };

struct Drawing {
    const char *name; QSize size; QPoint offset; std::function<void(ImageSurface &)> draw;
    // The pixels probed; how many of the colour `counted` the whole surface holds: least to most.
    std::vector<std::tuple<int, int, Colour>> probes;
    Colour counted = kRed; int least = 0, most = INT_MAX;
};

const auto pens = [](Surface &s, Colour pen, Colour fill, int style = kFillSolid) {
    s.setPenColour(pen), s.setFillColour(fill), s.setFillStyle(style); };

const Drawing kDrawings[] = {
    // A solid polygon: fill inside, pen on the edges.
    {"solid", {50, 50}, {}, [](auto &s) { pens(s, 0, kRed), s.polygon(box(10, 10, 30, 30)); },
     {{20, 20, kRed}, {11, 11, kRed}, {10, 20, 0}, {30, 20, 0}, {20, 10, 0}, {20, 30, 0},
      {9, 20, kBg}, {31, 20, kBg}}, kRed, 19 * 19, 19 * 19},
    // Transparent and unknown fills show what is below.
    {"transparent", {50, 50}, {}, [](ImageSurface &s) {
         s.clearAll(kGreen), pens(s, kBlue, kRed, kFillTransparent), s.polygon(box(10, 10, 30, 30));
         s.setFillStyle(99), s.polygon(box(32, 32, 45, 45)); },
     {{20, 20, kGreen}, {10, 20, kBlue}, {40, 40, kGreen}}, kRed, 0, 0},
    // The alternate rule leaves the pentagram's centre empty.
    {"pentagram", {120, 120}, {}, [](ImageSurface &s) { pens(s, 0, kRed),
         s.polygon(std::vector<PixelPoint>{{60, 10}, {89, 100}, {12, 45}, {108, 45}, {31, 100}}); },
     {{60, 62, kBg}, {60, 20, kRed}, {5, 115, kBg}}},
    // Pen width 3 covers three rows; a colour given to a line is for that line.
    {"pen width", {50, 40}, {}, [](ImageSurface &s) { s.setPenColour(kBlue), s.setPenWidth(3),
         s.linePixels({10, 20}, {40, 20}), s.setPenWidth(1), s.linePixels({10, 30}, {40, 30}, kRed),
         s.linePixels({10, 35}, {40, 35}); },
     {{25, 18, kBg}, {25, 19, kBlue}, {25, 21, kBlue}, {25, 22, kBg}, {25, 29, kBg}, {25, 30, kRed},
      {25, 31, kBg}, {25, 35, kBlue}}},
    // A dashed line has gaps.
    {"dashed", {120, 10}, {}, [](ImageSurface &s) {
         s.setPenColour(kRed), s.setDashed(true), s.linePixels({0, 5}, {119, 5});
         s.setDashed(false), s.setPenColour(kGreen), s.linePixels({0, 7}, {119, 7}); },
     {{0, 5, kRed}}, kRed, 61, 109},
    // An ellipse fills its box, whose corners come in any order.
    {"ellipse", {40, 40}, {},
     [](ImageSurface &s) { pens(s, 0, kRed), s.ellipse(30, 30, 10, 10), s.ellipse(3, 3, 7, 7); },
     {{20, 20, kRed}, {10, 20, 0}, {30, 20, 0}, {20, 10, 0}, {11, 11, kBg}, {29, 29, kBg},
      {8, 20, kBg}, {3, 5, 0}, {7, 5, 0}, {5, 3, 0}, {5, 7, 0}, {2, 5, kBg}}},
    // Plane-unit calls floor (plane - origin) * zoom, never truncating towards zero.
    {"plane units", {100, 100}, {-5, -5}, [](ImageSurface &s) {
         s.setScale(2.0, 10.0, 5.0), s.setPenColour(0), s.setPoint(15.0, 10.0);
         s.lineTo(35.0, 10.0, kRed), s.lineTo(35.0, 30.0), s.line(10.0, 50.0, 30.0, 50.0, kBlue);
         s.setPoint(12.0, 7.0, kGreen), s.setPoint(9.9, 5.0, kBlue); },
     {{10, 10, kRed}, {30, 10, kRed}, {50, 10, 0}, {50, 40, 0}, {20, 90, kBlue}, {4, 4, kGreen},
      {-1, 0, kBlue}, {0, 0, kBg}}},
    // Non-finite and far plane points draw nothing; after a NaN there is no current position.
    {"non-finite", {40, 40}, {}, [](ImageSurface &s) {
         s.setPenColour(kRed), s.setPoint(NAN, 5), s.lineTo(20, 20), s.lineTo(-INFINITY, 20);
         s.line(5, 5, 1e300, 5), s.line(NAN, NAN, NAN, NAN), s.lineTo(30, 30);
         s.setPoint(0, INFINITY), s.setPoint(1e300, 0); }, {}, kRed, 0, 0},
    // Off-surface pixels are neither set nor read.
    {"off-surface", {4, 4}, {}, [](auto &s) { s.setPixel(1, 2, kRed), s.setPixel(4, 0, kRed),
         s.setPixel(-1, 0, kRed), s.setPixel(3, 3, kProbeColour); },
     {{1, 2, kRed}, {3, 3, kProbeColour}, {4, 0, kInvalidColour}, {0, -1, kInvalidColour}},
     kRed, 1, 1},
    // Huge polygons are clipped, not wrapped; an ellipse too large to draw is skipped.
    {"huge", {40, 40}, {1000, 1000}, [](ImageSurface &s) {
         pens(s, 0, kRed), s.polygon(box(-kBig, -kBig, kBig, kBig)), s.setFillColour(kGreen);
       s.polygon(std::vector<PixelPoint>{{-kBig, -kBig}, {-kBig + 10, -kBig}, {kBig, -kBig + 10}});
         s.ellipse(-kBig, -kBig, kBig, kBig); }, {}, kRed, 1600, 1600},
    // A moved viewport starts plain.
    {"viewport", {10, 10}, {}, [](ImageSurface &s) {
         s.setPixel(1, 1, kRed), s.setViewport(QSize(20, 5), QPoint(-100, 200), kGreen);
         s.setPixel(-90, 202, kRed), s.clear(); },
     {{-100, 200, kGreen}, {-81, 204, kGreen}, {-90, 202, kGreen}, {1, 1, kInvalidColour}}},
};
// clang-format on

TEST(SurfaceDrawing, LeavesTheseColoursAndTheUpwardHatchRisesToTheRight)
{
    for (const Drawing &d : kDrawings) {
        SCOPED_TRACE(d.name);
        ImageSurface s(d.size, d.offset);
        d.draw(s);
        for (const auto &[x, y, colour] : d.probes)
            EXPECT_EQ(s.pixel(x, y), colour) << x << "," << y;
        int n = 0;
        for (int y = 0; y < s.size().height(); ++y)
            for (int x = 0; x < s.size().width(); ++x)
                n += s.pixel(s.offset().x() + x, s.offset().y() + y) == d.counted;
        EXPECT_TRUE(n >= d.least && n <= d.most) << n << " pixels of " << d.counted;
    }

    ImageSurface s(QSize(60, 60));
    pens(s, 0, kRed, kFillUpwardDiagonal), s.polygon(box(5, 5, 55, 55));
    int fill = 0;
    for (int y = 11; y < 49; ++y)
        for (int x = 11; x < 49; ++x) {
            fill += s.pixel(x, y) == kRed;
            EXPECT_TRUE(s.pixel(x, y) != kRed ||
                        (s.pixel(x + 1, y - 1) == kRed && s.pixel(x + 1, y + 1) != kRed))
                << x << "," << y;
        }
    EXPECT_TRUE(fill > 38 * 38 / 16 && fill < 38 * 38 / 2) << fill;
}

// Every kind of call, as a redraw issues them.
const auto drawScene = [](Surface &s) {
    s.setScale(1.5, -3.0, 2.0), pens(s, 0, kRed);
    s.polygon(std::vector<PixelPoint>{{20, 30}, {90, 60}, {50, 120}});
    pens(s, 0, kBlue, kFillUpwardDiagonal), s.polygon(box(30, 40, 110, 100));
    s.setFillStyle(kFillCross), s.polygon(box(60, 55, 79, 70));
    s.setFillStyle(kFillSolid), s.setPenWidth(3), s.linePixels({0, 0}, {150, 110}, kGreen);
    s.ellipse(20, 60, 30, 70), s.setPenWidth(1), s.setDashed(true), s.line(10.0, 30.0, 60.0, 75.0);
    s.setDashed(false), s.polyline(std::vector<PixelPoint>{{5, 150}, {60, 140}, {100, 155}});
    s.setFillColour(kGreen), s.ellipse(40, 60, 70, 80), s.setPoint(5, 95), s.setPixel(50, 70, kRed);
};

TEST(SurfaceOracle, ViewportsAndBatchesShowTheFullCanvasPixelsKeepingLayersAndCopiesApart)
{
    ImageSurface full(QSize(160, 160));
    drawScene(full);
    for (const QRect view : {QRect(37, 51, 45, 33), QRect(0, 0, 160, 160), QRect(150, 2, 20, 9)})
        for (bool batched : {false, true}) {
            ImageSurface part(view.size(), view.topLeft());
            std::optional<SurfaceBatch> outer, nested;
            if (batched)
                outer.emplace(part), nested.emplace(part);
            drawScene(part);
            nested.reset(), outer.reset(); // the last batch ends before the pixels are read
            for (int y = view.top(); y <= view.bottom(); ++y)
                for (int x = view.left(); x <= view.right(); ++x)
                    ASSERT_EQ(part.pixel(x, y), x < 160 ? full.pixel(x, y) : kBg)
                        << "canvas pixel " << x << "," << y << " batched " << batched;
        }

    // A batch keeps layers and copies apart.
    ImageSurface s(QSize(50, 50));
    SurfaceBatch batch(s);
    pens(s, kGreen, kGreen), s.polygon(box(0, 0, 20, 20)), s.commitBackground();
    const QImage shown = s.image(); // a copy a window's paint keeps
    ImageSurface copy = s;
    s.setFillColour(kRed), s.polygon(box(30, 30, 45, 45));
    EXPECT_EQ(s.pixel(40, 35), kRed); // reads inside a batch see the drawing
    EXPECT_TRUE(shown.pixel(40, 35) == QColor(0xf7, 0xf7, 0xf7).rgb() && copy.pixel(40, 35) == kBg);
    copy.polygon(box(0, 30, 10, 45));
    EXPECT_EQ(s.pixel(5, 35), kBg);
    s.setPenColour(kRed), s.linePixels({0, 22}, {49, 22}), s.clear(); // back to the committed one
    EXPECT_TRUE(s.pixel(40, 35) == kBg && s.pixel(10, 10) == kGreen && s.pixel(30, 22) == kBg);
    EXPECT_TRUE(toQColor(0x123456) == QColor(0x56, 0x34, 0x12) &&
                fromQRgb(qRgb(0x56, 0x34, 0x12)) == 0x123456);
}

// Paints like the hit test: the probe colour as fill, the current pen for the outline.
const auto paintProbe = [](Surface &s, const std::vector<PixelPoint> &polygon, int penWidth) {
    pens(s, 0, kProbeColour), s.setPenWidth(penWidth), s.polygon(polygon);
};

TEST(SurfaceOracle, ProbeAgreesWithTheCanvasForRandomPolygons)
{
    std::mt19937 random(20240611);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    const QPoint origin(-3000, 5000); // the canvas itself is a viewport somewhere
    int compared = 0, differing = 0;
    ProbeSurface probe(0, 0);
    for (int round = 0; round < 300; ++round) {
        std::vector<PixelPoint> polygon(std::size_t(uniform(3, 9)));
        for (PixelPoint &p : polygon)
            p = {origin.x() + uniform(-20, 220), origin.y() + uniform(-20, 220)};
        const int penWidth = round % 3 == 0 ? uniform(1, 4) : 1;
        ImageSurface canvas(QSize(200, 200), origin);
        paintProbe(canvas, polygon, penWidth);
        for (int k = 0; k < 60; ++k) {
            // Half the points near a vertex, where edges and outlines meet.
            const PixelPoint &v = polygon[std::size_t(k / 2) % polygon.size()];
            const int x = k % 2 ? origin.x() + uniform(0, 199) : v.x + uniform(-2, 2);
            const int y = k % 2 ? origin.y() + uniform(0, 199) : v.y + uniform(-2, 2);
            if (canvas.pixel(x, y) == kInvalidColour)
                continue;
            probe.moveTo(x, y);
            EXPECT_EQ(probe.value(), kBg);
            paintProbe(probe, polygon, penWidth);
            ++compared, differing += probe.value() != canvas.pixel(x, y);
        }
    }
    EXPECT_TRUE(compared > 15000 && differing == 0) << differing << " of " << compared;
}

using Pixels = std::set<std::pair<int, int>>;

const auto linePixels = [](int64_t x0, int64_t y0, int64_t x1, int64_t y1, int w = 1000,
                           int h = 1000) -> Pixels {
    Pixels pixels;
    forEachLinePixel(x0, y0, x1, y1, w, h, [&](int x, int y, int64_t) { pixels.insert({x, y}); });
    return pixels;
};

TEST(PixelLine, NearestRowsSameBackwardsThroughAnyWindowAndHugeLinesStayCheap)
{
    EXPECT_EQ(linePixels(0, 0, 4, 2), (Pixels{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    EXPECT_TRUE(linePixels(3, 3, 3, 3) == Pixels({{3, 3}}) &&
                linePixels(2, 1, 2, 3) == Pixels({{2, 1}, {2, 2}, {2, 3}}));
    std::mt19937 random(5);
    std::uniform_int_distribution<int> c(-400, 700);
    for (int i = 0; i < 300; ++i) {
        const int x0 = c(random), y0 = c(random), x1 = c(random), y1 = c(random);
        const Pixels whole = linePixels(x0 + 1000, y0 + 1000, x1 + 1000, y1 + 1000, 3000, 3000);
        EXPECT_EQ(whole, linePixels(x1 + 1000, y1 + 1000, x0 + 1000, y0 + 1000, 3000, 3000));
        Pixels expected; // the part seen through a 37 x 23 window at (1100, 1120)
        for (const auto &[x, y] : whole)
            if (x >= 1100 && x < 1137 && y >= 1120 && y < 1143)
                expected.insert({x - 1100, y - 1120});
        EXPECT_EQ(linePixels(x0 - 100, y0 - 120, x1 - 100, y1 - 120, 37, 23), expected);
    }
    // Steps count from the start.
    std::vector<int64_t> steps;
    forEachLinePixel(9, 0, 0, 0, 20, 1, [&](int, int, int64_t step) { steps.push_back(step); });
    EXPECT_EQ(steps, (std::vector<int64_t>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    // Only the visible stretch is walked, even for a line of eight billion pixels.
    EXPECT_EQ(
        linePixels(-(int64_t(1) << 32), 5, int64_t(1) << 32, 7, 10, 10),
        (Pixels{{0, 6}, {1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}, {6, 6}, {7, 6}, {8, 6}, {9, 6}}));
}

} // namespace
