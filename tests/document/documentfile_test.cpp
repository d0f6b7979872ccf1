// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/documentfile.h"
#include "mvlsamples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace tessella;
using namespace tessella::testing;

namespace {

// A document as it stands in the editor before a load: edited, with a selection and
// sketch items of its own, no transform pending.
Document editedDocument()
{
    Document doc;
    doc.tiles = {hexagonTile(0, 0, 0x0000ff), hexagonTile(50, 0, 0x00ff00)};
    doc.curTile = 1;
    doc.grid = GridCenterFace;
    doc.appendSketchRun({Sketch{}});
    doc.vtxSel = {{1, 3}};
    doc.dirty = true;
    return doc;
}

std::vector<uint8_t> replaceHeader(std::vector<uint8_t> bytes, std::string_view header)
{
    std::copy(header.begin(), header.end(), bytes.begin());
    return bytes;
}

// The file without its sketch section, as "v0.9" and foreign files end.
std::vector<uint8_t> withoutSketchSection(const Document &doc)
{
    Document noSketches = doc;
    noSketches.sketches.clear();
    std::vector<uint8_t> bytes = bytesOf(noSketches);
    bytes.resize(bytes.size() - 2);
    return bytes;
}

std::vector<uint8_t> tilesOnlyFile(std::string_view header, const std::vector<Tile> &tiles)
{
    Document doc;
    doc.tiles = tiles;
    std::vector<uint8_t> bytes = replaceHeader(bytesOf(doc), header);
    bytes.resize(bytes.size() - 16); // curTile onwards
    return bytes;
}

} // namespace

TEST(DocumentFile, CurrentVersionRoundTripsByteForByte)
{
    Document source = sampleDocument();
    const std::vector<uint8_t> original = bytesOf(source);
    ASSERT_FALSE(original.empty());

    Document loaded = editedDocument();
    const LoadReport report = loadState(loaded, original, 400, 300);
    ASSERT_TRUE(report.ok) << report.message;
    EXPECT_EQ(report.kind, HeaderKind::V96);
    const auto saved = saveState(loaded);
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, original);
    // Spare elements, reserved bytes, field 5 and the unreferenced run came through.
    EXPECT_EQ(loaded.tiles[0].verts.size(), 7u);
    EXPECT_EQ(loaded.tiles[0].reserved[15], 16);
    EXPECT_TRUE(loaded.tiles[1].vertsAllocated);
    EXPECT_FALSE(loaded.tiles[2].vertsAllocated);
    EXPECT_EQ(loaded.sketches[1].field5, 77);
    EXPECT_EQ(loaded.sketches.size(), 4u);

    // And without a pending transform.
    source.xformOpen = false;
    source.xfReflected = 0;
    const std::vector<uint8_t> plain = bytesOf(source);
    Document again;
    ASSERT_TRUE(loadState(again, plain, 0, 0).ok);
    EXPECT_EQ(*saveState(again), plain);
}

TEST(DocumentFile, FileSavedBeforeTheSketchTableExistedGainsRecordZero)
{
    Document doc = sampleDocument();
    doc.sketches.clear();
    doc.tiles[0].sketchStart = 0;
    const std::vector<uint8_t> original = bytesOf(doc);
    Document loaded;
    ASSERT_TRUE(loadState(loaded, original, 0, 0).ok);
    ASSERT_EQ(loaded.sketches.size(), 1u);
    EXPECT_EQ(loaded.sketches[0], Sketch{});
    const std::vector<uint8_t> saved = *saveState(loaded);
    ASSERT_EQ(saved.size(), original.size() + 16);
    EXPECT_TRUE(std::equal(original.begin(), original.end(), saved.begin()));
    EXPECT_TRUE(std::all_of(saved.end() - 16, saved.end(), [](uint8_t b) { return b == 0; }));
}

TEST(DocumentFile, LoadReplacesTheDocumentAndClearsEditState)
{
    Document doc = editedDocument();
    Document source = sampleDocument();
    source.tiles[2].color = 0x445566;
    source.curTile = 2;
    source.xformOpen = false;
    const std::vector<uint8_t> bytes = bytesOf(source);
    ASSERT_TRUE(loadState(doc, bytes, 0, 0).ok);
    EXPECT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(doc.curTile, 2);
    EXPECT_EQ(doc.tiles[2].color, 0x445566);
    EXPECT_EQ(doc.grid, GridHexagonal);
    EXPECT_EQ(doc.sketches, source.sketches);
    EXPECT_TRUE(doc.vtxSel.empty());
    EXPECT_FALSE(doc.dirty);
    EXPECT_FALSE(doc.xformOpen);
    EXPECT_EQ(doc.xfResume, 0);
    EXPECT_EQ(doc.xfReflected, 0);
}

TEST(DocumentFile, ColourItemOverwritesTheCurrentTile)
{
    Document source = editedDocument();
    std::vector<uint8_t> bytes = bytesOf(source);
    // curTile (i16) and the colour (i32) follow the tiles; the tail after them is 10 bytes
    // plus the sketch section.
    const size_t sketchBytes = 2 + source.sketches.size() * 16;
    const size_t colourAt = bytes.size() - sketchBytes - 8 - 4;
    bytes[colourAt] = 0x99;
    Document doc;
    ASSERT_TRUE(loadState(doc, bytes, 0, 0).ok);
    EXPECT_EQ(doc.tiles[1].color, 0x00ff99);
    EXPECT_EQ(doc.tiles[0].color, 0x0000ff);
}

TEST(DocumentFile, PendingTransformRebuildsPolygonFromAnchoredRecords)
{
    const Document source = sampleDocument();
    Document doc = editedDocument();
    ASSERT_TRUE(loadState(doc, bytesOf(source), 0, 0).ok);
    EXPECT_TRUE(doc.xformOpen);
    EXPECT_EQ(doc.xfResume, kTrue);
    EXPECT_EQ(doc.xfReflected, kTrue);
    EXPECT_EQ(doc.nodeRecs, source.nodeRecs);
    // Four anchored records (the closing one too); the added point is left out.
    EXPECT_EQ(doc.xfTile.nVerts, 4);
    const std::vector<Vertex> expected = {{10, 10}, {40, 10}, {25, 40}, {10, 10}, {10, 10}};
    EXPECT_EQ(doc.xfTile.verts, expected);
    // The other fields come from the display copy, tile curTile.
    EXPECT_EQ(doc.xfTile.color, source.tiles[0].color);
    EXPECT_EQ(doc.xfTile.reserved, source.tiles[0].reserved);
}

TEST(DocumentFile, LoadWithoutChainLeavesNoStaleTransform)
{
    Document doc = editedDocument();
    doc.nodeRecs = triangleChain(); // left from an earlier, finished transform
    doc.xfResume = kTrue;
    doc.xfReflected = kTrue;
    Document source = editedDocument();
    source.xfReflected = kTrue; // stored without a chain: cleared on reading
    ASSERT_TRUE(loadState(doc, bytesOf(source), 0, 0).ok);
    EXPECT_TRUE(doc.nodeRecs.empty());
    EXPECT_EQ(doc.xfResume, 0);
    EXPECT_EQ(doc.xfReflected, 0);
    EXPECT_FALSE(doc.xformOpen);
}

TEST(DocumentFile, OlderVersionKeepsTheSketchTable)
{
    Document source = sampleDocument();
    source.xformOpen = false;
    const std::vector<uint8_t> v09 = replaceHeader(withoutSketchSection(source), kHeaderV09);
    Document doc = editedDocument();
    const std::vector<Sketch> ownSketches = doc.sketches;
    const LoadReport report = loadState(doc, v09, 0, 0);
    ASSERT_TRUE(report.ok) << report.message;
    EXPECT_EQ(report.kind, HeaderKind::V09);
    EXPECT_EQ(doc.sketches, ownSketches);
    EXPECT_EQ(doc.tiles, source.tiles);
    EXPECT_EQ(doc.grid, GridHexagonal);
    // Saved again, it is a current-version file with the current sketch table.
    const std::vector<uint8_t> saved = *saveState(doc);
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 11), "morvel v.96");
    Document reread;
    ASSERT_TRUE(loadState(reread, saved, 0, 0).ok);
    EXPECT_EQ(reread.sketches, ownSketches);
}

TEST(DocumentFile, OlderVersionCarriesAPendingTransform)
{
    const std::vector<uint8_t> v09 =
        replaceHeader(withoutSketchSection(sampleDocument()), kHeaderV09);
    Document doc;
    ASSERT_TRUE(loadState(doc, v09, 0, 0).ok);
    EXPECT_TRUE(doc.xformOpen);
    EXPECT_EQ(doc.nodeRecCount(), 5);
}

TEST(DocumentFile, ForeignCentredTilesMoveToTheMiddleOfTheCanvas)
{
    const std::vector<Tile> tiles = {hexagonTile(-8, -14, 0x111111), hexagonTile(8, 0, 0x222222)};
    Document doc = editedDocument();
    const std::vector<Sketch> ownSketches = doc.sketches;
    const LoadReport report = loadState(doc, tilesOnlyFile(kHeaderForeignH, tiles), 400, 300);
    ASSERT_TRUE(report.ok) << report.message;
    EXPECT_EQ(report.kind, HeaderKind::ForeignH);
    EXPECT_EQ(report.statusText, "*h*from zud    2 elements");
    EXPECT_EQ(doc.grid, GridRectangular);
    ASSERT_EQ(doc.tileCount(), 2);
    for (size_t k = 0; k < tiles[0].verts.size(); ++k) { // the spare element too
        EXPECT_EQ(doc.tiles[0].verts[k].x, tiles[0].verts[k].x + 400);
        EXPECT_EQ(doc.tiles[0].verts[k].y, tiles[0].verts[k].y + 300);
    }
    // Everything but the tiles and the grid stays.
    EXPECT_EQ(doc.curTile, 1);
    EXPECT_EQ(doc.sketches, ownSketches);
    EXPECT_TRUE(doc.vtxSel.empty());
    EXPECT_FALSE(doc.dirty);
}

TEST(DocumentFile, ForeignCanvasTilesStayPut)
{
    const std::vector<Tile> tiles = {hexagonTile(100, 100, 0x111111)};
    Document doc = editedDocument();
    const LoadReport report = loadState(doc, tilesOnlyFile(kHeaderForeignG, tiles), 400, 300);
    ASSERT_TRUE(report.ok);
    EXPECT_EQ(report.statusText, "*g*from zud    1 elements");
    EXPECT_EQ(doc.tiles, tiles);
    EXPECT_EQ(doc.grid, GridRectangular);
}

TEST(DocumentFile, UnknownHeaderLoadsTilesOnBlankGrid)
{
    const std::vector<Tile> tiles = {hexagonTile(100, 100, 0x111111)};
    Document doc = editedDocument();
    const LoadReport report = loadState(doc, tilesOnlyFile("hello world", tiles), 400, 300);
    ASSERT_TRUE(report.ok);
    EXPECT_EQ(report.kind, HeaderKind::Unknown);
    EXPECT_EQ(report.header, "hello world");
    EXPECT_TRUE(report.statusText.empty());
    EXPECT_EQ(doc.tiles, tiles);
    EXPECT_EQ(doc.grid, GridNone);
    EXPECT_EQ(doc.curTile, 1);
}

TEST(DocumentFile, EmptyDocumentSavesAndLoads)
{
    Document empty;
    const auto bytes = saveState(empty);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 29u);
    Document doc = editedDocument();
    ASSERT_TRUE(loadState(doc, *bytes, 0, 0).ok);
    EXPECT_EQ(doc.tileCount(), 0);
    EXPECT_EQ(doc.curTile, 0);
    // Saved before a sketch table existed: it comes back with the empty record 0.
    std::vector<uint8_t> expected = *bytes;
    expected.resize(expected.size() + 16, 0);
    EXPECT_EQ(*saveState(doc), expected);
}

TEST(DocumentFile, TruncationAtEveryByteLoadsOrFailsUntouched)
{
    const std::vector<uint8_t> full = bytesOf(sampleDocument());
    int loads = 0;
    for (size_t n = 0; n <= full.size(); ++n) {
        SCOPED_TRACE(n);
        const std::vector<uint8_t> cut(full.begin(), full.begin() + n);
        Document doc = editedDocument();
        const std::vector<uint8_t> before = bytesOf(doc);
        const LoadReport report = loadState(doc, cut, 400, 300);
        if (report.ok) {
            ++loads;
            EXPECT_TRUE(saveState(doc).has_value()); // whatever loads can be saved
        } else {
            EXPECT_EQ(report.message, n < 11 ? std::string("error loading file")
                                             : std::string("morvel v.96error loading file"));
            EXPECT_EQ(bytesOf(doc), before);
            EXPECT_TRUE(doc.dirty);
            EXPECT_EQ(doc.vtxSel.size(), 1u);
        }
    }
    EXPECT_GE(loads, 1);
    // Cut right after the grid index: the sketch section reads as count 0 and an
    // empty record 0.
    Document doc;
    const size_t sketchSection = 2 + 16 + (14 + 10 + 48) + 16 + (14 + 10 + 48);
    const std::vector<uint8_t> noSketches(full.begin(), full.end() - sketchSection);
    ASSERT_TRUE(loadState(doc, noSketches, 0, 0).ok);
    EXPECT_EQ(doc.sketches, std::vector<Sketch>(1));
}

TEST(DocumentFile, LoadIsRefusedWhileTransformPending)
{
    Document doc = sampleDocument();
    const std::vector<uint8_t> before = bytesOf(doc);
    const LoadReport state = loadState(doc, bytesOf(editedDocument()), 0, 0);
    EXPECT_FALSE(state.ok);
    EXPECT_EQ(state.message, "please close the transform editor before loading new state");
    const LoadReport prims = loadPrims(doc, bytesOf(editedDocument()));
    EXPECT_FALSE(prims.ok);
    EXPECT_EQ(bytesOf(doc), before);
}

TEST(DocumentFile, LoadPrimsReplacesOnlyTheTiles)
{
    const std::vector<Tile> library = {hexagonTile(0, 0, 1), hexagonTile(30, 0, 2),
                                       hexagonTile(60, 0, 3)};
    Document doc = editedDocument();
    const std::vector<Sketch> ownSketches = doc.sketches;
    // The header is not checked, and what follows the tiles is not read.
    std::vector<uint8_t> bytes = tilesOnlyFile("anything!!!", library);
    bytes.push_back(0x7f);
    const LoadReport report = loadPrims(doc, bytes);
    ASSERT_TRUE(report.ok) << report.message;
    EXPECT_EQ(doc.tiles, library);
    EXPECT_EQ(doc.curTile, 1);
    EXPECT_EQ(doc.grid, GridCenterFace);
    EXPECT_EQ(doc.sketches, ownSketches);
    EXPECT_TRUE(doc.vtxSel.empty());
    EXPECT_FALSE(doc.dirty);

    // A damaged tile section changes nothing.
    Document kept = editedDocument();
    std::vector<uint8_t> damaged = bytes;
    damaged[11 + 2 + 2] = 5; // dimensions of the first vertex block
    const LoadReport bad = loadPrims(kept, damaged);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message, "anything!!!error loading file");
    EXPECT_EQ(kept.tiles, editedDocument().tiles);
    EXPECT_TRUE(kept.dirty);
}

TEST(DocumentFile, SaveStateFixesCurTileAndDropsAFinishedChain)
{
    for (int16_t cur : {int16_t{2}, int16_t{-3}, int16_t{32767}}) {
        Document doc = editedDocument();
        doc.curTile = cur;
        ASSERT_TRUE(saveState(doc)) << cur;
        EXPECT_EQ(doc.curTile, 0);
    }
    Document doc = editedDocument();
    doc.nodeRecs = triangleChain();
    const auto bytes = saveState(doc);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(doc.nodeRecs.empty());
    Document reread;
    ASSERT_TRUE(loadState(reread, *bytes, 0, 0).ok);
    EXPECT_FALSE(reread.xformOpen);
    EXPECT_TRUE(doc.dirty) << "the caller clears dirty once the file is written";
}

TEST(DocumentFile, SaveStateRefusesTooManyTiles)
{
    Document doc;
    doc.tiles.resize(32768);
    EXPECT_FALSE(saveState(doc));
}
