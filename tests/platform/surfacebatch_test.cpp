// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imagesurface.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tessella;

namespace {

constexpr Colour kRed = 0x0000ff;
constexpr Colour kGreen = 0x00ff00;

// A mix of every kind of call, as a redraw issues them.
void drawScene(ImageSurface &s)
{
    s.clearAll(kCanvasBackground);
    s.setPenWidth(1);
    s.setFillColour(kGreen);
    s.setPenColour(0);
    s.polygon(std::vector<PixelPoint>{{10, 10}, {60, 12}, {40, 50}});
    s.setFillStyle(kFillUpwardDiagonal);
    s.polygon(std::vector<PixelPoint>{{50, 50}, {90, 50}, {90, 90}, {50, 90}});
    s.setFillStyle(kFillSolid);
    s.setPenWidth(3);
    s.ellipse(20, 60, 30, 70);
    s.line(0, 99, 99, 0, kRed);
    s.setPoint(5, 95);
    s.setPixel(8, 4, kRed);
    s.setPenWidth(1);
    s.linePixels({0, 30}, {99, 35});
}

} // namespace

TEST(SurfaceBatch, BatchedDrawingEqualsCallByCallDrawing)
{
    ImageSurface plain(QSize(100, 100), QPoint(7, 3));
    drawScene(plain);
    ImageSurface batched(QSize(100, 100), QPoint(7, 3));
    {
        SurfaceBatch batch(batched);
        drawScene(batched);
        // Pixels read inside a batch already show what was drawn.
        EXPECT_EQ(batched.pixel(8, 4), kRed);
        SurfaceBatch nested(batched);
        batched.setPixel(2, 2, kRed);
        plain.setPixel(2, 2, kRed);
    }
    EXPECT_EQ(batched.image(), plain.image());
}

TEST(SurfaceBatch, LayersStayApartWhenReusedInPlace)
{
    ImageSurface s(QSize(50, 50));
    SurfaceBatch batch(s);
    s.setFillColour(kGreen);
    s.polygon(std::vector<PixelPoint>{{0, 0}, {20, 0}, {20, 20}, {0, 20}});
    s.commitBackground();
    const QImage shown = s.image(); // a copy kept by a caller (a window's paint)
    s.setFillColour(kRed);
    s.polygon(std::vector<PixelPoint>{{30, 30}, {45, 30}, {45, 45}});
    EXPECT_EQ(shown.pixel(40, 35), QColor(0xf7, 0xf7, 0xf7).rgb());
    EXPECT_EQ(s.pixel(40, 35), kRed);
    s.clear();
    EXPECT_EQ(s.pixel(40, 35), kCanvasBackground);
    EXPECT_EQ(s.pixel(10, 10), kGreen);
    s.clearAll(kRed);
    EXPECT_EQ(s.background().pixel(10, 10), QColor(255, 0, 0).rgb());
    EXPECT_EQ(s.pixel(49, 49), kRed);
}

TEST(SurfaceBatch, CopiesTakenInsideABatchAreIndependent)
{
    ImageSurface s(QSize(30, 30));
    s.beginBatch();
    s.setFillColour(kGreen);
    s.polygon(std::vector<PixelPoint>{{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    ImageSurface copy = s;
    s.polygon(std::vector<PixelPoint>{{15, 15}, {25, 15}, {25, 25}, {15, 25}});
    copy.setFillColour(kRed);
    copy.polygon(std::vector<PixelPoint>{{15, 0}, {25, 0}, {25, 10}, {15, 10}});
    s.endBatch();
    EXPECT_EQ(copy.pixel(5, 5), kGreen);
    EXPECT_EQ(copy.pixel(20, 20), kCanvasBackground);
    EXPECT_EQ(s.pixel(20, 20), kGreen);
    EXPECT_EQ(s.pixel(20, 5), kCanvasBackground);
    copy = s;
    EXPECT_EQ(copy.image(), s.image());
}
