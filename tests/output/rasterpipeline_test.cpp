// SPDX-License-Identifier: GPL-3.0-or-later
// The raster pipeline: smoothing, bands, encoders, atomic writing.
#include "output/export/rasterpipeline.h"
#include "output/export/rowencoder.h"
#include "output/export/smoothing.h"
#include "platform/fileio.h"
#include "tests/output/exportfixture.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <random>

using namespace tessella;
using namespace tessella::test;

namespace {

QImage randomImage(int width, int height, unsigned seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, 0xff000000u | (rng() & 0xffffffu));
        }
    }
    return image;
}

QImage smoothWithRows(const QImage &source)
{
    const int w = source.width(), h = source.height();
    QImage out((w + 1) / 2, (h + 1) / 2, QImage::Format_RGB888);
    auto row = [&](int y) {
        return reinterpret_cast<const uint32_t *>(source.constScanLine(std::clamp(y, 0, h - 1)));
    };
    for (int oy = 0; oy < out.height(); ++oy) {
        smoothRow(row(2 * oy - 1), row(2 * oy), row(2 * oy + 1), w, out.scanLine(oy));
    }
    return out.convertToFormat(QImage::Format_RGB32);
}

QImage readImage(const QString &path, const char *format)
{
    QImageReader reader(path, format);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

// A job drawing random polygons, written as BMP (lossless), with the given band height.
RasterJob polygonJob(int width, int height, bool smooth, int bandRows, int threads = 2)
{
    RasterJob job;
    job.width = width;
    job.height = height;
    job.smooth = smooth;
    job.bandRows = bandRows;
    job.threads = threads;
    job.draw = randomPolygons(width, height, 7);
    return job;
}

class RasterPipeline : public ::testing::Test
{
protected:
    void TearDown() override { setWriteFailureForTesting(false); }
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST(Smoothing, MatchesThePlainSumOnRandomImagesOfEveryParity)
{
    for (const auto &[w, h] :
         {std::pair{1, 1}, {2, 2}, {3, 1}, {1, 4}, {7, 5}, {64, 33}, {101, 98}}) {
        const QImage source = randomImage(w, h, unsigned(w * 1000 + h));
        EXPECT_EQ(smoothWithRows(source), referenceSmooth(source)) << w << " x " << h;
    }
}

TEST_F(RasterPipeline, BandsOfEveryHeightGiveTheWholeImagePicture)
{
    const int w = 61, h = 47;
    for (int lineWidth : {1, 4}) {
        const QImage expected =
            referenceSmooth(drawWhole(w, h, randomPolygons(w, h, 7), lineWidth));
        for (int rows = 1; rows <= (h + 1) / 2 + 1; ++rows) {
            RasterJob job = polygonJob(w, h, true, rows);
            job.lineWidth = lineWidth;
            const QString out = path(QString("band%1.bmp").arg(rows));
            ASSERT_EQ(writeRaster(job, RasterEncoding::Bmp, out).status,
                      RasterResult::Status::Written);
            ASSERT_EQ(readImage(out, "bmp"), expected) << rows << " rows, width " << lineWidth;
        }
    }
}

TEST_F(RasterPipeline, ZoomOneWritesTheDrawnPixelsUnchanged)
{
    const int w = 100, h = 50;
    const QString out = path("plain.bmp");
    ASSERT_EQ(writeRaster(polygonJob(w, h, false, 7), RasterEncoding::Bmp, out).status,
              RasterResult::Status::Written);
    EXPECT_EQ(readImage(out, "bmp"), drawWhole(w, h, randomPolygons(w, h, 7)));
}

TEST(BmpEncoding, BytesPerScanLinePadToFour)
{
    for (const auto &[width, bytes] : {std::pair{1, 4}, {4, 12}, {5, 16}, {2, 8}, {3, 12}}) {
        EXPECT_EQ(bmpBytesPerScanLine(width), bytes) << width;
    }
    EXPECT_TRUE(bmpFits(30000, 30000));
    EXPECT_FALSE(bmpFits(40000, 40000)); // over 4 GB
}

TEST_F(RasterPipeline, BmpRowsLandAtTheirPlaceWhateverOrderTheyCome)
{
    const QImage source = randomImage(5, 7, 3).convertToFormat(QImage::Format_RGB888);
    AtomicFileWriter file(path("any.bmp"));
    ASSERT_TRUE(file.open());
    const auto encoder = makeBmpEncoder(file);
    ASSERT_TRUE(encoder->begin(5, 7));
    for (int y : {5, 2, 0}) { // bands of 2, 3 and 2 rows, bottom band first
        const int rows = y == 2 ? 3 : 2;
        ASSERT_TRUE(encoder->writeRows(y, rows, source.constScanLine(y), source.bytesPerLine()));
    }
    ASSERT_TRUE(encoder->finish());
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(readImage(path("any.bmp"), "bmp"), source.convertToFormat(QImage::Format_RGB32));
}

TEST_F(RasterPipeline, EveryEncoderIsReadBackByAnIndependentDecoder)
{
    // Four flat quarters: lossy JPEG stays close to them away from the seams.
    const int w = 90, h = 64;
    const auto quarters = [](Surface &surface) {
        const Colour colours[4] = {0x2040c0, 0xc08020, 0x30a050, 0xe0e0e0};
        for (int q = 0; q < 4; ++q) {
            const int x = (q % 2) * 45, y = (q / 2) * 32;
            surface.setPenColour(colours[q]);
            surface.setFillColour(colours[q]);
            surface.polygon(
                std::vector<PixelPoint>{{x, y}, {x + 44, y}, {x + 44, y + 31}, {x, y + 31}});
        }
    };
    const QImage expected = referenceSmooth(drawWhole(w, h, quarters));
    struct Case
    {
        RasterEncoding encoding;
        const char *name;
        int tolerance; // per channel
    };
    for (const Case &c : {Case{RasterEncoding::Bmp, "bmp", 0}, Case{RasterEncoding::Png, "png", 0},
                          Case{RasterEncoding::Jpeg, "jpg", 3}}) {
        const QString out = path(QString("read.") + c.name);
        RasterJob job = polygonJob(w, h, true, 5);
        job.draw = quarters;
        ASSERT_EQ(writeRaster(job, c.encoding, out).status, RasterResult::Status::Written);
        const QImage read = readImage(out, c.name);
        ASSERT_EQ(read.size(), expected.size()) << c.name;
        // Quarter centres, away from the seams the lossy encoder blurs.
        for (const QPoint &p : {QPoint(11, 8), QPoint(33, 8), QPoint(11, 24), QPoint(33, 24)}) {
            const QRgb got = read.pixel(p), want = expected.pixel(p);
            EXPECT_LE(std::abs(qRed(got) - qRed(want)), c.tolerance) << c.name;
            EXPECT_LE(std::abs(qGreen(got) - qGreen(want)), c.tolerance) << c.name;
            EXPECT_LE(std::abs(qBlue(got) - qBlue(want)), c.tolerance) << c.name;
        }
    }
}

TEST_F(RasterPipeline, AFailedOrCancelledWriteLeavesTheOldFileWhole)
{
    const QByteArray old = "the old picture";
    for (const RasterEncoding encoding :
         {RasterEncoding::Bmp, RasterEncoding::Jpeg, RasterEncoding::Png}) {
        const QString out = path("old.img");
        writeFile(out, old);
        setWriteFailureForTesting(true);
        const RasterResult failed = writeRaster(polygonJob(400, 400, true, 10), encoding, out);
        setWriteFailureForTesting(false);
        EXPECT_EQ(failed.status, RasterResult::Status::Failed);
        EXPECT_EQ(fileBytes(out), old);

        RecordingSink sink(2);
        const RasterResult cancelled =
            writeRaster(polygonJob(400, 400, true, 10), encoding, out, &sink);
        EXPECT_EQ(cancelled.status, RasterResult::Status::Cancelled);
        EXPECT_EQ(sink.fractions.size(), 2u);
        EXPECT_EQ(fileBytes(out), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.img"});
    }
}

TEST_F(RasterPipeline, ProgressRisesToOneByFileRows)
{
    RecordingSink sink;
    ASSERT_EQ(
        writeRaster(polygonJob(40, 40, true, 3), RasterEncoding::Png, path("p.png"), &sink).status,
        RasterResult::Status::Written);
    ASSERT_EQ(sink.fractions.size(), 7u); // 20 rows in bands of 3
    EXPECT_DOUBLE_EQ(sink.fractions.front(), 3.0 / 20);
    EXPECT_TRUE(std::is_sorted(sink.fractions.begin(), sink.fractions.end()));
    EXPECT_DOUBLE_EQ(sink.fractions.back(), 1.0);
}

TEST_F(RasterPipeline, AReplacedJpegKeepsItsTimesAndPermissionBits)
{
    const QString out = path("kept.jpg");
    writeFile(out, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(out).constData(), 0640), 0);
    const struct timespec times[2] = {{1000000000, 0}, {1100000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(out).constData(), times, 0), 0);

    ASSERT_EQ(writeRaster(polygonJob(30, 30, true, 4), RasterEncoding::Jpeg, out).status,
              RasterResult::Status::Written);
    struct stat st
    {};
    ASSERT_EQ(::stat(QFile::encodeName(out).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_atim.tv_sec, 1000000000);
    EXPECT_EQ(st.st_mtim.tv_sec, 1100000000);
    EXPECT_FALSE(readImage(out, "jpg").isNull());
}
