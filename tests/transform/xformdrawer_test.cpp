// SPDX-License-Identifier: GPL-3.0-or-later
// The transform editor's picture, read back from an image surface.
#include "document/colour.h"
#include "platform/imagesurface.h"
#include "transform/chain.h"
#include "transform/xformdrawer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tessella {
namespace {

constexpr Colour kWhite = 0xffffff;
constexpr Colour kRed = 255;

// A 30 x 30 square: corners at editor (30, 30), (60, 30), (60, 60), (30, 60) on a
// 90 x 90 drawing area.
class XformDrawerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Tile square;
        square.setCorners({{0, 0}, {30, 0}, {30, 30}, {0, 30}});
        square.color = 0x0000ff;
        ASSERT_TRUE(chain.openFromTile(square, false));
        settings.areaWidth = chain.surfaceWidth;
        settings.areaHeight = chain.surfaceHeight;
        settings.tileColour = square.color;
        items.resize(1);
    }

    void draw()
    {
        surface.clearAll(kWhite);
        drawXform(surface, chain, items, static_cast<int>(items.size()), settings);
    }

    static Sketch squareItem(int16_t kind, int16_t fillStyle, int16_t negative = 0)
    {
        Sketch s;
        s.kind = kind;
        s.fillStyle = fillStyle;
        s.negative = negative;
        s.points = {{35, 35}, {55, 35}, {55, 55}, {35, 55}, {35, 35}};
        s.nPoints = 5;
        return s;
    }

    Chain chain;
    std::vector<Sketch> items;
    XformDrawSettings settings;
    ImageSurface surface{QSize(90, 90), QPoint(0, 0), kWhite};
};

TEST_F(XformDrawerTest, ChainBoundaryAndDotsInTheirColours)
{
    draw();
    EXPECT_EQ(surface.pixel(45, 30), 0) << "straight chain, no role";
    EXPECT_EQ(surface.pixel(45, 45), kWhite);
    EXPECT_EQ(surface.pixel(45, 0), kBoundaryColour);
    EXPECT_EQ(surface.pixel(0, 45), kBoundaryColour);
    EXPECT_EQ(surface.pixel(61, 31), 0) << "corner dot";

    settings.boundary = false;
    draw();
    EXPECT_EQ(surface.pixel(45, 0), kWhite);
    // The pen width goes back to one pixel after the frame.
    EXPECT_EQ(surface.penWidth(), 1);
}

TEST_F(XformDrawerTest, RoleColoursShowOnSegmentsAndPoints)
{
    Node *corner0 = chain.firstNode;
    Node *corner1 = corner0->fLink;
    corner0->lineColr = kRed;
    corner0->ptColr = kRed;
    corner1->lineColr = kColourDestination;
    corner1->ptColr = kColourWarning;
    draw();
    EXPECT_EQ(surface.pixel(45, 30), kRed);
    EXPECT_EQ(surface.pixel(60, 45), kColourDestination);
    EXPECT_EQ(surface.pixel(60, 30), kColourWarning);
    EXPECT_EQ(surface.pixel(30, 30), 0) << "the first node's dot is always black";
}

TEST_F(XformDrawerTest, CurvesFollowTheSamplesAndCanBeHidden)
{
    Node *corner0 = chain.firstNode;
    corner0->nPoints = 11;
    corner0->fcpX = 40;
    corner0->fcpY = 10;
    corner0->fLink->bcpX = 50;
    corner0->fLink->bcpY = 10;
    draw();
    // The sample at t = 0.5 lies at (45, 15); the straight chain stays at y = 30.
    EXPECT_EQ(surface.pixel(45, 15), kOutlineColour);
    EXPECT_EQ(surface.pixel(45, 30), 0);
    settings.curves = false;
    draw();
    EXPECT_EQ(surface.pixel(45, 15), kWhite);
}

TEST_F(XformDrawerTest, CornerOutlineIsDashedGreen)
{
    Node *p = chain.insertAfter(chain.firstNode);
    p->x = 45;
    p->y = 20;
    p->nPoints = 2;
    settings.curves = false;
    draw();
    EXPECT_EQ(surface.pixel(38, 30), kCornerOutlineColour);
    EXPECT_EQ(surface.pixel(50, 30), kWhite) << "a gap of the dashes";
    settings.tileOutline = false;
    draw();
    EXPECT_EQ(surface.pixel(38, 30), kWhite);
}

TEST_F(XformDrawerTest, SketchItemsFillOutlineAndHide)
{
    items.push_back(squareItem(1, 0));
    draw();
    EXPECT_EQ(surface.pixel(45, 45), kSketchFillColour);
    EXPECT_EQ(surface.pixel(45, 35), 0);

    items[1] = squareItem(1, 1, kTrue);
    draw();
    EXPECT_EQ(surface.pixel(45, 45), kWhite) << "transparent";
    EXPECT_EQ(surface.pixel(45, 35), invertColor(0x0000ff)) << "negative outline";

    items[1] = squareItem(0, 0);
    items[1].nPoints = 3; // an open polyline over three points
    draw();
    EXPECT_EQ(surface.pixel(55, 45), 0);
    EXPECT_EQ(surface.pixel(45, 55), kWhite);
    EXPECT_EQ(surface.pixel(45, 45), kWhite);

    items[1] = squareItem(1, 0);
    items[1].deletedMark = kTrue;
    draw();
    EXPECT_EQ(surface.pixel(45, 45), kWhite);

    items[1] = squareItem(1, 0);
    settings.sketches = false;
    draw();
    EXPECT_EQ(surface.pixel(45, 45), kWhite);
}

TEST_F(XformDrawerTest, OnlyItemsBeforeTheEndAreDrawn)
{
    items.push_back(squareItem(1, 0));
    surface.clearAll(kWhite);
    drawXform(surface, chain, items, 1, settings);
    EXPECT_EQ(surface.pixel(45, 45), kWhite);
    // Item 0 never holds an item.
    items[0] = squareItem(1, 0);
    items.resize(1);
    draw();
    EXPECT_EQ(surface.pixel(45, 45), kWhite);
}

TEST_F(XformDrawerTest, HandlesShowInCurveModeOnly)
{
    chain.firstNode->fActive = true;
    chain.firstNode->fcpX = 40;
    chain.firstNode->fcpY = 10;
    draw();
    EXPECT_EQ(surface.pixel(40, 10), kWhite);
    settings.curveMode = true;
    draw();
    EXPECT_EQ(surface.pixel(40, 10), kOutlineColour);
    EXPECT_EQ(surface.pixel(35, 20), kOutlineColour) << "the handle's line";
}

TEST_F(XformDrawerTest, RegularPolygonPreviewAndEnteredPoints)
{
    RegularPreview regular{45, 45, 10, 6, false, true};
    Sketch entering;
    entering.points = {{20, 80}};
    entering.nPoints = 1;
    surface.clearAll(kWhite);
    drawXform(surface, chain, items, 1, settings, &entering, regular);
    EXPECT_EQ(surface.pixel(45, 45), kSketchFillColour);
    EXPECT_EQ(surface.pixel(20, 80), 0);
}

TEST_F(XformDrawerTest, ZoomedViewportKeepsOnlyItsPixels)
{
    // 800 %: the surface is 720 pixels wide, the viewport 40 x 40 around the right edge.
    ImageSurface viewport(QSize(40, 40), QPoint(460, 400), kWhite);
    viewport.setScale(8);
    drawXform(viewport, chain, items, 1, settings);
    EXPECT_EQ(viewport.image().size(), QSize(40, 40));
    EXPECT_EQ(viewport.pixel(480, 420), 0) << "the edge from (60, 30) to (60, 60)";
    EXPECT_EQ(viewport.pixel(470, 420), kWhite);
}

TEST_F(XformDrawerTest, DotsKeepTheCallersStyle)
{
    surface.setPenColour(kRed);
    surface.setFillStyle(kFillTransparent);
    drawXformDot(surface, 10, 10, kColourDestination, 3);
    EXPECT_EQ(surface.pixel(10, 10), kColourDestination);
    EXPECT_EQ(surface.pixel(12, 10), kColourDestination);
    EXPECT_EQ(surface.penColour(), kRed);
    EXPECT_EQ(surface.fillStyle(), kFillTransparent);
    // Points that cannot be drawn are skipped.
    EXPECT_FALSE(surfacePixel(surface, std::nan(""), 0));
    drawXformDot(surface, 1e300, 0, 0, 2);
}

} // namespace
} // namespace tessella
