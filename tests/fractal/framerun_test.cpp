// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/framerun.h"
#include "fractal/render.h"
#include "output/export/rasterpipeline.h"
#include "tests/support/tilebuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <semaphore>

namespace tessella {
namespace {

// Two key frames; at 8 frames per key, 9 frames moving the circle and turning the hue.
std::vector<KeyFrame> twoKeys()
{
    KeyFrame a;
    a.centerX = 100, a.centerY = 90, a.radius = 60, a.aspect = 1;
    a.falloffValue = 10, a.baseValue = 20, a.sizeValue = 10;
    KeyFrame b = a;
    b.centerX = 220, b.centerY = 150, b.radius = 110, b.hueValue = 200;
    std::vector<KeyFrame> keys{a, b};
    initCP(keys, 1);
    return keys;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(FrameJobs, FileNTakesTheFrameAfterItAndTheLastFileFrameZero)
{
    struct Row
    {
        int start, framesPerKey;
        std::vector<int> files, frames;
    };
    for (const Row &r : {Row{0, 8, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
                         Row{7, 8, {7, 8}, {8, 0}}, Row{0, 1, {0, 1}, {1, 0}}, Row{9, 8, {}, {}},
                         Row{0, 0, {}, {}}, Row{0, 32767, {}, {}}}) {
        std::vector<int> files, frames;
        for (const FrameJob &j : frameJobs(twoKeys(), r.framesPerKey, {}, r.start, "m")) {
            files.push_back(j.fileIndex);
            frames.push_back(j.frameIndex);
            EXPECT_EQ(j.path, frameFileName("m", j.fileIndex));
        }
        EXPECT_EQ(files, r.files) << r.start << " " << r.framesPerKey;
        EXPECT_EQ(frames, r.frames) << r.start << " " << r.framesPerKey;
    }
    // Each file holds its frame: the one before the last key frame 1, the last key frame 0.
    const std::vector<FrameJob> jobs = frameJobs(twoKeys(), 8, {}, 0, "m");
    EXPECT_EQ(jobs[7].settings.hueShift, 200);
    EXPECT_EQ(jobs[8].settings.params.refRadius, 60);
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
        RasterJob raster;
        raster.width = 96 * factor, raster.height = 54 * factor, raster.bandRows = 54;
        raster.zoom = antiAlias ? 1 : 0.25;
        raster.smooth = antiAlias;
        raster.draw = [&](Surface &surface) {
            DrawSettings settings;
            settings.colorShiftOn = true;
            settings.hueShift = job.settings.hueShift;
            TilingDrawer drawer(surface, live, settings);
            Frender(drawer, live, snapshot, job.settings.params,
                    SurfaceRect{0, 0, raster.width / raster.zoom, raster.height / raster.zoom});
        };
        const QString path = dir.filePath("panel.jpg");
        EXPECT_EQ(writeRaster(raster, RasterEncoding::Jpeg, path).status,
                  RasterResult::Status::Written);
        return bytesOf(path);
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
            one.push_back(bytesOf(jobs[o->job].path));
        ASSERT_EQ(one.size(), jobs.size());

        // All cores, collected as a window does: woken by `ready`, never waiting in tryNext.
        std::counting_semaphore<64> woken(0);
        FrameRun all(doc, doc.tiles, output(0, antiAlias), jobs, [&] { woken.release(); });
        std::size_t handed = 0;
        while (!all.over()) {
            woken.acquire();
            while (auto o = all.tryNext()) {
                EXPECT_EQ(o->job, handed++);
                EXPECT_EQ(bytesOf(jobs[o->job].path), one[o->job]) << o->job;
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
    QFile old(jobs[1].path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    {
        FrameRun run(doc, doc.tiles, output(2, false), jobs);
        ASSERT_TRUE(run.next().has_value());
        run.stop();
        EXPECT_FALSE(run.next().has_value());
    }
    EXPECT_TRUE(QFile::exists(jobs[0].path));
    EXPECT_EQ(bytesOf(jobs[1].path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // A frame that cannot be written ends the run with the message; no later one is written.
    jobs[1].path = dir.filePath("missing/f001.jpg");
    FrameRun run(doc, doc.tiles, output(2, false), jobs);
    EXPECT_TRUE(run.next()->written);
    const std::optional<FrameOutcome> failed = run.next();
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->message, "file not saved\n" + jobs[1].path);
    EXPECT_FALSE(run.next().has_value());
    EXPECT_FALSE(QFile::exists(jobs[2].path));
}

} // namespace
} // namespace tessella
