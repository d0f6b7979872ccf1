// SPDX-License-Identifier: GPL-3.0-or-later
// The transform editor's view: zoom, reach, caption and pan bars, and the picture read
// back from an image surface.
#include "document/colour.h"
#include "platform/imagesurface.h"
#include "transform/chain.h"
#include "transform/xformdrawer.h"
#include "transform/xformview.h"

#include "tests/support/tilebuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace tessella {
namespace {

TEST(XformView, ZoomInRefusedForSurfacesBeyondTheSizeLimits)
{
    // A surface may outgrow the window by 22600 twips, 1506.7 pixels: every surface allowed
    // one step is refused the next.
    for (auto [h, allowed] : {std::pair{1600.0, true}, {1610.0, false}}) {
        XformView view;
        view.open(100, h, 600, 100);
        EXPECT_EQ(view.zoomIn(), allowed) << h;
        EXPECT_FALSE(view.zoomIn());
    }
    // A small surface stops at 800 %; the reach stays six screen pixels.
    XformView view;
    view.open(90, 60, 800, 600);
    EXPECT_EQ(XformView::designCaption(), "tile transformation   100%");
    while (view.zoomIn())
        EXPECT_NEAR(view.hitRadius() * view.zoomFactor(), 6.0, 1e-5);
    EXPECT_EQ(view.caption(), "tile transformation    800%");
}

TEST(XformView, SurfaceIsCentredOrPannedByBarsInTwipSteps)
{
    XformView view;
    view.open(300, 200, 800, 600); // fits: centred, no bars
    EXPECT_FALSE(view.horizontalBar().visible || view.verticalBar().visible);
    EXPECT_EQ(std::tuple(view.surfaceLeftPx(), view.surfaceTopPx()), std::tuple(250, 200));
    EXPECT_EQ(std::tuple(view.toEditorX(250), view.noticeX()), std::tuple(0.0, 5.0));

    view.open(1602, 1402, 800, 600);
    const XformView::PanBar &h = view.horizontalBar();
    const XformView::PanBar &v = view.verticalBar();
    // Ranges (24030 - 12000 - 48) / 8 and (21030 - 9000 - 96) / 8; opening places the
    // surface at (12000 - 24030) / 2 - 120 and (9000 - 21030) / 2 - 240 twips.
    EXPECT_EQ(std::tuple(h.visible, h.maximum, h.value, view.surfaceLeftPx()),
              std::tuple(true, 1497, 766, -409));
    EXPECT_EQ(std::tuple(v.visible, v.maximum, v.value), std::tuple(true, 1491, 781));
    EXPECT_NEAR(view.noticeY(), 781 * 8 / 15.0 + 5, 1e-9);
    view.scrollHorizontal(150); // 1200 twips
    EXPECT_EQ(view.surfaceLeftPx(), -80);
    EXPECT_DOUBLE_EQ(view.noticeX(), 85) << "the notice stays at the visible edge";
    EXPECT_DOUBLE_EQ(view.toEditorX(0), 80);
    view.scrollHorizontal(100000);
    view.scrollVertical(-5);
    EXPECT_EQ(std::tuple(h.value, v.value, view.surfaceTopPx()), std::tuple(1497, 0, 0));
    // A zoom out leaves the value past the new range: it is clamped and the surface
    // still covers the window.
    ASSERT_TRUE(view.zoomIn());
    view.alignScrolls(800, 600);
    view.scrollHorizontal(h.maximum);
    view.resetZoom();
    view.alignScrolls(800, 600);
    EXPECT_EQ(h.value, h.maximum);
    EXPECT_GE(view.surfaceLeftPx() + view.surfaceWidthPx(), 800 - 4);
    view.alignScrolls(1700, 1500); // the window grows past the surface
    EXPECT_EQ(std::tuple(h.visible, view.surfaceLeftPx()), std::tuple(false, 49));
    // A degenerate area and window stay usable.
    view.open(0, std::nan(""), 0, -5);
    EXPECT_EQ(
        std::tuple(view.areaWidth(), view.areaHeight(), view.windowWidth(), view.windowHeight()),
        std::tuple(1.0, 1.0, 1, 1));
    EXPECT_TRUE(std::isfinite(view.toEditorX(10)));
}

constexpr Colour kWhite = 0xffffff;
constexpr Colour kRed = 255;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The square with corners at editor (30, 30), (60, 30), (60, 60), (30, 60) on a 90 x 90
// drawing area, with sketch items and previews.
struct Scene
{
    Chain chain;
    std::vector<Sketch> items{Sketch{}};
    XformDrawSettings settings;
    int itemEnd = -1; // -1: all items
    Sketch entering;
    std::optional<RegularPreview> regular;

    // A square item from (x, y) to (x + 20, y + 20).
    Sketch &addItem(double x, double y, int16_t kind, int16_t fillStyle, int16_t negative = 0)
    {
        const Vertex a{x, y}, b{x + 20, y}, c{x + 20, y + 20}, d{x, y + 20};
        return items.emplace_back(Sketch{.kind = kind,
                                         .fillStyle = fillStyle,
                                         .negative = negative,
                                         .nPoints = 5,
                                         .points = {a, b, c, d, a}});
    }
};

struct Picture
{
    const char *name;
    void (*setup)(Scene &);
    std::vector<std::tuple<int, int, Colour>> probes; // x, y, colour
};

constexpr Colour kFill = kSketchFillColour, kCurve = kOutlineColour;

// clang-format off
const Picture kPictures[] = {
    {"RolesCurveAndHandles", [](Scene &s) { // the first segment curved through (45, 15)
         std::tie(s.chain.firstNode->nPoints, s.chain.firstNode->fcpX, s.chain.firstNode->fcpY) = std::tuple(11, 40, 10);
         std::tie(s.chain.firstNode->fLink->bcpX, s.chain.firstNode->fLink->bcpY, s.chain.firstNode->fActive) = std::tuple(50, 10, true);
         s.chain.firstNode->lineColr = kRed;
         s.chain.firstNode->fLink->lineColr = kColourDestination;
         s.chain.firstNode->fLink->ptColr = kColourWarning;
         s.settings.curveMode = true;
     },
     {{45, 30, kRed}, {60, 45, kColourDestination}, {60, 30, kColourWarning}, {45, 15, kCurve},
      {40, 10, kCurve}, {35, 20, kCurve}, {44, 10, kWhite}}},
    {"Items", [](Scene &s) {
         s.addItem(35, 35, 1, 0);
         s.addItem(65, 65, 1, 1, kTrue);    // transparent, negative outline
         s.addItem(5, 5, 0, 0).nPoints = 3; // an open polyline over three points
         s.addItem(5, 65, 1, 0).deletedMark = kTrue;
         s.addItem(65, 5, 1, 0);
         s.itemEnd = 5; // the last item is beyond the end
     },
     {{45, 45, kFill}, {45, 35, 0}, {75, 75, kWhite}, {75, 65, invertColor(0x0000ff)},
      {25, 15, 0}, {15, 25, kWhite}, {15, 75, kWhite}, {75, 15, kWhite}}},
    {"Previews", [](Scene &s) {
         s.regular = RegularPreview{45, 45, 10, 6, false, true};
         s.entering.points = {{20, 80}};
         s.entering.nPoints = 1;
     },
     {{45, 45, kFill}, {20, 80, 0}}},
    {"NonFiniteNumbersDrawNothingOfTheirOwn", [](Scene &s) {
         s.chain.firstNode->fLink->x = kNaN;
         s.addItem(35, 35, 0, 0).points[1].x = std::numeric_limits<double>::infinity();
     },
     {{45, 30, kWhite}, {45, 60, 0}, {45, 55, 0}}},
};
// clang-format on

class XformPictureTest : public ::testing::TestWithParam<Picture>
{};

TEST_P(XformPictureTest, ShowsItsPixels)
{
    Scene s;
    ASSERT_TRUE(s.chain.openFromTile(test::squareTile(0, 0, 30), false));
    s.settings.areaWidth = s.settings.areaHeight = 90;
    s.settings.tileColour = 0x0000ff;
    GetParam().setup(s);
    ImageSurface surface(QSize(90, 90), QPoint(0, 0), kWhite);
    const int end = s.itemEnd < 0 ? static_cast<int>(s.items.size()) : s.itemEnd;
    drawXform(surface, s.chain, s.items, end, s.settings,
              s.entering.nPoints ? &s.entering : nullptr, s.regular);
    for (const auto &[x, y, colour] : GetParam().probes)
        EXPECT_EQ(surface.pixel(x, y), colour) << x << ", " << y;
    EXPECT_EQ(surface.penWidth(), 1) << "the caller's pen is left as it was";
}

INSTANTIATE_TEST_SUITE_P(Pictures, XformPictureTest, ::testing::ValuesIn(kPictures),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(XformDrawer, ViewportAndDotsDrawOnlyWhatShows)
{
    Chain chain;
    ASSERT_TRUE(chain.openFromTile(test::squareTile(0, 0, 30), false));
    // 800 %: the surface is 720 pixels wide, the viewport 40 x 40 around the right edge.
    ImageSurface viewport(QSize(40, 40), QPoint(460, 400), kWhite);
    viewport.setScale(8);
    drawXform(viewport, chain, {Sketch{}}, 1, XformDrawSettings{});
    EXPECT_EQ(std::tuple(viewport.pixel(480, 420), viewport.pixel(470, 420)), std::tuple(0, kWhite))
        << "the edge from (60, 30) to (60, 60)";
    // Dots straddling the viewport's right, bottom and top borders show the half inside.
    drawXformDot(viewport, 62.625, 52.5, kRed, 3);
    drawXformDot(viewport, 60, 55.125, kRed, 3);
    drawXformDot(viewport, 61.5, 49.75, kRed, 3);
    EXPECT_EQ(
        std::tuple(viewport.pixel(499, 420), viewport.pixel(480, 439), viewport.pixel(492, 400)),
        std::tuple(kRed, kRed, kRed));

    ImageSurface surface(QSize(90, 90), QPoint(0, 0), kWhite);
    surface.setPenColour(kRed);
    surface.setFillStyle(kFillTransparent);
    drawXformDot(surface, 10, 10, kColourDestination, 3);
    EXPECT_EQ(std::tuple(surface.pixel(12, 10), surface.penColour(), surface.fillStyle()),
              std::tuple(kColourDestination, kRed, int(kFillTransparent)));
    const QImage before = surface.image();
    for (double bad : {kNaN, 1e300, -1e300, std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(surfacePixel(surface, bad, 0) || surfacePixel(surface, 0, bad)) << bad;
        drawXformDot(surface, bad, 10, 0, 2);
        drawXformDot(surface, 10, bad, 0, 2);
    }
    EXPECT_EQ(surface.image(), before) << "nothing drawn, not even at a wrapped position";
}

} // namespace
} // namespace tessella
