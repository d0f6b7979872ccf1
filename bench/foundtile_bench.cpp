// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one click's hit test (`foundTile`) on large tilings of regular hexagons: a
// point on the last tile (found at once) and a point on no tile (every tile is tested).
#include "hexagonfields.h"
#include "platform/imagesurface.h"
#include "tileeditor/hittester.h"

#include <benchmark/benchmark.h>

using namespace tessella;

namespace {

// `indexed`: with the tile boxes the window takes at every full redraw.
void foundTileQuery(benchmark::State &state, bool onLastTile, bool indexed)
{
    const Document doc = hexagonRows(int(state.range(0)), 8);
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
    const Document doc = hexagonRows(int(state.range(0)), 8);
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
