// SPDX-License-Identifier: GPL-3.0-or-later
// The export pass: file types, sizes and zoom, refusals, failures; raster files read back by
// Qt's decoders, metafiles by walkers written from the format descriptions and by wmf2svg.
#include "output/export/imageexport.h"
#include "tests/output/exportfixture.h"
#include "tests/qtapp.h"
#include "tests/support/tilebuilder.h"

#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>

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
        return {dir.filePath(name), *classifyImagePath(name), area, zoom, false, {}, {}};
    }

    QTemporaryDir dir;
    // One red square covering the plane from (0, 0) to (400, 400).
    Document doc = documentOf({squareTile(0, 0, 400, 0x0000ff)});
};

struct EmfWalk
{
    bool wellFormed = false;
    std::vector<uint32_t> types;
    std::array<int32_t, 4> bounds{}, frame{};
    double mmPerPixel[4] = {}; // the reference device's size in mm, then in µm, over its pixels
    std::set<std::pair<int, int>> points16; // the corners of the 16-bit polygons
};

// EMF: every record is a 32-bit type and a 32-bit size (a multiple of 4); the header comes
// first and holds the file size and record count; the end-of-file record comes last.
const auto walkEmf = [](const QByteArray &b) -> EmfWalk {
    EmfWalk walk;
    if (b.size() < 108 || u32At(b, 0) != 1 || u32At(b, 40) != 0x464D4520)
        return walk;
    for (int i = 0; i < 4; ++i)
        walk.bounds[i] = int32_t(u32At(b, 8 + 4 * i)),
        walk.frame[i] = int32_t(u32At(b, 24 + 4 * i)),
        walk.mmPerPixel[i] = u32At(b, i < 2 ? 80 + 4 * i : 92 + 4 * i) / (i < 2 ? 1.0 : 1000.0) /
                             u32At(b, 72 + 4 * (i % 2));
    qsizetype at = 0;
    while (at + 8 <= b.size()) {
        const uint32_t size = u32At(b, at + 4);
        if (size < 8 || size % 4 != 0 || at + size > b.size())
            return walk;
        walk.types.push_back(u32At(b, at));
        const uint32_t n = walk.types.back() == 86 && size >= 28 ? u32At(b, at + 24) : 0;
        for (uint32_t i = 0; i < std::min(n, (size - 28) / 4); ++i)
            walk.points16.insert(
                {int16_t(u16At(b, at + 28 + 4 * i)), int16_t(u16At(b, at + 30 + 4 * i))});
        at += size;
    }
    walk.wellFormed = at == b.size() && u32At(b, 48) == uint32_t(b.size()) &&
                      u32At(b, 52) == walk.types.size() && walk.types.back() == 14;
    return walk;
};

// WMF records after the placeable and standard headers: function and parameter words.
const auto wmfRecords =
    [](const QByteArray &b) -> std::vector<std::pair<uint16_t, std::vector<int16_t>>> {
    std::vector<std::pair<uint16_t, std::vector<int16_t>>> records;
    qsizetype at = 22 + 18;
    while (at + 6 <= b.size()) {
        const uint32_t words = u32At(b, at);
        if (words < 3 || at + 2 * qsizetype(words) > b.size())
            break;
        std::vector<int16_t> params;
        for (uint32_t w = 3; w < words; ++w)
            params.push_back(int16_t(u16At(b, at + 2 * w)));
        records.emplace_back(u16At(b, at + 4), params);
        at += 2 * words;
    }
    return records;
};

} // namespace

TEST(ImageTypes, TheLastThreeCharactersNameTheTypeExactly)
{
    using enum ImageFormat;
    // clang-format off
    const std::pair<const char *, std::optional<ImageFormat>> cases[] = {
        {"a.bmp", Bmp}, {"a.jpg", Jpeg}, {"a.emf", Emf}, {"a.wmf", Wmf}, {"a.png", Png}, {"a.svg", Svg},
        {"a.pdf", Pdf}, {"a.JPG", {}}, {"a.jpeg", {}}, {"jpg", Jpeg}, {"", {}}, {"a.tif", {}}};
    // clang-format on
    for (const auto &[path, format] : cases)
        EXPECT_EQ(classifyImagePath(path), format) << path;
    EXPECT_TRUE(unrecognizedTypeMessage("/tmp/x.JPG") == ".JPG is not a recognized file type" &&
                unrecognizedTypeMessage("/tmp/x.jpeg") == "jpeg is not a recognized file type");
}

// "Better" draws the area twice as large and halves it. Top 300, bottom 500, inside a red
// square reaching to 1000: the scene's bands cover the 200 x 400 drawing exactly, and every
// row of the file is red, the last one included.
TEST_F(ImageExport, BetterDrawsTwiceTheAreaToItsLastRowScreenWritesItUnsmoothed)
{
    std::mutex mutex;
    int64_t rows = 0, width = 0;
    double zoom = 0;
    const Document big = documentOf({squareTile(0, 0, 1000, 0x0000ff)});
    ExportRequest r = request("low.png", {100, 300, 200, 500}, 2);
    r.scene = [&](Surface &surface, const DrawSettings &settings) {
        const PixelRect area = *surface.visibleArea();
        std::lock_guard lock(mutex);
        width = area.right - area.left + 1, zoom = surface.zoom();
        EXPECT_TRUE(surface.originX() == 100 && surface.originY() == 300 &&
                    surface.penWidth() == 2 && !settings.vectorTarget);
        // File rows inside the drawing, without the overlap the smoothing needs.
        rows += std::min(area.bottom, 399) / 2 - (area.top + 1) / 2 + 1;
        drawTilingScene(big, surface, settings);
    };
    ASSERT_TRUE(exportImage(big, r).written());
    EXPECT_TRUE(width == 200 && zoom == 2 && rows == 200) << width << " " << zoom << " " << rows;
    const QImage image = readImage(r.path);
    ASSERT_EQ(image.size(), QSize(100, 200));
    for (int y : {0, 100, 199})
        EXPECT_EQ(image.pixel(50, y), qRgb(255, 0, 0)) << y;

    // "Screen" quality writes the drawing unsmoothed.
    Document two = documentOf({squareTile(0, 0, 30, 0x0000ff), squareTile(30, 0, 30, 0xff0000)});
    const ExportRequest screen = request("screen.bmp", {0, 0, 100, 50}, 1);
    ASSERT_TRUE(exportImage(two, screen).written());
    EXPECT_EQ(readImage(screen.path),
              drawWhole(100, 50, [&](Surface &s) { drawTilingScene(two, s, DrawSettings{}); }));
}

TEST_F(ImageExport, FailedCancelledOrRefusedExportsKeepTheOldFile)
{
    using enum ExportResult::Status;
    // Every type failing to write, as on a full disk, and oversized images refused.
    // clang-format off
    const struct { const char *name; PrintArea area; int zoom; ExportResult::Status status; } cases[] = {
        {"f.bmp", {0, 0, 300, 300}, 2, Failed}, {"f.jpg", {0, 0, 300, 300}, 2, Failed},
        {"f.png", {0, 0, 300, 300}, 2, Failed}, {"f.emf", {0, 0, 300, 300}, 2, Failed},
        {"f.wmf", {0, 0, 300, 300}, 2, Failed}, {"f.svg", {0, 0, 300, 300}, 2, Failed},
        {"f.pdf", {0, 0, 300, 300}, 2, Failed},
        {"wide.jpg", {0, 0, 16400, 10}, 8, Refused},                   // 65,600 px a side
        {"huge.bmp", {0, 0, 100000, 100000}, 1, Refused},              // past 4 GB
        {"far.png", {-2147483647 - 1, 0, 2147483647, 10}, 8, Refused}, // past the drawing's reach
        {"empty.emf", {5, 5, 5, 9}, 2, Refused},
    };
    // clang-format on
    setWriteFailureForTesting(true);
    for (const auto &c : cases) {
        const ExportRequest r = request(c.name, c.area, c.zoom);
        ASSERT_TRUE(putFile(r.path, "old"));
        const ExportResult result = exportImage(doc, r);
        EXPECT_TRUE(result.status == c.status && fileBytes(r.path) == "old" &&
                    (c.status == Refused ? !result.message.isEmpty()
                                         : result.message == "file not saved\n" + r.path))
            << c.name;
    }
    setWriteFailureForTesting(false);
    const ExportRequest nowhere = request("missing/x.jpg", {0, 0, 10, 10});
    EXPECT_EQ(exportImage(doc, nowhere).message, "file not saved\n" + nowhere.path);

    // A cancel stops within a band and writes nothing.
    for (const char *name : {"c.jpg", "c.wmf"}) {
        RecordingSink sink(0);
        ExportRequest r = request(name, {0, 0, 400, 400}, 4);
        EXPECT_EQ(exportImage(doc, r, &sink).status, Cancelled) << name;
        EXPECT_TRUE(sink.fractions.size() <= 1u && !QFileInfo::exists(r.path)) << name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), std::size(cases));
    // The poster of a 3840 x 2160 area at "extra large" is within every limit; the JPEG
    // side limit holds for the halved file, exactly.
    EXPECT_FALSE(exportRefusal(request("poster.jpg", {0, 0, 3840, 2160}, 8)) ||
                 exportRefusal(request("poster.bmp", {0, 0, 3840, 2160}, 8)) ||
                 exportRefusal(request("tall.jpg", {0, 0, 10, 16375}, 8)));
}

// Each metafile replaces a longer file there whole: the walks end exactly at the end. The
// quality is ignored: vector files are drawn at 2.
TEST_F(ImageExport, MetafilesWalkToTheEndWmf2svgReadsTheWmfSvgAndPdfHoldVectorShapes)
{
    // Three squares (one selected), a strip reaching far out on both sides, and a sketch
    // polyline on the first.
    doc = documentOf({squareTile(10, 10, 40, 0x0000ff), squareTile(60, 10, 40, 0x00ff00),
                      squareTile(10, 60, 40, 0xff0000),
                      polygonTile({{-50000, 100}, {50000, 100}, {50000, 105}})});
    doc.tiles[1].selected = -1;
    // clang-format off
    doc.tiles[0].sketchStart = doc.appendSketchRun({{.count = 1, .nPoints = 3,
        .points = {{5, 5}, {20, 5}, {20, 20}}, .pointsAllocated = true}});
    // clang-format on
    const auto exportTo = [&](const char *name, PrintArea area = {0, 0, 120, 110}) {
        return exportImage(doc, request(name, area, 8)).written();
    };
    ASSERT_TRUE(putFile(dir.filePath("t.emf"), QByteArray(100000, 'x')));
    ASSERT_TRUE(exportTo("t.emf", {-5, 3, 115, 113}));
    const EmfWalk walk = walkEmf(fileBytes(dir.filePath("t.emf")));
    ASSERT_TRUE(walk.wellFormed);
    // The frame: 240 x 220 drawing pixels at 96 per inch, in hundredths of a millimetre.
    EXPECT_EQ(std::pair(walk.bounds, walk.frame),
              std::pair(std::array{-5, 3, 115, 113}, std::array{0, 0, 6350, 5821}));
    for (double mm : walk.mmPerPixel) // the same scale, so that readers size it alike
        EXPECT_NEAR(mm, 63.50 / 240, 0.0005);
    std::map<uint32_t, int> counts;
    for (uint32_t type : walk.types)
        ++counts[type];
    // One polygon per tile, none hatched or dropped, 32-bit points only for the strip; the
    // sketch: a move, then two lines.
    EXPECT_TRUE(counts[86] == 3 && counts[3] == 1 && counts[27] == 1 && counts[54] == 2);
    EXPECT_EQ(counts[38], counts[40] - counts[39]); // every pen and brush deleted again
    // The first square's corners, (10, 10) to (50, 50), at zoom 2 from the area's corner.
    for (const auto &corner : {std::pair{30, 14}, {110, 14}, {110, 94}, {30, 94}})
        EXPECT_EQ(walk.points16.count(corner), 1u) << corner.first << "," << corner.second;
    for (uint32_t type : walk.types)
        EXPECT_TRUE(type < 70 || type == 86) << "unexpected record " << type;

    ASSERT_TRUE(putFile(dir.filePath("t.wmf"), QByteArray(100000, 'x')));
    ASSERT_TRUE(exportTo("t.wmf"));
    const QByteArray bytes = fileBytes(dir.filePath("t.wmf"));
    ASSERT_GE(bytes.size(), 40);
    uint16_t checksum = 0;
    for (int w = 0; w < 10; ++w)
        checksum ^= u16At(bytes, 2 * w);
    // The key, the checksum, then right and bottom of the drawing and units per inch.
    EXPECT_EQ(std::tuple(u32At(bytes, 0), u16At(bytes, 20), u16At(bytes, 10), u16At(bytes, 12),
                         u16At(bytes, 14)),
              std::tuple(0x9AC6CDD7u, checksum, 240, 220, 96));
    EXPECT_EQ(2 * qsizetype(u32At(bytes, 22 + 6)), bytes.size() - 22);

    std::vector<int16_t> strip;             // clamped, not wrapped
    std::set<std::vector<int16_t>> objects; // pens and brushes: their fields, the slot aside
    const auto records = wmfRecords(bytes);
    counts.clear();
    for (const auto &[function, params] : records) {
        ++counts[function];
        if (function == 0x0324 && params[0] == 3)
            strip = params;
        if (function == 0x02FA || function == 0x02FC)
            objects.insert(params);
    }
    EXPECT_TRUE(counts[0x0324] == 4 && records.back().first == 0);
    EXPECT_EQ(strip, (std::vector<int16_t>{3, -32768, 200, 32767, 200, 32767, 210}));
    // Each tile's colour as a brush and a pen (COLORREF in two words), every object but
    // the two stock stand-ins deleted again.
    for (const auto &[lo, hi] : {std::pair<int16_t, int16_t>{0xff, 0}, {-256, 0}, {0, 0xff}})
        EXPECT_TRUE(objects.count({0, lo, hi, 0}) && objects.count({0, 1, 0, lo, hi})) << lo;
    EXPECT_EQ(counts[0x01F0], counts[0x02FA] + counts[0x02FC] - 2);

    const QString wmf2svg = QStandardPaths::findExecutable("wmf2svg");
    ASSERT_FALSE(wmf2svg.isEmpty()) << "wmf2svg missing: run scripts/deps.sh (libwmf-bin)";
    QProcess process;
    process.start(wmf2svg, {"-o", dir.filePath("t.svg"), dir.filePath("t.wmf")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_GE(fileBytes(dir.filePath("t.svg")).count("<polygon"), 3);

    // SVG and PDF hold vector shapes and no picture.
    ASSERT_TRUE(exportTo("t.svg"));
    QXmlStreamReader xml(fileBytes(dir.filePath("t.svg")));
    int shapes = 0, images = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            shapes += xml.name() == u"polygon" || xml.name() == u"path" ||
                      xml.name() == u"polyline" || xml.name() == u"line";
            images += xml.name() == u"image";
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GE(shapes, 6); // four tiles and the sketch's two lines
    EXPECT_EQ(images, 0);

    ASSERT_TRUE(exportTo("t.pdf"));
    const QByteArray pdf = fileBytes(dir.filePath("t.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-") && pdf.contains("/MediaBox") &&
                !pdf.contains("/Subtype /Image"));
}
