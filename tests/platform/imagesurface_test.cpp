// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imagesurface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace tessella;

namespace {

constexpr Colour kRed = 0x0000ff;
constexpr Colour kGreen = 0x00ff00;
constexpr Colour kBlue = 0xff0000;
constexpr Colour kBlack = 0;

std::vector<PixelPoint> square(int left, int top, int right, int bottom)
{
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

int countColour(const Surface &s, int x0, int y0, int x1, int y1, Colour c)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            n += s.pixel(x, y) == c;
        }
    }
    return n;
}

} // namespace

TEST(ImageSurface, ColoursArePackedRedGreenBlue)
{
    EXPECT_EQ(toQColor(0x0000ff), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0x00ff00), QColor(0, 255, 0));
    EXPECT_EQ(toQColor(0x123456), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(fromQRgb(qRgb(0x56, 0x34, 0x12)), 0x123456);

    ImageSurface s(QSize(4, 4));
    EXPECT_EQ(s.pixel(0, 0), kCanvasBackground);
    s.setPixel(1, 2, kRed);
    EXPECT_EQ(s.image().pixel(1, 2), qRgb(255, 0, 0));
    EXPECT_EQ(s.pixel(1, 2), kRed);
    s.setPixel(3, 3, kProbeColour);
    EXPECT_EQ(s.pixel(3, 3), kProbeColour);
    // Outside the surface: nothing is set and nothing is read.
    s.setPixel(4, 0, kRed);
    s.setPixel(-1, 0, kRed);
    EXPECT_EQ(s.pixel(4, 0), kInvalidColour);
    EXPECT_EQ(s.pixel(0, -1), kInvalidColour);
    EXPECT_EQ(countColour(s, 0, 0, 3, 3, kRed), 1);
}

TEST(ImageSurface, SolidPolygonIsFilledAndOutlined)
{
    ImageSurface s(QSize(50, 50));
    s.setPenColour(kBlack);
    s.setFillColour(kRed);
    s.setFillStyle(kFillSolid);
    s.polygon(square(10, 10, 30, 30));
    EXPECT_EQ(s.pixel(20, 20), kRed);
    EXPECT_EQ(s.pixel(11, 11), kRed);
    EXPECT_EQ(s.pixel(10, 20), kBlack);
    EXPECT_EQ(s.pixel(30, 20), kBlack);
    EXPECT_EQ(s.pixel(20, 10), kBlack);
    EXPECT_EQ(s.pixel(20, 30), kBlack);
    EXPECT_EQ(s.pixel(9, 20), kCanvasBackground);
    EXPECT_EQ(s.pixel(31, 20), kCanvasBackground);
    EXPECT_EQ(countColour(s, 0, 0, 49, 49, kRed), 19 * 19);
}

TEST(ImageSurface, TransparentFillShowsWhatIsBelow)
{
    ImageSurface s(QSize(50, 50));
    s.clearAll(kGreen);
    s.setPenColour(kBlue);
    s.setFillColour(kRed);
    s.setFillStyle(kFillTransparent);
    s.polygon(square(10, 10, 30, 30));
    EXPECT_EQ(s.pixel(20, 20), kGreen);
    EXPECT_EQ(s.pixel(10, 20), kBlue);
    EXPECT_EQ(countColour(s, 0, 0, 49, 49, kRed), 0);
    // Unknown styles fill nothing either.
    s.setFillStyle(99);
    EXPECT_EQ(s.fillStyle(), 99);
    s.polygon(square(32, 32, 45, 45));
    EXPECT_EQ(s.pixel(40, 40), kGreen);
}

TEST(ImageSurface, UpwardHatchRisesToTheRight)
{
    ImageSurface s(QSize(60, 60));
    s.setPenColour(kBlack);
    s.setFillColour(kRed);
    s.setFillStyle(kFillUpwardDiagonal);
    s.polygon(square(5, 5, 55, 55));
    const int fill = countColour(s, 10, 10, 49, 49, kRed);
    const int gaps = countColour(s, 10, 10, 49, 49, kCanvasBackground);
    EXPECT_GT(fill, 0);
    EXPECT_GT(gaps, fill);
    EXPECT_EQ(fill + gaps, 40 * 40);
    for (int y = 11; y < 49; ++y) {
        for (int x = 11; x < 49; ++x) {
            if (s.pixel(x, y) == kRed) {
                EXPECT_EQ(s.pixel(x + 1, y - 1), kRed) << x << "," << y;
                EXPECT_NE(s.pixel(x + 1, y + 1), kRed) << x << "," << y;
            }
        }
    }
}

TEST(ImageSurface, AlternateRuleLeavesThePentagramCentreEmpty)
{
    ImageSurface s(QSize(120, 120));
    s.setPenColour(kBlack);
    s.setFillColour(kRed);
    std::vector<PixelPoint> star;
    for (int k = 0; k < 5; ++k) {
        const double a = -M_PI / 2 + k * 4 * M_PI / 5;
        star.push_back(
            {int(std::lround(60 + 50 * std::cos(a))), int(std::lround(60 + 50 * std::sin(a)))});
    }
    s.polygon(star);
    EXPECT_EQ(s.pixel(60, 62), kCanvasBackground); // inside the pentagon of the crossings
    EXPECT_EQ(s.pixel(60, 20), kRed);              // inside the top point
    EXPECT_EQ(s.pixel(5, 115), kCanvasBackground);
}

TEST(ImageSurface, PenWidthThreeCoversThreeRows)
{
    ImageSurface s(QSize(50, 40));
    s.setPenColour(kBlue);
    s.setPenWidth(3);
    EXPECT_EQ(s.penWidth(), 3);
    s.linePixels({10, 20}, {40, 20});
    EXPECT_EQ(s.pixel(25, 18), kCanvasBackground);
    EXPECT_EQ(s.pixel(25, 19), kBlue);
    EXPECT_EQ(s.pixel(25, 20), kBlue);
    EXPECT_EQ(s.pixel(25, 21), kBlue);
    EXPECT_EQ(s.pixel(25, 22), kCanvasBackground);

    s.setPenWidth(1);
    s.linePixels({10, 30}, {40, 30}, kRed);
    EXPECT_EQ(s.pixel(25, 30), kRed);
    EXPECT_EQ(s.pixel(25, 29), kCanvasBackground);
    EXPECT_EQ(s.pixel(25, 31), kCanvasBackground);
    EXPECT_EQ(s.penColour(), kBlue); // the colour was for that line only
    s.setPenWidth(0);
    EXPECT_EQ(s.penWidth(), 1);
}

TEST(ImageSurface, DashedLineHasGaps)
{
    ImageSurface s(QSize(120, 10));
    s.setPenColour(kBlack);
    s.setDashed(true);
    s.linePixels({0, 5}, {119, 5});
    const int drawn = countColour(s, 0, 5, 119, 5, kBlack);
    EXPECT_GT(drawn, 60);
    EXPECT_LT(drawn, 110);
    s.setDashed(false);
    s.linePixels({0, 7}, {119, 7});
    EXPECT_EQ(countColour(s, 0, 7, 119, 7, kBlack), 120);
}

TEST(ImageSurface, EllipseInItsBox)
{
    ImageSurface s(QSize(40, 40));
    s.setPenColour(kBlack);
    s.setFillColour(kRed);
    s.ellipse(30, 30, 10, 10); // corners in any order
    EXPECT_EQ(s.pixel(20, 20), kRed);
    EXPECT_EQ(s.pixel(10, 20), kBlack);
    EXPECT_EQ(s.pixel(30, 20), kBlack);
    EXPECT_EQ(s.pixel(20, 10), kBlack);
    EXPECT_EQ(s.pixel(11, 11), kCanvasBackground);
    EXPECT_EQ(s.pixel(29, 29), kCanvasBackground);
    EXPECT_EQ(s.pixel(8, 20), kCanvasBackground);

    // A dot of radius 2 is symmetric about its centre.
    ImageSurface d(QSize(10, 10));
    d.setPenColour(kRed);
    d.setFillColour(kRed);
    d.ellipse(3, 3, 7, 7);
    EXPECT_EQ(d.pixel(5, 5), kRed);
    EXPECT_EQ(d.pixel(3, 5), d.pixel(7, 5));
    EXPECT_EQ(d.pixel(5, 3), d.pixel(5, 7));
    EXPECT_EQ(d.pixel(2, 5), kCanvasBackground);
}

TEST(ImageSurface, ClearRestoresTheCommittedBackground)
{
    ImageSurface s(QSize(30, 30));
    s.setFillColour(kGreen);
    s.setPenColour(kGreen);
    s.polygon(square(2, 2, 10, 10));
    s.commitBackground();
    s.setPenColour(kRed);
    s.linePixels({0, 20}, {29, 20});
    s.setPixel(5, 5, kRed);
    EXPECT_EQ(s.pixel(5, 5), kRed);
    s.clear();
    EXPECT_EQ(s.pixel(5, 5), kGreen);
    EXPECT_EQ(s.pixel(15, 20), kCanvasBackground);
    EXPECT_EQ(s.image(), s.background());

    s.clearAll(kBlue);
    EXPECT_EQ(countColour(s, 0, 0, 29, 29, kBlue), 900);
    s.clear();
    EXPECT_EQ(s.pixel(5, 5), kBlue);
}

TEST(ImageSurface, PlaneUnitCallsUseTheScale)
{
    ImageSurface s(QSize(100, 100));
    s.setScale(2.0, 10.0, 5.0);
    EXPECT_EQ(s.zoom(), 2.0);
    EXPECT_EQ(s.toPixel(10.0, 5.0), (PixelPoint{0, 0}));
    EXPECT_EQ(s.toPixel(15.3, 10.9), (PixelPoint{10, 11}));
    EXPECT_EQ(s.toPixel(9.9, 5.0), (PixelPoint{-1, 0})); // floor, not truncation
    s.setPenColour(kBlack);
    s.setPoint(15.0, 10.0);
    EXPECT_EQ(s.pixel(10, 10), kBlack);
    s.lineTo(35.0, 10.0, kRed);
    EXPECT_EQ(s.pixel(30, 10), kRed);
    EXPECT_EQ(s.pixel(50, 10), kRed);
    s.lineTo(35.0, 30.0);
    EXPECT_EQ(s.pixel(50, 40), kBlack);
    s.line(10.0, 50.0, 30.0, 50.0, kBlue);
    EXPECT_EQ(s.pixel(20, 90), kBlue);
    s.setPoint(12.0, 7.0, kGreen);
    EXPECT_EQ(s.pixel(4, 4), kGreen);
    EXPECT_EQ(s.penColour(), kBlack);
}

TEST(ImageSurface, NonFiniteAndFarCoordinatesAreSkipped)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    ImageSurface s(QSize(40, 40));
    s.setPenColour(kRed);
    EXPECT_FALSE(s.toPixel(nan, 0).has_value());
    EXPECT_FALSE(s.toPixel(0, inf).has_value());
    EXPECT_FALSE(s.toPixel(1e300, 0).has_value());
    s.setPoint(nan, 5);
    s.lineTo(20, 20);   // no current position: nothing drawn
    s.lineTo(-inf, 20); // nothing drawn
    s.line(5, 5, 1e300, 5);
    s.line(nan, nan, nan, nan);
    EXPECT_EQ(countColour(s, 0, 0, 39, 39, kRed), 0);
    s.lineTo(30, 30); // after a skipped point there is still no position
    EXPECT_EQ(countColour(s, 0, 0, 39, 39, kRed), 0);
}

TEST(ImageSurface, HugePolygonsAreClippedNotWrapped)
{
    ImageSurface s(QSize(40, 40), QPoint(1000, 1000));
    s.setPenColour(kBlack);
    s.setFillColour(kRed);
    // A square far larger than the rasteriser's range that covers the whole viewport.
    const int big = 2000000000;
    s.polygon(square(-big, -big, big, big));
    EXPECT_EQ(countColour(s, 1000, 1000, 1039, 1039, kRed), 1600);

    // One far from the viewport leaves it untouched.
    s.clearAll(kCanvasBackground);
    s.polygon(std::vector<PixelPoint>{{-big, -big}, {-big + 10, -big}, {big, -big + 10}});
    EXPECT_EQ(countColour(s, 1000, 1000, 1039, 1039, kCanvasBackground), 1600);

    // A long edge crossing the viewport is drawn where it passes, same as a short one.
    ImageSurface exact(QSize(40, 40), QPoint(1000, 1000));
    s.linePixels({1020, -big}, {1020, big});
    exact.linePixels({1020, 990}, {1020, 1050});
    EXPECT_EQ(s.image(), exact.image());
    s.ellipse(-big, -big, big, big); // too large to draw: skipped, no crash
}

TEST(ImageSurface, ViewportShowsTheSameCanvasPixels)
{
    const QPoint offset(37, 51);
    ImageSurface full(QSize(160, 160));
    ImageSurface part(QSize(45, 33), offset);
    EXPECT_EQ(part.offset(), offset);
    EXPECT_EQ(part.size(), QSize(45, 33));
    auto draw = [](Surface &s) {
        s.setScale(1.5, -3.0, 2.0);
        s.setPenColour(kBlack);
        s.setFillColour(kRed);
        s.setFillStyle(kFillSolid);
        s.polygon(std::vector<PixelPoint>{{20, 30}, {90, 60}, {50, 120}});
        s.setFillStyle(kFillUpwardDiagonal);
        s.setFillColour(kBlue);
        s.polygon(square(30, 40, 110, 100));
        s.setFillStyle(kFillCross);
        s.polygon(square(60, 55, 79, 70));
        s.setFillStyle(kFillSolid);
        s.setPenWidth(3);
        s.linePixels({0, 0}, {150, 110}, kGreen);
        s.setPenWidth(1);
        s.setDashed(true);
        s.line(10.0, 30.0, 60.0, 75.0);
        s.setDashed(false);
        s.setFillColour(kGreen);
        s.ellipse(40, 60, 70, 80);
        s.setPixel(50, 70, kRed);
    };
    draw(full);
    draw(part);
    for (int y = 0; y < 33; ++y) {
        for (int x = 0; x < 45; ++x) {
            ASSERT_EQ(part.pixel(offset.x() + x, offset.y() + y),
                      full.pixel(offset.x() + x, offset.y() + y))
                << "canvas pixel " << offset.x() + x << "," << offset.y() + y;
        }
    }
    EXPECT_EQ(part.pixel(0, 0), kInvalidColour);
    EXPECT_EQ(part.image().size(), QSize(45, 33));
}

TEST(ImageSurface, ViewportCanMoveAndResize)
{
    ImageSurface s(QSize(10, 10));
    s.setPixel(1, 1, kRed);
    s.setViewport(QSize(20, 5), QPoint(-100, 200), kGreen);
    EXPECT_EQ(s.size(), QSize(20, 5));
    EXPECT_EQ(s.pixel(-100, 200), kGreen);
    EXPECT_EQ(s.pixel(-81, 204), kGreen);
    EXPECT_EQ(s.pixel(1, 1), kInvalidColour);
    s.clear();
    EXPECT_EQ(s.pixel(-90, 202), kGreen);
    // A degenerate size still gives a usable surface.
    s.setViewport(QSize(0, -3), QPoint(0, 0));
    EXPECT_EQ(s.size(), QSize(1, 1));
}
