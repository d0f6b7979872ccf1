// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/probesurface.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace tessella;

namespace {

// Paints like the hit test: the probe colour as fill, the current pen for the outline.
void paintProbe(Surface &s, const std::vector<PixelPoint> &polygon, int penWidth)
{
    s.setPenColour(0);
    s.setPenWidth(penWidth);
    s.setFillColour(kProbeColour);
    s.setFillStyle(kFillSolid);
    s.polygon(polygon);
}

} // namespace

TEST(ProbeSurface, StartsAsBackgroundAndMoves)
{
    ProbeSurface probe(12, -7);
    EXPECT_EQ(probe.canvasX(), 12);
    EXPECT_EQ(probe.canvasY(), -7);
    EXPECT_EQ(probe.value(), kCanvasBackground);
    probe.setPixel(12, -7, 0x0000ff);
    EXPECT_EQ(probe.value(), 0x0000ff);
    probe.moveTo(3, 4, 0x00ff00);
    EXPECT_EQ(probe.value(), 0x00ff00);
    EXPECT_EQ(probe.pixel(12, -7), kInvalidColour);
}

TEST(ProbeSurface, SeesWhatTheCanvasShows)
{
    ImageSurface canvas(QSize(1, 1));
    ProbeSurface probe(0, 0);
    std::vector<PixelPoint> square{{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    for (const auto &[x, y, expected] : std::vector<std::tuple<int, int, Colour>>{
             {15, 15, kProbeColour}, {10, 15, 0}, {20, 20, 0}, {21, 15, kCanvasBackground}}) {
        probe.moveTo(x, y);
        paintProbe(probe, square, 1);
        EXPECT_EQ(probe.value(), expected) << x << "," << y;
    }
}

TEST(ProbeSurface, AgreesWithTheCanvasForRandomPolygons)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> coordinate(-20, 220);
    std::uniform_int_distribution<int> vertexCount(3, 9);
    std::uniform_int_distribution<int> width(1, 4);
    std::uniform_int_distribution<int> jitter(-2, 2);
    std::uniform_int_distribution<int> anywhere(0, 199);
    const QPoint origin(-3000, 5000); // the canvas itself is a viewport somewhere
    int compared = 0;
    int differing = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<PixelPoint> polygon(std::size_t(vertexCount(random)));
        for (PixelPoint &p : polygon) {
            p = {origin.x() + coordinate(random), origin.y() + coordinate(random)};
        }
        const int penWidth = round % 3 == 0 ? width(random) : 1;
        ImageSurface canvas(QSize(200, 200), origin);
        paintProbe(canvas, polygon, penWidth);
        for (int k = 0; k < 60; ++k) {
            // Half the points near a vertex, where edges and outlines meet.
            int x, y;
            if (k % 2 == 0) {
                const PixelPoint &v = polygon[std::size_t(k / 2) % polygon.size()];
                x = v.x + jitter(random);
                y = v.y + jitter(random);
            } else {
                x = origin.x() + anywhere(random);
                y = origin.y() + anywhere(random);
            }
            const Colour expected = canvas.pixel(x, y);
            if (expected == kInvalidColour) {
                continue;
            }
            ProbeSurface probe(x, y);
            paintProbe(probe, polygon, penWidth);
            ++compared;
            differing += probe.value() != expected;
        }
    }
    EXPECT_GT(compared, 15000);
    EXPECT_EQ(differing, 0) << "of " << compared;
}
