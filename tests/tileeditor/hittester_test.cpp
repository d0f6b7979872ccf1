// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel hit tests: the probe gives the answer painting on the canvas gives.
#include "editorfixture.h"

#include "tileeditor/hittester.h"

#include <random>

namespace tessella::test {
namespace {

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
            for (ImageSurface *s : {&painted, &canvas}) {
                s->setScale(zoom);
                s->setPenWidth(pen);
            }
            painted.setPenColour(kProbeColour);
            painted.setFillColour(kProbeColour);
            DrawSettings probe;
            probe.probePass = true;
            TilingDrawer(painted, doc, probe).drawTile(0);
            const QImage before = canvas.image();
            HitTester tester(doc, DrawSettings{}, canvas);
            int hits = 0;
            for (int py = 0; py < 200; ++py) {
                for (int px = 0; px < 240; ++px) {
                    const bool shown = painted.pixel(px, py) == kProbeColour;
                    ASSERT_EQ(tester.tileHitTest(px / zoom, py / zoom, 0), shown)
                        << "zoom " << zoom << " pen " << pen << " at " << px << "," << py;
                    hits += shown ? 1 : 0;
                }
            }
            EXPECT_GT(hits, 0);
            EXPECT_EQ(canvas.image(), before); // nothing painted on the canvas
        }
    }
}

TEST(HitTester, FoundTileIsTheTopmostOfTheCurrentGrid)
{
    Document doc = documentOf({squareTile(40, 40, 32, 1), squareTile(56, 56, 32, 2),
                               squareTile(60, 60, 8, 3, GridHexagonal), Tile{}});
    ImageSurface canvas(QSize(200, 200));
    HitTester tester(doc, DrawSettings{}, canvas);
    EXPECT_EQ(tester.foundTile(64, 64), 1u);
    EXPECT_EQ(tester.foundTile(48, 48), 0u);
    EXPECT_EQ(tester.foundTile(72, 56), 1u); // an outline counts
    EXPECT_EQ(tester.foundTile(150, 150), std::nullopt);
    EXPECT_FALSE(tester.tileHitTest(64, 64, 2));  // another grid
    EXPECT_FALSE(tester.tileHitTest(64, 64, 3));  // no corners
    EXPECT_FALSE(tester.tileHitTest(64, 64, 99)); // no such tile
    EXPECT_EQ(HitTester(doc, {.grid = GridHexagonal}, canvas).foundTile(64, 64), 2u);

    // Past the 16-bit table size the search still works.
    doc.tiles.assign(40000, squareTile(40, 40, 16, 1));
    doc.tiles.back() = squareTile(100, 100, 16, 2);
    HitTester big(doc, DrawSettings{}, canvas);
    EXPECT_EQ(big.foundTile(108, 108), 39999u);
    EXPECT_EQ(big.foundTile(44, 44), 39998u);
}

TEST(HitTester, BoxIndexServesOnlyTheTableItWasTakenFrom)
{
    Document doc = documentOf({squareTile(40, 40, 32, 1), squareTile(120, 40, 32, 2),
                               squareTile(40, 40, 32, 3, GridHexagonal)});
    doc.tiles.reserve(8);
    ImageSurface canvas(QSize(200, 200));
    TileBoxIndex boxes;
    boxes.rebuild(doc, GridRectangular);
    EXPECT_TRUE(boxes.servesFor(doc, GridRectangular));
    EXPECT_FALSE(boxes.servesFor(doc, GridHexagonal));
    EXPECT_FALSE(boxes.mayReach(2, 50, 52, 50, 52));  // another grid: never drawn
    EXPECT_TRUE(boxes.mayReach(1, 152, 160, 72, 80)); // edges touch
    EXPECT_FALSE(boxes.mayReach(1, 153, 160, 72, 80));
    HitTester tester(doc, DrawSettings{}, canvas, &boxes);
    EXPECT_EQ(tester.foundTile(130, 50), 1u);
    EXPECT_EQ(tester.foundTile(180, 180), std::nullopt);
    EXPECT_EQ(tester.foundTile(155, 50), std::nullopt); // in the box's margin, off the tile
    // A table that changed size is not served from the old boxes.
    doc.tiles.push_back(squareTile(150, 150, 32, 4));
    EXPECT_FALSE(boxes.servesFor(doc, GridRectangular));
    EXPECT_EQ(tester.foundTile(160, 160), 3u);
    // Nor is one whose corners moved in place once the boxes were invalidated.
    boxes.rebuild(doc, GridRectangular);
    for (Vertex &v : doc.tiles[0].verts)
        v.y += 100;
    boxes.invalidate();
    EXPECT_EQ(tester.foundTile(50, 150), 0u);

    const Document broken = documentOf({polygonTile({{10, 10}, {std::nan(""), 10}, {10, 40}})});
    boxes.rebuild(broken, GridRectangular);
    EXPECT_FALSE(boxes.mayReach(0, 0, 100, 0, 100));
}

TEST(HitTester, APointerOnAWholePixelSurvivesTheZoomDivision)
{
    ImageSurface canvas(QSize(10, 10));
    const double zoom = std::sqrt(2.0);
    canvas.setScale(zoom);
    for (int px = 0; px < 2000; ++px) {
        const std::optional<PixelPoint> p = canvasPixelAt(canvas, px / zoom, (px + 0.5) / zoom);
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(*p, (PixelPoint{px, px}));
    }
    EXPECT_EQ(canvasPixelAt(canvas, std::nan(""), 0), std::nullopt);
}

} // namespace
} // namespace tessella::test
