// SPDX-License-Identifier: GPL-3.0-or-later
// The sketch tools without widgets: lines, closed polygons, regular polygons, the delete
// tool and curves on the working copy.
#include "transform/sketchtools.h"

#include "platform/imagesurface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tessella {
namespace {

constexpr double kReach = 6.0;

class RecordingHost : public SketchToolsHost
{
public:
    void sketchRedraw() override { ++redraws; }
    void sketchBeep() override { ++beeps; }
    void enableCurve(bool enabled) override { curveButton = enabled; }

    int redraws = 0;
    int beeps = 0;
    bool curveButton = false;
};

class SketchToolsTest : public ::testing::Test
{
protected:
    void click(double x, double y, PointerButton b = PointerButton::Left)
    {
        tools.mouseDown(b, x, y, kReach);
        tools.mouseUp(b, x, y);
    }
    void drag(double fromX, double fromY, double toX, double toY)
    {
        tools.mouseDown(PointerButton::Left, fromX, fromY, kReach);
        tools.mouseMove((fromX + toX) / 2, (fromY + toY) / 2);
        tools.mouseMove(toX, toY);
        tools.mouseUp(PointerButton::Left, toX, toY);
    }
    int items() const { return work.sketchNext - 1; }
    const Sketch &item(int i) const { return work.sketchItems.at(i); }

    // A polyline of the given corners entered with the line tool and a right click.
    void polyline(const std::vector<Vertex> &corners)
    {
        for (const Vertex &p : corners)
            click(p.x, p.y);
        click(0, 0, PointerButton::Right);
    }

    SketchWorkingCopy work;
    RecordingHost host;
    SketchTools tools{work, host};
};

TEST_F(SketchToolsTest, TriangleClosedOnItsFirstPointHasFourPoints)
{
    click(10, 10);
    click(50, 10);
    click(30, 40);
    EXPECT_EQ(tools.sketchItem.nPoints, 3);
    ASSERT_EQ(items(), 0) << "not finished before it is closed";
    click(13, 8); // within reach of point 0 on both axes
    ASSERT_EQ(items(), 1);
    const Sketch &t = item(1);
    EXPECT_EQ(t.kind, 1);
    EXPECT_EQ(t.nPoints, 4);
    ASSERT_EQ(t.points.size(), 4u);
    EXPECT_EQ(t.points[3], (Vertex{10, 10})) << "the last point is point 0 itself";
    EXPECT_EQ(t.points[1], (Vertex{50, 10}));
    EXPECT_EQ(t.fillStyle, 1) << "not filled unless \"fill\" is ticked";
    EXPECT_EQ(t.negative, 0);
    EXPECT_TRUE(work.sketchesChanged);
    EXPECT_TRUE(host.curveButton);
    EXPECT_EQ(tools.sketchItem.nPoints, 0);
    EXPECT_EQ(tools.entering(), nullptr);
}

TEST_F(SketchToolsTest, ClosingNeedsReachOnEachAxisAndNearClicksAreIgnored)
{
    click(10, 10);
    click(10, 40);
    click(12, 40); // within reach of the last point on both axes: nothing
    EXPECT_EQ(tools.sketchItem.nPoints, 2);
    click(40, 40);
    click(12, 30); // near point 0 in x only: an ordinary point
    EXPECT_EQ(tools.sketchItem.nPoints, 4);
    EXPECT_EQ(items(), 0);
    click(15, 15); // both axes within 6
    ASSERT_EQ(items(), 1);
    EXPECT_EQ(item(1).nPoints, 5);
    EXPECT_EQ(item(1).kind, 1);
}

TEST_F(SketchToolsTest, RightClickFinishesAnOpenPolylineOrDropsASinglePoint)
{
    click(10, 10);
    click(0, 0, PointerButton::Right);
    EXPECT_EQ(items(), 0);
    EXPECT_FALSE(work.sketchesChanged);

    tools.fill = true;
    tools.negative = true;
    click(10, 10);
    click(30, 10);
    click(0, 0, PointerButton::Right);
    ASSERT_EQ(items(), 1);
    EXPECT_EQ(item(1).kind, 0);
    EXPECT_EQ(item(1).nPoints, 2);
    EXPECT_EQ(item(1).fillStyle, 0);
    EXPECT_EQ(item(1).negative, kTrue);
    EXPECT_TRUE(work.sketchesChanged);
    EXPECT_FALSE(host.curveButton) << "a two-point line cannot be curved";
    // A right click with nothing entered does nothing.
    click(0, 0, PointerButton::Right);
    EXPECT_EQ(items(), 1);
}

TEST_F(SketchToolsTest, RubberBandRunsFromTheLastPointToThePointer)
{
    click(10, 10);
    click(30, 10);
    tools.mouseMove(40, 25);
    const auto band = tools.rubberBand();
    ASSERT_TRUE(band.has_value());
    EXPECT_EQ(band->first, (Vertex{30, 10}));
    EXPECT_EQ(band->second, (Vertex{40, 25}));
    tools.abortLine();
    EXPECT_FALSE(tools.rubberBand().has_value());
    EXPECT_EQ(items(), 0);
}

TEST_F(SketchToolsTest, OverlayDrawsTheRubberBandAndTheCurvePreview)
{
    constexpr Colour white = 0xffffff;
    ImageSurface band(QSize(100, 100), QPoint(0, 0), white);
    click(10, 10);
    tools.mouseMove(60, 10);
    drawSketchOverlay(band, tools);
    EXPECT_EQ(band.pixel(35, 10), 0) << "black segment to the pointer";
    EXPECT_EQ(band.pixel(35, 20), white);
    tools.abortLine();

    polyline({{10, 50}, {50, 50}, {50, 90}});
    ASSERT_TRUE(tools.prepCurve());
    ImageSurface curve(QSize(100, 100), QPoint(0, 0), white);
    drawSketchOverlay(curve, tools);
    EXPECT_EQ(curve.pixel(30, 50), kOutlineColour) << "the curve starts at the first midpoint";
    EXPECT_EQ(curve.pixel(10, 50), kOutlineColour) << "corner dot";
    EXPECT_EQ(curve.pixel(20, 50), white) << "no line before the first midpoint";
    EXPECT_EQ(curve.pixel(35, 20), white);
}

TEST_F(SketchToolsTest, HexagonDraggedToRadiusTwentyHasSevenPoints)
{
    tools.chooseTool(SketchTool::Polygon);
    EXPECT_EQ(tools.sides(), 6);
    tools.mouseDown(PointerButton::Left, 100, 100, kReach);
    EXPECT_EQ(tools.sketchItem.kind, 2) << "kind 2 only while dragged";
    EXPECT_EQ(tools.sketchItem.nPoints, 7);
    tools.mouseMove(110, 100);
    auto preview = tools.regularPreview();
    ASSERT_TRUE(preview.has_value());
    EXPECT_DOUBLE_EQ(preview->radius, 10);
    EXPECT_EQ(preview->sides, 6);
    tools.mouseMove(112, 116);
    tools.mouseUp(PointerButton::Left, 112, 116); // |(12, 16)| = 20
    ASSERT_EQ(items(), 1);
    const Sketch &h = item(1);
    EXPECT_EQ(h.kind, 1);
    ASSERT_EQ(h.nPoints, 7);
    ASSERT_EQ(h.points.size(), 7u);
    EXPECT_DOUBLE_EQ(h.points[0].x, 120);
    EXPECT_DOUBLE_EQ(h.points[0].y, 100);
    EXPECT_EQ(h.points[6], h.points[0]);
    for (int k = 0; k < 6; ++k) {
        const double a = 2 * std::numbers::pi * k / 6;
        EXPECT_NEAR(h.points[k].x, 100 + 20 * std::cos(a), 1e-9) << k;
        EXPECT_NEAR(h.points[k].y, 100 + 20 * std::sin(a), 1e-9) << k;
    }
    EXPECT_FALSE(tools.regularPreview().has_value());
    EXPECT_TRUE(host.curveButton);
}

TEST_F(SketchToolsTest, RegularPolygonNearItsCentreIsDroppedAndSidesStayInRange)
{
    tools.chooseTool(SketchTool::Polygon);
    drag(100, 100, 100.2, 100.2); // r = 0.28
    EXPECT_EQ(items(), 0);
    EXPECT_FALSE(work.sketchesChanged);
    drag(0, 0, 0.3, 0);
    EXPECT_EQ(items(), 1) << "0.3 itself is kept";

    tools.setSides(2);
    EXPECT_EQ(tools.sides(), 3);
    tools.setSides(40);
    EXPECT_EQ(tools.sides(), 24);
    drag(50, 50, 50, 60);
    ASSERT_EQ(items(), 2);
    EXPECT_EQ(item(2).nPoints, 25);
    EXPECT_EQ(regularPolygon(0, 0, 5, 3).nPoints, 4);
}

TEST_F(SketchToolsTest, DeleteMarksTheFirstItemStartingWithinReach)
{
    polyline({{10, 10}, {40, 10}, {40, 40}});
    polyline({{60, 60}, {90, 60}, {90, 90}});
    work.sketchesChanged = false;
    tools.chooseTool(SketchTool::Delete);
    EXPECT_TRUE(tools.deleteToolOn);
    click(64, 57);
    EXPECT_EQ(item(2).deletedMark, kTrue);
    EXPECT_EQ(item(1).deletedMark, 0);
    EXPECT_TRUE(work.sketchesChanged);
    EXPECT_FALSE(host.curveButton) << "the last item is gone";
    click(64, 57); // already deleted: nothing left there
    EXPECT_EQ(host.beeps, 1);
    click(200, 200);
    EXPECT_EQ(host.beeps, 2);
    tools.chooseTool(SketchTool::Line);
    EXPECT_FALSE(tools.deleteToolOn);
}

TEST_F(SketchToolsTest, FourPointPolylineCurvesIntoTwoPiecesOfFiveSamples)
{
    polyline({{0, 0}, {10, 0}, {10, 10}, {20, 10}});
    ASSERT_TRUE(host.curveButton);
    tools.cmdCurve();
    ASSERT_TRUE(tools.curveUnderway);
    ASSERT_EQ(tools.curvePoints.size(), 3u);
    EXPECT_EQ(tools.curvePoints[0], (Vertex{5, 0}));
    EXPECT_EQ(tools.curvePoints[2], (Vertex{15, 10}));
    tools.cmdCurve();
    EXPECT_FALSE(tools.curveUnderway);
    EXPECT_FALSE(host.curveButton);
    const Sketch &c = item(1);
    ASSERT_EQ(c.nPoints, 10);
    ASSERT_EQ(c.points.size(), 10u);
    EXPECT_EQ(c.points[0], (Vertex{5, 0})) << "starts at the first midpoint";
    EXPECT_EQ(c.points[5], (Vertex{10, 5})) << "the second piece starts at the second midpoint";
    // t = 1/5 of the first piece: (1-t)^3 * (5, 0) + (1 - (1-t)^3 - t^3) * (10, 0) + t^3 * (10, 5).
    EXPECT_NEAR(c.points[1].x, 0.512 * 5 + 0.48 * 10 + 0.008 * 10, 1e-12);
    EXPECT_NEAR(c.points[1].y, 0.008 * 5, 1e-12);
    EXPECT_EQ(c.kind, 0);
}

TEST_F(SketchToolsTest, ShortItemsAreNotCurvedAndDraggedCornersShapeTheCurve)
{
    polyline({{0, 0}, {30, 0}});
    EXPECT_FALSE(tools.prepCurve());
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(item(1).nPoints, 2) << "the line keeps its points";

    polyline({{0, 50}, {20, 50}, {40, 50}});
    ASSERT_TRUE(tools.prepCurve());
    tools.mouseDown(PointerButton::Left, 21, 52, kReach); // picks the middle corner
    tools.mouseMove(20, 80);
    tools.mouseUp(PointerButton::Left, 20, 80);
    EXPECT_EQ(tools.curveItem.points[1], (Vertex{20, 80}));
    EXPECT_EQ(tools.curvePoints[0], (Vertex{10, 65}));
    EXPECT_EQ(items(), 2) << "clicks pick corners while a curve is under way";
    tools.closeCurve();
    const Sketch &c = item(2);
    ASSERT_EQ(c.nPoints, 5);
    EXPECT_EQ(c.points[0], (Vertex{10, 65}));
    EXPECT_GT(c.points[2].y, 70) << "bent towards the moved corner";
}

TEST_F(SketchToolsTest, ClosingThePaletteFinishesACurveAndDropsALine)
{
    polyline({{0, 0}, {10, 0}, {10, 10}});
    tools.prepCurve();
    tools.close();
    EXPECT_FALSE(tools.curveUnderway);
    EXPECT_EQ(item(1).nPoints, 5);

    tools.chooseTool(SketchTool::Delete);
    tools.chooseTool(SketchTool::Line);
    click(50, 50);
    click(80, 50);
    tools.close();
    EXPECT_EQ(items(), 1);
    EXPECT_EQ(tools.sketchItem.nPoints, 0);
    EXPECT_FALSE(tools.deleteToolOn);
}

TEST_F(SketchToolsTest, PointCountsStayWithinSixteenBits)
{
    // A line takes at most 32767 points.
    for (int i = 0; i < kMaxSketchPoints; ++i)
        click(100 + 7.0 * i, (i % 2) * 10.0);
    EXPECT_EQ(tools.sketchItem.nPoints, kMaxSketchPoints);
    EXPECT_EQ(host.beeps, 0);
    click(-50, -50);
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(tools.sketchItem.nPoints, kMaxSketchPoints);
    tools.finishLine();
    ASSERT_EQ(items(), 1);
    EXPECT_EQ(item(1).nPoints, kMaxSketchPoints);

    // A curve that would exceed the limit is refused, the item unchanged.
    EXPECT_FALSE(tools.prepCurve());
    EXPECT_EQ(host.beeps, 2);
    EXPECT_EQ(item(1).nPoints, kMaxSketchPoints);
    // 6555 corners give 5 * 6553 = 32765 points: allowed.
    Sketch big;
    for (int i = 0; i < 6555; ++i)
        big.points.push_back({i * 10.0, (i % 2) * 10.0});
    big.nPoints = 6555;
    ASSERT_TRUE(work.append(big));
    ASSERT_TRUE(tools.prepCurve());
    tools.closeCurve();
    EXPECT_EQ(item(2).nPoints, 32765);
}

TEST_F(SketchToolsTest, FullWorkingCopyBeepsAndKeepsNothing)
{
    work.sketchItems.resize(kMaxRecords);
    work.sketchNext = kMaxRecords;
    click(10, 10);
    click(40, 10);
    click(0, 0, PointerButton::Right);
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(work.sketchNext, kMaxRecords);
    EXPECT_FALSE(work.sketchesChanged);
}

} // namespace
} // namespace tessella
