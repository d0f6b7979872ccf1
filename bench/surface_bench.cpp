// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing cost of the raster surfaces: one tile polygon on a window-sized canvas, and
// one probe hit test (the per-tile part of a click).
#include "platform/probesurface.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace tessella;

namespace {

std::vector<std::vector<PixelPoint>> randomTiles(int count, int area, int size)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> where(0, area);
    std::uniform_int_distribution<int> jitter(-size, size);
    std::vector<std::vector<PixelPoint>> tiles;
    for (int i = 0; i < count; ++i) {
        const int cx = where(random), cy = where(random);
        std::vector<PixelPoint> tile;
        for (int k = 0; k < 6; ++k) {
            tile.push_back({cx + jitter(random), cy + jitter(random)});
        }
        tiles.push_back(tile);
    }
    return tiles;
}

void tilePolygonOnCanvas(benchmark::State &state)
{
    const auto tiles = randomTiles(1000, 1800, int(state.range(0)));
    ImageSurface canvas(QSize(1920, 1080));
    canvas.setPenColour(0);
    canvas.setFillColour(0x3080c0);
    std::size_t i = 0;
    for (auto _ : state) {
        canvas.polygon(tiles[i++ % tiles.size()]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(tilePolygonOnCanvas)->Arg(16)->Arg(64);

void probeHitTest(benchmark::State &state)
{
    const auto tiles = randomTiles(1000, 1800, 32);
    std::size_t i = 0;
    int hits = 0;
    for (auto _ : state) {
        const auto &tile = tiles[i++ % tiles.size()];
        ProbeSurface probe(tile[0].x + 3, tile[0].y + 2);
        probe.setFillColour(kProbeColour);
        probe.polygon(tile);
        hits += probe.value() == kProbeColour;
    }
    benchmark::DoNotOptimize(hits);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(probeHitTest);

} // namespace

BENCHMARK_MAIN();
