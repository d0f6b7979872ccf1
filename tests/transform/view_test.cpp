// SPDX-License-Identifier: GPL-3.0-or-later
// The transform editor's view: zoom, reach, caption and pan-bar arithmetic, and the
// picture read back from an image surface.
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

// The one table of the editor's captions: every zoom key from 100 % and back.
TEST(XformView, ZoomKeysStepTheCaptionAndKeepTheReachAtSixScreenPixels)
{
    XformView view;
    view.open(90, 60, 800, 600);
    EXPECT_EQ(XformView::designCaption(), "tile transformation   100%");
    EXPECT_EQ(view.caption(), "tile transformation    100%");
    const struct
    {
        char key; // '+' zoom in, '-' zoom out, '/' back to 100 %
        bool accepted;
        int percent;
    } steps[] = {{'-', false, 100}, {'+', true, 141}, {'+', true, 200}, {'+', true, 283},
                 {'+', true, 400},  {'+', true, 566}, {'+', true, 800}, {'+', false, 800},
                 {'-', true, 566},  {'-', true, 400}, {'/', true, 100}, {'+', true, 141},
                 {'-', true, 100},  {'-', false, 100}};
    for (const auto &s : steps) {
        const bool ok = s.key == '+'   ? view.zoomIn()
                        : s.key == '-' ? view.zoomOut()
                                       : (view.resetZoom(), true);
        SCOPED_TRACE(::testing::Message() << s.key << " to " << s.percent);
        EXPECT_EQ(ok, s.accepted);
        EXPECT_EQ(view.caption(), "tile transformation    " + std::to_string(s.percent) + "%");
        EXPECT_NEAR(view.hitRadius() * view.zoomFactor(), 6.0, 1e-5);
        EXPECT_NEAR(view.zoomPercent(), 100 * view.zoomFactor(), 1e-3);
        EXPECT_NEAR(view.surfaceWidthPx(), 90 * view.zoomFactor(), 1e-4);
        EXPECT_NEAR(view.surfaceHeightPx(), 60 * view.zoomFactor(), 1e-4);
    }
}

TEST(XformView, ZoomInRefusedForSurfacesBeyondTheSizeLimits)
{
    // 45000 twips are 3000 pixels; a surface may outgrow the window by 22600 twips,
    // 1506.7 pixels. Every surface allowed one step is refused the next.
    const struct
    {
        double w, h;
        int winW, winH;
        bool allowed;
    } rows[] = {{3001, 100, 4000, 4000, false}, {2999, 100, 4000, 4000, true},
                {100, 3001, 4000, 4000, false}, {1600, 100, 100, 600, true},
                {1610, 100, 100, 600, false},   {100, 1610, 600, 100, false}};
    for (const auto &r : rows) {
        SCOPED_TRACE(::testing::Message() << r.w << " x " << r.h);
        XformView view;
        view.open(r.w, r.h, r.winW, r.winH);
        EXPECT_EQ(view.zoomIn(), r.allowed);
        EXPECT_FALSE(view.zoomIn());
    }
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
    EXPECT_EQ(view.toEditorX(250), 0);
    EXPECT_EQ(view.toEditorY(300), 100);
}

TEST(XformView, LargerSurfaceShowsBarsThatPanIt)
{
    XformView view;
    view.open(1200, 900, 800, 600);
    const XformView::PanBar &h = view.horizontalBar();
    const XformView::PanBar &v = view.verticalBar();
    ASSERT_TRUE(h.visible && v.visible);
    // (18000 - 12000 - 48) / 8 and (13500 - 9000 - 96) / 8, integer parts.
    EXPECT_EQ(h.maximum, 744);
    EXPECT_EQ(v.maximum, 550);
    // Opening places the surface a little up and left of centre: (12000 - 18000) / 2 - 120
    // twips, value 390; (9000 - 13500) / 2 - 240, value 311.
    EXPECT_EQ(h.value, 390);
    EXPECT_EQ(v.value, 311);
    EXPECT_EQ(view.surfaceLeftPx(), -208);

    view.scrollHorizontal(150); // 1200 twips
    EXPECT_EQ(view.surfaceLeftPx(), -80);
    EXPECT_DOUBLE_EQ(view.noticeX(), 85);
    EXPECT_DOUBLE_EQ(view.toEditorX(0), 80);
    view.scrollHorizontal(100000);
    EXPECT_EQ(h.value, 744);
    view.scrollVertical(-5);
    EXPECT_EQ(v.value, 0);
    EXPECT_EQ(view.surfaceTopPx(), 0);
    // The window grows past the surface: centred, no bar.
    view.alignScrolls(1300, 1000);
    EXPECT_FALSE(h.visible);
    EXPECT_EQ(view.surfaceLeftPx(), 50);
}

TEST(XformView, ZoomKeepsTheBarValueInRange)
{
    XformView view;
    view.open(600, 600, 500, 500);
    view.scrollHorizontal(view.horizontalBar().maximum);
    ASSERT_TRUE(view.zoomIn());
    view.alignScrolls(500, 500);
    EXPECT_LE(view.horizontalBar().value, view.horizontalBar().maximum);
    view.resetZoom();
    view.alignScrolls(500, 500);
    EXPECT_EQ(view.horizontalBar().value, view.horizontalBar().maximum);
    EXPECT_GE(view.surfaceLeftPx() + view.surfaceWidthPx(), 500 - 4);
}

TEST(XformView, DegenerateAreaStaysUsableAndReflectionWidensAtTheSameZoom)
{
    XformView view;
    view.open(0, std::nan(""), 0, -5);
    EXPECT_EQ(view.areaWidth(), 1);
    EXPECT_EQ(view.areaHeight(), 1);
    EXPECT_EQ(view.windowWidth(), 1);
    EXPECT_TRUE(std::isfinite(view.toEditorX(10)));
    view.open(90, 90, 800, 600);
    view.zoomIn();
    view.setArea(120, 90);
    EXPECT_NEAR(view.surfaceWidthPx(), 120 * std::sqrt(2.0), 1e-4);
    EXPECT_EQ(view.caption(), "tile transformation    141%");
}

constexpr Colour kWhite = 0xffffff;
constexpr Colour kRed = 255;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A 30 x 30 square with corners at editor (30, 30), (60, 30), (60, 60), (30, 60) on a
// 90 x 90 drawing area, and its sketch items.
struct Scene
{
    Chain chain;
    std::vector<Sketch> items{Sketch{}};
    XformDrawSettings settings;
    int itemEnd = -1; // -1: all items
    Sketch entering;
    std::optional<RegularPreview> regular;

    Node *corner(int k) const
    {
        Node *n = chain.firstNode;
        while (k-- > 0)
            n = n->fLink;
        return n;
    }
    void addSquareItem(int16_t kind, int16_t fillStyle, int16_t negative = 0)
    {
        Sketch s;
        s.kind = kind;
        s.fillStyle = fillStyle;
        s.negative = negative;
        s.points = {{35, 35}, {55, 35}, {55, 55}, {35, 55}, {35, 35}};
        s.nPoints = 5;
        items.push_back(s);
    }
    // The first segment as a curve through (45, 15).
    void curveUp()
    {
        corner(0)->nPoints = 11;
        corner(0)->fcpX = 40;
        corner(0)->fcpY = 10;
        corner(1)->bcpX = 50;
        corner(1)->bcpY = 10;
    }
    // The straight chain leaves the first edge, so only the corner outline runs there.
    void leaveTheFirstEdge()
    {
        settings.curves = false;
        Node *p = chain.insertAfter(chain.firstNode);
        p->x = 45;
        p->y = 20;
    }
};

struct Probe
{
    int x, y;
    Colour colour;
};

// A scene set up by a plain function and the pixels it must show.
struct Picture
{
    const char *name;
    void (*setup)(Scene &);
    std::vector<Probe> probes;
};

void PrintTo(const Picture &p, std::ostream *os)
{
    *os << p.name;
}

const Picture kPictures[] = {
    {"Plain",
     [](Scene &) {},
     {{45, 30, 0},
      {45, 45, kWhite},
      {61, 31, 0},
      {45, 0, kBoundaryColour},
      {0, 45, kBoundaryColour}}},
    {"RolesCurveAndHandles",
     [](Scene &s) {
         s.curveUp();
         s.corner(0)->lineColr = s.corner(0)->ptColr = kRed;
         s.corner(1)->lineColr = kColourDestination;
         s.corner(1)->ptColr = kColourWarning;
         s.corner(0)->fActive = s.settings.curveMode = true;
     },
     {{45, 30, kRed},
      {60, 45, kColourDestination},
      {60, 30, kColourWarning},
      {45, 15, kOutlineColour},
      {40, 10, kOutlineColour},
      {35, 20, kOutlineColour}}},
    {"Hidden",
     [](Scene &s) {
         s.curveUp();
         s.leaveTheFirstEdge();
         s.corner(0)->fActive = true; // no handles outside curve mode
         s.corner(0)->ptColr = kRed;  // the first node's dot is always black
         s.addSquareItem(1, 0);
         s.settings.boundary = s.settings.tileOutline = s.settings.sketches = false;
     },
     {{45, 0, kWhite},
      {45, 15, kWhite},
      {40, 10, kWhite},
      {45, 45, kWhite},
      {38, 30, kWhite},
      {30, 30, 0}}},
    {"DashedCornerOutline",
     [](Scene &s) { s.leaveTheFirstEdge(); },
     {{38, 30, kCornerOutlineColour}, {50, 30, kWhite}}},
    {"FilledItem",
     [](Scene &s) { s.addSquareItem(1, 0); },
     {{45, 45, kSketchFillColour}, {45, 35, 0}}},
    {"TransparentNegativeItem",
     [](Scene &s) { s.addSquareItem(1, 1, kTrue); },
     {{45, 45, kWhite}, {45, 35, invertColor(0x0000ff)}}},
    {"OpenPolyline", [](Scene &s) { s.addSquareItem(0, 0); }, {{55, 45, 0}, {45, 45, kWhite}}},
    {"DeletedItem",
     [](Scene &s) {
         s.addSquareItem(1, 0);
         s.items[1].deletedMark = kTrue;
     },
     {{45, 45, kWhite}}},
    {"OnlyItemsOneToTheEnd",
     [](Scene &s) {
         s.addSquareItem(1, 0);
         s.items[0] = s.items[1]; // index 0 holds no item
         s.itemEnd = 1;
     },
     {{45, 45, kWhite}}},
    {"Previews",
     [](Scene &s) {
         s.regular = RegularPreview{45, 45, 10, 6, false, true};
         s.entering.points = {{20, 80}};
         s.entering.nPoints = 1;
     },
     {{45, 45, kSketchFillColour}, {20, 80, 0}}},
    {"SegmentsOfALineBeingEntered",
     [](Scene &s) {
         s.entering.points = {{66, 70}, {86, 70}, {86, 86}};
         s.entering.nPoints = 3;
         s.entering.negative = kTrue; // drawn as the finished item will be
     },
     {{76, 70, invertColor(0x0000ff)}, {86, 78, invertColor(0x0000ff)}, {76, 78, kWhite}}},
    {"NonFiniteNumbersDrawNothingOfTheirOwn",
     [](Scene &s) {
         s.corner(1)->x = kNaN;
         s.addSquareItem(0, 0);
         s.items[1].points[1].x = std::numeric_limits<double>::infinity();
     },
     {{45, 30, kWhite}, {45, 60, 0}, {45, 55, 0}}},
};

class XformPictureTest : public ::testing::TestWithParam<Picture>
{};

TEST_P(XformPictureTest, ShowsItsPixels)
{
    const Picture &p = GetParam();
    Scene s;
    ASSERT_TRUE(s.chain.openFromTile(test::squareTile(0, 0, 30), false));
    s.settings.areaWidth = s.settings.areaHeight = 90;
    s.settings.tileColour = 0x0000ff;
    p.setup(s);
    ImageSurface surface(QSize(90, 90), QPoint(0, 0), kWhite);
    const int end = s.itemEnd < 0 ? static_cast<int>(s.items.size()) : s.itemEnd;
    drawXform(surface, s.chain, s.items, end, s.settings,
              s.entering.nPoints ? &s.entering : nullptr, s.regular);
    for (const Probe &q : p.probes)
        EXPECT_EQ(surface.pixel(q.x, q.y), q.colour) << q.x << ", " << q.y;
    EXPECT_EQ(surface.penWidth(), 1) << "the caller's pen is left as it was";
}

INSTANTIATE_TEST_SUITE_P(Pictures, XformPictureTest, ::testing::ValuesIn(kPictures),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(XformDrawer, ZoomedViewportKeepsOnlyItsPixels)
{
    Chain chain;
    ASSERT_TRUE(chain.openFromTile(test::squareTile(0, 0, 30), false));
    // 800 %: the surface is 720 pixels wide, the viewport 40 x 40 around the right edge.
    ImageSurface viewport(QSize(40, 40), QPoint(460, 400), kWhite);
    viewport.setScale(8);
    drawXform(viewport, chain, {Sketch{}}, 1, XformDrawSettings{});
    EXPECT_EQ(viewport.image().size(), QSize(40, 40));
    EXPECT_EQ(viewport.pixel(480, 420), 0) << "the edge from (60, 30) to (60, 60)";
    EXPECT_EQ(viewport.pixel(470, 420), kWhite);
}

TEST(XformDrawer, DotsKeepTheCallersStyleAndSkipPointsThatCannotBeDrawn)
{
    ImageSurface surface(QSize(90, 90), QPoint(0, 0), kWhite);
    surface.setPenColour(kRed);
    surface.setFillStyle(kFillTransparent);
    drawXformDot(surface, 10, 10, kColourDestination, 3);
    EXPECT_EQ(surface.pixel(10, 10), kColourDestination);
    EXPECT_EQ(surface.pixel(12, 10), kColourDestination);
    EXPECT_EQ(surface.penColour(), kRed);
    EXPECT_EQ(surface.fillStyle(), kFillTransparent);
    const QImage before = surface.image();
    for (double bad : {kNaN, 1e300, -1e300, std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(surfacePixel(surface, bad, 0).has_value()) << bad;
        EXPECT_FALSE(surfacePixel(surface, 0, bad).has_value()) << bad;
        drawXformDot(surface, bad, 10, 0, 2);
        drawXformDot(surface, 10, bad, 0, 2);
    }
    EXPECT_EQ(surface.image(), before) << "nothing drawn, not even at a wrapped position";
}

} // namespace
} // namespace tessella
