// SPDX-License-Identifier: GPL-3.0-or-later
// The document file: what is written where, what reads back, what is refused; and what
// "load state", "load prims" and "save state" do to the document.
#include "document/chaincheck.h"
#include "document/documentfile.h"
#include "mvlsamples.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <random>
#include <string>

using namespace tessella;
using namespace tessella::testing;
using namespace tessella::test;

namespace {

// Single bytes unsigned, 16- and 32-bit fields signed, 8-byte fields doubles.
const auto fieldAt = [](const std::vector<uint8_t> &b, size_t at, int width) -> double {
    uint64_t v = 0;
    for (int i = width; i-- > 0;)
        v = v << 8 | b.at(at + i);
    const int unused = 64 - 8 * width;
    return width == 8   ? std::bit_cast<double>(v)
           : width == 1 ? v
                        : static_cast<double>(static_cast<int64_t>(v << unused) >> unused);
};

// `at` counts from the end when negative.
// clang-format off
struct Patch { long at; int width; int64_t value; };
// clang-format on

const auto craft = [](const Document &base, const std::vector<Patch> &patches,
                      std::string_view header = kHeaderV96) -> std::vector<uint8_t> {
    std::vector<uint8_t> bytes = bytesOf(base);
    std::copy(header.begin(), header.end(), bytes.begin());
    for (const Patch &p : patches)
        for (int i = 0; i < p.width; ++i)
            bytes.at(p.at < 0 ? bytes.size() + p.at + i : p.at + i) =
                static_cast<uint8_t>(static_cast<uint64_t>(p.value) >> (8 * i));
    return bytes;
};

// Whatever the reader is given loads, or fails leaving the document as it was; whatever it
// accepts, the writer can store, and it reads back the same.
const auto loadsOrFailsUntouched = [](std::span<const uint8_t> bytes, int &loads) {
    const auto observe = [](const Document &d) {
        return std::tuple(bytesOf(d), d.vtxSel, d.dirty, d.xformOpen, d.xfResume, d.xfTile);
    };
    Document doc = editedDocument();
    const auto before = observe(doc);
    const LoadReport report = loadState(doc, bytes, 10, 20);
    if (!report.ok) {
        EXPECT_EQ(report.message,
                  bytes.size() < kHeaderSize
                      ? "error loading file"
                      : std::string(bytes.begin(), bytes.begin() + 11) + "error loading file");
        EXPECT_TRUE(before == observe(doc));
        return;
    }
    ++loads;
    const auto saved = saveState(doc);
    Document again;
    ASSERT_TRUE(loadState(again, *saved, 0, 0).ok);
    EXPECT_EQ(*saveState(again), *saved);
};

TEST(MvlReader, CutMutatedAndCraftedFilesLoadOrFailUntouchedTilesOnlyOnesReadMissingFieldsAsZeros)
{
    const std::vector<uint8_t> original = bytesOf(sampleDocument());
    int loads = 0;
    for (size_t n = 0; n <= original.size(); ++n) {
        SCOPED_TRACE(n);
        loadsOrFailsUntouched({original.data(), n}, loads);
    }
    EXPECT_GT(loads, 1);
    std::mt19937 random(20240611);
    std::uniform_int_distribution<size_t> position(0, original.size() - 1);
    loads = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = original;
        for (int k = 1 + round % 4; k > 0; --k)
            bytes[position(random)] = static_cast<uint8_t>(random());
        if (round % 3 == 0)
            bytes.resize(position(random));
        SCOPED_TRACE(round);
        loadsOrFailsUntouched(bytes, loads);
    }
    EXPECT_GT(loads, 100);
    // One triangle (four stored elements), no sketch table: the tile's count at 13, its
    // block's dimensions at 15, element count at 17, lower bound at 21; the tail from the
    // end: curTile -16, node count -10, reflected -8, grid tag -6, grid -4, sketch count -2.
    const Document tri = documentOf({polygonTile({{0, 0}, {16, 0}, {8, 16}}, 0x0000ff)}),
                   neverAllocated = documentOf({Tile{}});
    Document withSketch = tri; // record 1 from the end: nPoints -44, dims -42, count -40
    withSketch.appendSketchRun({{.nPoints = 2, .points = {{1, 1}, {2, 2}}}});
    Document pending = tri; // the reflection flag sits at 143
    pending.nodeRecs = triangleChain(), pending.xformOpen = true;
    const int64_t huge = 0x7FFFFFFF;
    const std::string_view g = kHeaderForeignG;
    // clang-format off
    const struct { const char *name; const Document &base; std::vector<Patch> patches; bool loads;
                   std::string_view header = kHeaderV96; } cases[] = {
        {"huge element count", tri, {{17, 4, huge}}, false},
        {"used count equal to the element count", tri, {{13, 2, 4}}, true},
        {"used count above the element count", tri, {{13, 2, 5}}, false},
        {"used count with an unallocated array", neverAllocated, {{13, 2, 3}}, false},
        {"two dimensions", tri, {{15, 2, 2}}, false},
        {"two dimensions, tiles only", tri, {{15, 2, 2}}, false, g},
        {"lower bound 1, no corner used", tri, {{13, 2, 0}, {21, 4, 1}}, false, g},
        {"negative tile count", tri, {{11, 2, -3}}, false},
        {"negative tile count, tiles only", tri, {{11, 2, -3}}, false, g},
        {"elements filling the rest", tri, {{17, 4, 7}}, true, g},
        {"elements past the end", tri, {{17, 4, 8}}, false, g},
        {"curTile 1 of 1", tri, {{-16, 2, 1}}, false},
        {"negative curTile", tri, {{-16, 2, -1}}, false},
        {"empty document with curTile 1", Document{}, {{13, 2, 1}}, false},
        {"grid tag 3", tri, {{-6, 2, 3}}, false},
        {"grid 4", tri, {{-4, 2, 4}}, false},
        {"negative sketch count", tri, {{-2, 2, -1}}, false},
        {"sketch count at the table limit", tri, {{-2, 2, 32767}}, false},
        {"sketch records beyond the end read empty", tri, {{-2, 2, 32766}}, true},
        {"sketch points above the element count", withSketch, {{-44, 2, 3}}, false},
        {"sketch points with an unallocated array", withSketch, {{-42, 2, 0}}, false},
        {"sketch with a huge element count", withSketch, {{-40, 4, huge}}, false},
        {"node records beyond the end", tri, {{-10, 2, 3}}, false},
        {"valid chain", pending, {}, true},
        {"chain the check refuses", pending, {{143, 2, -1}}, false}, // reflected, no centre
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        int loads = 0;
        loadsOrFailsUntouched(craft(c.base, c.patches, c.header), loads);
        EXPECT_EQ(loads, c.loads ? 1 : 0);
    }

    // A huge count with no records: tiles-only files read the missing records as empty tiles.
    std::vector<uint8_t> countOnly(kHeaderForeignG.begin(), kHeaderForeignG.end());
    countOnly.insert(countOnly.end(), {0xff, 0x7f});
    const ParsedDocument foreign = parseDocument(countOnly);
    ASSERT_TRUE(foreign.ok && foreign.tiles.size() == 32767u);
    EXPECT_EQ(foreign.tiles.back(), Tile{});
}

TEST(MvlWriter,
     SavedAgainTheSameByteForByteFieldsAtTheirOffsetsWhatWouldNotLoadRefusedChainsChecked)
{
    Document noPending = sampleDocument(), noSketchTable = sampleDocument();
    noPending.xformOpen = false, noPending.xfReflected = 0;
    noSketchTable.sketches.clear(), noSketchTable.tiles[0].sketchStart = 0;
    // The last two gain the empty sketch record 0 on reading.
    for (const auto &[doc, grows] : std::vector<std::pair<Document, bool>>{
             {sampleDocument(), false}, {noPending, false}, {noSketchTable, true}, {{}, true}}) {
        SCOPED_TRACE(doc.tiles.size());
        std::vector<uint8_t> original = bytesOf(doc), expected = original;
        expected.resize(expected.size() + (grows ? 16 : 0), 0);
        Document loaded = editedDocument(), again;
        ASSERT_TRUE(loadState(loaded, original, 400, 300).ok);
        EXPECT_EQ(*saveState(loaded), expected);
        ASSERT_TRUE(loadState(again, expected, 0, 0).ok);
        EXPECT_EQ(*saveState(again), expected);
    }

    // Fields sit at their byte offsets, little-endian.
    const auto e = *writeDocument(documentOf({}, GridCenterFace));
    EXPECT_EQ(std::string(e.begin(), e.begin() + 11), "morvel v.96");
    Tile t = polygonTile({{1.5, -2}, {3, 4}, {5, 6}}, 0x010203, GridCenterFace);
    t.reflected = 1.0, t.angle = -0.25, t.sketchStart = 70000, t.selected = kTrue;
    t.reserved[0] = 0xAB, t.reserved[15] = 0xCD;
    const auto b =
        *writeDocument(documentOf({t, Tile{}, Tile{.verts = {}, .vertsAllocated = true}}));
    Document pending = sampleDocument();
    const auto c = *writeDocument(pending);
    pending.xformOpen = false;
    EXPECT_EQ(c.size(), writeDocument(pending)->size() + 5 * kNodeRecordBytes);
    // The first tile's fields after its block; the tail after a never allocated and an empty
    // block.
    const size_t f = 13 + 2 + 10 + 4 * 16, tail = f + 46 + 4 + 46 + 12 + 46;
    const size_t r1 = writeDocument(documentOf(pending.tiles))->size() - 16 + 10 + 68;
    // clang-format off
    struct { const std::vector<uint8_t> &bytes; size_t at; int width; double value; }
    const fields[] = {
        // The empty document: count, curTile, colour, node count, reflected, grid tag and
        // grid, sketch count (no table), and nothing more.
        {e, 11, 2, 0}, {e, 13, 2, 0}, {e, 15, 4, 0}, {e, 19, 2, 0}, {e, 21, 2, 0}, {e, 23, 2, 2},
        {e, 25, 2, GridCenterFace}, {e, 27, 2, 0}, {e, 29, 0, 0},
        // A tile: used count, dimensions, elements with the spare, lower bound, first vertex,
        {b, 13, 2, 3}, {b, 15, 2, 1}, {b, 17, 4, 4}, {b, 21, 4, 0}, {b, 25, 8, 1.5}, {b, 33, 8, -2},
        // reflected, angle, colour, sketch start, reserved bytes, grid, selected, deleted;
        {b, f, 8, 1.0}, {b, f + 8, 8, -0.25}, {b, f + 16, 4, 0x010203}, {b, f + 20, 4, 70000},
        {b, f + 24, 1, 0xAB}, {b, f + 39, 1, 0xCD}, {b, f + 40, 2, GridCenterFace},
        {b, f + 42, 2, -1}, {b, f + 44, 2, 0},
        // a never allocated block is one i16 0, a zero-length one has dimensions 1, count 0;
        {b, f + 48, 2, 0}, {b, f + 48 + 50, 2, 1}, {b, f + 48 + 52, 4, 0},
        // curTile and its colour repeated, then the tail.
        {b, tail, 2, 0}, {b, tail + 2, 4, 0x010203}, {b, tail + 16, 0, 0},
        // Node records, 68 bytes each: anchored, x, colours, sample count, active, bcpY.
        {c, r1 - 72, 2, 5}, {c, r1, 2, 0}, {c, r1 + 6, 8, 25}, {c, r1 + 22, 4, 255},
        {c, r1 + 26, 4, 16711680}, {c, r1 + 30, 2, 5}, {c, r1 + 32, 2, -1}, {c, r1 + 60, 8, 8},
    };
    // clang-format on
    for (const auto &field : fields) // width 0: the end of the file
        EXPECT_EQ(field.width ? fieldAt(field.bytes, field.at, field.width)
                              : field.bytes.size() - field.at,
                  field.value)
            << "offset " << field.at;

    // It refuses what does not fit or would not load.
    const Document good = sampleDocument();
    Document refused[7] = {Document{}, Document{}, good, good, good, good, good};
    refused[0].tiles.resize(32767);
    EXPECT_TRUE(writeDocument(refused[0]));
    refused[0].tiles.resize(32768);
    refused[1].sketches.resize(32768);
    refused[2].tiles[0].nVerts = 8, refused[3].sketches[3].nPoints = -1; // 7 stored
    refused[4].grid = 4, refused[5].curTile = 3, refused[6].nodeRecs.back().anchored = kFalse;
    for (const Document &doc : refused)
        EXPECT_FALSE(writeDocument(doc)) << &doc - refused;
    refused[6].xformOpen = false; // the chain is not written then
    EXPECT_TRUE(writeDocument(refused[6]));
    using C = std::vector<NodeRecord>;
    // 1310 records of 26 samples after the first, which gets `first`.
    const auto lengthen = [](C &c, int16_t first) {
        NodeRecord filler = c[1];
        filler.nPoints = 26, c[0].nPoints = first;
        c.insert(c.begin() + 1, 1310, filler);
    };
    // clang-format off
    struct { const char *name; bool reflected, valid; std::function<void(C &)> spoil; }
    const cases[] = {
        {"well formed", false, true, [](C &) {}},
        {"reflected, centre on a corner", true, true, [](C &c) { c[2].refCenter = kTrue; }},
        {"centre on the second record", true, true, [](C &c) { c[1].refCenter = kTrue; }},
        {"negative sample count", false, true, [](C &c) { c[0].nPoints = -4; }},
        {"26 samples", false, true, [](C &c) { c[1].nPoints = 26; }},
        {"first not anchored", false, false, [](C &c) { c.front().anchored = kFalse; }},
        {"last not anchored", false, false, [](C &c) { c.back().anchored = kFalse; }},
        {"three records", false, false, [](C &c) { c.erase(c.begin() + 1, c.end() - 2); }},
        {"two corners before the closing one", false, false, [](C &c) { c[3].anchored = kFalse; }},
        {"27 samples", false, false, [](C &c) { c[1].nPoints = 27; }},
        {"reflected without a centre", true, false, [](C &) {}},
        {"centre only on the first record", true, false, [](C &c) { c[0].refCenter = kTrue; }},
        {"NaN coordinate", false, false, [](C &c) { c[2].y = std::nan(""); }},
        {"infinite handle", false, false, [](C &c) { c[1].bcpX = HUGE_VAL; }},
        // 7 + 1310 * 25 + 10 points: exactly the limit, then one more.
        {"flattened outline of 32767 points", false, true, [&](C &c) { lengthen(c, 12); }},
        {"flattened outline of 32768 points", false, false, [&](C &c) { lengthen(c, 13); }},
        {"32767 records", false, true, [](C &c) { c.insert(c.begin() + 1, 32762, NodeRecord{}); }},
        {"32768 records", false, false, [](C &c) { c.insert(c.begin() + 1, 32763, NodeRecord{}); }},
    };
    // clang-format on
    for (const auto &k : cases) {
        C chain = triangleChain();
        k.spoil(chain);
        EXPECT_EQ(isValidSavedChain(chain, k.reflected), k.valid) << k.name;
    }
    EXPECT_TRUE(isValidSavedChain({}, false) &&
                flattenedPointCount(triangleChain()) == 1 + 4 + 1 + 1);
}

// What "load state", "load prims" and "save state" do to the document: each header kind
// takes what its file carries; a pending transform is rebuilt, refuses loads, or is
// cleared with the file; saving drops a finished chain and leaves dirty to the caller.
TEST(LoadAndSaveState, HeaderKindsPendingTransformsAndTheCallersFlags)
{
    // Two tiles centred near the origin, curTile 0, hexagonal grid, a sketch run of two.
    Document source =
        documentOf({hexagonTile(-8, -14, 0x111111), hexagonTile(8, 0, 0x222222)}, GridHexagonal);
    source.appendSketchRun({Sketch{}, Sketch{}});
    const Document edited = editedDocument();
    const size_t full = bytesOf(source).size(),
                 tilesOnly = bytesOf(documentOf(source.tiles)).size();
    // clang-format off
    struct { bool prims; std::string_view header; size_t size; HeaderKind kind; int16_t grid;
             bool curFromFile, sketchesFromFile; double shift; std::string status; }
    const cases[] = {
        {false, kHeaderV96, full, HeaderKind::V96, GridHexagonal, true, true, 0, ""},
        // Older files end before the sketch table; foreign ones after the tiles.
        {false, kHeaderV09, tilesOnly - 2, HeaderKind::V09, GridHexagonal, true, false, 0, ""},
        {false, kHeaderForeignG, tilesOnly - 16, HeaderKind::ForeignG, GridRectangular, false, false, 0, "*g*from zud    2 elements"},
        // Centred on the origin: moved by half the canvas.
        {false, kHeaderForeignH, tilesOnly - 16, HeaderKind::ForeignH, GridRectangular, false, false, 1, "*h*from zud    2 elements"},
        {false, "hello world", tilesOnly - 16, HeaderKind::Unknown, GridNone, false, false, 0, ""},
        // The primitives library: any header, the tiles alone, the rest not even read.
        {true, "anything!!!", full, HeaderKind::Unknown, GridCenterFace, false, false, 0, ""},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.header);
        Document doc = editedDocument();
        std::vector<uint8_t> bytes = craft(source, {}, c.header);
        bytes.resize(c.size);
        const LoadReport report = c.prims ? loadPrims(doc, bytes) : loadState(doc, bytes, 400, 300);
        ASSERT_TRUE(report.ok) << report.message;
        EXPECT_TRUE(report.kind == c.kind && report.header == c.header && doc.grid == c.grid &&
                    report.statusText == c.status &&
                    doc.curTile == (c.curFromFile ? source.curTile : edited.curTile) &&
                    doc.sketches == (c.sketchesFromFile ? source.sketches : edited.sketches));
        std::vector<Tile> expected = source.tiles;
        for (Tile &t : expected)
            for (Vertex &v : t.verts) // the spare element too
                v = {v.x + 400 * c.shift, v.y + 300 * c.shift};
        EXPECT_TRUE(doc.tiles == expected && doc.vtxSel.empty() && !doc.dirty);
    }
    // A damaged library changes nothing and names its header.
    Document doc = editedDocument(); // 5 dimensions for the first vertex block
    EXPECT_EQ(loadPrims(doc, craft(source, {{15, 2, 5}})).message, "morvel v.96error loading file");
    EXPECT_EQ(bytesOf(doc), bytesOf(edited));

    // A pending transform is rebuilt from its chain: the anchored records (the closing one
    // too) are the corners, the spare repeats the first; every other field is the display
    // copy's, tile curTile.
    const Document pending = sampleDocument();
    ASSERT_TRUE(loadState(doc, bytesOf(pending), 0, 0).ok);
    EXPECT_TRUE(doc.xformOpen && doc.xfResume == kTrue && doc.xfReflected == kTrue &&
                doc.nodeRecs == pending.nodeRecs);
    Tile expected = pending.tiles[0];
    expected.setCorners({{10, 10}, {40, 10}, {25, 40}, {10, 10}});
    EXPECT_EQ(doc.xfTile, expected);
    // While it is open, nothing loads.
    const std::vector<uint8_t> kept = bytesOf(doc);
    EXPECT_EQ(loadState(doc, bytesOf(edited), 0, 0).message,
              "please close the transform editor before loading new state");
    EXPECT_FALSE(loadPrims(doc, bytesOf(edited)).ok);
    EXPECT_EQ(bytesOf(doc), kept);
    // Closed, a file without a chain leaves no stale transform behind, nor its reflection flag.
    doc.xformOpen = false;
    Document plain = editedDocument();
    plain.xfReflected = kTrue;
    ASSERT_TRUE(loadState(doc, bytesOf(plain), 0, 0).ok);
    EXPECT_TRUE(doc.nodeRecs.empty() && doc.xfResume == 0 && doc.xfReflected == 0 &&
                doc.xfTile == Tile{});

    // Saving drops a finished chain and leaves dirty as it was; a transform opened with no
    // chain saved yet writes no records.
    doc.nodeRecs = triangleChain(), doc.dirty = true;
    const auto bytes = saveState(doc);
    EXPECT_TRUE(bytes && doc.nodeRecs.empty() && doc.dirty);
    doc.xformOpen = true;
    EXPECT_EQ(saveState(doc), bytes);
    // A polygon only in the transform editor is saved as the current tile, the last one.
    doc.xfEditorOnly = true, doc.xfReturn = hexagonTile(90, 90, 0x123456);
    Document back;
    ASSERT_TRUE(loadState(back, *saveState(doc), 0, 0).ok);
    EXPECT_TRUE(back.tileCount() == 3 && back.curTile == 2 && back.tiles[2] == doc.xfReturn);
}

} // namespace
