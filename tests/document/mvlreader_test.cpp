// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/documentfile.h"
#include "document/mvlformat.h"
#include "mvlsamples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>

using namespace tessella;
using namespace tessella::testing;

namespace {

// The state a failed load must leave exactly as it was.
struct Observed
{
    std::vector<uint8_t> bytes;
    std::vector<VertexRef> vtxSel;
    bool dirty;
    bool xformOpen;
    int16_t xfResume;
    Tile xfTile;
    bool operator==(const Observed &) const = default;
};

Observed observe(const Document &doc)
{
    return {bytesOf(doc), doc.vtxSel, doc.dirty, doc.xformOpen, doc.xfResume, doc.xfTile};
}

// The document loads land on: edited, with a selection, no transform pending.
Document targetDocument()
{
    Document doc = sampleDocument();
    doc.xformOpen = false;
    doc.nodeRecs.clear();
    doc.xfReflected = 0;
    doc.dirty = true;
    doc.vtxSel = {{0, 2}, {2, 0}};
    return doc;
}

using Build = std::function<void(ByteWriter &)>;

std::vector<uint8_t> craft(std::string_view header, const Build &body)
{
    ByteWriter w;
    w.text(header);
    body(w);
    return w.take();
}

// A current-version file with one triangle and the given tail pieces.
std::vector<uint8_t> withTail(int16_t curTile, std::vector<NodeRecord> recs, int16_t reflected,
                              int16_t tag, int16_t grid, const Build &sketches)
{
    return craft(kHeaderV96, [&](ByteWriter &w) {
        w.i16(2);
        putTriangleTile(w, 0x0000ff);
        putTriangleTile(w, 0x00ff00);
        putTail(w, curTile, 0x00ff00, recs, reflected, tag, grid);
        sketches(w);
    });
}

void noSketches(ByteWriter &w)
{
    w.i16(0);
}

std::vector<uint8_t> chainFile(std::vector<NodeRecord> recs, int16_t reflected = 0)
{
    return withTail(1, std::move(recs), reflected, 2, GridRectangular, noSketches);
}

struct Crafted
{
    const char *name;
    std::vector<uint8_t> bytes;
    bool loads;
};

std::vector<Crafted> craftedFiles()
{
    auto tileWith = [](int16_t nVerts, int16_t dims, int32_t count, int32_t lower,
                       std::vector<Vertex> elements) {
        return craft(kHeaderV96, [=](ByteWriter &w) {
            w.i16(1);
            w.i16(nVerts);
            putBlock(w, dims, count, lower, elements);
            putTileTail(w);
            putTail(w, 0, 0, {}, 0, 2, 1);
            w.i16(0);
        });
    };
    const std::vector<Vertex> four = {{0, 0}, {1, 0}, {1, 1}, {0, 0}};
    auto chain = triangleChain;
    auto spoilt = [](std::function<void(std::vector<NodeRecord> &)> f) {
        auto c = triangleChain();
        f(c);
        return c;
    };
    auto sketchWith = [](int16_t nPoints, int16_t dims, int32_t count) {
        return [=](ByteWriter &w) {
            w.i16(1);                      // sketchCount
            w.text(std::string(16, '\0')); // record 0, points unallocated
            w.i16(1);                      // count of the run
            w.text(std::string(10, '\0'));
            w.i16(nPoints);
            putBlock(w, dims, count, 0, {{1, 1}, {2, 2}});
        };
    };

    return {
        {"well-formed triangle", tileWith(3, 1, 4, 0, four), true},
        {"huge element count", tileWith(3, 1, 0x7FFFFFFF, 0, four), false},
        {"negative element count", tileWith(0, 1, -1, 0, {}), false},
        {"block cut inside its elements", tileWith(3, 1, 40, 0, four), false},
        {"used count above the element count", tileWith(5, 1, 4, 0, four), false},
        {"used count with an unallocated array", tileWith(3, 0, 0, 0, {}), false},
        {"negative used count", tileWith(-1, 1, 4, 0, four), false},
        {"two dimensions", tileWith(3, 2, 4, 0, four), false},
        {"lower bound 1", tileWith(3, 1, 4, 1, four), false},
        {"zero-length block", tileWith(0, 1, 0, 0, {}), true},
        {"negative tile count", craft(kHeaderV96, [](ByteWriter &w) { w.i16(-3); }), false},
        {"grid tag 3", withTail(0, {}, 0, 3, 1, noSketches), false},
        {"grid 7", withTail(0, {}, 0, 2, 7, noSketches), false},
        {"grid -1", withTail(0, {}, 0, 2, -1, noSketches), false},
        {"blank grid", withTail(0, {}, 0, 2, 0, noSketches), true},
        {"curTile 5 of 2", withTail(5, {}, 0, 2, 1, noSketches), false},
        {"negative curTile", withTail(-1, {}, 0, 2, 1, noSketches), false},
        {"empty document",
         craft(kHeaderV96,
               [](ByteWriter &w) { w.i16(0), putTail(w, 0, 0, {}, 0, 2, 1), w.i16(0); }),
         true},
        {"empty document with curTile 1",
         craft(kHeaderV96,
               [](ByteWriter &w) { w.i16(0), putTail(w, 1, 0, {}, 0, 2, 1), w.i16(0); }),
         false},
        {"negative sketch count", withTail(0, {}, 0, 2, 1, [](ByteWriter &w) { w.i16(-1); }),
         false},
        {"sketch count at the table limit",
         withTail(0, {}, 0, 2, 1, [](ByteWriter &w) { w.i16(32767); }), false},
        {"huge sketch count beyond the end reads empty records",
         withTail(0, {}, 0, 2, 1, [](ByteWriter &w) { w.i16(32766); }), true},
        {"sketch points above element count", withTail(0, {}, 0, 2, 1, sketchWith(3, 1, 2)), false},
        {"sketch with huge element count", withTail(0, {}, 0, 2, 1, sketchWith(1, 1, 0x7FFFFFFF)),
         false},
        {"sketch points with unallocated array", withTail(0, {}, 0, 2, 1, sketchWith(1, 0, 0)),
         false},
        {"negative node record count",
         craft(kHeaderV96,
               [](ByteWriter &w) {
                   w.i16(0);
                   w.i16(0), w.i32(0), w.i16(-2), w.i16(0), w.i16(2), w.i16(1), w.i16(0);
               }),
         false},
        {"node record count far beyond the end",
         craft(kHeaderV96,
               [](ByteWriter &w) {
                   w.i16(1);
                   putTriangleTile(w);
                   w.i16(0), w.i32(0), w.i16(32767), w.i16(0);
               }),
         false},
        {"valid chain", chainFile(chain()), true},
        {"no anchored record", chainFile(spoilt([](auto &c) {
             for (auto &r : c)
                 r.anchored = 0;
         })),
         false},
        {"first record not anchored", chainFile(spoilt([](auto &c) { c[0].anchored = 0; })), false},
        {"fewer than four records",
         chainFile(spoilt([](auto &c) { c.erase(c.begin() + 1, c.begin() + 3); })), false},
        {"nPoints 27", chainFile(spoilt([](auto &c) { c[1].nPoints = 27; })), false},
        {"reflected without a centre", chainFile(chain(), kTrue), false},
        {"NaN coordinate", chainFile(spoilt([](auto &c) { c[3].x = std::nan(""); })), false},
    };
}

} // namespace

TEST(MvlReader, CraftedFilesLoadAsSpecifiedOrFailUntouched)
{
    for (const Crafted &c : craftedFiles()) {
        SCOPED_TRACE(c.name);
        Document doc = targetDocument();
        const Observed before = observe(doc);
        const LoadReport report = loadState(doc, c.bytes, 400, 300);
        EXPECT_EQ(report.ok, c.loads);
        EXPECT_EQ(report.header, "morvel v.96");
        if (c.loads) {
            EXPECT_TRUE(report.message.empty());
            EXPECT_FALSE(doc.dirty);
        } else {
            EXPECT_EQ(report.message, "morvel v.96error loading file");
            EXPECT_TRUE(before == observe(doc));
        }
    }
}

TEST(MvlReader, FilesShorterThanHeaderAndCountFail)
{
    const std::string full = "morvel v.96\x01";
    for (size_t n = 0; n < kMinFileSize; ++n) {
        SCOPED_TRACE(n);
        std::vector<uint8_t> bytes(full.begin(), full.begin() + std::min(n, full.size()));
        bytes.resize(n, 0);
        Document doc = targetDocument();
        const Observed before = observe(doc);
        const LoadReport report = loadState(doc, bytes, 0, 0);
        EXPECT_FALSE(report.ok);
        EXPECT_EQ(report.message,
                  n < kHeaderSize ? "error loading file" : "morvel v.96error loading file");
        EXPECT_TRUE(before == observe(doc));
    }
}

TEST(MvlReader, HeaderKinds)
{
    EXPECT_EQ(headerKindOf("morvel v.96"), HeaderKind::V96);
    EXPECT_EQ(headerKindOf("morvel v0.9"), HeaderKind::V09);
    EXPECT_EQ(headerKindOf("*g*from zud"), HeaderKind::ForeignG);
    EXPECT_EQ(headerKindOf("*h*from zud"), HeaderKind::ForeignH);
    EXPECT_EQ(headerKindOf("morvel v.97"), HeaderKind::Unknown);
    EXPECT_EQ(headerKindOf("MORVEL V.96"), HeaderKind::Unknown);
}

TEST(MvlReader, FieldsBeyondTheEndReadAsZeros)
{
    // Cut right after the reserved bytes of the only tile: grid, selected and deleted
    // read as 0; the tiles-only reader accepts it.
    const std::vector<uint8_t> full = craft(kHeaderForeignG, [](ByteWriter &w) {
        w.i16(1);
        putTriangleTile(w, 0x112233);
    });
    std::vector<uint8_t> cut(full.begin(), full.end() - 6);
    const ParsedDocument parsed = parseDocument(cut, ParseScope::WholeDocument);
    ASSERT_TRUE(parsed.ok);
    ASSERT_EQ(parsed.tiles.size(), 1u);
    EXPECT_EQ(parsed.tiles[0].color, 0x112233);
    EXPECT_EQ(parsed.tiles[0].grid, 0);

    // A whole array block beyond the end reads as unallocated.
    const std::vector<uint8_t> noBlock = craft("any header!", [](ByteWriter &w) {
        w.i16(2);
        putTriangleTile(w);
    });
    const ParsedDocument p2 = parseDocument(noBlock);
    ASSERT_TRUE(p2.ok);
    ASSERT_EQ(p2.tiles.size(), 2u);
    EXPECT_EQ(p2.tiles[1].nVerts, 0);
    EXPECT_TRUE(p2.tiles[1].verts.empty());
    EXPECT_FALSE(p2.tiles[1].vertsAllocated);
}

TEST(MvlReader, HugeTileCountWithoutRecords)
{
    const auto countOnly = [](std::string_view header) {
        return craft(header, [](ByteWriter &w) { w.i16(32767); });
    };
    // A current-version file needs its grid index after the tiles.
    EXPECT_FALSE(parseDocument(countOnly(kHeaderV96)).ok);
    EXPECT_FALSE(parseDocument(countOnly(kHeaderV09)).ok);
    // Tiles-only files read the missing records as empty tiles.
    const ParsedDocument foreign = parseDocument(countOnly(kHeaderForeignG));
    ASSERT_TRUE(foreign.ok);
    ASSERT_EQ(foreign.tiles.size(), 32767u);
    EXPECT_EQ(foreign.tiles.back(), Tile{});
}

TEST(MvlReader, TilesOnlyScopeIgnoresEverythingAfterTheTiles)
{
    std::vector<uint8_t> bytes = withTail(0, {}, 0, 3, 9, noSketches); // bad tail
    EXPECT_FALSE(parseDocument(bytes).ok);
    const ParsedDocument prims = parseDocument(bytes, ParseScope::TilesOnly);
    ASSERT_TRUE(prims.ok);
    EXPECT_EQ(prims.tiles.size(), 2u);
    EXPECT_EQ(prims.kind, HeaderKind::V96);
}

TEST(MvlReader, MutatedFilesFailUntouchedOrLoadAndSaveStably)
{
    const std::vector<uint8_t> original = bytesOf(sampleDocument());
    std::mt19937 random(20240611);
    std::uniform_int_distribution<size_t> position(0, original.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> flips(1, 4);
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = original;
        for (int k = flips(random); k > 0; --k)
            bytes[position(random)] = static_cast<uint8_t>(byte(random));
        if (round % 3 == 0)
            bytes.resize(position(random));
        SCOPED_TRACE(round);
        Document doc = targetDocument();
        const Observed before = observe(doc);
        const LoadReport report = loadState(doc, bytes, 10, 20);
        if (!report.ok) {
            EXPECT_TRUE(before == observe(doc));
            continue;
        }
        ++loaded;
        // Whatever the reader accepts, the writer can store, and it reads back the same.
        const auto saved = saveState(doc);
        ASSERT_TRUE(saved);
        Document again;
        ASSERT_TRUE(loadState(again, *saved, 0, 0).ok);
        EXPECT_EQ(*saveState(again), *saved);
    }
    EXPECT_GT(loaded, 0);
}
