// SPDX-License-Identifier: GPL-3.0-or-later
// Raster export stages: the smoothing step alone, and a "better" JPEG export of a
// 1920 x 1080 file from a field of 10,000 hexagons, as draw, smooth and encode measured
// alone and as the whole pipeline (one thread, then one per core).
#include "output/export/imageexport.h"
#include "output/export/rasterpipeline.h"
#include "output/export/rowencoder.h"
#include "output/export/smoothing.h"
#include "platform/fileio.h"
#include "platform/imagesurface.h"

#include <QDir>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>

#include "hexagonfields.h"

using namespace tessella;

namespace {

constexpr int kFileWidth = 1920;
constexpr int kFileHeight = 1080;
constexpr int kDrawWidth = 2 * kFileWidth;
constexpr int kDrawHeight = 2 * kFileHeight;
constexpr int kBandSourceRows = 547; // what the pipeline takes at this width

const Document &field()
{
    static const Document doc = hexagonRows(10000);
    return doc;
}

DrawSettings hexSettings()
{
    DrawSettings settings;
    settings.grid = GridHexagonal;
    return settings;
}

QImage randomPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 rng(1);
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<uint32_t *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            row[x] = 0xff000000u | (rng() & 0xffffffu);
        }
    }
    return image;
}

void smoothPicture(const QImage &source, std::vector<uint8_t> &out)
{
    const int w = source.width(), h = source.height();
    auto row = [&](int y) {
        return reinterpret_cast<const uint32_t *>(source.constScanLine(std::clamp(y, 0, h - 1)));
    };
    const int64_t stride = (w + 1) / 2 * 3;
    for (int oy = 0; oy < (h + 1) / 2; ++oy) {
        smoothRow(row(2 * oy - 1), row(2 * oy), row(2 * oy + 1), w, out.data() + oy * stride);
    }
}

void smoothing4k(benchmark::State &state)
{
    const QImage source = randomPicture(3840, 2160);
    std::vector<uint8_t> out(std::size_t(1920) * 1080 * 3);
    for (auto _ : state) {
        smoothPicture(source, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(3840) * 2160);
}
BENCHMARK(smoothing4k)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Draw alone: the 3840 x 2160 drawing in bands of the pipeline's height, one thread.
void exportDraw(benchmark::State &state)
{
    ImageSurface band;
    const DrawSettings settings = hexSettings();
    for (auto _ : state) {
        for (int top = 0; top < kDrawHeight; top += kBandSourceRows) {
            band.setViewport(QSize(kDrawWidth, std::min(kBandSourceRows, kDrawHeight - top)),
                             QPoint(0, top), 0xffffff);
            band.setScale(2, 0, 0);
            band.setPenWidth(exportDrawWidth(2, false));
            drawTilingScene(field(), band, settings);
            benchmark::DoNotOptimize(band.image().constBits());
        }
    }
}
BENCHMARK(exportDraw)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Smooth alone: the drawn picture halved.
void exportSmooth(benchmark::State &state)
{
    ImageSurface whole(QSize(kDrawWidth, kDrawHeight), QPoint(0, 0), 0xffffff);
    whole.setScale(2, 0, 0);
    whole.setPenWidth(2);
    drawTilingScene(field(), whole, hexSettings());
    const QImage picture = whole.image();
    std::vector<uint8_t> out(std::size_t(kFileWidth) * kFileHeight * 3);
    for (auto _ : state) {
        smoothPicture(picture, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(exportSmooth)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Encode alone: the smoothed rows into a JPEG file.
void exportEncode(benchmark::State &state)
{
    ImageSurface whole(QSize(kDrawWidth, kDrawHeight), QPoint(0, 0), 0xffffff);
    whole.setScale(2, 0, 0);
    whole.setPenWidth(2);
    drawTilingScene(field(), whole, hexSettings());
    std::vector<uint8_t> rows(std::size_t(kFileWidth) * kFileHeight * 3);
    smoothPicture(whole.image(), rows);
    const QString path = QDir::temp().filePath("tessella-bench-encode.jpg");
    for (auto _ : state) {
        AtomicFileWriter file(path, true);
        file.open();
        const auto encoder = makeJpegEncoder(file, kJpegQuality);
        encoder->begin(kFileWidth, kFileHeight);
        for (int y = 0; y < kFileHeight; y += 16) {
            const int n = std::min(16, kFileHeight - y);
            encoder->writeRows(y, n, rows.data() + int64_t(y) * kFileWidth * 3, kFileWidth * 3);
        }
        encoder->finish();
        file.commit();
    }
    QFile::remove(path);
}
BENCHMARK(exportEncode)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The whole export pass, with 1 or 2 drawing threads.
void exportWhole(benchmark::State &state)
{
    const Document &doc = field();
    const QString path = QDir::temp().filePath("tessella-bench-whole.jpg");
    RasterJob job;
    job.width = kDrawWidth;
    job.height = kDrawHeight;
    job.zoom = 2;
    job.lineWidth = exportDrawWidth(2, false);
    job.smooth = true;
    job.threads = int(state.range(0));
    const DrawSettings settings = hexSettings();
    job.draw = [&](Surface &band) { drawTilingScene(doc, band, settings); };
    for (auto _ : state) {
        if (writeRaster(job, RasterEncoding::Jpeg, path).status != RasterResult::Status::Written) {
            state.SkipWithError("export failed");
        }
    }
    QFile::remove(path);
}
BENCHMARK(exportWhole)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
