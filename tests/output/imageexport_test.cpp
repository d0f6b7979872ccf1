// SPDX-License-Identifier: GPL-3.0-or-later
// The export pass: file types, sizes and zoom, refusals, failures, raster output.
#include "output/export/imageexport.h"
#include "platform/fileio.h"
#include "tests/output/exportfixture.h"
#include "tests/qtapp.h"
#include "tests/support/tilebuilder.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tessella;
using namespace tessella::test;

namespace {

class ImageExport : public ::testing::Test
{
protected:
    void SetUp() override { qtApp(); }
    void TearDown() override { setWriteFailureForTesting(false); }

    ExportRequest request(const QString &name, PrintArea area, int zoom = 2)
    {
        ExportRequest r;
        r.path = dir.filePath(name);
        r.format = *classifyImagePath(name);
        r.area = area;
        r.qualityZoom = zoom;
        return r;
    }

    QTemporaryDir dir;
    // One red square covering the plane from (0, 0) to (400, 400).
    Document doc = documentOf({squareTile(0, 0, 400, 0x0000ff)});
};

QImage readBack(const QString &path)
{
    return QImageReader(path).read().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(ImageTypes, TheLastThreeCharactersNameTheTypeExactly)
{
    const std::pair<const char *, std::optional<ImageFormat>> cases[] = {
        {"a.bmp", ImageFormat::Bmp}, {"a.jpg", ImageFormat::Jpeg}, {"a.emf", ImageFormat::Emf},
        {"a.wmf", ImageFormat::Wmf}, {"a.png", ImageFormat::Png},  {"a.svg", ImageFormat::Svg},
        {"a.pdf", ImageFormat::Pdf}, {"a.JPG", std::nullopt},      {"a.jpeg", std::nullopt},
        {"jpg", ImageFormat::Jpeg},  {"", std::nullopt},           {"a.tif", std::nullopt},
    };
    for (const auto &[path, format] : cases) {
        EXPECT_EQ(classifyImagePath(path), format) << path;
    }
    EXPECT_EQ(unrecognizedTypeMessage("/tmp/x.JPG"), ".JPG is not a recognized file type");
    EXPECT_EQ(unrecognizedTypeMessage("/tmp/x.jpeg"), "jpeg is not a recognized file type");
}

TEST_F(ImageExport, BetterDrawsTwiceTheAreaAndWritesItsSize)
{
    // The scene sees every band; together they must cover the 200 x 100 drawing exactly.
    std::mutex mutex;
    int64_t rows = 0;
    int width = 0;
    double zoom = 0;
    ExportRequest r = request("better.jpg", {10, 20, 110, 70}, 2);
    r.scene = [&](Surface &surface, const DrawSettings &settings) {
        const PixelRect area = *surface.visibleArea();
        std::lock_guard lock(mutex);
        width = area.right - area.left + 1;
        zoom = surface.zoom();
        EXPECT_EQ(surface.originX(), 10);
        EXPECT_EQ(surface.originY(), 20);
        EXPECT_EQ(surface.penWidth(), 2);
        EXPECT_EQ(settings.vectorTarget, nullptr);
        // Rows inside the drawing, without the overlap the smoothing needs.
        rows += std::min(area.bottom, 99) / 2 - (area.top + 1) / 2 + 1;
        drawTilingScene(doc, surface, settings);
    };
    ASSERT_TRUE(exportImage(doc, r).written());
    EXPECT_EQ(width, 200);
    EXPECT_EQ(zoom, 2);
    EXPECT_EQ(rows, 50);
    EXPECT_EQ(readBack(r.path).size(), QSize(100, 50));
}

TEST_F(ImageExport, ScreenQualityWritesTheDrawingUnsmoothed)
{
    Document two = documentOf({squareTile(0, 0, 30, 0x0000ff), squareTile(30, 0, 30, 0xff0000)});
    const ExportRequest r = request("screen.bmp", {0, 0, 100, 50}, 1);
    ASSERT_TRUE(exportImage(two, r).written());
    const QImage expected =
        drawWhole(100, 50, [&](Surface &s) { drawTilingScene(two, s, DrawSettings{}); });
    EXPECT_EQ(readBack(r.path), expected);
}

TEST_F(ImageExport, AnAreaAwayFromTheOriginIsWrittenToItsLastRow)
{
    // Top 300, bottom 500 at "better", inside a red square reaching to 1000: every row of
    // the file is red, the last one included.
    const Document big = documentOf({squareTile(0, 0, 1000, 0x0000ff)});
    const ExportRequest r = request("low.png", {100, 300, 200, 500}, 2);
    ASSERT_TRUE(exportImage(big, r).written());
    const QImage image = readBack(r.path);
    ASSERT_EQ(image.size(), QSize(100, 200));
    for (int y : {0, 100, 199}) {
        EXPECT_EQ(image.pixel(50, y), qRgb(255, 0, 0)) << y;
    }
}

TEST_F(ImageExport, OversizedImagesAreRefusedAndNothingIsWritten)
{
    const QString old = "old";
    struct Case
    {
        const char *name;
        PrintArea area;
        int zoom;
    };
    const Case refused[] = {
        {"wide.jpg", {0, 0, 16400, 10}, 8},                   // 65,600 px a side
        {"huge.bmp", {0, 0, 100000, 100000}, 1},              // past 4 GB
        {"far.png", {-2147483647 - 1, 0, 2147483647, 10}, 8}, // past the drawing's reach
        {"empty.emf", {5, 5, 5, 9}, 2},
    };
    for (const Case &c : refused) {
        ExportRequest r = request(c.name, c.area, c.zoom);
        writeFile(r.path, "old");
        const ExportResult result = exportImage(doc, r);
        EXPECT_EQ(result.status, ExportResult::Status::Refused) << c.name;
        EXPECT_FALSE(result.message.isEmpty());
        EXPECT_EQ(fileBytes(r.path), "old") << c.name;
    }
    // The poster of a 3840 x 2160 area at "extra large" is within every limit.
    EXPECT_EQ(exportRefusal(request("poster.jpg", {0, 0, 3840, 2160}, 8)), std::nullopt);
    EXPECT_EQ(exportRefusal(request("poster.bmp", {0, 0, 3840, 2160}, 8)), std::nullopt);
}

TEST_F(ImageExport, AFailedWriteSaysFileNotSavedAndKeepsTheOldFile)
{
    for (const char *name : {"f.bmp", "f.jpg", "f.png", "f.emf", "f.wmf", "f.svg", "f.pdf"}) {
        ExportRequest r = request(name, {0, 0, 300, 300}, 2);
        writeFile(r.path, "old");
        setWriteFailureForTesting(true);
        const ExportResult result = exportImage(doc, r);
        setWriteFailureForTesting(false);
        EXPECT_EQ(result.status, ExportResult::Status::Failed) << name;
        EXPECT_EQ(result.message, "file not saved\n" + r.path);
        EXPECT_EQ(fileBytes(r.path), "old") << name;
    }
    ExportRequest nowhere = request("x.jpg", {0, 0, 10, 10});
    nowhere.path = dir.filePath("missing/x.jpg");
    EXPECT_EQ(exportImage(doc, nowhere).message, "file not saved\n" + nowhere.path);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 7);
}

TEST_F(ImageExport, ACancelStopsWithinABandAndWritesNothing)
{
    for (const char *name : {"c.jpg", "c.wmf"}) {
        RecordingSink sink(0);
        ExportRequest r = request(name, {0, 0, 400, 400}, 4);
        EXPECT_EQ(exportImage(doc, r, &sink).status, ExportResult::Status::Cancelled) << name;
        EXPECT_LE(sink.fractions.size(), 1u);
        EXPECT_FALSE(QFileInfo::exists(r.path)) << name;
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}
