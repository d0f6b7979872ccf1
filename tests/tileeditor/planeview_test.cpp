// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/view/planeview.h"

#include <gtest/gtest.h>

using namespace tessella;

namespace {

PlaneView makeView()
{
    PlaneView v;
    v.setWindow(800, 600, 200 * kTwipsPerPixel);
    return v;
}

} // namespace

TEST(PlaneView, ZoomStepsAndRefusals)
{
    PlaneView v = makeView();
    const char *captions[] = {"tile editor    141%", "tile editor    200%", "tile editor    283%",
                              "tile editor    400%"};
    for (const char *caption : captions) {
        EXPECT_EQ(v.zoomIn(), PlaneView::KeyResult::Redraw);
        EXPECT_EQ(v.caption(), caption);
    }
    const double left = v.canvasLeft();
    EXPECT_EQ(v.zoomIn(), PlaneView::KeyResult::Refused);
    EXPECT_NEAR(v.zoomPct(), 400, 1e-9);
    EXPECT_EQ(v.canvasLeft(), left);

    PlaneView w = makeView();
    EXPECT_EQ(w.zoomOut(), PlaneView::KeyResult::Redraw);
    EXPECT_EQ(w.caption(), "tile editor    71%");
    EXPECT_EQ(w.zoomOut(), PlaneView::KeyResult::Redraw);
    EXPECT_EQ(w.caption(), "tile editor    50%");
    EXPECT_EQ(w.zoomOut(), PlaneView::KeyResult::Refused);
}

TEST(PlaneView, ZoomInKeepsWindowCentreOnSamePlanePoint)
{
    PlaneView v = makeView();
    const double cx = 400 * kTwipsPerPixel;
    const double before = (cx - v.canvasLeft()) / v.zoom();
    v.zoomIn();
    EXPECT_NEAR((cx - v.canvasLeft()) / v.zoom(), before, 1e-6);
}

TEST(PlaneView, CanvasSizeFollowsZoomAndExtentDoesNot)
{
    PlaneView v = makeView();
    EXPECT_EQ(v.canvasWidthPx(), 1600);
    EXPECT_EQ(v.canvasHeightPx(), 1200);
    v.zoomIn();
    v.zoomIn();
    EXPECT_EQ(v.canvasWidthPx(), 3200);
    EXPECT_NEAR(v.extentWidth(), 1600, 1);
    v.reset();
    EXPECT_EQ(v.caption(), "tile editor    50%");
    EXPECT_EQ(v.canvasWidthPx(), 800);
    EXPECT_EQ(v.canvasLeft(), 200 * kTwipsPerPixel);
    EXPECT_EQ(v.canvasTop(), kCanvasTopTwips);
}

TEST(PlaneView, PanNeverUncoversTheTopLeftOrTheWindowEdges)
{
    PlaneView v = makeView();
    v.panBy(5000, 5000);
    EXPECT_EQ(v.canvasLeft(), v.picLeft());
    EXPECT_EQ(v.canvasTop(), kCanvasTopTwips);
    v.panBy(-1e7, -1e7);
    const double w = 800.0 * kTwipsPerPixel, h = 600.0 * kTwipsPerPixel;
    EXPECT_EQ(v.canvasLeft(), w - v.canvasWidthPx() * double(kTwipsPerPixel));
    EXPECT_EQ(v.canvasTop(), h - v.canvasHeightPx() * double(kTwipsPerPixel));
    // The displacement applies to the twip position: 15 plane units move one pixel.
    PlaneView u = makeView();
    u.panBy(-150, 0);
    EXPECT_EQ(u.canvasLeftPx(), 190);
}

TEST(PlaneView, ZoomOutPullsAPannedCanvasBackToTheRightEdge)
{
    PlaneView v = makeView();
    v.zoomIn();
    v.panBy(-1e7, 0); // far right edge of the canvas at the window's right edge
    v.zoomOut();
    const double w = 800.0 * kTwipsPerPixel;
    EXPECT_GE(v.canvasLeft() + v.zoom() * 2 * w, w - 1);
    EXPECT_LE(v.canvasLeft(), v.picLeft());
}

TEST(PlaneView, LineWidthFollowsZoomAndHeavyDoublesIt)
{
    PlaneView v = makeView();
    const int expected[] = {1, 2, 2, 4};
    EXPECT_EQ(v.lineWidth(false), 1);
    EXPECT_EQ(v.lineWidth(true), 2);
    for (int w : expected) {
        v.zoomIn();
        EXPECT_EQ(v.lineWidth(false), w) << v.zoomPct();
        EXPECT_EQ(v.lineWidth(true), 2 * w);
    }
}

TEST(PlaneView, EmptyWindowKeepsAOnePixelCanvas)
{
    PlaneView v;
    v.setWindow(0, 0, 0);
    EXPECT_GE(v.canvasWidthPx(), 1);
    EXPECT_GT(v.extentWidth(), 0);
}
