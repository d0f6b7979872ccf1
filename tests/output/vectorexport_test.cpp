// SPDX-License-Identifier: GPL-3.0-or-later
// Vector files: read back by walkers written from the format descriptions and by other
// programs' readers.
#include "output/export/imageexport.h"
#include "tests/output/exportfixture.h"
#include "tests/qtapp.h"
#include "tests/support/tilebuilder.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

using namespace tessella;
using namespace tessella::test;

namespace {

uint32_t u32At(const QByteArray &b, qsizetype at)
{
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}

uint16_t u16At(const QByteArray &b, qsizetype at)
{
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

int32_t i32At(const QByteArray &b, qsizetype at)
{
    return int32_t(u32At(b, at));
}

struct EmfWalk
{
    bool wellFormed = false;
    std::vector<uint32_t> types;
    int32_t bounds[4] = {};
    int32_t frame[4] = {};
};

// EMF: every record is a 32-bit type and a 32-bit size (a multiple of 4); the header comes
// first and holds the file size and record count; the end-of-file record comes last.
EmfWalk walkEmf(const QByteArray &b)
{
    EmfWalk walk;
    if (b.size() < 108 || u32At(b, 0) != 1 || u32At(b, 40) != 0x464D4520) {
        return walk;
    }
    for (int i = 0; i < 4; ++i) {
        walk.bounds[i] = i32At(b, 8 + 4 * i);
        walk.frame[i] = i32At(b, 24 + 4 * i);
    }
    qsizetype at = 0;
    while (at + 8 <= b.size()) {
        const uint32_t size = u32At(b, at + 4);
        if (size < 8 || size % 4 != 0 || at + size > b.size()) {
            return walk;
        }
        walk.types.push_back(u32At(b, at));
        at += size;
    }
    walk.wellFormed = at == b.size() && u32At(b, 48) == uint32_t(b.size()) &&
                      u32At(b, 52) == walk.types.size() && walk.types.back() == 14;
    return walk;
}

// WMF records after the placeable and standard headers: function and parameter words.
std::vector<std::pair<uint16_t, std::vector<int16_t>>> wmfRecords(const QByteArray &b)
{
    std::vector<std::pair<uint16_t, std::vector<int16_t>>> records;
    qsizetype at = 22 + 18;
    while (at + 6 <= b.size()) {
        const uint32_t words = u32At(b, at);
        if (words < 3 || at + 2 * qsizetype(words) > b.size()) {
            break;
        }
        std::vector<int16_t> params;
        for (uint32_t w = 3; w < words; ++w) {
            params.push_back(int16_t(u16At(b, at + 2 * w)));
        }
        records.emplace_back(u16At(b, at + 4), params);
        at += 2 * words;
    }
    return records;
}

class VectorExport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qtApp();
        // Three squares (one selected), one far away, and a sketch polyline on the first.
        doc = documentOf({squareTile(10, 10, 40, 0x0000ff), squareTile(60, 10, 40, 0x00ff00),
                          squareTile(10, 60, 40, 0xff0000), squareTile(50000, 50000, 10)});
        doc.tiles[1].selected = -1;
        Sketch line;
        line.count = 1;
        line.kind = 0;
        line.nPoints = 3;
        line.points = {{5, 5}, {20, 5}, {20, 20}};
        line.pointsAllocated = true;
        doc.tiles[0].sketchStart = doc.appendSketchRun({line});
    }

    ExportResult exportTo(const QString &name, PrintArea area = {0, 0, 120, 110})
    {
        ExportRequest r;
        r.path = dir.filePath(name);
        r.format = *classifyImagePath(name);
        r.area = area;
        r.qualityZoom = 8; // ignored: vector files are drawn at 2
        return exportImage(doc, r);
    }

    QTemporaryDir dir;
    Document doc;
};

} // namespace

TEST_F(VectorExport, EmfRecordsWalkToTheEndWithThePrintAreaAsBounds)
{
    ASSERT_TRUE(exportTo("t.emf", {-5, 3, 115, 113}).written());
    const EmfWalk walk = walkEmf(fileBytes(dir.filePath("t.emf")));
    ASSERT_TRUE(walk.wellFormed);
    EXPECT_EQ(std::vector<int32_t>(walk.bounds, walk.bounds + 4),
              (std::vector<int32_t>{-5, 3, 115, 113}));
    // 240 x 220 drawing pixels at 96 per inch, in hundredths of a millimetre.
    EXPECT_EQ(std::vector<int32_t>(walk.frame, walk.frame + 4),
              (std::vector<int32_t>{0, 0, 6350, 5821}));
    std::map<uint32_t, int> counts;
    for (uint32_t type : walk.types) {
        ++counts[type];
    }
    EXPECT_EQ(counts[86] + counts[3], 4); // one polygon per tile, none hatched or dropped
    EXPECT_EQ(counts[27], 1);             // the sketch: move, then two lines
    EXPECT_EQ(counts[54], 2);
    EXPECT_EQ(counts[38], counts[40] - counts[39]); // every pen and brush deleted again
    for (uint32_t type : walk.types) {
        EXPECT_TRUE(type < 70 || type == 86) << "unexpected record " << type;
    }
}

TEST_F(VectorExport, WmfHasAPlaceableHeaderClampedCoordinatesAndReadsInWmf2svg)
{
    ASSERT_TRUE(exportTo("t.wmf").written());
    const QByteArray bytes = fileBytes(dir.filePath("t.wmf"));
    ASSERT_GE(bytes.size(), 40);
    EXPECT_EQ(u32At(bytes, 0), 0x9AC6CDD7u);
    uint16_t checksum = 0;
    for (int w = 0; w < 10; ++w) {
        checksum ^= u16At(bytes, 2 * w);
    }
    EXPECT_EQ(u16At(bytes, 20), checksum);
    EXPECT_EQ(u16At(bytes, 10), 240); // right and bottom of the drawing
    EXPECT_EQ(u16At(bytes, 12), 220);
    EXPECT_EQ(u16At(bytes, 14), 96); // units per inch
    EXPECT_EQ(2 * qsizetype(u32At(bytes, 22 + 6)), bytes.size() - 22);

    int polygons = 0;
    bool clampedFarTile = false;
    const auto records = wmfRecords(bytes);
    for (const auto &[function, params] : records) {
        if (function == 0x0324) {
            ++polygons;
            clampedFarTile = clampedFarTile || params[1] == 32767;
            EXPECT_GE(params[1], 0); // the far tile's x, wrapped, would turn negative
        }
    }
    EXPECT_EQ(polygons, 4);
    EXPECT_TRUE(clampedFarTile);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().first, 0);

    const QString wmf2svg = QStandardPaths::findExecutable("wmf2svg");
    if (wmf2svg.isEmpty()) {
        GTEST_SKIP() << "wmf2svg not installed (scripts/deps.sh installs libwmf-bin)";
    }
    QProcess process;
    process.start(wmf2svg, {"-o", dir.filePath("t.svg"), dir.filePath("t.wmf")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_GE(fileBytes(dir.filePath("t.svg")).count("<polygon"), 3);
}

TEST_F(VectorExport, SvgAndPdfHoldVectorShapesAndNoPicture)
{
    ASSERT_TRUE(exportTo("t.svg").written());
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

    ASSERT_TRUE(exportTo("t.pdf").written());
    const QByteArray pdf = fileBytes(dir.filePath("t.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    EXPECT_TRUE(pdf.contains("/MediaBox"));
}

TEST_F(VectorExport, AnExistingMetafileIsReplacedWhole)
{
    for (const char *name : {"r.emf", "r.wmf"}) {
        writeFile(dir.filePath(name), QByteArray(100000, 'x'));
        ASSERT_TRUE(exportTo(name).written());
        const QByteArray bytes = fileBytes(dir.filePath(name));
        EXPECT_LT(bytes.size(), 100000) << name;
        EXPECT_FALSE(bytes.contains("xxxx")) << name;
    }
}
