// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/colour.h"
#include "fractal/mappedrendering.h"
#include "fractal/render.h"
#include "platform/imagesurface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace tessella {
namespace {

Tile square(double x, double y, double side)
{
    Tile t;
    t.setCorners({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}});
    t.color = 0x3366cc;
    t.grid = GridRectangular;
    return t;
}

Document grid(int n, double side)
{
    Document doc;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            doc.tiles.push_back(square(i * side, j * side, side));
    return doc;
}

MappingParams params(double cx, double cy, double radius)
{
    MappingParams p;
    p.refCenterX = cx;
    p.refCenterY = cy;
    p.refRadius = radius;
    return p;
}

const SurfaceRect kScreen{0, 0, 1200, 800};

double angleOf(double dx, double dy)
{
    const double a = std::atan2(dy, dx);
    return a < 0 ? a + 2 * std::numbers::pi : a;
}

TEST(RenderPlacement, NoCircleOrBrokenRadiusMapsNothing)
{
    for (double radius : {0.0, -5.0, double(NAN), double(INFINITY)}) {
        const RenderPlacement placement = renderPlacement(params(0, 0, radius), kScreen);
        EXPECT_FALSE(placement.mapped) << radius;
    }
}

TEST(RenderPlacement, ZeroOrNegativeAspectScalesLikeItsSize)
{
    MappingParams p = params(0, 0, 100);
    p.refAspect = 2;
    const double two = renderPlacement(p, kScreen).mapScale;
    p.refAspect = -2;
    EXPECT_DOUBLE_EQ(renderPlacement(p, kScreen).mapScale, two);
    p.refAspect = 0;
    EXPECT_DOUBLE_EQ(renderPlacement(p, kScreen).mapScale, 800 / 100.0 / 2.2);
    // Inward pieces are a quarter of the outward ones: 2^3 surface units at granularity 3.
    p.decay = MappingParams::Decay::Inward;
    const RenderPlacement inward = renderPlacement(p, kScreen);
    EXPECT_NEAR(inward.segLength * inward.mapScale, 8, 1e-9);
}

// Outward, the whole plane lands inside the reference shape as the surface scales it.
TEST(RenderProperties, OutwardMapsEveryVertexIntoTheScaledShape)
{
    for (float squareness : {0.0f, 1.0f, 2.5f, -0.8f}) {
        for (auto method :
             {MappingParams::Method::Exponential, MappingParams::Method::Hyperbolic}) {
            Document doc = grid(12, 70);
            MappingParams p = params(333, 251, 90);
            p.squareness = squareness;
            p.method = method;
            p.refAspect = 1.3f;
            const RenderPlacement placement = renderPlacement(p, kScreen);
            const RadialMapping mapping(p);
            mapTiles(doc.tiles, mapping, placement);
            for (const Tile &t : doc.tiles) {
                for (int j = 0; j < t.nVerts; ++j) {
                    const double dx =
                        (t.verts[j].x - placement.mapCenterX) / placement.mapScale / p.refAspect;
                    const double dy = (t.verts[j].y - placement.mapCenterY) / placement.mapScale;
                    const double a = angleOf(dx, dy);
                    ASSERT_LE(std::hypot(dx, dy), mapping.refRadiusAt(float(a)) * (1 + 1e-6))
                        << squareness;
                }
            }
        }
    }
}

TEST(RenderProperties, SubdividedPiecesStayWithinTheLengthOnTheSurface)
{
    for (int g : {0, 3, 6}) {
        for (auto decay : {MappingParams::Decay::Outward, MappingParams::Decay::Inward}) {
            Document doc = grid(6, 150);
            MappingParams p = params(420, 380, 120);
            p.granularity = g;
            p.decay = decay;
            const RenderPlacement placement = renderPlacement(p, kScreen);
            mapTiles(doc.tiles, RadialMapping(p), placement);
            const double limit = placement.segLength * placement.mapScale;
            for (const Tile &t : doc.tiles) {
                for (int j = 0; j < t.nVerts; ++j) {
                    const Vertex &a = t.verts[j];
                    const Vertex &b = t.verts[(j + 1) % t.nVerts];
                    ASSERT_LE(std::hypot(b.x - a.x, b.y - a.y), limit * (1 + 1e-9)) << g;
                }
            }
        }
    }
}

TEST(Subdivision, ShortMappedEdgesKeepTheVertexCount)
{
    Tile t = square(500, 500, 3);
    subdivideTile(t, RadialMapping(params(0, 0, 100)), 4.0);
    EXPECT_EQ(t.nVerts, 4);
}

TEST(Subdivision, NoLengthMeansCornersOnly)
{
    for (double seg : {0.0, -1.0, double(NAN), double(INFINITY)}) {
        Tile t = square(10, 10, 400);
        subdivideTile(t, RadialMapping(params(0, 0, 100)), seg);
        EXPECT_EQ(t.nVerts, 4) << seg;
    }
}

// A tiny circle with pinch at the finest setting asks for tens of thousands of pieces.
TEST(Subdivision, HugeRequestsAreCappedPerTile)
{
    Document doc;
    doc.tiles.push_back(square(-150, -150, 300));
    MappingParams p = params(0, 0, 2);
    p.variant = MappingParams::Variant::Pinch;
    p.pinch = 0.5;
    p.granularity = 0;
    const RenderPlacement placement = renderPlacement(p, kScreen);
    ASSERT_LT(placement.segLength, 0.05);
    mapTiles(doc.tiles, RadialMapping(p), placement);
    EXPECT_GT(doc.tiles[0].nVerts, 1000);
    EXPECT_LE(doc.tiles[0].nVerts, kMaxMappedVerts);
    EXPECT_EQ(doc.tiles[0].verts.size(), std::size_t(doc.tiles[0].nVerts) + 1);
}

TEST(Subdivision, NonFiniteCornersNeitherCrashNorDivide)
{
    Tile t = square(10, 10, 400);
    t.verts[2].x = NAN;
    subdivideTile(t, RadialMapping(params(0, 0, 100)), 0.5);
    EXPECT_LE(t.nVerts, kMaxMappedVerts);
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

TEST_F(RenderPasses, ReRenderingAfterAChangeEqualsAFreshRendering)
{
    const std::vector<Tile> unmapped = doc.tiles;
    snapshot.fBackup(doc);
    MappingParams p = params(250, 260, 100);
    render(p);
    p.granularity = 1;
    p.falloff = 1.6f;
    render(p);
    const std::vector<Tile> again = doc.tiles;

    Document fresh;
    fresh.tiles = unmapped;
    FractalSnapshot freshSnapshot;
    freshSnapshot.fBackup(fresh);
    TilingDrawer drawer(surface, fresh);
    Frender(drawer, fresh, freshSnapshot, p, kScreen);
    EXPECT_EQ(again, fresh.tiles);
}

TEST_F(RenderPasses, ZeroRadiusDrawsTheUnmappedTiles)
{
    const std::vector<Tile> unmapped = doc.tiles;
    snapshot.fBackup(doc);
    render(params(250, 260, 100));
    ASSERT_NE(doc.tiles, unmapped);
    const RenderPlacement placement = render(params(250, 260, 0));
    EXPECT_FALSE(placement.mapped);
    EXPECT_EQ(doc.tiles, unmapped);
    for (const Tile &t : doc.tiles)
        for (const Vertex &v : t.verts)
            ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
}

TEST_F(RenderPasses, TheMappedDiscIsDrawnAroundTheSurfaceCentre)
{
    snapshot.fBackup(doc);
    render(params(300, 300, 100));
    EXPECT_EQ(surface.pixel(630, 430), 0x3366cc);
    EXPECT_EQ(surface.pixel(5, 5), kCanvasBackground);
}

// A tile with a solid sketch square in its middle, drawn in the tile's inverted colour.
class SketchedRendering : public RenderPasses
{
protected:
    void SetUp() override
    {
        doc.tiles = {square(200, 200, 100)};
        doc.tiles[0].sketchStart = 1;
        Sketch item;
        item.count = 1;
        item.kind = 1;
        item.points = {{30, 30}, {70, 30}, {70, 70}, {30, 70}};
        item.nPoints = 4;
        item.pointsAllocated = true;
        doc.sketches = {Sketch{}, item};
        snapshot.fBackup(doc);
    }
    const Colour ic = invertColor(0x3366cc);
};

TEST_F(SketchedRendering, SketchesFollowTheirMappedTile)
{
    MappingParams p = params(180, 190, 60);
    const RenderPlacement placement = render(p);
    double x = 250, y = 250;
    RadialMapping(p).pointTransform(x, y);
    EXPECT_EQ(surface.pixel(int(x * placement.mapScale + placement.mapCenterX),
                            int(y * placement.mapScale + placement.mapCenterY)),
              ic);
}

// Pinch and wave keep the plane's units: sketches stay with their tiles there too.
TEST_F(SketchedRendering, PinchZeroDrawsThePlainPicture)
{
    MappingParams p = params(180, 190, 60);
    p.variant = MappingParams::Variant::Pinch;
    render(p);
    EXPECT_EQ(surface.pixel(250, 250), ic);
    EXPECT_EQ(surface.pixel(210, 210), 0x3366cc);
}

TEST_F(SketchedRendering, AnExportDrawsWhatTheScreenDraws)
{
    const MappingParams p = params(180, 190, 60);
    render(p);
    const QImage screen = surface.image().copy();
    ImageSurface band(QSize(1200, 800));
    band.clearAll(kCanvasBackground);
    MappedRendering(doc, snapshot.tiles(), p, kScreen).draw(band, DrawSettings{});
    EXPECT_EQ(band.image(), screen);
}

TEST(ColourShift, ValueShiftOf180FoldsBlackAndWhite)
{
    EXPECT_EQ(shiftColour(0x000000, 0, 180), 0xffffff);
    EXPECT_EQ(shiftColour(0xffffff, 0, 180), 0x000000);
    EXPECT_EQ(shiftColour(0x0000ff, 120, 0), 0x00ff00);
}

} // namespace
} // namespace tessella
