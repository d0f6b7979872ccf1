// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom, reach, caption and pan-bar arithmetic of the transform editor's view.
#include "transform/xformview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace tessella {
namespace {

TEST(XformView, OpensAtHundredPercentWithTheStartReach)
{
    XformView view;
    view.open(90, 60, 800, 600);
    EXPECT_EQ(view.zoomFactor(), 1.0f);
    EXPECT_EQ(view.zoomPercent(), 100.0f);
    EXPECT_EQ(view.hitRadius(), 6.0);
    EXPECT_EQ(view.caption(), "tile transformation    100%");
    EXPECT_EQ(XformView::designCaption(), "tile transformation   100%");
    EXPECT_EQ(view.surfaceWidthPx(), 90);
    EXPECT_EQ(view.surfaceHeightPx(), 60);
}

TEST(XformView, ZoomInStepsToEightHundredThenRefuses)
{
    XformView view;
    view.open(90, 90, 800, 600);
    std::vector<std::string> captions;
    while (view.zoomIn())
        captions.push_back(view.caption());
    const std::vector<std::string> expected = {
        "tile transformation    141%", "tile transformation    200%",
        "tile transformation    283%", "tile transformation    400%",
        "tile transformation    566%", "tile transformation    800%"};
    EXPECT_EQ(captions, expected);
    // The refused seventh step leaves everything as it was.
    EXPECT_EQ(view.caption(), "tile transformation    800%");
    EXPECT_NEAR(view.zoomFactor(), 8.0, 1e-4);
    EXPECT_NEAR(view.surfaceWidthPx(), 720, 0.01);
}

TEST(XformView, ReachStaysSixScreenPixelsAtEveryZoom)
{
    XformView view;
    view.open(90, 90, 800, 600);
    do {
        EXPECT_NEAR(view.hitRadius() * view.zoomFactor(), 6.0, 1e-5) << view.caption();
    } while (view.zoomIn());
    while (view.zoomOut())
        EXPECT_NEAR(view.hitRadius() * view.zoomFactor(), 6.0, 1e-5) << view.caption();
    EXPECT_EQ(view.caption(), "tile transformation    100%");
}

TEST(XformView, ReachAtTwoHundredPercentCoversFiveScreenPixels)
{
    XformView view;
    view.open(90, 90, 800, 600);
    ASSERT_TRUE(view.zoomIn());
    ASSERT_TRUE(view.zoomIn());
    EXPECT_EQ(view.caption(), "tile transformation    200%");
    // Five screen pixels are 2.5 editor units at 200 %, seven are 3.5.
    EXPECT_LT(5.0 / view.zoomFactor(), view.hitRadius());
    EXPECT_GT(7.0 / view.zoomFactor(), view.hitRadius());
}

TEST(XformView, ZoomOutRefusedAtHundredPercent)
{
    XformView view;
    view.open(90, 90, 800, 600);
    EXPECT_FALSE(view.zoomOut());
    EXPECT_EQ(view.zoomPercent(), 100.0f);
    ASSERT_TRUE(view.zoomIn());
    EXPECT_TRUE(view.zoomOut());
    EXPECT_EQ(view.caption(), "tile transformation    100%");
    EXPECT_FALSE(view.zoomOut());
}

TEST(XformView, ResetReturnsToTheOpeningSizeAndReach)
{
    XformView view;
    view.open(90, 60, 800, 600);
    view.zoomIn();
    view.zoomIn();
    view.zoomIn();
    view.resetZoom();
    EXPECT_EQ(view.zoomFactor(), 1.0f);
    EXPECT_EQ(view.hitRadius(), 6.0);
    EXPECT_EQ(view.surfaceWidthPx(), 90);
    EXPECT_EQ(view.caption(), "tile transformation    100%");
}

TEST(XformView, LargeSurfaceRefusesZoomAtThreeThousandPixels)
{
    XformView view;
    // 3001 pixels wide is more than 45000 twips.
    view.open(3001, 100, 4000, 4000);
    EXPECT_FALSE(view.zoomIn());
    view.open(2999, 100, 4000, 4000);
    EXPECT_TRUE(view.zoomIn()); // the limit looks at the size before the step
    EXPECT_FALSE(view.zoomIn());
}

TEST(XformView, SurfaceMayOutgrowTheWindowByAboutFifteenHundredPixels)
{
    XformView view;
    // 22600 twips are 1506.7 pixels.
    view.open(1600, 100, 100, 600);
    EXPECT_TRUE(view.zoomIn()) << "1500 pixels over";
    view.open(1610, 100, 100, 600);
    EXPECT_FALSE(view.zoomIn()) << "1510 pixels over";
    view.open(100, 1610, 600, 100);
    EXPECT_FALSE(view.zoomIn()) << "1510 pixels over, vertically";
}

TEST(XformView, FittingSurfaceIsCentredWithoutBars)
{
    XformView view;
    view.open(300, 200, 800, 600);
    EXPECT_FALSE(view.horizontalBar().visible);
    EXPECT_FALSE(view.verticalBar().visible);
    EXPECT_EQ(view.surfaceLeftPx(), 250);
    EXPECT_EQ(view.surfaceTopPx(), 200);
    EXPECT_EQ(view.noticeX(), 5);
    EXPECT_EQ(view.noticeY(), 5);
    // Editor point under a region pixel.
    EXPECT_EQ(view.toEditorX(250), 0);
    EXPECT_EQ(view.toEditorY(300), 100);
}

TEST(XformView, LargerSurfaceShowsBarsWithTheTwipRanges)
{
    XformView view;
    view.open(1200, 900, 800, 600);
    const XformView::PanBar &h = view.horizontalBar();
    const XformView::PanBar &v = view.verticalBar();
    ASSERT_TRUE(h.visible);
    ASSERT_TRUE(v.visible);
    // (18000 - 12000 - 48) / 8 and (13500 - 9000 - 96) / 8, integer parts.
    EXPECT_EQ(h.maximum, 744);
    EXPECT_EQ(v.maximum, 550);
    // Opening places the surface a little up and left of centre: (12000 - 18000) / 2 - 120
    // twips, that is value 390; (9000 - 13500) / 2 - 240, value 311.
    EXPECT_EQ(h.value, 390);
    EXPECT_EQ(v.value, 311);
    EXPECT_EQ(view.surfaceLeftPx(), -208); // -3120 twips
}

TEST(XformView, PanMovesTheSurfaceAndKeepsTheNoticeAtTheVisibleEdge)
{
    XformView view;
    view.open(1200, 900, 800, 600);
    view.scrollHorizontal(150);
    EXPECT_EQ(view.horizontalBar().value, 150);
    EXPECT_EQ(view.surfaceLeftPx(), -80); // 1200 twips
    EXPECT_DOUBLE_EQ(view.noticeX(), 85);
    EXPECT_DOUBLE_EQ(view.toEditorX(0), 80);
    view.scrollHorizontal(100000);
    EXPECT_EQ(view.horizontalBar().value, 744);
    view.scrollVertical(-5);
    EXPECT_EQ(view.verticalBar().value, 0);
    EXPECT_EQ(view.surfaceTopPx(), 0);
    // The last position stays visible after the window grows past the surface.
    view.alignScrolls(1300, 1000);
    EXPECT_FALSE(view.horizontalBar().visible);
    EXPECT_EQ(view.surfaceLeftPx(), 50);
}

TEST(XformView, ZoomKeepsTheBarValueInRange)
{
    XformView view;
    view.open(600, 600, 500, 500);
    view.scrollHorizontal(view.horizontalBar().maximum);
    ASSERT_FALSE(view.zoomOut());
    ASSERT_TRUE(view.zoomIn());
    view.alignScrolls(500, 500);
    EXPECT_LE(view.horizontalBar().value, view.horizontalBar().maximum);
    view.resetZoom();
    view.alignScrolls(500, 500);
    EXPECT_EQ(view.horizontalBar().value, view.horizontalBar().maximum);
    EXPECT_GE(view.surfaceLeftPx() + view.surfaceWidthPx(), 500 - 4);
}

TEST(XformView, DegenerateAreaStaysUsable)
{
    XformView view;
    view.open(0, std::nan(""), 0, -5);
    EXPECT_EQ(view.areaWidth(), 1);
    EXPECT_EQ(view.areaHeight(), 1);
    EXPECT_EQ(view.windowWidth(), 1);
    EXPECT_TRUE(std::isfinite(view.toEditorX(10)));
}

TEST(XformView, ReflectionWidensTheAreaAtTheSameZoom)
{
    XformView view;
    view.open(90, 90, 800, 600);
    view.zoomIn();
    view.setArea(120, 90);
    EXPECT_NEAR(view.surfaceWidthPx(), 120 * std::sqrt(2.0), 1e-4);
    EXPECT_EQ(view.caption(), "tile transformation    141%");
}

} // namespace
} // namespace tessella
