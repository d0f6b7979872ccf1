// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/view/latticedrawer.h"
#include "tileeditor/view/tilingdrawer.h"

#include "drawingfixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tessella;
using namespace tessella::test;

namespace {

constexpr Colour kBg = kCanvasBackground;

// A dot of radius 1 covers its centre and the four pixels next to it.
void expectDot(const ImageSurface &s, int x, int y)
{
    EXPECT_EQ(s.pixel(x, y), kBlack) << x << "," << y;
    EXPECT_EQ(s.pixel(x + 1, y), kBlack) << x << "," << y;
    EXPECT_EQ(s.pixel(x, y + 1), kBlack) << x << "," << y;
}

// A point is one black pixel with the background around it.
void expectPoint(const ImageSurface &s, int x, int y)
{
    EXPECT_EQ(s.pixel(x, y), kBlack) << x << "," << y;
    EXPECT_EQ(s.pixel(x + 1, y), kBg) << x << "," << y;
    EXPECT_EQ(s.pixel(x - 1, y), kBg) << x << "," << y;
    EXPECT_EQ(s.pixel(x, y + 1), kBg) << x << "," << y;
    EXPECT_EQ(s.pixel(x, y - 1), kBg) << x << "," << y;
}

} // namespace

TEST(LatticeDrawing, RectangularDotsEverySixteenFromEight)
{
    ImageSurface s(QSize(100, 60));
    drawLattice(s, GridRectangular, 100, 60);
    expectDot(s, 8, 8);
    expectDot(s, 24, 8);
    expectDot(s, 24, 40);
    EXPECT_EQ(s.pixel(16, 8), kBg);
    EXPECT_EQ(s.pixel(8, 16), kBg);
    EXPECT_EQ(s.pixel(0, 0), kBg);
}

TEST(LatticeDrawing, EmptyGridEntryDrawsNothing)
{
    ImageSurface s(QSize(100, 60));
    drawLattice(s, GridNone, 100, 60);
    EXPECT_EQ(countColour(s, 0, 0, 99, 59, kBg), 100 * 60);
    drawLattice(s, 9, 100, 60);
    EXPECT_EQ(countColour(s, 0, 0, 99, 59, kBg), 100 * 60);
}

TEST(LatticeDrawing, CenterFaceDotsOnCornersAndFaceCentres)
{
    ImageSurface s(QSize(100, 60));
    drawLattice(s, GridCenterFace, 100, 60);
    expectDot(s, 24, 24);
    expectDot(s, 12, 12);
    expectDot(s, 36, 36);
    EXPECT_EQ(s.pixel(12, 24), kBg);
    EXPECT_EQ(s.pixel(24, 12), kBg);
}

TEST(LatticeDrawing, HexagonalPointsAndDotsFollowTheModSixRule)
{
    // Viewport from (-4, -4) so the top row's marks show whole.
    ImageSurface s(QSize(120, 60), QPoint(-4, -4));
    drawLattice(s, GridHexagonal, 116, 56);
    // Row 0 (y = 0): k = 0 and 4 carry dots, k = 2 only a point, odd k nothing.
    expectDot(s, 0, 0);
    expectPoint(s, 16, 0);
    expectDot(s, 32, 0);
    expectDot(s, 48, 0);
    expectPoint(s, 64, 0);
    EXPECT_EQ(s.pixel(8, 0), kBg);
    EXPECT_EQ(s.pixel(24, 0), kBg);
    // Row 1 (y = 8 sqrt3): k = 1 and 3 carry dots, k = 5 only a point, even k nothing.
    const double y1 = 8 * std::sqrt(3.0);
    const int dotY = int(std::nearbyint(y1));
    const int pointY = int(std::floor(y1));
    expectDot(s, 8, dotY);
    expectDot(s, 24, dotY);
    expectPoint(s, 40, pointY);
    EXPECT_EQ(s.pixel(16, pointY), kBg);
    EXPECT_EQ(s.pixel(32, pointY), kBg);
}

TEST(LatticeDrawing, ViewportShowsTheSameRegionAsTheFullCanvas)
{
    for (int16_t grid : {GridRectangular, GridCenterFace, GridHexagonal}) {
        ImageSurface full(QSize(900, 600));
        full.setScale(1.4142135623730951);
        drawLattice(full, grid, 900 / 1.4142135623730951, 600 / 1.4142135623730951);
        ImageSurface view(QSize(200, 150), QPoint(500, 300));
        view.setScale(1.4142135623730951);
        drawLattice(view, grid, 900 / 1.4142135623730951, 600 / 1.4142135623730951);
        EXPECT_EQ(view.image(), full.image().copy(500, 300, 200, 150)) << "grid " << grid;
    }
}

TEST(LatticeDrawing, WorkFollowsTheViewportNotTheCanvas)
{
    // A canvas of 400 % on a 4K window, seen through a small viewport.
    CountingSurface s(QSize(160, 160), QPoint(16000, 9000));
    s.setScale(4);
    drawLattice(s, GridRectangular, 30720 / 4.0, 17280 / 4.0);
    // 16 plane units are 64 pixels: two or three columns and rows reach the viewport.
    EXPECT_GE(s.ellipses, 4);
    EXPECT_LE(s.ellipses, 9);
    EXPECT_GT(countColour(s, 16000, 9000, 16159, 9159, kBlack), 0);
}

TEST(LatticeDrawing, NothingBeyondTheExtent)
{
    ImageSurface s(QSize(100, 100));
    drawLattice(s, GridRectangular, 30, 30);
    expectDot(s, 24, 24);
    EXPECT_EQ(s.pixel(40, 8), kBg);
    EXPECT_EQ(s.pixel(8, 40), kBg);
}
