// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "fractal/keyframefile.h"
#include "fractal/keyframes.h"
#include "tileeditor/view/tilingdrawer.h"

#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QThread;

namespace tessella {

class AtomicFileWriter;

// One frame file of a run: the number in its name, its path and the frame it holds.
struct FrameJob
{
    int fileIndex = 0;
    int frameIndex = 0;
    QString path;
    FrameSettings settings;
};

// The files of a run from `startIndex` to the last frame, numbered as a run numbers them:
// the file written in an iteration carries the index current at its start and holds the
// frame after the step, so file N holds frame N + 1 and the last file holds frame 0.
// Empty when the frame count is out of range or startIndex is past the last frame.
std::vector<FrameJob> frameJobs(const std::vector<KeyFrame> &keys, int framesPerKey,
                                const FrameSettings &live, int startIndex, const QString &base);
// The same for a key-frame file, its panel settings taken as the live ones.
std::vector<FrameJob> frameJobs(const KeyFrameSet &set, int startIndex, const QString &base);

// Pixels of the "540", "720" and "1080" choices; an empty size for any other number.
QSize frameResolution(int lines);

// How every frame of a run is drawn: the surface is the frame itself, scale origin (0, 0),
// showing size / zoom plane units, drawn with width 1 on white.
struct FrameOutput
{
    QSize size{960, 540}; // pixels of the file
    // Drawn at twice the size and zoom 1, then halved with the 1-2-1 smoothing.
    bool antiAlias = false;
    // The tile editor's zoom, used without anti alias (0.5 after "render").
    double zoom = 0.5;
    // Grid and view options; the colour shifts come from each frame.
    DrawSettings draw;
    // Frames drawn at once (0: one per core).
    int threads = 0;
};

struct FrameOutcome
{
    std::size_t job = 0; // index in the job list
    bool written = false;
    QString message; // when not written: "file not saved", a line break and the path
};

// Writes the frame files of a run off the screen on every core. Each worker takes the
// next frame, maps its own copy of the unmapped tiles with that frame's settings, draws
// it on a surface of its own, smooths and encodes it; frames share nothing, so the files
// are the same, byte for byte, whatever the number of workers.
//
// Results are handed over in job order, and a frame's file replaces its target only when
// its result is handed over. So the files on disk are always the frames the caller was
// told of: after a stop or a failure, frames already drawn beyond it are dropped and
// their targets stay as they were. A run ends at its first failure.
class FrameRun
{
public:
    // Copies what it needs of `doc` (sketches, grid) and the unmapped tiles: the caller
    // may change both while the run goes on. `ready` is called on a worker thread each
    // time a frame is done (so the caller may post itself an event), never after the
    // destructor has returned.
    FrameRun(const Document &doc, const std::vector<Tile> &unmapped, const FrameOutput &output,
             std::vector<FrameJob> jobs, std::function<void()> ready = {});
    ~FrameRun();
    FrameRun(const FrameRun &) = delete;
    FrameRun &operator=(const FrameRun &) = delete;

    // The next result in job order, waiting for it; nothing once the run is over (every
    // job handed over, a failure handed over, or stopped). One thread calls it.
    std::optional<FrameOutcome> next();
    // The same without waiting: also nothing while the next frame is being drawn.
    std::optional<FrameOutcome> tryNext();
    bool over() const;

    // No frame is handed over or written after this; frames in progress are dropped.
    // Any thread.
    void stop();

    const std::vector<FrameJob> &jobs() const { return jobs_; }

private:
    struct Done
    {
        std::unique_ptr<AtomicFileWriter> file; // encoded, not yet committed
        bool ok = false;
    };

    void work();
    Done render(const FrameJob &job) const;
    bool overLocked() const;
    std::optional<FrameOutcome> handOver(std::unique_lock<std::mutex> &lock);

    Document source_; // sketches and grid
    std::vector<Tile> unmapped_;
    FrameOutput output_;
    std::vector<FrameJob> jobs_;
    std::function<void()> ready_;
    QThread *caller_ = nullptr; // commits the files

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<Done>> done_;
    std::size_t started_ = 0;
    std::size_t handed_ = 0;
    std::size_t window_ = 2; // frames drawn ahead of the one handed over next
    std::atomic<bool> stopped_ = false;
    std::vector<std::thread> workers_;
};

} // namespace tessella
