// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/framerun.h"
#include "fractal/render.h"
#include "output/export/rasterpipeline.h"
#include "tests/support/files.h"
#include "tests/support/tilebuilder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <semaphore>

namespace tessella {
namespace {

using test::fileBytes;

// Two key frames; at 8 frames per key, 9 frames moving the circle and turning the hue.
std::vector<KeyFrame> twoKeys()
{
    // clang-format off
    const KeyFrame a{.centerX = 100, .centerY = 90, .radius = 60, .aspect = 1, .falloffValue = 10,
                     .baseValue = 20, .sizeValue = 10};
    // clang-format on
    KeyFrame b = a;
    b.centerX = 220, b.centerY = 150, b.radius = 110, b.hueValue = 200;
    std::vector<KeyFrame> keys{a, b};
    initCP(keys, 1);
    return keys;
}

TEST(FrameJobs, FileNTakesTheFrameAfterItAndTheLastFileFrameZero)
{
    // clang-format off
    const struct { int start, framesPerKey; std::vector<int> files, frames; } rows[] = {
        {0, 8, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8, 0}}, {7, 8, {7, 8}, {8, 0}},
        {0, 1, {0, 1}, {1, 0}}, {9, 8, {}, {}}, {0, 0, {}, {}}, {0, 32767, {}, {}}};
    // clang-format on
    for (const auto &r : rows) {
        std::vector<int> files, frames;
        for (const FrameJob &j : frameJobs(twoKeys(), r.framesPerKey, {}, r.start, "m")) {
            files.push_back(j.fileIndex), frames.push_back(j.frameIndex);
            EXPECT_EQ(j.path, frameFileName("m", j.fileIndex));
        }
        EXPECT_EQ(std::pair(files, frames), std::pair(r.files, r.frames))
            << r.start << " " << r.framesPerKey;
    }
    // Each file holds its frame: the one before the last key frame 1, the last key frame 0.
    const std::vector<FrameJob> jobs = frameJobs(twoKeys(), 8, {}, 0, "m");
    EXPECT_TRUE(jobs[7].settings.hueShift == 200 && jobs[8].settings.params.refRadius == 60);
}

class FrameRunFiles : public ::testing::Test
{
protected:
    FrameRunFiles()
    {
        for (int i = 0; i < 48; ++i)
            doc.tiles.push_back(
                test::squareTile(i % 8 * 40, i / 8 * 40, 40, 0x2050a0 + 0x1f07 * i));
    }
    static FrameOutput output(int threads, bool antiAlias)
    {
        return FrameOutput{QSize(96, 54), antiAlias, 0.25, {}, threads};
    }
    // The frame as the panel renders it (Frender) on a surface of the frame's size,
    // through the same encoder.
    QByteArray panelFrame(const FrameJob &job, bool antiAlias)
    {
        Document live = doc;
        FractalSnapshot snapshot;
        snapshot.fBackup(live);
        const int factor = antiAlias ? 2 : 1;
        // clang-format off
        RasterJob raster{.width = 96 * factor, .height = 54 * factor, .zoom = antiAlias ? 1 : 0.25,
                         .smooth = antiAlias, .draw = {}, .bandRows = 54};
        // clang-format on
        raster.draw = [&](Surface &surface) {
            DrawSettings settings;
            settings.colorShiftOn = true, settings.hueShift = job.settings.hueShift;
            TilingDrawer drawer(surface, live, settings);
            Frender(drawer, live, snapshot, job.settings.params,
                    SurfaceRect{0, 0, raster.width / raster.zoom, raster.height / raster.zoom});
        };
        const QString path = dir.filePath("panel.jpg");
        EXPECT_EQ(writeRaster(raster, RasterEncoding::Jpeg, path).status,
                  RasterResult::Status::Written);
        return fileBytes(path);
    }

    Document doc;
    QTemporaryDir dir;
};

TEST_F(FrameRunFiles, AllCoresWriteTheOneCoreBytesAndWhatThePanelDraws)
{
    FrameSettings live; // the finest pieces: the zoom shows in the outlines
    live.params.granularity = 0;
    const std::vector<FrameJob> jobs = frameJobs(twoKeys(), 8, live, 0, dir.filePath("f"));
    for (bool antiAlias : {false, true}) {
        FrameRun single(doc, doc.tiles, output(1, antiAlias), jobs);
        std::vector<QByteArray> one;
        while (auto o = single.next())
            one.push_back(fileBytes(jobs[o->job].path));
        ASSERT_EQ(one.size(), jobs.size());

        // All cores, collected as a window does: woken by `ready`, never waiting in tryNext.
        std::counting_semaphore<64> woken(0);
        FrameRun all(doc, doc.tiles, output(0, antiAlias), jobs, [&] { woken.release(); });
        std::size_t handed = 0;
        while (!all.over()) {
            woken.acquire();
            while (auto o = all.tryNext()) {
                EXPECT_EQ(o->job, handed++);
                EXPECT_EQ(fileBytes(jobs[o->job].path), one[o->job]) << o->job;
            }
        }
        EXPECT_EQ(handed, jobs.size());
        EXPECT_NE(one[3], one[4]);
        for (std::size_t k : {3, 8})
            EXPECT_EQ(panelFrame(jobs[k], antiAlias), one[k]) << k << " " << antiAlias;
    }
}

TEST_F(FrameRunFiles, StopAndFailureKeepOnlyTheFramesHandedOver)
{
    std::vector<FrameJob> jobs = frameJobs(twoKeys(), 8, {}, 0, dir.filePath("f"));
    ASSERT_TRUE(test::putFile(jobs[1].path, "old"));
    {
        FrameRun run(doc, doc.tiles, output(2, false), jobs);
        ASSERT_TRUE(run.next().has_value());
        run.stop();
        EXPECT_FALSE(run.next().has_value());
    }
    EXPECT_TRUE(QFile::exists(jobs[0].path));
    EXPECT_EQ(fileBytes(jobs[1].path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // A frame that cannot be written ends the run with the message; no later one is written.
    jobs[1].path = dir.filePath("missing/f001.jpg");
    FrameRun run(doc, doc.tiles, output(2, false), jobs);
    EXPECT_TRUE(run.next()->written);
    EXPECT_EQ(run.next().value_or(FrameOutcome{}).message, "file not saved\n" + jobs[1].path);
    EXPECT_FALSE(run.next().has_value());
    EXPECT_FALSE(QFile::exists(jobs[2].path));
}

} // namespace
} // namespace tessella
