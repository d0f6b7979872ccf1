// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/view/tilingdrawer.h"
#include "tileeditor/view/viewrenderer.h"

#include "document/colour.h"
#include "drawingfixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace tessella;
using namespace tessella::test;

namespace {

constexpr Colour kBg = kCanvasBackground;

struct Canvas
{
    ImageSurface surface{QSize(200, 200)};
    Document doc;
    DrawSettings settings;

    void draw()
    {
        TilingDrawer drawer(surface, doc, settings);
        drawer.drawList();
    }
};

} // namespace

TEST(TilingDrawer, LinesAndFillsGiveBlackOutlineAndColourInside)
{
    Canvas c;
    c.doc.tiles.push_back(squareTile(10, 10, 40, kRgbRed));
    c.draw();
    EXPECT_EQ(c.surface.pixel(10, 30), kBlack);
    EXPECT_EQ(c.surface.pixel(30, 10), kBlack);
    EXPECT_EQ(c.surface.pixel(30, 30), kRgbRed);
    EXPECT_EQ(c.surface.pixel(60, 30), kBg);
}

TEST(TilingDrawer, NeitherLinesNorFillsGiveWhiteInsideAndOutlineInTileColour)
{
    Canvas c;
    c.settings.lines = false;
    c.settings.fills = false;
    c.doc.tiles.push_back(squareTile(10, 10, 40, kRgbRed));
    c.draw();
    EXPECT_EQ(c.surface.pixel(10, 30), kRgbRed);
    EXPECT_EQ(c.surface.pixel(30, 30), kWhite);
}

TEST(TilingDrawer, SelectedTileIsHatchedExceptDuringHitTest)
{
    Canvas c;
    c.doc.tiles.push_back(squareTile(10, 10, 80, kRgbBlue));
    c.doc.tiles[0].selected = kTrue;
    c.draw();
    // The hatch lines are in the tile colour; between them the background shows.
    EXPECT_GT(countColour(c.surface, 20, 20, 80, 80, kRgbBlue), 100);
    EXPECT_GT(countColour(c.surface, 20, 20, 80, 80, kBg), 100);

    Canvas probe;
    probe.doc = c.doc;
    probe.settings.hitTesting = true;
    probe.draw();
    EXPECT_EQ(countColour(probe.surface, 20, 20, 80, 80, kRgbBlue), 61 * 61);
}

TEST(TilingDrawer, TilesOfAnotherGridAndTheirSketchesAreNotDrawn)
{
    Canvas c;
    c.doc.tiles.push_back(squareTile(10, 10, 40, kRgbRed, GridHexagonal));
    c.doc.sketches = {Sketch{}, sketchItem(0, {{0, 0}, {30, 30}}, 1)};
    c.doc.tiles[0].sketchStart = 1;
    c.draw();
    EXPECT_EQ(countColour(c.surface, 0, 0, 199, 199, kBg), 200 * 200);
}

TEST(TilingDrawer, ProbeColouredTileDoesNotTurnTheNextOneIntoAProbe)
{
    Canvas c;
    c.doc.tiles.push_back(squareTile(10, 10, 40, kProbeColour));
    c.doc.tiles.push_back(squareTile(100, 10, 40, kRgbGreen));
    c.draw();
    EXPECT_EQ(c.surface.pixel(30, 30), kProbeColour);
    EXPECT_EQ(c.surface.pixel(10, 30), kBlack);
    EXPECT_EQ(c.surface.pixel(120, 30), kRgbGreen);
    EXPECT_EQ(c.surface.pixel(100, 30), kBlack);
}

TEST(TilingDrawer, ProbePassDrawsTheBareShapeAndNoExport)
{
    Canvas c;
    RecordingTarget target;
    c.doc.tiles.push_back(squareTile(10, 10, 40, kRgbRed));
    c.doc.tiles[0].selected = kTrue;
    c.settings.probePass = true;
    c.settings.vectorTarget = &target;
    c.surface.setPenColour(kProbeColour);
    c.surface.setFillColour(kProbeColour);
    c.surface.setFillStyle(kFillUpwardDiagonal);
    TilingDrawer(c.surface, c.doc, c.settings).drawTile(0);
    EXPECT_EQ(countColour(c.surface, 10, 10, 50, 50, kProbeColour), 41 * 41);
    EXPECT_TRUE(target.calls.empty());
}

TEST(TilingDrawer, ColourShiftTurnsRedIntoGreen)
{
    Canvas c;
    c.doc.tiles.push_back(squareTile(10, 10, 40, kRgbRed));
    c.settings.colorShiftOn = true;
    c.settings.hueShift = 120;
    c.draw();
    EXPECT_EQ(c.surface.pixel(30, 30), kRgbGreen);
}

TEST(TilingDrawer, SketchOfMirroredAndRotatedTileLandsWhereTurned)
{
    Canvas c;
    Tile tile = squareTile(100, 100, 40, kRgbGreen);
    tile.reflected = 1.0;
    tile.angle = std::numbers::pi / 2;
    tile.sketchStart = 1;
    c.doc.tiles.push_back(tile);
    // Polyline (10, 5) - (20, 5): mirrored to negative x, then turned a quarter.
    c.doc.sketches = {Sketch{}, sketchItem(0, {{10, 5}, {20, 5}}, 2),
                      sketchItem(1, {{10, 10}, {30, 10}, {30, 30}, {10, 30}})};
    c.doc.sketches[2].negative = kTrue;
    c.draw();
    EXPECT_EQ(c.surface.pixel(95, 85), kBlack);
    EXPECT_EQ(c.surface.pixel(95, 115), kBg); // where it would be without the mirror
    // The polygon (10..30, 10..30) lands on 70..90 both ways, filled and outlined in the
    // inverted tile colour.
    const Colour magenta = 0xff00ff;
    EXPECT_EQ(c.surface.pixel(80, 80), magenta);
    EXPECT_EQ(c.surface.pixel(70, 80), magenta);
    EXPECT_EQ(c.surface.pixel(80, 120), kBg);
}

TEST(TilingDrawer, SketchesOffDrawsNoSketch)
{
    Canvas c;
    Tile tile = squareTile(100, 100, 40, kRgbGreen);
    tile.sketchStart = 1;
    c.doc.tiles.push_back(tile);
    c.doc.sketches = {Sketch{}, sketchItem(0, {{5, 20}, {30, 20}}, 1)};
    c.settings.sketches = false;
    c.draw();
    EXPECT_EQ(c.surface.pixel(115, 120), kRgbGreen);
    c.settings.sketches = true;
    c.draw();
    EXPECT_EQ(c.surface.pixel(115, 120), kBlack);
}

TEST(TilingDrawer, BrokenSketchRunsDrawNothingAndStayStored)
{
    Canvas reference;
    reference.doc.tiles.push_back(squareTile(20, 20, 100, kRgbGreen));
    reference.draw();

    const Sketch line = sketchItem(0, {{5, 50}, {90, 50}}, 1);
    auto brokenCase = [&](int32_t start, std::vector<Sketch> sketches, int16_t nVerts) {
        Canvas c;
        c.doc.tiles.push_back(squareTile(20, 20, 100, kRgbGreen));
        c.doc.tiles[0].sketchStart = start;
        c.doc.sketches = std::move(sketches);
        if (nVerts == 0) {
            Tile empty;
            empty.grid = GridRectangular;
            empty.sketchStart = start;
            c.doc.tiles[0] = empty;
            c.doc.tiles.push_back(squareTile(20, 20, 100, kRgbGreen));
        }
        const Document before = c.doc;
        c.draw();
        EXPECT_EQ(c.surface.image(), reference.surface.image()) << "start " << start;
        EXPECT_EQ(c.doc.tiles, before.tiles);
        EXPECT_EQ(c.doc.sketches, before.sketches);
    };
    Sketch zeroCount = line;
    zeroCount.count = 0;
    Sketch negativeCount = line;
    negativeCount.count = -5;
    brokenCase(1, {}, 4);                        // table never created
    brokenCase(5, {Sketch{}, line}, 4);          // past the table
    brokenCase(-3, {Sketch{}, line}, 4);         // negative start
    brokenCase(1, {Sketch{}, zeroCount}, 4);     // empty run
    brokenCase(1, {Sketch{}, negativeCount}, 4); // negative run
    brokenCase(1, {Sketch{}, line}, 0);          // tile without vertices
}

TEST(TilingDrawer, OverlongRunsAndPointCountsAreCut)
{
    Canvas c;
    c.doc.tiles.push_back(squareTile(20, 20, 100, kRgbGreen));
    c.doc.tiles[0].sketchStart = 1;
    Sketch line = sketchItem(0, {{5, 50}, {90, 50}}, 500); // run far past the table
    line.nPoints = 30000;                                  // far more than stored
    Sketch polygon = sketchItem(1, {{10, 10}, {40, 10}, {40, 40}});
    polygon.nPoints = 1000;
    c.doc.sketches = {Sketch{}, line, polygon};
    const Document before = c.doc;
    c.draw();
    EXPECT_EQ(c.surface.pixel(60, 70), kBlack);     // the line, from its two stored points
    EXPECT_EQ(c.surface.pixel(115, 70), kRgbGreen); // not beyond its second point
    EXPECT_EQ(c.surface.pixel(50, 35), invertColor(kRgbGreen));
    EXPECT_EQ(c.doc.sketches, before.sketches);
}

TEST(TilingDrawer, NonFiniteShapesAreSkipped)
{
    Canvas c;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Tile bad = squareTile(10, 10, 40, kRgbRed);
    bad.verts[2].x = nan;
    Tile infinite = squareTile(10, 10, 40, kRgbRed);
    infinite.verts[1].y = -inf;
    Tile huge = squareTile(10, 10, 40, kRgbBlue);
    huge.verts[1] = {1e300, -1e300};
    c.doc.tiles = {bad, infinite, squareTile(100, 10, 40, kRgbGreen), huge};
    c.doc.tiles[2].sketchStart = 1;
    c.doc.sketches = {Sketch{}, sketchItem(0, {{5, 5}, {nan, 5}, {5, 30}, {30, 30}}, 2),
                      sketchItem(1, {{1, 1}, {inf, 1}, {1, 20}})};
    c.draw();
    EXPECT_EQ(c.surface.pixel(30, 30), kRgbBlue); // only the huge tile reaches here
    EXPECT_EQ(c.surface.pixel(120, 30), kRgbGreen);
    // The polyline breaks at the bad point and goes on from the next one.
    EXPECT_EQ(c.surface.pixel(105, 25), kRgbGreen);
    EXPECT_EQ(c.surface.pixel(120, 40), kBlack);
}

TEST(TilingDrawer, TilesOutsideTheViewportAreNotRasterised)
{
    CountingSurface surface(QSize(100, 100), QPoint(500, 300));
    Document doc;
    doc.tiles.push_back(squareTile(10, 10, 40, kRgbRed));   // far left of the viewport
    doc.tiles.push_back(squareTile(520, 320, 40, kRgbRed)); // inside
    doc.tiles.push_back(squareTile(590, 390, 40, kRgbRed)); // overlaps the corner
    doc.tiles.push_back(squareTile(700, 320, 40, kRgbRed)); // right of it
    RecordingTarget target;
    DrawSettings settings;
    settings.vectorTarget = &target;
    TilingDrawer(surface, doc, settings).drawList();
    EXPECT_EQ(surface.polygons, 2);
    // The export still gets every tile.
    int exported = 0;
    for (const std::string &call : target.calls) {
        exported += call.rfind("polygon", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(exported, 4);
}

TEST(TilingDrawer, VectorTargetGetsPolygonsWithoutHatchAndSketchLines)
{
    ImageSurface surface(QSize(300, 300));
    surface.setScale(2.0);
    Document doc;
    doc.tiles.push_back(squareTile(10, 10, 40, kRgbRed));
    doc.tiles[0].selected = kTrue;
    doc.tiles[0].sketchStart = 1;
    doc.sketches = {Sketch{}, sketchItem(0, {{1.25, 1.25}, {5.5, 1.75}}, 1)};
    RecordingTarget target;
    DrawSettings settings;
    settings.vectorTarget = &target;
    TilingDrawer(surface, doc, settings).drawList();
    const std::vector<std::string> expected = {
        "brush 255", "pen 1 255", "select blackPen", "select #1",
        "polygon 20,20 100,20 100,100 20,100", "delete #1", "delete #2",
        // Sketch points are rounded (halves to even): 22.5 -> 22, 23.5 -> 24.
        "pen 1 0", "select #3", "moveTo 22,22", "delete #3", "pen 1 0", "select #4", "lineTo 31,24",
        "delete #4"};
    EXPECT_EQ(target.calls, expected);
    EXPECT_EQ(target.live, 0);

    // Without lines and fills: the tile's own pen and the white brush.
    target = RecordingTarget();
    settings.lines = false;
    settings.fills = false;
    settings.sketches = false;
    TilingDrawer(surface, doc, settings).drawList();
    ASSERT_GE(target.calls.size(), 4u);
    EXPECT_EQ(target.calls[2], "select #2");
    EXPECT_EQ(target.calls[3], "select whiteBrush");
}

TEST(TilingDrawer, RenderingPlacesSketchesFromTheSnapshotThroughTheMapping)
{
    Canvas c;
    Tile mapped = squareTile(150, 150, 20, kRgbGreen);
    mapped.sketchStart = 1;
    c.doc.tiles.push_back(mapped);
    c.doc.sketches = {Sketch{}, sketchItem(0, {{10, 0}, {20, 0}}, 1)};
    std::vector<Tile> snapshot = {squareTile(10, 10, 20, kRgbGreen)};
    c.settings.rendering = true;
    c.settings.fractalSnapshot = &snapshot;
    c.settings.pointTransform = [](double &x, double &y) {
        x *= 2;
        y *= 2;
    };
    c.settings.mapScale = 1;
    c.settings.mapCenterX = 50;
    c.settings.mapCenterY = 50;
    c.draw();
    // (20, 10) and (30, 10) doubled, then moved by the centre: (90, 70) - (110, 70).
    EXPECT_EQ(c.surface.pixel(100, 70), kBlack);
    EXPECT_EQ(c.surface.pixel(80, 70), kBg);

    Canvas without = c;
    without.surface = ImageSurface(QSize(200, 200));
    without.settings.fractalSnapshot = nullptr;
    without.draw();
    EXPECT_EQ(without.surface.pixel(100, 70), kBg);
}

TEST(TilingDrawer, OverlaysMarkNewPointsAndSelectedVertices)
{
    ImageSurface surface(QSize(200, 200));
    Document doc;
    doc.tiles.push_back(squareTile(40, 40, 80, kRgbGreen));
    doc.vtxSel = {{0, 2}, {7, 0}, {0, 9}, {-1, -1}};
    const std::vector<Vertex> newPts = {{10, 10}, {10, 30}, {30, 30}, {99, 99}};
    ViewFrame frame;
    frame.extentWidth = 200;
    frame.extentHeight = 200;
    frame.newPts = newPts;
    frame.newCount = 3;
    DrawSettings settings;
    settings.grid = GridNone;
    renderView(surface, doc, settings, frame);
    EXPECT_EQ(surface.pixel(121, 120), kRed); // dot of radius 2 at vertex 2 (120, 120)
    EXPECT_EQ(surface.pixel(10, 20), kRed);
    EXPECT_EQ(surface.pixel(20, 30), kRed);
    EXPECT_EQ(surface.pixel(60, 30), kBg); // the fourth point is not entered yet
    // The redraw became the background picture.
    EXPECT_EQ(surface.background(), surface.image());
}

TEST(TilingDrawer, RubberBandClearsOnlyTheTransientLayer)
{
    ImageSurface surface(QSize(200, 200));
    Document doc;
    doc.tiles.push_back(squareTile(40, 40, 80, kRgbGreen));
    DrawSettings settings;
    ViewFrame frame;
    renderView(surface, doc, settings, frame);
    TilingDrawer drawer(surface, doc, settings);
    const std::vector<Vertex> newPts = {{10, 10}, {10, 150}};
    drawer.drawNewtile(newPts, 2, 150, 150);
    EXPECT_EQ(surface.pixel(10, 100), kRed);
    EXPECT_EQ(surface.pixel(100, 150), kRed);
    drawer.drawNewtile(newPts, 2, 150, 10);
    EXPECT_EQ(surface.pixel(100, 150), kBg);
    EXPECT_EQ(surface.pixel(60, 90), kRgbGreen);
}

TEST(TilingDrawer, ViewportDrawingEqualsTheSameRegionOfTheFullCanvas)
{
    Document doc;
    for (int i = 0; i < 12; ++i) {
        Tile tile = squareTile(8 + 64.0 * i, 8 + 40.0 * i, 48, 0x102030 * (i + 1));
        tile.grid = GridHexagonal;
        tile.selected = i % 3 == 0 ? kTrue : kFalse;
        tile.sketchStart = 1;
        doc.tiles.push_back(tile);
    }
    doc.sketches = {Sketch{}, sketchItem(0, {{3, 3}, {40, 20}}, 2),
                    sketchItem(1, {{5, 30}, {20, 30}, {12, 44}})};
    doc.vtxSel = {{4, 1}, {5, 3}};
    DrawSettings settings;
    settings.grid = GridHexagonal;
    ViewFrame frame;
    frame.extentWidth = 1000 / 1.5;
    frame.extentHeight = 700 / 1.5;
    frame.lineWidth = 2;

    ImageSurface full(QSize(1000, 700));
    full.setScale(1.5);
    renderView(full, doc, settings, frame);
    ImageSurface view(QSize(240, 160), QPoint(500, 300));
    view.setScale(1.5);
    renderView(view, doc, settings, frame);
    EXPECT_EQ(view.image(), full.image().copy(500, 300, 240, 160));
}
