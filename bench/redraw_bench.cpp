// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor's full redraw (lattice, tiling, overlays) of a field of hexagons in a
// 1920 x 1080 window, at 100 % and 400 %: the screen keeps only the viewport, so the
// cost follows the tiles in view.
#include "platform/imagesurface.h"
#include "tileeditor/view/viewrenderer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>

#include "hexagonfields.h"

using namespace tessella;

namespace {

constexpr int kWindowWidth = 1920;
constexpr int kWindowHeight = 1080;

struct View
{
    double zoom;
    int lineWidth;
};

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// Resident memory of a window-sized viewport with both layers in use.
void viewportMemory(benchmark::State &state)
{
    const Document doc = latticeHexagons(10000, true);
    double megabytes = 0;
    for (auto _ : state) {
        const long before = residentKiB();
        auto surface = std::make_unique<ImageSurface>(QSize(kWindowWidth, kWindowHeight));
        DrawSettings settings;
        settings.grid = GridHexagonal;
        ViewFrame frame;
        frame.extentWidth = 2 * kWindowWidth;
        frame.extentHeight = 2 * kWindowHeight;
        renderView(*surface, doc, settings, frame);
        TilingDrawer(*surface, doc, settings).drawNewtile({}, 0, 0, 0); // transient layer
        surface->setPixel(0, 0, 0);
        megabytes = double(residentKiB() - before) / 1024;
    }
    state.counters["resident_MB"] = megabytes;
}
BENCHMARK(viewportMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Tiles whose box reaches the viewport.
int tilesInView(const Document &doc, const ImageSurface &surface)
{
    const QRectF view(QPointF(surface.offset()) / surface.zoom(),
                      QSizeF(surface.size()) / surface.zoom());
    int n = 0;
    for (const Tile &tile : doc.tiles) {
        QRectF box(tile.verts[0].x, tile.verts[0].y, 0, 0);
        for (const Vertex &v : tile.verts) {
            box |= QRectF(v.x, v.y, 0.001, 0.001);
        }
        n += box.intersects(view) ? 1 : 0;
    }
    return n;
}

// The viewport is the window's share of the canvas (twice the window at 100 %), panned
// into the middle of the canvas.
void fullRedraw(benchmark::State &state, int tiles, View view)
{
    const Document doc = latticeHexagons(tiles, true);
    const int canvasWidth = int(view.zoom * 2 * kWindowWidth);
    const int canvasHeight = int(view.zoom * 2 * kWindowHeight);
    ImageSurface surface(
        QSize(kWindowWidth, kWindowHeight),
        QPoint((canvasWidth - kWindowWidth) / 2, (canvasHeight - kWindowHeight) / 2));
    surface.setScale(view.zoom);
    DrawSettings settings;
    settings.grid = GridHexagonal;
    ViewFrame frame;
    frame.extentWidth = canvasWidth / view.zoom;
    frame.extentHeight = canvasHeight / view.zoom;
    frame.lineWidth = view.lineWidth;
    for (auto _ : state) {
        renderView(surface, doc, settings, frame);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
    state.counters["tiles"] = tiles;
    state.counters["in_view"] = double(tilesInView(doc, surface));
}

void redrawLatticeOnly(benchmark::State &state)
{
    fullRedraw(state, 0, {1.0, 1});
}
void redraw10k(benchmark::State &state)
{
    fullRedraw(state, 10000, {1.0, 1});
}
void redraw100k(benchmark::State &state)
{
    fullRedraw(state, 100000, {1.0, 1});
}
void redraw10kAt400(benchmark::State &state)
{
    fullRedraw(state, 10000, {4.0, 4});
}
void redraw100kAt400(benchmark::State &state)
{
    fullRedraw(state, 100000, {4.0, 4});
}
BENCHMARK(redrawLatticeOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(redraw10k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(redraw100k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(redraw10kAt400)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(redraw100kAt400)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
