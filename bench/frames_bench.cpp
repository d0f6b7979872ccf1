// SPDX-License-Identifier: GPL-3.0-or-later
// An animation run with "save files": 20 frames at 1280 x 720 with "anti alias" over the
// 10,000-hexagon field, on one core and on all cores; and one such frame split into its
// parts: the map, the drawing at twice the size, the smoothing and the JPEG encoding.
#include "fractal/framerun.h"
#include "fractal/mappedrendering.h"
#include "output/export/rowencoder.h"
#include "output/export/smoothing.h"
#include "platform/fileio.h"
#include "platform/imagesurface.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "hexagonfields.h"

using namespace tessella;

namespace {

constexpr int kFrames = 20;
const QSize kFrame(1280, 720);
const QSize kDrawing(2 * kFrame.width(), 2 * kFrame.height());

const Document &field()
{
    static const Document doc = latticeHexagons(10000);
    return doc;
}

// Two key frames 19 frames apart: the circle moves across the middle of the field,
// grows, and turns the hues half round.
std::vector<KeyFrame> keys()
{
    double maxX = 0, maxY = 0;
    for (const Tile &t : field().tiles)
        for (const Vertex &v : t.verts)
            maxX = std::max(maxX, v.x), maxY = std::max(maxY, v.y);
    KeyFrame a;
    a.centerX = maxX * 0.4, a.centerY = maxY * 0.45, a.radius = 250, a.aspect = 1;
    a.falloffValue = 10, a.baseValue = 20, a.sizeValue = 10, a.granularityValue = 3;
    KeyFrame b = a;
    b.centerX = maxX * 0.6, b.centerY = maxY * 0.55, b.radius = 350, b.hueValue = 180;
    std::vector<KeyFrame> k{a, b};
    initCP(k, 1);
    return k;
}

FrameOutput output(int threads)
{
    FrameOutput o;
    o.size = kFrame;
    o.antiAlias = true;
    o.draw.grid = GridHexagonal;
    o.threads = threads;
    return o;
}

void run(benchmark::State &state)
{
    QTemporaryDir dir;
    const std::vector<FrameJob> jobs = frameJobs(keys(), kFrames - 1, {}, 0, dir.filePath("f"));
    for (auto _ : state) {
        FrameRun frames(field(), field().tiles, output(int(state.range(0))), jobs);
        while (const auto outcome = frames.next())
            if (!outcome->written)
                state.SkipWithError("frame not written");
    }
    state.counters["frames_per_s"] =
        benchmark::Counter(kFrames, benchmark::Counter::kIsIterationInvariantRate);
}

// The middle frame of the run, whose parts are timed one by one.
const FrameJob &middle()
{
    static const std::vector<FrameJob> jobs = frameJobs(keys(), kFrames - 1, {}, 0, "f");
    return jobs[kFrames / 2];
}

const SurfaceRect kArea{0, 0, double(kDrawing.width()), double(kDrawing.height())};

void map(benchmark::State &state)
{
    for (auto _ : state) {
        MappedRendering rendering(field(), field().tiles, middle().settings.params, kArea, 1);
        benchmark::DoNotOptimize(rendering.mapped().tiles.data());
    }
}

DrawSettings frameSettings()
{
    DrawSettings settings = output(1).draw;
    settings.colorShiftOn = true;
    settings.hueShift = middle().settings.hueShift;
    return settings;
}

void draw(benchmark::State &state)
{
    const MappedRendering rendering(field(), field().tiles, middle().settings.params, kArea, 1);
    ImageSurface surface(kDrawing, QPoint(0, 0), kWhite);
    const DrawSettings settings = frameSettings();
    for (auto _ : state) {
        surface.setViewport(kDrawing, QPoint(0, 0), kWhite);
        SurfaceBatch batch(surface);
        rendering.draw(surface, settings);
    }
}

// The drawn frame, as the smoothing and the encoder receive it.
const QImage &drawnFrame()
{
    static const QImage image = [] {
        const MappedRendering rendering(field(), field().tiles, middle().settings.params, kArea, 1);
        ImageSurface surface(kDrawing, QPoint(0, 0), kWhite);
        rendering.draw(surface, frameSettings());
        return surface.image();
    }();
    return image;
}

std::vector<uint8_t> smoothFrame()
{
    const QImage &image = drawnFrame();
    auto row = [&](int y) {
        return reinterpret_cast<const uint32_t *>(
            image.constScanLine(std::clamp(y, 0, image.height() - 1)));
    };
    std::vector<uint8_t> out(std::size_t(kFrame.width()) * 3 * kFrame.height());
    for (int y = 0; y < kFrame.height(); ++y)
        smoothRow(row(2 * y - 1), row(2 * y), row(2 * y + 1), image.width(),
                  out.data() + std::size_t(y) * kFrame.width() * 3);
    return out;
}

void smooth(benchmark::State &state)
{
    drawnFrame();
    for (auto _ : state)
        benchmark::DoNotOptimize(smoothFrame().data());
}

void encode(benchmark::State &state)
{
    const std::vector<uint8_t> rows = smoothFrame();
    QTemporaryDir dir;
    for (auto _ : state) {
        AtomicFileWriter file(dir.filePath("f.jpg"));
        file.open();
        const auto encoder = makeJpegEncoder(file, kJpegQuality);
        encoder->begin(kFrame.width(), kFrame.height());
        encoder->writeRows(0, kFrame.height(), rows.data(), kFrame.width() * 3);
        if (!encoder->finish() || !file.commit())
            state.SkipWithError("not encoded");
    }
}

} // namespace

BENCHMARK(run)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->MinTime(5);
BENCHMARK(map)->Unit(benchmark::kMillisecond);
BENCHMARK(draw)->Unit(benchmark::kMillisecond);
BENCHMARK(smooth)->Unit(benchmark::kMillisecond);
BENCHMARK(encode)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
