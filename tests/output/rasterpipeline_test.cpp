// SPDX-License-Identifier: GPL-3.0-or-later
// The raster pipeline: smoothing, bands, encoders, atomic writing.
#include "output/export/rasterpipeline.h"
#include "output/export/rowencoder.h"
#include "tests/output/exportfixture.h"

#include <gtest/gtest.h>

#include <random>

#include <fcntl.h>
#include <sys/stat.h>

using namespace tessella;
using namespace tessella::test;
using enum RasterEncoding;
using enum RasterResult::Status;

namespace {

// A drawing of random filled and outlined polygons over a `width` x `height` canvas, the
// same for every band it is asked for.
std::function<void(Surface &)> randomPolygons(int width, int height, unsigned seed)
{
    return [=](Surface &surface) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> px(-20, width + 20), py(-20, height + 20);
        std::uniform_int_distribution<int> colour(0, 0xffffff), corners(3, 7);
        for (int i = 0; i < 40; ++i) {
            std::vector<PixelPoint> points(std::size_t(corners(rng)));
            for (PixelPoint &p : points)
                p = {px(rng), py(rng)};
            surface.setPenColour(colour(rng)), surface.setFillColour(colour(rng));
            surface.setFillStyle(i % 5 == 0 ? kFillUpwardDiagonal : kFillSolid);
            surface.polygon(points);
        }
    };
}

// A job drawing random polygons with the given band height.
// clang-format off
const auto polygonJob = [](int width, int height, int bandRows, int lineWidth = 1) {
    return RasterJob{.width = width, .height = height, .lineWidth = lineWidth, .smooth = true,
                     .draw = randomPolygons(width, height, 7), .bandRows = bandRows, .threads = 2}; };
// clang-format on

class RasterPipeline : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    RasterResult::Status write(const RasterJob &job, RasterEncoding encoding, const QString &name,
                               ExportSink *sink = nullptr) const
    {
        return writeRaster(job, encoding, path(name), sink).status;
    }
    QTemporaryDir dir;
};

} // namespace

// Sizes of every parity, bands of every height and two pen widths: the file is the plain
// 1-2-1 sum over the picture drawn whole.
TEST_F(RasterPipeline, BandsOfEveryHeightGiveTheSmoothedPictureInAnyRowOrderReadBackIndependently)
{
    const std::tuple<int, int, int> sizes[] = {{1, 1, 1}, {2, 2, 1},   {3, 1, 1},  {1, 4, 1},
                                               {7, 5, 1}, {61, 47, 1}, {61, 47, 4}};
    for (const auto &[w, h, lineWidth] : sizes) {
        const QImage expected =
            referenceSmooth(drawWhole(w, h, randomPolygons(w, h, 7), lineWidth));
        for (int rows = 1; rows <= (h + 1) / 2 + 1; ++rows) {
            const QString name = QString("band%1.bmp").arg(rows);
            ASSERT_EQ(write(polygonJob(w, h, rows, lineWidth), Bmp, name), Written);
            ASSERT_EQ(readImage(path(name)), expected)
                << w << " x " << h << ", " << rows << " rows, pen " << lineWidth;
        }
    }

    // BMP rows land at their place whatever order they come in.
    const QImage source =
        drawWhole(5, 7, randomPolygons(5, 7, 3)).convertToFormat(QImage::Format_RGB888);
    AtomicFileWriter file(path("any.bmp"));
    ASSERT_TRUE(file.open());
    // Too large for the type, or no rows: refused before a byte is written.
    EXPECT_FALSE(makeBmpEncoder(file)->begin(40000, 40000) || makeBmpEncoder(file)->begin(5, 0) ||
                 makeJpegEncoder(file, 90)->begin(65501, 5) ||
                 makeJpegEncoder(file, 90)->begin(0, 5));
    EXPECT_TRUE(bmpFits(30000, 30000) && !bmpFits(40000, 40000) && !bmpFits(0, 5));
    const auto encoder = makeBmpEncoder(file);
    ASSERT_TRUE(encoder->begin(5, 7));
    for (const auto &[y, rows] : {std::pair{5, 2}, {2, 3}, {0, 2}}) // the bottom band first
        ASSERT_TRUE(encoder->writeRows(y, rows, source.constScanLine(y), source.bytesPerLine()));
    ASSERT_TRUE(encoder->finish() && file.commit());
    EXPECT_EQ(readImage(path("any.bmp")), source.convertToFormat(QImage::Format_RGB32));

    // The header's file size past 64 KiB, which Qt's reader does not look at.
    AtomicFileWriter big(path("big.bmp"));
    const auto wide = makeBmpEncoder(big);
    const std::vector<uint8_t> row(3 * 200);
    ASSERT_TRUE(big.open() && wide->begin(200, 120));
    for (int y = 0; y < 120; ++y)
        ASSERT_TRUE(wide->writeRows(y, 1, row.data(), qsizetype(row.size())));
    ASSERT_TRUE(wide->finish() && big.commit());
    const QByteArray bytes = fileBytes(path("big.bmp"));
    EXPECT_EQ(u32At(bytes, 2), uint32_t(bytes.size()));

    // PNG, like BMP above, holds the smoothed picture exactly, band seams included.
    ASSERT_EQ(write(polygonJob(61, 47, 5), Png, "p.png"), Written);
    EXPECT_EQ(readImage(path("p.png")),
              referenceSmooth(drawWhole(61, 47, randomPolygons(61, 47, 7))));

    // Four flat quarters: lossy JPEG stays close to them away from the seams.
    const auto quarters = [](Surface &surface) {
        const Colour colours[4] = {0x2040c0, 0xc08020, 0x30a050, 0xe0e0e0};
        for (int q = 0; q < 4; ++q) {
            const int x = (q % 2) * 45, y = (q / 2) * 32;
            surface.setPenColour(colours[q]), surface.setFillColour(colours[q]);
            surface.polygon(
                std::vector<PixelPoint>{{x, y}, {x + 44, y}, {x + 44, y + 31}, {x, y + 31}});
        }
    };
    RasterJob job = polygonJob(90, 64, 5);
    job.draw = quarters;
    ASSERT_EQ(write(job, Jpeg, "q.jpg"), Written);
    const QImage read = readImage(path("q.jpg")),
                 expected = referenceSmooth(drawWhole(90, 64, quarters));
    ASSERT_EQ(read.size(), expected.size());
    for (const QPoint &p : {QPoint(11, 8), QPoint(33, 8), QPoint(11, 24), QPoint(33, 24)})
        for (int shift : {0, 8, 16}) // each channel
            EXPECT_NEAR(read.pixel(p) >> shift & 0xff, expected.pixel(p) >> shift & 0xff, 3)
                << shift;
}

TEST_F(RasterPipeline, ProgressRisesByFileRowsACancelKeepsTheOldFileAReplacedOneItsMode)
{
    RecordingSink sink;
    ASSERT_EQ(write(polygonJob(40, 40, 3), Png, "p.png", &sink), Written);
    ASSERT_EQ(sink.fractions.size(), 7u); // 20 rows in bands of 3
    EXPECT_TRUE(sink.fractions.front() == 3.0 / 20 && std::ranges::is_sorted(sink.fractions) &&
                sink.fractions.back() == 1.0);

    for (const RasterEncoding encoding : {Bmp, Jpeg, Png}) {
        ASSERT_TRUE(putFile(path("p.png"), "the old picture"));
        RecordingSink cancelling(2);
        EXPECT_EQ(write(polygonJob(400, 400, 10), encoding, "p.png", &cancelling), Cancelled);
        EXPECT_TRUE(cancelling.fractions.size() == 2 &&
                    fileBytes(path("p.png")) == "the old picture");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.png"});
    }

    // A replaced JPEG keeps its times and permission bits.
    const QByteArray out = QFile::encodeName(path("kept.jpg"));
    ASSERT_TRUE(putFile(path("kept.jpg"), "old"));
    ASSERT_EQ(::chmod(out.constData(), 0640), 0);
    const struct timespec times[2] = {{1000000000, 0}, {1100000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, out.constData(), times, 0), 0);
    ASSERT_EQ(write(polygonJob(30, 30, 4), Jpeg, "kept.jpg"), Written);
    struct stat st = {};
    ASSERT_EQ(::stat(out.constData(), &st), 0);
    EXPECT_TRUE((st.st_mode & 07777) == 0640 && st.st_atim.tv_sec == 1000000000 &&
                st.st_mtim.tv_sec == 1100000000);
    EXPECT_FALSE(readImage(path("kept.jpg")).isNull());
}
