// SPDX-License-Identifier: GPL-3.0-or-later
// One re-rendering of the fractal picture (what every slider step while rendered costs)
// in a 1920 x 1080 view at 50 %, split into its three parts: putting the unmapped tiles
// back, mapping them with subdivision (one and two cores), and drawing the mapped tiles.
#include "fractal/render.h"
#include "platform/imagesurface.h"

#include <benchmark/benchmark.h>

#include <cmath>

#include "hexagonfields.h"

using namespace tessella;

namespace {

constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;
constexpr double kZoom = 0.5; // a rendering is shown at 50 %
const SurfaceRect kExtent{0, 0, kViewWidth / kZoom, kViewHeight / kZoom};

// Default panel settings with a circle of radius 300 pulled at the middle of the field.
MappingParams defaults(const Document &doc)
{
    double maxX = 0, maxY = 0;
    for (const Tile &t : doc.tiles)
        for (const Vertex &v : t.verts) {
            maxX = std::max(maxX, v.x);
            maxY = std::max(maxY, v.y);
        }
    MappingParams p;
    p.refCenterX = maxX / 2;
    p.refCenterY = maxY / 2;
    p.refRadius = 300;
    return p;
}

int64_t vertexCount(const Document &doc)
{
    int64_t n = 0;
    for (const Tile &t : doc.tiles)
        n += t.nVerts;
    return n;
}

void restore(benchmark::State &state)
{
    Document doc = latticeHexagons(int(state.range(0)));
    FractalSnapshot snapshot;
    snapshot.fBackup(doc);
    for (auto _ : state) {
        snapshot.fRestore(doc);
        benchmark::DoNotOptimize(doc.tiles.data());
    }
    state.counters["vertices"] = double(vertexCount(doc));
}

void map(benchmark::State &state)
{
    Document doc = latticeHexagons(int(state.range(0)));
    const int threads = int(state.range(1));
    FractalSnapshot snapshot;
    snapshot.fBackup(doc);
    const MappingParams params = defaults(doc);
    const RenderPlacement placement = renderPlacement(params, kExtent);
    const RadialMapping mapping(params);
    const int64_t before = vertexCount(doc);
    for (auto _ : state) {
        state.PauseTiming();
        snapshot.fRestore(doc);
        state.ResumeTiming();
        mapTiles(doc.tiles, mapping, placement, threads);
    }
    state.counters["vertices_before"] = double(before);
    state.counters["vertices_after"] = double(vertexCount(doc));
}

void draw(benchmark::State &state)
{
    Document doc = latticeHexagons(int(state.range(0)));
    FractalSnapshot snapshot;
    snapshot.fBackup(doc);
    const MappingParams params = defaults(doc);
    const RenderPlacement placement = renderPlacement(params, kExtent);
    const RadialMapping mapping(params);
    mapTiles(doc.tiles, mapping, placement);
    ImageSurface surface(QSize(kViewWidth, kViewHeight));
    surface.setScale(kZoom);
    DrawSettings settings;
    settings.grid = GridHexagonal;
    setRenderingSettings(settings, mapping, placement, snapshot.tiles());
    for (auto _ : state) {
        surface.clearAll(kCanvasBackground);
        SurfaceBatch batch(surface);
        TilingDrawer drawer(surface, doc, settings);
        drawer.drawList();
    }
    state.counters["vertices"] = double(vertexCount(doc));
}

} // namespace

BENCHMARK(restore)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(map)
    ->Args({10000, 1})
    ->Args({10000, 2})
    ->Args({32767, 1})
    ->Args({32767, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(draw)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
