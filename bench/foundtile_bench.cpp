// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one click's hit test (`foundTile`) on large tilings of regular hexagons: a
// point on the last tile (found at once) and a point on no tile (every tile is tested).
#include "platform/imagesurface.h"
#include "tileeditor/hittester.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

using namespace tessella;

namespace {

constexpr double kRadius = 8;

// Rows of pointy-top hexagons of radius 8, 100 to a row, touching their neighbours.
Document hexagonField(int count)
{
    const double width = std::sqrt(3.0) * kRadius;
    Document doc;
    doc.tiles.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const int row = i / 100, col = i % 100;
        const double cx = 20 + col * width + (row % 2) * width / 2;
        const double cy = 20 + row * 1.5 * kRadius;
        std::vector<Vertex> corners;
        for (int k = 0; k < 6; ++k) {
            const double a = std::numbers::pi / 6 + k * std::numbers::pi / 3;
            corners.push_back({cx + kRadius * std::cos(a), cy + kRadius * std::sin(a)});
        }
        Tile tile;
        tile.setCorners(corners);
        tile.color = 0x3080c0;
        tile.grid = GridHexagonal;
        doc.tiles.push_back(std::move(tile));
    }
    return doc;
}

// `indexed`: with the tile boxes the window takes at every full redraw.
void foundTileQuery(benchmark::State &state, bool onLastTile, bool indexed)
{
    const Document doc = hexagonField(int(state.range(0)));
    ImageSurface canvas(QSize(1, 1));
    canvas.setScale(1);
    DrawSettings settings;
    settings.grid = GridHexagonal;
    double x = -50, y = -50;
    if (onLastTile) {
        const Tile &last = doc.tiles.back();
        x = (last.verts[0].x + last.verts[3].x) / 2;
        y = (last.verts[0].y + last.verts[3].y) / 2;
    }
    TileBoxIndex boxes;
    if (indexed)
        boxes.rebuild(doc, GridHexagonal);
    std::size_t found = 0;
    for (auto _ : state) {
        HitTester tester(doc, settings, canvas, indexed ? &boxes : nullptr);
        found += tester.foundTile(x, y).value_or(0);
    }
    if (onLastTile && found != state.iterations() * (doc.tiles.size() - 1))
        state.SkipWithError("the last tile was not found");
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(state.iterations());
}

void foundTileOnLastTile(benchmark::State &state)
{
    foundTileQuery(state, true, true);
}
BENCHMARK(foundTileOnLastTile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void foundTileOnNoTile(benchmark::State &state)
{
    foundTileQuery(state, false, true);
}
BENCHMARK(foundTileOnNoTile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Without the boxes (a table changed since the last redraw): every tile is read.
void foundTileOnNoTileUnindexed(benchmark::State &state)
{
    foundTileQuery(state, false, false);
}
BENCHMARK(foundTileOnNoTileUnindexed)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Taking the boxes, as every full redraw does.
void tileBoxRebuild(benchmark::State &state)
{
    const Document doc = hexagonField(int(state.range(0)));
    TileBoxIndex boxes;
    for (auto _ : state) {
        boxes.rebuild(doc, GridHexagonal);
        benchmark::DoNotOptimize(boxes);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(tileBoxRebuild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
