// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/framerun.h"

#include "fractal/mappedrendering.h"
#include "output/export/exportsink.h"
#include "output/export/imageexport.h"
#include "output/export/rasterpipeline.h"
#include "platform/fileio.h"

#include <QThread>

#include <algorithm>
#include <cmath>

namespace tessella {

std::vector<FrameJob> frameJobs(const std::vector<KeyFrame> &keys, int framesPerKey,
                                const FrameSettings &live, int startIndex, const QString &base)
{
    if (keys.empty() || framesPerKey < 1 ||
        (int64_t(keys.size()) - 1) * framesPerKey + 1 > kMaxFrames)
        return {};
    const int total = frameTotal(int(keys.size()), framesPerKey);
    std::vector<FrameJob> jobs;
    for (int n = std::max(startIndex, 0); n < total; ++n) {
        const int frame = (n + 1) % total;
        jobs.push_back(FrameJob{n, frame, frameFileName(base, n),
                                interpolateFrame(keys, framesPerKey, frame, live)});
    }
    return jobs;
}

std::vector<FrameJob> frameJobs(const KeyFrameSet &set, int startIndex, const QString &base)
{
    if (set.keyFrames.empty())
        return {};
    const KeyFrame &first = set.keyFrames.front();
    MappingParams shape;
    shape.refCenterX = first.centerX;
    shape.refCenterY = first.centerY;
    shape.refRadius = first.radius;
    shape.refAspect = first.aspect;
    return frameJobs(set.keyFrames, set.framesPerKey, frameSettingsFrom(set.live, shape),
                     startIndex, base);
}

QSize frameResolution(int lines)
{
    switch (lines) {
    case 540:
        return {960, 540};
    case 720:
        return {1280, 720};
    case 1080:
        return {1920, 1080};
    default:
        return {};
    }
}

namespace {

// A frame in progress gives up at its next band once the run is stopped.
class StopSink final : public ExportSink
{
public:
    explicit StopSink(const std::atomic<bool> &stopped) : stopped_(stopped) {}
    void progress(double) override {}
    bool cancelled() override { return stopped_.load(); }

private:
    const std::atomic<bool> &stopped_;
};

} // namespace

FrameRun::FrameRun(const Document &doc, const std::vector<Tile> &unmapped,
                   const FrameOutput &output, std::vector<FrameJob> jobs,
                   std::function<void()> ready)
    : unmapped_(unmapped), output_(output), jobs_(std::move(jobs)), ready_(std::move(ready)),
      done_(jobs_.size())
{
    source_.sketches = doc.sketches;
    source_.grid = doc.grid;
    output_.draw.vectorTarget = nullptr;
    caller_ = QThread::currentThread();
    if (!std::isfinite(output_.zoom) || output_.zoom <= 0)
        output_.zoom = 1;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads =
        std::clamp<std::size_t>(output_.threads > 0 ? std::size_t(output_.threads) : cores, 1,
                                std::max<std::size_t>(jobs_.size(), 1));
    window_ = 2 * threads;
    for (std::size_t t = 0; t < threads && !jobs_.empty(); ++t)
        workers_.emplace_back([this] { work(); });
}

FrameRun::~FrameRun()
{
    stop();
    for (std::thread &worker : workers_)
        worker.join();
}

void FrameRun::stop()
{
    std::vector<std::optional<Done>> dropped;
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        dropped.swap(done_); // uncommitted files are removed as they go
        done_.resize(jobs_.size());
    }
    changed_.notify_all();
}

bool FrameRun::overLocked() const
{
    return stopped_ || handed_ >= jobs_.size();
}

bool FrameRun::over() const
{
    std::lock_guard lock(mutex_);
    return overLocked();
}

std::optional<FrameOutcome> FrameRun::next()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return overLocked() || done_[handed_].has_value(); });
    return handOver(lock);
}

std::optional<FrameOutcome> FrameRun::tryNext()
{
    std::unique_lock lock(mutex_);
    return handOver(lock);
}

std::optional<FrameOutcome> FrameRun::handOver(std::unique_lock<std::mutex> &lock)
{
    if (overLocked() || !done_[handed_])
        return std::nullopt;
    Done done = std::move(*done_[handed_]);
    done_[handed_].reset();
    FrameOutcome outcome{handed_++, false, {}};
    lock.unlock();
    changed_.notify_all();
    // The rename puts the file in place as the caller learns of it, in order.
    outcome.written = done.ok && done.file->commit();
    if (!outcome.written) {
        outcome.message = notSavedMessage(jobs_[outcome.job].path);
        stop();
    }
    return outcome;
}

void FrameRun::work()
{
    for (;;) {
        std::size_t k = 0;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] {
                return stopped_ || started_ >= jobs_.size() || started_ < handed_ + window_;
            });
            if (stopped_ || started_ >= jobs_.size())
                return;
            k = started_++;
        }
        Done done = render(jobs_[k]);
        if (done.file)
            done.file->handTo(caller_);
        {
            std::lock_guard lock(mutex_);
            if (!stopped_)
                done_[k] = std::move(done);
        }
        changed_.notify_all();
        if (ready_)
            ready_();
    }
}

FrameRun::Done FrameRun::render(const FrameJob &job) const
{
    Done done;
    done.file = std::make_unique<AtomicFileWriter>(job.path, true);
    if (!done.file->open())
        return done;
    const int factor = output_.antiAlias ? 2 : 1;
    const double zoom = output_.antiAlias ? 1 : output_.zoom;
    RasterJob raster;
    raster.width = int64_t(output_.size.width()) * factor;
    raster.height = int64_t(output_.size.height()) * factor;
    raster.zoom = zoom;
    raster.lineWidth = 1;
    raster.background = kWhite;
    raster.smooth = output_.antiAlias;
    raster.bandRows = output_.size.height(); // one band: the scene is drawn once
    raster.sequential = true;                // the other cores draw other frames
    const MappedRendering rendering(
        source_, unmapped_, job.settings.params,
        SurfaceRect{0, 0, double(raster.width) / zoom, double(raster.height) / zoom}, 1);
    DrawSettings settings = output_.draw;
    settings.colorShiftOn = true;
    settings.hueShift = job.settings.hueShift;
    settings.lightShift = job.settings.lightShift;
    raster.draw = [&](Surface &surface) {
        SurfaceBatch batch(surface);
        rendering.draw(surface, settings);
    };
    StopSink sink(stopped_);
    done.ok = encodeRaster(raster, RasterEncoding::Jpeg, *done.file, &sink).status ==
              RasterResult::Status::Written;
    return done;
}

} // namespace tessella
