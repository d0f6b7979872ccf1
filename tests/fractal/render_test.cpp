// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/colour.h"
#include "fractal/mappedrendering.h"
#include "fractal/render.h"
#include "platform/imagesurface.h"
#include "tests/support/tilebuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace tessella {
namespace {

using test::squareTile;
constexpr Colour kBlue = test::kTileColour;
const SurfaceRect kScreen{0, 0, 1200, 800};

Document grid(int n, double side)
{
    Document doc;
    for (int k = 0; k < n * n; ++k)
        doc.tiles.push_back(squareTile(k / n * side, k % n * side, side));
    return doc;
}

MappingParams params(double cx, double cy, double radius)
{
    return {.refCenterX = cx, .refCenterY = cy, .refRadius = radius};
}

TEST(RenderPlacement, BrokenRadiiMapNothingAndAspectsScaleLikeTheirSize)
{
    for (double radius : {0.0, -5.0, double(NAN), double(INFINITY)})
        EXPECT_FALSE(renderPlacement(params(0, 0, radius), kScreen).mapped) << radius;
    // The stretched circle fits the narrower side with a margin, centred on the surface.
    MappingParams p = params(0, 0, 100);
    for (const auto &[aspect, scale] : {std::pair{2.f, 1200 / 2 / 100.0 / 2.2},
                                        {-2.f, 1200 / 2 / 100.0 / 2.2},
                                        {0.f, 800 / 100.0 / 2.2}}) {
        p.refAspect = aspect;
        const RenderPlacement placement = renderPlacement(p, kScreen);
        EXPECT_DOUBLE_EQ(placement.mapScale, scale) << aspect;
        EXPECT_TRUE(placement.mapCenterX == 600 && placement.mapCenterY == 400);
    }
    // Inward pieces are a quarter of the outward ones: 2^3 surface units at granularity 3.
    p.decay = MappingParams::Decay::Inward;
    const RenderPlacement inward = renderPlacement(p, kScreen);
    EXPECT_NEAR(inward.segLength * inward.mapScale, 8, 1e-9);
}

// Every piece stays within the length on the surface; outward, the whole plane lands
// inside the reference shape as the surface scales it.
TEST(RenderProperties, PiecesAreShortAndOutwardStaysInsideTheShape)
{
    using Mt = MappingParams::Method;
    using Dc = MappingParams::Decay;
    for (float squareness : {0.0f, 1.0f, 2.5f, -0.8f})
        for (auto [method, decay, g] : {std::tuple{Mt::Exponential, Dc::Outward, 0},
                                        {Mt::Hyperbolic, Dc::Outward, 3},
                                        {Mt::Hyperbolic, Dc::Inward, 6},
                                        {Mt::Exponential, Dc::Inward, 3}}) {
            Document doc = grid(8, 90);
            MappingParams p = params(333, 251, 90);
            p.squareness = squareness, p.method = method, p.decay = decay, p.granularity = g;
            p.refAspect = g == 0 ? 1.3f : 1.0f; // pieces are measured unstretched
            const RenderPlacement at = renderPlacement(p, kScreen);
            const RadialMapping mapping(p);
            mapTiles(doc.tiles, mapping, at);
            for (const Tile &t : doc.tiles)
                for (int j = 0; j < t.nVerts; ++j) {
                    const Vertex &a = t.verts[j], &b = t.verts[(j + 1) % t.nVerts];
                    ASSERT_TRUE(p.refAspect != 1 || std::hypot(b.x - a.x, b.y - a.y) <=
                                                        at.segLength * at.mapScale * (1 + 1e-9))
                        << g;
                    const double dx = (a.x - at.mapCenterX) / at.mapScale / p.refAspect,
                                 dy = (a.y - at.mapCenterY) / at.mapScale,
                                 angle = std::atan2(dy, dx) + (dy < 0 ? 2 * std::numbers::pi : 0);
                    ASSERT_TRUE(decay == Dc::Inward ||
                                std::hypot(dx, dy) <=
                                    mapping.refRadiusAt(float(angle)) * (1 + 1e-6))
                        << squareness;
                }
        }
}

// Short mapped edges and no usable length keep the four corners; a NaN corner neither
// crashes nor divides without end; a tiny circle with pinch at the finest setting asks
// for tens of thousands of pieces and is capped.
TEST(Subdivision, NothingToCutKeepsTheCornersAndHugeRequestsAreCapped)
{
    const RadialMapping mapping(params(0, 0, 100));
    // clang-format off
    for (auto [at, side, seg] : {std::tuple{500.0, 3.0, 4.0}, {10.0, 400.0, 0.0}, {10.0, 400.0, -1.0},
                                 {10.0, 400.0, double(NAN)}, {10.0, 400.0, double(INFINITY)}}) {
        // clang-format on
        Tile t = squareTile(at, at, side);
        subdivideTile(t, mapping, seg);
        EXPECT_EQ(t.nVerts, 4) << seg;
    }
    Tile brokenCorner = squareTile(10, 10, 400);
    brokenCorner.verts[2].x = NAN;
    subdivideTile(brokenCorner, mapping, 0.5);
    EXPECT_LE(brokenCorner.nVerts, kMaxMappedVerts);

    std::vector<Tile> tiles{squareTile(-150, -150, 300)};
    MappingParams p = params(0, 0, 2);
    p.variant = MappingParams::Variant::Pinch, p.pinch = 0.5, p.granularity = 0;
    const RenderPlacement placement = renderPlacement(p, kScreen);
    ASSERT_LT(placement.segLength, 0.05);
    mapTiles(tiles, RadialMapping(p), placement);
    EXPECT_TRUE(tiles[0].nVerts > 1000 && tiles[0].nVerts <= kMaxMappedVerts) << tiles[0].nVerts;
    EXPECT_EQ(tiles[0].verts.size(), std::size_t(tiles[0].nVerts) + 1);
}

class RenderPasses : public ::testing::Test
{
protected:
    RenderPlacement render(const MappingParams &p)
    {
        surface.clearAll(kCanvasBackground);
        TilingDrawer drawer(surface, doc);
        return Frender(drawer, doc, snapshot, p, kScreen);
    }

    Document doc = grid(10, 60);
    FractalSnapshot snapshot;
    ImageSurface surface{QSize(1200, 800)};
};

// Rendering again after a change equals a fresh rendering of the unmapped tiles; the
// mapped disc lies around the surface centre; a zero radius gives the unmapped tiles back.
TEST_F(RenderPasses, EveryPassStartsFromTheUnmappedTiles)
{
    const std::vector<Tile> unmapped = doc.tiles;
    snapshot.fBackup(doc);
    MappingParams p = params(300, 300, 100);
    render(p);
    EXPECT_TRUE(surface.pixel(630, 430) == kBlue && surface.pixel(5, 5) == kCanvasBackground);
    p.granularity = 1, p.falloff = 1.6f;
    render(p);
    Document fresh = test::documentOf(unmapped);
    FractalSnapshot freshSnapshot;
    freshSnapshot.fBackup(fresh);
    TilingDrawer drawer(surface, fresh);
    Frender(drawer, fresh, freshSnapshot, p, kScreen);
    EXPECT_EQ(doc.tiles, fresh.tiles);
    ASSERT_NE(doc.tiles, unmapped);

    EXPECT_FALSE(render(params(250, 260, 0)).mapped);
    EXPECT_EQ(doc.tiles, unmapped);
}

// A tile with a solid sketch square in its middle, drawn in the tile's inverted colour,
// follows its mapped tile, and an export band draws what the screen draws. Pinch keeps the
// plane's units: at pinch 0 sketches stay with their tiles in the plain picture.
TEST_F(RenderPasses, SketchesFollowTheirMappedTileOnScreenAndInAnExport)
{
    doc.tiles = {squareTile(200, 200, 100)};
    doc.tiles[0].sketchStart = 1;
    doc.sketches = {Sketch{},
                    {.count = 1,
                     .kind = 1,
                     .nPoints = 4,
                     .points = {{30, 30}, {70, 30}, {70, 70}, {30, 70}},
                     .pointsAllocated = true}};
    snapshot.fBackup(doc);
    MappingParams p = params(180, 190, 60);
    const RenderPlacement placement = render(p);
    double x = 250, y = 250;
    RadialMapping(p).pointTransform(x, y);
    EXPECT_EQ(surface.pixel(int(x * placement.mapScale + placement.mapCenterX),
                            int(y * placement.mapScale + placement.mapCenterY)),
              invertColor(kBlue));
    ImageSurface band(QSize(1200, 800));
    band.clearAll(kCanvasBackground);
    MappedRendering(doc, snapshot.tiles(), p, kScreen).draw(band, DrawSettings{});
    EXPECT_EQ(band.image(), surface.image());

    p.variant = MappingParams::Variant::Pinch;
    render(p);
    EXPECT_TRUE(surface.pixel(250, 250) == invertColor(kBlue) && surface.pixel(210, 210) == kBlue);
}

} // namespace
} // namespace tessella
