// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel hit tests: the probe gives the answer painting on the canvas gives.
#include "pointerfixture.h"

#include "tileeditor/hittester.h"

#include <random>

namespace tessella::pointertest {
namespace {

// Paints tile t alone in the probe colour on a canvas of its own, as the probe does.
ImageSurface paintAlone(const Document &doc, std::size_t t, double zoom, int penWidth)
{
    ImageSurface canvas(QSize(240, 200));
    canvas.setScale(zoom);
    canvas.setPenWidth(penWidth);
    canvas.setPenColour(kProbeColour);
    canvas.setFillColour(kProbeColour);
    DrawSettings settings;
    settings.probePass = true;
    TilingDrawer drawer(canvas, doc, settings);
    drawer.drawTile(t);
    return canvas;
}

TEST(HitTester, AgreesWithPaintingAtEveryPixel)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> where(20, 90);
    std::uniform_real_distribution<double> jitter(-30, 30);
    for (const double zoom : {0.5, 1.0, std::sqrt(2.0), 2.0}) {
        for (const int pen : {1, 2, 4}) {
            Document doc;
            const double cx = where(random), cy = where(random);
            std::vector<Vertex> pts;
            for (int k = 0; k < 5; ++k)
                pts.push_back({cx + jitter(random), cy + jitter(random)});
            doc.tiles = {polygonTile(pts, 0x123456)};
            const ImageSurface painted = paintAlone(doc, 0, zoom, pen);
            ImageSurface canvas(QSize(240, 200));
            canvas.setScale(zoom);
            canvas.setPenWidth(pen);
            HitTester tester(doc, DrawSettings{}, canvas);
            int hits = 0;
            for (int py = 0; py < 200; ++py) {
                for (int px = 0; px < 240; ++px) {
                    // The plane point a pointer on this pixel reports.
                    const double x = px / zoom, y = py / zoom;
                    const bool shown = painted.pixel(px, py) == kProbeColour;
                    ASSERT_EQ(tester.tileHitTest(x, y, 0), shown)
                        << "zoom " << zoom << " pen " << pen << " at " << px << "," << py;
                    hits += shown ? 1 : 0;
                }
            }
            EXPECT_GT(hits, 0);
        }
    }
}

TEST(HitTester, OutlineCountsAndLineWidthMatters)
{
    Document doc;
    doc.tiles = {square(40, 40, 32, 0x0000ff)};
    ImageSurface canvas(QSize(200, 200));
    HitTester thin(doc, DrawSettings{}, canvas);
    EXPECT_TRUE(thin.tileHitTest(40, 56, 0)); // on the outline
    EXPECT_TRUE(thin.tileHitTest(72, 72, 0));
    EXPECT_FALSE(thin.tileHitTest(39, 56, 0));
    EXPECT_FALSE(thin.tileHitTest(73, 56, 0));
    canvas.setPenWidth(4);
    HitTester heavy(doc, DrawSettings{}, canvas);
    EXPECT_TRUE(heavy.tileHitTest(39, 56, 0));
    EXPECT_FALSE(heavy.tileHitTest(36, 56, 0));
}

TEST(HitTester, FoundTileIsTheTopmostOfTheCurrentGrid)
{
    Document doc;
    doc.tiles = {square(40, 40, 32, 1), square(56, 56, 32, 2), square(60, 60, 8, 3, GridHexagonal),
                 Tile{}};
    ImageSurface canvas(QSize(200, 200));
    HitTester tester(doc, DrawSettings{}, canvas);
    EXPECT_EQ(tester.foundTile(64, 64), 1u);
    EXPECT_EQ(tester.foundTile(48, 48), 0u);
    EXPECT_EQ(tester.foundTile(150, 150), std::nullopt);
    EXPECT_FALSE(tester.tileHitTest(64, 64, 2));  // another grid
    EXPECT_FALSE(tester.tileHitTest(64, 64, 3));  // no corners
    EXPECT_FALSE(tester.tileHitTest(64, 64, 99)); // no such tile
    DrawSettings hexagonal;
    hexagonal.grid = GridHexagonal;
    HitTester other(doc, hexagonal, canvas);
    EXPECT_EQ(other.foundTile(64, 64), 2u);
}

TEST(HitTester, PaintsNothingOnTheCanvas)
{
    Document doc;
    doc.tiles = {square(40, 40, 32, 0x0000ff)};
    ImageSurface canvas(QSize(200, 200));
    const QImage before = canvas.image();
    HitTester tester(doc, DrawSettings{}, canvas);
    EXPECT_TRUE(tester.tileHitTest(50, 50, 0));
    EXPECT_EQ(canvas.image(), before);
}

TEST(HitTester, SearchesPastTheSixteenBitTableSize)
{
    Document doc;
    doc.tiles.assign(40000, square(40, 40, 16, 1));
    doc.tiles.back() = square(100, 100, 16, 2);
    ImageSurface canvas(QSize(200, 200));
    HitTester tester(doc, DrawSettings{}, canvas);
    EXPECT_EQ(tester.foundTile(108, 108), 39999u);
    EXPECT_EQ(tester.foundTile(44, 44), 39998u);
}

TEST(HitTester, BoxIndexServesOnlyTheTableItWasTakenFrom)
{
    Document doc;
    doc.tiles = {square(40, 40, 32, 1), square(120, 40, 32, 2),
                 square(40, 40, 32, 3, GridHexagonal)};
    doc.tiles.reserve(8);
    ImageSurface canvas(QSize(200, 200));
    TileBoxIndex boxes;
    boxes.rebuild(doc, GridRectangular);
    EXPECT_TRUE(boxes.servesFor(doc, GridRectangular));
    EXPECT_FALSE(boxes.servesFor(doc, GridHexagonal));
    EXPECT_FALSE(boxes.mayReach(2, 50, 52, 50, 52)); // another grid: never drawn
    HitTester tester(doc, DrawSettings{}, canvas, &boxes);
    EXPECT_EQ(tester.foundTile(130, 50), 1u);
    EXPECT_EQ(tester.foundTile(180, 180), std::nullopt);

    // A table that changed size is not served from the old boxes.
    doc.tiles.push_back(square(150, 150, 32, 4));
    EXPECT_FALSE(boxes.servesFor(doc, GridRectangular));
    EXPECT_EQ(tester.foundTile(160, 160), 3u);
    // Nor is one whose corners moved in place once the boxes were invalidated.
    boxes.rebuild(doc, GridRectangular);
    for (Vertex &v : doc.tiles[0].verts)
        v.y += 100;
    boxes.invalidate();
    EXPECT_EQ(tester.foundTile(50, 150), 0u);

    Document broken;
    broken.tiles = {polygonTile({{10, 10}, {std::nan(""), 10}, {10, 40}}, 1)};
    boxes.rebuild(broken, GridRectangular);
    EXPECT_FALSE(boxes.mayReach(0, 0, 100, 0, 100));
}

TEST(HitTester, GroupTileTogglesEveryOverlappingTile)
{
    Document doc;
    doc.tiles = {square(40, 40, 32, 1), square(56, 56, 32, 2), square(120, 40, 16, 3)};
    ImageSurface canvas(QSize(200, 200));
    HitTester tester(doc, DrawSettings{}, canvas);
    EXPECT_TRUE(groupTile(doc, tester, 64, 64));
    EXPECT_EQ(doc.tiles[0].selected, kTrue);
    EXPECT_EQ(doc.tiles[1].selected, kTrue);
    EXPECT_EQ(doc.tiles[2].selected, kFalse);
    EXPECT_TRUE(groupTile(doc, tester, 64, 64));
    EXPECT_EQ(doc.tiles[0].selected, kFalse);
    EXPECT_FALSE(groupTile(doc, tester, 190, 190));
}

TEST(HitTester, PointerPixelOfAWholePixelSurvivesTheZoomDivision)
{
    ImageSurface canvas(QSize(10, 10));
    const double zoom = std::sqrt(2.0);
    canvas.setScale(zoom);
    for (int px = 0; px < 2000; ++px) {
        const std::optional<PixelPoint> p = canvasPixelAt(canvas, px / zoom, (px + 0.5) / zoom);
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(p->x, px);
        EXPECT_EQ(p->y, px);
    }
    EXPECT_EQ(canvasPixelAt(canvas, std::nan(""), 0), std::nullopt);
}

} // namespace
} // namespace tessella::pointertest
