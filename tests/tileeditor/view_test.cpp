// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor's view code: the tiling drawer, the lattice, the rotation preview, the
// plane view's arithmetic and the hit test. Pixels are read back from real image surfaces.
#include "editorfixture.h"

#include "document/colour.h"
#include "document/geometry.h"
#include "document/lattice.h"
#include "tileeditor/hittester.h"
#include "tileeditor/view/latticedrawer.h"
#include "tileeditor/view/planeview.h"
#include "tileeditor/view/rotationpreview.h"

#include <limits>
#include <numbers>
#include <random>

namespace tessella::test {
namespace {

constexpr Colour kBg = kCanvasBackground;
constexpr Colour kGreen = 0x00ff00;

int countColour(const Surface &s, int left, int top, int right, int bottom, Colour c)
{
    int n = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            n += s.pixel(x, y) == c ? 1 : 0;
    return n;
}

ImageSurface drawn(const Document &doc, DrawSettings settings = {})
{
    ImageSurface surface(QSize(200, 200));
    TilingDrawer(surface, doc, settings).drawList();
    return surface;
}

// The view options and the selection decide outline and inside; a selected tile is
// hatched (inside -1: tile colour and background mixed) unless a hit test repaints it.
TEST(TilingDrawer, OptionsChooseOutlineAndInside)
{
    // clang-format off
    const std::tuple<bool, bool, bool, bool, Colour, Colour> cases[] = {
        // lines, fills, selected, hit testing, outline, inside
        {true, true, false, false, kBlack, kGreen},  {false, false, false, false, kGreen, kWhite},
        {true, false, false, false, kBlack, kWhite}, {false, true, false, false, kGreen, kGreen},
        {true, true, true, true, kBlack, kGreen},    {true, true, true, false, kBlack, -1}};
    // clang-format on
    for (const auto &[lines, fills, selected, hitTesting, outline, inside] : cases) {
        Document doc = documentOf({squareTile(10, 10, 80, kGreen)});
        doc.tiles[0].selected = selected ? kTrue : kFalse;
        const ImageSurface s =
            drawn(doc, {.lines = lines, .fills = fills, .hitTesting = hitTesting});
        EXPECT_EQ(s.pixel(10, 50), outline) << lines << fills << selected;
        if (inside == -1)
            EXPECT_TRUE(countColour(s, 30, 30, 70, 70, kGreen) > 100 &&
                        countColour(s, 30, 30, 70, 70, kBg) > 100);
        else
            EXPECT_EQ(countColour(s, 30, 30, 70, 70, inside), 41 * 41) << lines << fills;
    }
}

TEST(TilingDrawer, SketchesOfAMirroredTurnedTileAndBrokenOrOverlongRuns)
{
    Document doc = documentOf({squareTile(100, 100, 40, kGreen)});
    doc.tiles[0].reflected = 1.0, doc.tiles[0].angle = std::numbers::pi / 2;
    doc.tiles[0].sketchStart = 1;
    // Polyline (10, 5) - (20, 5): mirrored to negative x, then turned a quarter.
    doc.sketches = {Sketch{}, sketchItem(0, {{10, 5}, {20, 5}}, 2),
                    sketchItem(1, {{10, 10}, {30, 10}, {30, 30}, {10, 30}})};
    doc.sketches[2].negative = kTrue;
    const ImageSurface s = drawn(doc);
    // The line at (95, 85), not at (95, 115) where it would be without the mirror; the
    // polygon on 70..90 both ways, filled and outlined in the inverted colour.
    EXPECT_TRUE(s.pixel(95, 85) == kBlack && s.pixel(95, 115) == kBg);
    EXPECT_TRUE(s.pixel(80, 80) == 0xff00ff && s.pixel(70, 80) == 0xff00ff);
    // Rendering places the line from the snapshot's tile, then halves it about (12.5, 20).
    DrawSettings mapped{.rendering = true, .mapScale = 0.5, .mapCenterX = 12.5, .mapCenterY = 20};
    mapped.fractalSnapshot = &doc.tiles;
    EXPECT_EQ(drawn(doc, mapped).pixel(60, 62), kBlack);

    // Broken runs draw nothing and stay stored.
    const Document plain = documentOf({squareTile(20, 20, 100, kGreen)});
    const QImage reference = drawn(plain).image();
    const Sketch line = sketchItem(0, {{5, 50}, {90, 50}}, 1);
    const Sketch zero = sketchItem(0, line.points, 0), negative = sketchItem(0, line.points, -5);
    // No table, past it, a negative start, an empty and a negative run.
    // clang-format off
    const std::pair<int32_t, std::vector<Sketch>> cases[] = {
        {1, {}}, {5, {Sketch{}, line}}, {-3, {Sketch{}, line}}, {1, {Sketch{}, zero}}, {1, {Sketch{}, negative}}};
    // clang-format on
    for (const auto &[start, sketches] : cases) {
        Document broken = plain;
        broken.tiles[0].sketchStart = start;
        broken.sketches = sketches;
        const Document before = broken;
        EXPECT_EQ(drawn(broken).image(), reference) << "start " << start;
        EXPECT_TRUE(broken.tiles == before.tiles && broken.sketches == before.sketches);
    }
    // Overlong runs and point counts are cut to what is stored.
    doc = plain;
    doc.tiles[0].sketchStart = 1;
    doc.sketches = {Sketch{}, sketchItem(0, {{5, 50}, {90, 50}}, 500),
                    sketchItem(1, {{10, 10}, {40, 10}, {40, 40}})};
    doc.sketches[1].nPoints = 30000;
    doc.sketches[2].nPoints = 1000;
    const ImageSurface cut = drawn(doc);
    // The line from its two stored points, not beyond the second; the polygon from three.
    EXPECT_TRUE(cut.pixel(60, 70) == kBlack && cut.pixel(115, 70) == kGreen);
    EXPECT_EQ(cut.pixel(50, 35), invertColor(kGreen));
}

// Property: random documents with NaN, infinite and absurd coordinates, drawn at random
// zooms through the full redraw, the rubber band and both rotation previews: no non-finite
// value reaches a pixel conversion, and a clean tile among them is still drawn.
TEST(TilingDrawer, NonFiniteCoordinatesNeverReachAPixel)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> where(-50, 300);
    const double inf = std::numeric_limits<double>::infinity();
    const double poison[] = {std::nan(""), inf, -inf, 1e300, -1e300};
    auto value = [&](double scale = 1) {
        return random() % 4 == 0 ? poison[random() % 5] : where(random) * scale;
    };
    for (int round = 0; round < 200; ++round) {
        Document doc;
        for (int t = 0; t < 5; ++t) {
            std::vector<Vertex> pts(3 + random() % 4);
            for (Vertex &v : pts)
                v = {value(), value()};
            Tile tile = polygonTile(pts, Colour(random() % 0xffffff));
            tile.selected = kTrue, tile.sketchStart = 1;
            tile.angle = random() % 8 == 0 ? poison[random() % 5] : 0.5;
            doc.tiles.push_back(tile);
            doc.vtxSel.push_back({int16_t(t), int16_t(random() % 6)});
        }
        doc.tiles.push_back(squareTile(340, 240, 20, kGreen)); // beyond all others
        doc.sketches = {Sketch{}, sketchItem(0, {{value(0.1), value(0.1)}, {value(0.1), 5}}, 2),
                        sketchItem(1, {{value(0.1), value(0.1)}, {1, 1}, {value(0.1), 9}})};
        const std::vector<Vertex> newPts = {{8, 8}, {24, 8}};
        WatchingSurface s(QSize(800, 600));
        s.setScale(std::pow(std::sqrt(2.0), int(random() % 5) - 2));
        renderView(s, doc, DrawSettings{},
                   {.extentWidth = 1000, .extentHeight = 1000, .newPts = newPts, .newCount = 2});
        EXPECT_EQ(s.pixel(int(350 * s.zoom()), int(250 * s.zoom())), kGreen) << round;
        TilingDrawer(s, doc).drawNewtile(newPts, 2, 100, 100);
        RotationPreview preview;
        preview.start(round % 5, {value(), value()});
        preview.rotAngle = value();
        preview.previewTileRotation(doc, s, false, round % 2 == 0);
        preview.previewGroupRotation(doc, s, GridRectangular, true, round % 3 == 0);
        ASSERT_EQ(s.reached, 0) << "round " << round;
    }
}

TEST(ViewRenderer, OverlaysAndTheRubberBand)
{
    ImageSurface s(QSize(200, 200));
    Document doc = documentOf({squareTile(40, 40, 80, kGreen, GridNone)}); // no lattice dots
    doc.tiles[0].verts.back() = {150, 60}; // the spare closing element: no dot
    doc.vtxSel = {{0, 2}, {7, 0}, {0, 9}, {-1, -1}, {0, 4}};
    const std::vector<Vertex> newPts = {{10, 10}, {10, 30}, {30, 30}, {99, 99}};
    const DrawSettings settings{.grid = GridNone};
    renderView(s, doc, settings,
               {.extentWidth = 200, .extentHeight = 200, .newPts = newPts, .newCount = 3});
    // A dot of radius 2 at vertex 2 (120, 120); the entered points' first dot has radius 1;
    // the fourth point is not entered yet.
    EXPECT_TRUE(s.pixel(121, 120) == kRed && s.pixel(8, 10) == kBg && s.pixel(60, 30) == kBg &&
                s.pixel(150, 60) == kBg);
    EXPECT_TRUE(s.pixel(10, 20) == kRed && s.pixel(20, 30) == kRed);
    EXPECT_EQ(s.background(), s.image());

    TilingDrawer drawer(s, doc, settings);
    const std::vector<Vertex> band = {{10, 10}, {20, 150}}; // the dot sits on the first point
    drawer.drawNewtile(band, 2, 150, 150);
    // A dot of radius 3 on the first point.
    EXPECT_TRUE(s.pixel(100, 150) == kRed && s.pixel(7, 10) == kRed && s.pixel(6, 10) == kBg);
    drawer.drawNewtile(band, 2, 150, 10);
    EXPECT_TRUE(s.pixel(100, 150) == kBg && s.pixel(60, 90) == kGreen);
}

// Oracle: a viewport shows exactly the same pixels as that region of the full canvas, at
// a zoom above and below 100 %.
TEST(ViewRenderer, ViewportEqualsTheSameRegionOfTheFullCanvas)
{
    // clang-format off
    for (const auto &[grid, zoom] : {std::pair<int16_t, double>{GridRectangular, 1.5},
             {GridCenterFace, 1.5}, {GridHexagonal, 1.5}, {GridRectangular, 0.5}, {GridHexagonal, 0.5}}) {
        // clang-format on
        Document doc;
        for (int i = 0; i < 12; ++i) {
            Tile tile = squareTile(8 + 64.0 * i, 8 + 40.0 * i, 48, 0x102030 * (i + 1), grid);
            tile.selected = i % 3 == 0 ? kTrue : kFalse, tile.sketchStart = 1;
            doc.tiles.push_back(tile);
        }
        // Tiles across each edge of the viewport (328.7 .. 488.7, 200.7 .. 307.3), two just in.
        for (const Vertex at :
             {Vertex{320, 240}, {480, 240}, {400, 190}, {400, 300}, {315, 250}, {400, 305}})
            doc.tiles.push_back(squareTile(at.x, at.y, 14, 0x405060, grid));
        doc.sketches = {Sketch{}, sketchItem(0, {{3, 3}, {40, 20}}, 2),
                        sketchItem(1, {{5, 30}, {20, 30}, {12, 44}})};
        doc.vtxSel = {{4, 1}, {5, 3}};
        const DrawSettings settings{.grid = grid};
        const ViewFrame frame{
            .extentWidth = 1000 / zoom, .extentHeight = 700 / zoom, .lineWidth = 2};
        const QRect area(int(493 * zoom / 1.5), int(301 * zoom / 1.5), 240, 160); // cuts dots
        ImageSurface full(QSize(1000, 700)), view(area.size(), area.topLeft());
        for (ImageSurface *s : {&full, &view})
            s->setScale(zoom), renderView(*s, doc, settings, frame);
        EXPECT_EQ(view.image(), full.image().copy(area)) << "grid " << grid << " zoom " << zoom;
    }
}

// Oracle: the drawn lattice marks are the enumerated ones: a dot covers its centre and
// the pixels beside it, a point only its own pixel, and nothing else is black.
TEST(LatticeDrawer, DrawsExactlyTheEnumeratedMarks)
{
    for (int16_t grid : {0, 1, 2, 3, 9}) {
        ImageSurface s(QSize(130, 90), QPoint(-4, -4));
        renderView(s, {}, {.grid = grid}, {.extentWidth = 100, .extentHeight = 60, .lineWidth = 4});
        QImage expected(130, 90, QImage::Format_Mono);
        expected.fill(0);
        forEachLatticeMark(grid, 100, 60, [&](const LatticeMark &m) {
            const int x = int(m.dot ? std::nearbyint(m.x) : std::floor(m.x)) + 4;
            const int y = int(m.dot ? std::nearbyint(m.y) : std::floor(m.y)) + 4;
            for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1)})
                expected.setPixel(x + (m.dot ? d.x() : 0), y + (m.dot ? d.y() : 0), 1);
        });
        auto isMark = [&](int x, int y) {
            return expected.rect().contains(x, y) && expected.pixelIndex(x, y);
        };
        int marks = 0;
        for (int y = 0; y < 90; ++y) {
            for (int x = 0; x < 130; ++x) {
                const bool black = s.pixel(x - 4, y - 4) == kBlack;
                marks += black ? 1 : 0;
                // A dot's rim may take one pixel more beside the three it always covers.
                const bool allowed = isMark(x, y) || isMark(x - 1, y) || isMark(x + 1, y) ||
                                     isMark(x, y - 1) || isMark(x, y + 1);
                ASSERT_TRUE(isMark(x, y) ? black : !black || allowed)
                    << "grid " << grid << " at " << x - 4 << "," << y - 4;
            }
        }
        EXPECT_EQ(marks > 0, grid >= GridRectangular && grid <= GridHexagonal) << grid;
    }
}

TEST(RotationPreview, SnapsDownSkipsARepeatAndDrawsOnTheTransientLayerOnly)
{
    ImageSurface surface(QSize(200, 200));
    Document doc = documentOf({squareTile(60, 60, 40, kGreen)});
    RotationPreview preview;
    preview.start(0, {80, 80});
    preview.rotAngle = std::numbers::pi / 4 + 0.01;
    ASSERT_TRUE(preview.previewTileRotation(doc, surface, false, false));
    EXPECT_NEAR(preview.rotAngle, std::numbers::pi / 4, 1e-12);
    EXPECT_EQ(preview.label(), std::string("-45") + kDegreeSign);
    // The corner (60, 60) turned about (80, 80) lies at (80, 80 - 20 sqrt2).
    EXPECT_TRUE(surface.pixel(80, 51) == kRed && surface.pixel(80, 80) == kBg); // an outline
    EXPECT_EQ(countColour(surface, 0, 0, 199, 199, kRed),
              countColour(surface, 51, 51, 109, 109, kRed));
    EXPECT_TRUE(surface.penColour() == kBlack && surface.fillStyle() == kFillSolid);
    EXPECT_EQ(surface.background().pixel(80, 51), QColor(0xf7, 0xf7, 0xf7).rgb());
    EXPECT_EQ(doc.tiles[0].verts[0], (Vertex{60, 60})); // nothing written

    surface.clear();
    preview.rotAngle = std::numbers::pi / 4 + 0.01; // the angle shown: not redrawn
    EXPECT_TRUE(!preview.previewTileRotation(doc, surface, false, false) &&
                surface.image() == surface.background());
    preview.rotAngle = 0.3; // with the space bar: exact, drawn every time
    EXPECT_TRUE(preview.previewTileRotation(doc, surface, false, true) &&
                preview.previewTileRotation(doc, surface, false, true) && preview.rotAngle == 0.3);
    surface.clear();
    preview.start(1, {80, 80}); // a stale tile index draws and changes nothing
    preview.rotAngle = 1.0;
    EXPECT_FALSE(preview.previewTileRotation(doc, surface, true, false));
    EXPECT_TRUE(doc.tiles[0].angle == 0 && surface.image() == surface.background());
}

TEST(PlaneView, ZoomKeepsTheWindowCentreAndPanAndZoomOutNeverUncoverTheWindow)
{
    PlaneView v, u, z;
    for (PlaneView *p : {&v, &u, &z})
        p->setWindow(800, 600, 200 * kTwipsPerPixel);
    const double cx = 400 * kTwipsPerPixel, cy = 300 * kTwipsPerPixel;
    auto centre = [&] {
        return Vertex{(cx - v.canvasLeft()) / v.zoom(), (cy - v.canvasTop()) / v.zoom()};
    };
    const Vertex before = centre();
    EXPECT_EQ(v.canvasWidthPx(), 1600);
    for (bool in : {true, false}) {
        in ? v.zoomIn() : v.zoomOut();
        EXPECT_NEAR(std::hypot(centre().x - before.x, centre().y - before.y), 0, 1e-6) << in;
    }
    v.zoomIn(), v.zoomIn();
    EXPECT_TRUE(v.canvasWidthPx() == 3200 && v.canvasHeightPx() == 2400 && v.lineWidth(true) == 4);
    EXPECT_NEAR(v.extentWidth(), 1600, 1);
    v.reset();
    EXPECT_TRUE(v.canvasWidthPx() == 800 && v.canvasLeft() == 200 * kTwipsPerPixel &&
                v.canvasTop() == kCanvasTopTwips);
    PlaneView empty;
    empty.setWindow(0, 0, 0); // a minimised window keeps a canvas
    EXPECT_TRUE(empty.canvasWidthPx() == 2 && empty.extentWidth() > 0);

    v.panBy(5000, 5000);
    EXPECT_TRUE(v.canvasLeft() == v.picLeft() && v.canvasTop() == kCanvasTopTwips);
    v.panBy(-1e7, -1e7);
    const double w = 800.0 * kTwipsPerPixel, h = 600.0 * kTwipsPerPixel;
    EXPECT_TRUE(v.canvasLeft() == w - v.canvasWidthPx() * double(kTwipsPerPixel) &&
                v.canvasTop() == h - v.canvasHeightPx() * double(kTwipsPerPixel));
    u.panBy(-150, 0); // applied to the twip position: 15 plane units move one pixel
    EXPECT_EQ(u.canvasLeftPx(), 190);
    z.zoomIn();
    z.panBy(-1e7, -1e7); // the canvas's far corner at the window's corner
    z.zoomOut();
    EXPECT_NEAR(z.canvasLeft() + z.canvasWidthPx() * double(kTwipsPerPixel), w, kTwipsPerPixel);
    EXPECT_NEAR(z.canvasTop() + z.canvasHeightPx() * double(kTwipsPerPixel), h, kTwipsPerPixel);
    EXPECT_LE(z.canvasLeft(), z.picLeft());
}

// Oracle: at every pixel, for random pentagons at every zoom and pen width, the hit test
// agrees with tile t painted alone in the probe colour.
TEST(HitTester, AgreesWithPaintingAtEveryPixel)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> where(20, 90), jitter(-30, 30);
    for (const double zoom : {0.5, 1.0, std::sqrt(2.0), 2.0}) {
        for (const int pen : {1, 2, 4}) {
            const double cx = where(random), cy = where(random);
            std::vector<Vertex> pts;
            for (int k = 0; k < 5; ++k)
                pts.push_back({cx + jitter(random), cy + jitter(random)});
            const Document doc = documentOf({polygonTile(pts, 0x123456)});
            ImageSurface painted(QSize(240, 200)), canvas(QSize(240, 200));
            for (ImageSurface *s : {&painted, &canvas})
                s->setScale(zoom), s->setPenWidth(pen);
            painted.setPenColour(kProbeColour), painted.setFillColour(kProbeColour);
            TilingDrawer(painted, doc, {.probePass = true}).drawTile(0);
            const QImage before = canvas.image();
            HitTester tester(doc, DrawSettings{}, canvas);
            int hits = 0;
            for (int py = 0; py < 200; ++py)
                for (int px = 0; px < 240; ++px) {
                    const bool shown = painted.pixel(px, py) == kProbeColour;
                    ASSERT_EQ(tester.tileHitTest(px / zoom, py / zoom, 0), shown)
                        << "zoom " << zoom << " pen " << pen << " at " << px << "," << py;
                    hits += shown ? 1 : 0;
                }
            // Nothing painted on the canvas; a tile past the table is never hit.
            EXPECT_TRUE(hits > 0 && canvas.image() == before && !tester.tileHitTest(cx, cy, 1));
            EXPECT_EQ(tester.foundTile(0, 0).has_value(), painted.pixel(0, 0) == kProbeColour);
        }
    }
}

} // namespace
} // namespace tessella::test
