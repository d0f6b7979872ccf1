// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/export/rasterpipeline.h"

#include "document/numeric.h"
#include "output/export/exportsink.h"
#include "output/export/rowencoder.h"
#include "output/export/smoothing.h"
#include "platform/fileio.h"
#include "platform/imagesurface.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tessella {

namespace {

// Bytes of source picture a band should hold (both layers of its surface).
constexpr int64_t kBandSourceBytes = int64_t(16) << 20;

struct Geometry
{
    int64_t width;     // drawing
    int64_t height;    // drawing
    int64_t outWidth;  // file
    int64_t outHeight; // file
    int64_t bandRows;  // file rows per band
    int64_t bands;
};

Geometry geometryOf(const RasterJob &job)
{
    Geometry g{};
    g.width = job.width;
    g.height = job.height;
    g.outWidth = job.smooth ? (job.width + 1) / 2 : job.width;
    g.outHeight = job.smooth ? (job.height + 1) / 2 : job.height;
    int64_t rows = job.bandRows;
    if (rows <= 0) {
        // Two layers of 4 bytes per pixel; a smoothed file row takes two source rows.
        const int64_t sourceRowBytes = job.width * 8 * (job.smooth ? 2 : 1);
        rows =
            std::clamp<int64_t>(kBandSourceBytes / std::max<int64_t>(sourceRowBytes, 1), 1, 1024);
    }
    g.bandRows = rows;
    g.bands = (g.outHeight + rows - 1) / rows;
    return g;
}

// Draws band k onto `surface` and turns it into file rows of red, green, blue bytes; false
// when the band's memory could not be had.
bool renderBand(const RasterJob &job, const Geometry &g, int64_t k, ImageSurface &surface,
                std::vector<uint8_t> &out)
{
    const int64_t first = k * g.bandRows;
    const int64_t last = std::min(first + g.bandRows, g.outHeight) - 1;
    // Source rows the band needs, with the one-row overlap of the kernel at each side.
    const int64_t top = job.smooth ? std::max<int64_t>(2 * first - 1, 0) : first;
    const int64_t bottom = job.smooth ? std::min(2 * last + 1, g.height - 1) : last;
    surface.setViewport(QSize(int(g.width), int(bottom - top + 1)), QPoint(0, int(top)),
                        job.background);
    surface.setScale(job.zoom, job.originX, job.originY);
    surface.setPenWidth(job.lineWidth);
    surface.setPenColour(0);
    surface.setFillColour(0);
    surface.setFillStyle(kFillSolid);
    if (surface.size() != QSize(int(g.width), int(bottom - top + 1))) {
        return false; // the viewport's pixels could not be allocated
    }
    job.draw(surface);
    const QImage &image = surface.image();
    auto row = [&](int64_t y) {
        return reinterpret_cast<const uint32_t *>(image.constScanLine(int(y - top)));
    };
    const int64_t stride = g.outWidth * 3;
    out.resize(std::size_t(stride * (last - first + 1)));
    for (int64_t y = first; y <= last; ++y) {
        uint8_t *dest = out.data() + (y - first) * stride;
        if (job.smooth) {
            const int64_t centre = 2 * y;
            smoothRow(row(std::max<int64_t>(centre - 1, 0)), row(centre),
                      row(std::min(centre + 1, g.height - 1)), g.width, dest);
        } else {
            copyRow(row(y), g.width, dest);
        }
    }
    return true;
}

// Bands are drawn by worker threads, a bounded number ahead of the encoder, and encoded
// in order on the calling thread, which also reports progress and sees a cancel.
class BandPipeline
{
public:
    BandPipeline(const RasterJob &job, const Geometry &g) : job_(job), g_(g)
    {
        int threads = job.threads > 0 ? job.threads : int(std::thread::hardware_concurrency());
        threads = int(std::clamp<int64_t>(threads, 1, std::max<int64_t>(g.bands, 1)));
        window_ = 2 * int64_t(threads);
        for (int t = 0; t < threads; ++t) {
            workers_.emplace_back([this] { work(); });
        }
    }

    ~BandPipeline() { stop(); }

    // Waits for band k and hands its rows over; nothing when it could not be drawn.
    std::optional<std::vector<uint8_t>> take(int64_t k)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return ready_.count(k) != 0; });
        std::optional<std::vector<uint8_t>> rows = std::move(ready_[k]);
        ready_.erase(k);
        return rows;
    }

    void encoded()
    {
        std::lock_guard lock(mutex_);
        ++encoded_;
        changed_.notify_all();
    }

    void stop()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            changed_.notify_all();
        }
        for (std::thread &t : workers_) {
            if (t.joinable()) {
                t.join();
            }
        }
    }

private:
    void work()
    {
        ImageSurface surface;
        std::vector<uint8_t> rows;
        for (;;) {
            int64_t k = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] {
                    return stopping_ || next_ >= g_.bands || next_ < encoded_ + window_;
                });
                if (stopping_ || next_ >= g_.bands) {
                    return;
                }
                k = next_++;
            }
            const bool drawn = renderBand(job_, g_, k, surface, rows);
            std::lock_guard lock(mutex_);
            ready_[k] = drawn ? std::optional(std::move(rows)) : std::nullopt;
            rows = {};
            changed_.notify_all();
        }
    }

    const RasterJob &job_;
    const Geometry &g_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int64_t next_ = 0;
    int64_t encoded_ = 0;
    int64_t window_ = 2;
    bool stopping_ = false;
    std::map<int64_t, std::optional<std::vector<uint8_t>>> ready_;
    std::vector<std::thread> workers_;
};

RasterResult failedWith(const QString &why)
{
    return RasterResult{RasterResult::Status::Failed, why};
}

bool drawable(const RasterJob &job)
{
    return job.width > 0 && job.height > 0 && job.width <= kPixelLimit &&
           job.height <= kPixelLimit && job.draw;
}

} // namespace

RasterResult writeRaster(const RasterJob &job, RasterEncoding encoding, const QString &path,
                         ExportSink *sink)
{
    if (!drawable(job)) {
        return failedWith(QStringLiteral("no picture to write"));
    }
    AtomicFileWriter file(path, encoding == RasterEncoding::Jpeg);
    if (!file.open()) {
        return failedWith(file.error());
    }
    RasterResult result = encodeRaster(job, encoding, file, sink);
    if (result.status == RasterResult::Status::Written && !file.commit()) {
        return failedWith(file.error());
    }
    return result;
}

RasterResult encodeRaster(const RasterJob &job, RasterEncoding encoding, AtomicFileWriter &file,
                          ExportSink *sink)
{
    if (!drawable(job)) {
        return failedWith(QStringLiteral("no picture to write"));
    }
    const Geometry g = geometryOf(job);
    const std::unique_ptr<RowEncoder> encoder = makeRowEncoder(encoding, file);
    if (!encoder->begin(g.outWidth, g.outHeight)) {
        return failedWith(encoder->error());
    }
    std::optional<BandPipeline> pipeline;
    ImageSurface surface;
    if (!job.sequential) {
        pipeline.emplace(job, g);
    }
    for (int64_t k = 0; k < g.bands; ++k) {
        std::optional<std::vector<uint8_t>> rows;
        if (pipeline) {
            rows = pipeline->take(k);
        } else if (std::vector<uint8_t> drawn; renderBand(job, g, k, surface, drawn)) {
            rows = std::move(drawn);
        }
        if (!rows) {
            return failedWith(QStringLiteral("out of memory"));
        }
        const int64_t first = k * g.bandRows;
        const int64_t count = std::min(g.bandRows, g.outHeight - first);
        if (!encoder->writeRows(first, count, rows->data(), g.outWidth * 3)) {
            return failedWith(encoder->error());
        }
        if (pipeline) {
            pipeline->encoded();
        }
        if (sink) {
            sink->progress(double(first + count) / double(g.outHeight));
            if (sink->cancelled()) {
                return RasterResult{RasterResult::Status::Cancelled, {}};
            }
        }
    }
    pipeline.reset();
    if (!encoder->finish()) {
        return failedWith(encoder->error());
    }
    return RasterResult{RasterResult::Status::Written, {}};
}

} // namespace tessella
