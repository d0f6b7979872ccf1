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

Document squares()
{
    Document doc;
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 6; ++j)
            doc.tiles.push_back(
                test::squareTile(i * 40, j * 40, 40, 0x2050a0 + 0x1f0700 * (i + j)));
    return doc;
}

KeyFrame key(double x, double y, float radius, int hue)
{
    KeyFrame k;
    k.centerX = x, k.centerY = y, k.radius = radius, k.aspect = 1;
    k.falloffValue = 10, k.baseValue = 20, k.sizeValue = 10, k.hueValue = hue;
    return k;
}

// Two key frames; at 8 frames per key, 9 frames moving the circle and turning the hue.
std::vector<KeyFrame> twoKeys()
{
    std::vector<KeyFrame> keys{key(100, 90, 60, 0), key(220, 150, 110, 200)};
    initCP(keys, 1);
    return keys;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<FrameOutcome> runAll(FrameRun &run)
{
    std::vector<FrameOutcome> out;
    while (auto o = run.next())
        out.push_back(*o);
    return out;
}

TEST(FrameJobs, FileNTakesTheFrameAfterItAndTheLastFileFrameZero)
{
    const std::vector<KeyFrame> keys = twoKeys();
    struct Row
    {
        int start, framesPerKey;
        std::vector<int> files, frames;
    };
    for (const Row &r : {Row{0, 8, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
                         Row{7, 8, {7, 8}, {8, 0}}, Row{-3, 1, {0, 1}, {1, 0}}, Row{9, 8, {}, {}},
                         Row{0, 0, {}, {}}, Row{0, 32767, {}, {}}}) {
        const std::vector<FrameJob> jobs = frameJobs(keys, r.framesPerKey, {}, r.start, "m");
        std::vector<int> files, frames;
        for (const FrameJob &j : jobs) {
            files.push_back(j.fileIndex);
            frames.push_back(j.frameIndex);
            EXPECT_EQ(j.path, frameFileName("m", j.fileIndex));
        }
        EXPECT_EQ(files, r.files) << r.start << " " << r.framesPerKey;
        EXPECT_EQ(frames, r.frames) << r.start << " " << r.framesPerKey;
    }
    // The last file shows key frame 0, the one before it key frame 1, as stored.
    const std::vector<FrameJob> jobs = frameJobs(keys, 8, {}, 0, "m");
    EXPECT_EQ(jobs.back().settings.params.refRadius, 60);
    EXPECT_EQ(jobs[7].settings.params.refRadius, 110);
    EXPECT_EQ(jobs[7].settings.hueShift, 200);
}

class FrameRunFiles : public ::testing::Test
{
protected:
    Document doc = squares();
    QTemporaryDir dir;
    QString base() const { return dir.filePath("f"); }
    FrameOutput output(int threads, bool antiAlias) const
    {
        FrameOutput o;
        o.size = QSize(96, 54);
        o.antiAlias = antiAlias;
        o.threads = threads;
        return o;
    }
};

// The panel's own rendering (Frender) of the frame on a surface of the frame's size,
// through the same encoder: what the frame file must hold.
QByteArray panelFrame(const Document &doc, const FrameJob &job, const FrameOutput &o,
                      const QString &path)
{
    Document live = doc;
    FractalSnapshot snapshot;
    snapshot.fBackup(live);
    const int factor = o.antiAlias ? 2 : 1;
    RasterJob raster;
    raster.width = o.size.width() * factor, raster.height = o.size.height() * factor;
    raster.zoom = o.antiAlias ? 1 : o.zoom;
    raster.smooth = o.antiAlias;
    raster.bandRows = o.size.height();
    raster.threads = 1;
    raster.draw = [&](Surface &surface) {
        DrawSettings settings;
        settings.colorShiftOn = true;
        settings.hueShift = job.settings.hueShift;
        settings.lightShift = job.settings.lightShift;
        TilingDrawer drawer(surface, live, settings);
        Frender(drawer, live, snapshot, job.settings.params,
                SurfaceRect{0, 0, raster.width / raster.zoom, raster.height / raster.zoom});
    };
    EXPECT_EQ(writeRaster(raster, RasterEncoding::Jpeg, path).status,
              RasterResult::Status::Written);
    return bytesOf(path);
}

TEST_F(FrameRunFiles, AllCoresWriteTheOneCoreBytesAndWhatThePanelDraws)
{
    for (bool antiAlias : {false, true}) {
        const std::vector<FrameJob> jobs = frameJobs(twoKeys(), 8, {}, 0, base());
        FrameRun single(doc, doc.tiles, output(1, antiAlias), jobs);
        ASSERT_EQ(runAll(single).size(), jobs.size());
        std::vector<QByteArray> one;
        for (const FrameJob &j : jobs)
            one.push_back(bytesOf(j.path));

        // All cores, collected the way a window does: woken by `ready`, without waiting.
        std::counting_semaphore<64> woken(0);
        FrameRun all(doc, doc.tiles, output(0, antiAlias), jobs, [&] { woken.release(); });
        std::vector<std::size_t> order;
        while (!all.over()) {
            woken.acquire();
            while (auto o = all.tryNext()) {
                EXPECT_TRUE(o->written) << o->message.toStdString();
                order.push_back(o->job);
            }
        }
        EXPECT_EQ(order, std::vector<std::size_t>({0, 1, 2, 3, 4, 5, 6, 7, 8}));
        for (std::size_t k = 0; k < jobs.size(); ++k) {
            EXPECT_FALSE(one[k].isEmpty());
            EXPECT_EQ(bytesOf(jobs[k].path), one[k]) << k;
        }
        for (std::size_t k : {std::size_t(3), std::size_t(8)})
            EXPECT_EQ(panelFrame(doc, jobs[k], output(1, antiAlias), dir.filePath("panel.jpg")),
                      one[k])
                << k << " " << antiAlias;
        EXPECT_NE(one[3], one[4]);
    }
}

TEST_F(FrameRunFiles, StopAndFailureKeepOnlyTheFramesHandedOver)
{
    std::vector<FrameJob> jobs = frameJobs(twoKeys(), 8, {}, 0, base());
    QFile old(jobs[1].path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old frame");
    old.close();
    {
        FrameRun run(doc, doc.tiles, output(2, false), jobs);
        ASSERT_TRUE(run.next().has_value());
        run.stop();
        EXPECT_FALSE(run.next().has_value());
        EXPECT_TRUE(run.over());
    }
    EXPECT_TRUE(QFile::exists(jobs[0].path));
    EXPECT_EQ(bytesOf(jobs[1].path), "old frame");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
              2); // no temporary left

    // A frame that cannot be written ends the run with the message and writes no later one.
    jobs[1].path = dir.filePath("missing/f001.jpg");
    FrameRun run(doc, doc.tiles, output(2, false), jobs);
    const std::vector<FrameOutcome> outcomes = runAll(run);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes[0].written);
    EXPECT_FALSE(outcomes[1].written);
    EXPECT_EQ(outcomes[1].message, "file not saved\n" + jobs[1].path);
    EXPECT_FALSE(QFile::exists(jobs[2].path));
}

} // namespace
} // namespace tessella
