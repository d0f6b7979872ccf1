// SPDX-License-Identifier: GPL-3.0-or-later
// What "load state", "load prims" and "save state" do to the document.
#include "document/documentfile.h"
#include "mvlsamples.h"

#include <gtest/gtest.h>

using namespace tessella;
using namespace tessella::testing;
using tessella::test::documentOf;

namespace {

Document editedDocument()
{
    Document doc =
        documentOf({hexagonTile(0, 0, 0x0000ff), hexagonTile(50, 0, 0x00ff00)}, GridCenterFace);
    doc.curTile = 1;
    doc.appendSketchRun({Sketch{}});
    doc.vtxSel = {{1, 3}};
    doc.dirty = true;
    return doc;
}

// Two tiles centred near the origin, curTile 0, hexagonal grid, a sketch run of two.
Document sourceDocument()
{
    Document doc =
        documentOf({hexagonTile(-8, -14, 0x111111), hexagonTile(8, 0, 0x222222)}, GridHexagonal);
    doc.appendSketchRun({Sketch{}, Sketch{}});
    return doc;
}

enum class Cut { None, SketchSection, AfterTiles };

std::vector<uint8_t> fileOf(const Document &doc, std::string_view header, Cut cut)
{
    std::vector<uint8_t> bytes = bytesOf(doc);
    if (cut == Cut::SketchSection)
        bytes.resize(bytesOf(documentOf(doc.tiles, doc.grid)).size() - 2);
    if (cut == Cut::AfterTiles)
        bytes.resize(bytesOf(documentOf(doc.tiles)).size() - 16);
    std::copy(header.begin(), header.end(), bytes.begin());
    return bytes;
}

} // namespace

TEST(LoadState, EachHeaderKindTakesWhatItsFileCarries)
{
    const Document source = sourceDocument();
    const Document edited = editedDocument();
    const struct
    {
        std::string_view header;
        Cut cut;
        HeaderKind kind;
        int16_t grid;
        bool curFromFile;      // else curTile stays
        bool sketchesFromFile; // else the sketch table stays
        double shift;          // added to every vertex: half the canvas (400, 300) or nothing
        std::string status;
    } cases[] = {
        {kHeaderV96, Cut::None, HeaderKind::V96, GridHexagonal, true, true, 0, ""},
        {kHeaderV09, Cut::SketchSection, HeaderKind::V09, GridHexagonal, true, false, 0, ""},
        {kHeaderForeignG, Cut::AfterTiles, HeaderKind::ForeignG, GridRectangular, false, false, 0,
         "*g*from zud    2 elements"},
        {kHeaderForeignH, Cut::AfterTiles, HeaderKind::ForeignH, GridRectangular, false, false, 1,
         "*h*from zud    2 elements"},
        {"hello world", Cut::AfterTiles, HeaderKind::Unknown, GridNone, false, false, 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.header);
        Document doc = editedDocument();
        const LoadReport report = loadState(doc, fileOf(source, c.header, c.cut), 400, 300);
        ASSERT_TRUE(report.ok) << report.message;
        EXPECT_EQ(report.kind, c.kind);
        EXPECT_EQ(report.header, c.header);
        EXPECT_EQ(report.statusText, c.status);
        EXPECT_EQ(doc.grid, c.grid);
        EXPECT_EQ(doc.curTile, c.curFromFile ? source.curTile : edited.curTile);
        EXPECT_EQ(doc.sketches, c.sketchesFromFile ? source.sketches : edited.sketches);
        ASSERT_EQ(doc.tileCount(), 2);
        for (int t = 0; t < 2; ++t) {
            ASSERT_EQ(doc.tiles[t].verts.size(), source.tiles[t].verts.size());
            for (size_t k = 0; k < source.tiles[t].verts.size(); ++k) { // the spare too
                EXPECT_EQ(doc.tiles[t].verts[k].x, source.tiles[t].verts[k].x + 400 * c.shift);
                EXPECT_EQ(doc.tiles[t].verts[k].y, source.tiles[t].verts[k].y + 300 * c.shift);
            }
        }
        EXPECT_TRUE(doc.vtxSel.empty());
        EXPECT_FALSE(doc.dirty);
    }
}

TEST(LoadState, ColourItemRecolorsTheCurrentTile)
{
    Document source = sourceDocument();
    source.curTile = 1;
    std::vector<uint8_t> bytes = bytesOf(source);
    const size_t colourAt = bytesOf(documentOf(source.tiles)).size() - 14;
    bytes[colourAt] = 0x99;
    Document doc;
    ASSERT_TRUE(loadState(doc, bytes, 0, 0).ok);
    EXPECT_EQ(doc.tiles[1].color, 0x222299);
    EXPECT_EQ(doc.tiles[0].color, 0x111111);
}

TEST(LoadState, PendingTransformIsRebuiltOrClearedWithTheFile)
{
    const Document source = sampleDocument();
    Document doc = editedDocument();
    ASSERT_TRUE(loadState(doc, bytesOf(source), 0, 0).ok);
    EXPECT_TRUE(doc.xformOpen);
    EXPECT_EQ(doc.xfResume, kTrue);
    EXPECT_EQ(doc.xfReflected, kTrue);
    EXPECT_EQ(doc.nodeRecs, source.nodeRecs);
    // The anchored records (the closing one too) are the corners, the spare repeats the
    // first; every other field is the display copy's, tile curTile.
    EXPECT_EQ(doc.xfTile.nVerts, 4);
    EXPECT_EQ(doc.xfTile.verts,
              (std::vector<Vertex>{{10, 10}, {40, 10}, {25, 40}, {10, 10}, {10, 10}}));
    EXPECT_EQ(doc.xfTile.color, source.tiles[0].color);
    EXPECT_EQ(doc.xfTile.reserved, source.tiles[0].reserved);

    // A load while the transform is pending is refused, prims too.
    const std::vector<uint8_t> kept = bytesOf(doc);
    const LoadReport refused = loadState(doc, bytesOf(editedDocument()), 0, 0);
    EXPECT_EQ(refused.message, "please close the transform editor before loading new state");
    EXPECT_FALSE(loadPrims(doc, bytesOf(editedDocument())).ok);
    EXPECT_EQ(bytesOf(doc), kept);

    // A file without a chain leaves no stale transform behind, nor its reflection flag.
    Document later = editedDocument();
    later.nodeRecs = triangleChain();
    later.xfResume = kTrue;
    later.xfTile = source.tiles[0];
    Document plain = editedDocument();
    plain.xfReflected = kTrue;
    ASSERT_TRUE(loadState(later, bytesOf(plain), 0, 0).ok);
    EXPECT_TRUE(later.nodeRecs.empty());
    EXPECT_EQ(later.xfResume, 0);
    EXPECT_EQ(later.xfReflected, 0);
    EXPECT_EQ(later.xfTile, Tile{});
}

TEST(LoadPrims, ReplacesOnlyTheTilesAndRefusesDamage)
{
    const Document library = sourceDocument();
    std::vector<uint8_t> bytes = fileOf(library, "anything!!!", Cut::AfterTiles);
    bytes.push_back(0x7f); // what follows the tiles is not read
    Document doc = editedDocument();
    ASSERT_TRUE(loadPrims(doc, bytes).ok);
    EXPECT_EQ(doc.tiles, library.tiles);
    EXPECT_EQ(doc.curTile, 1);
    EXPECT_EQ(doc.grid, GridCenterFace);
    EXPECT_EQ(doc.sketches, editedDocument().sketches);
    EXPECT_TRUE(doc.vtxSel.empty());
    EXPECT_FALSE(doc.dirty);

    Document kept = editedDocument();
    bytes[15] = 5; // dimensions of the first vertex block
    const LoadReport bad = loadPrims(kept, bytes);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message, "anything!!!error loading file");
    EXPECT_EQ(bytesOf(kept), bytesOf(editedDocument()));
    EXPECT_TRUE(kept.dirty);
}

TEST(SaveState, FixesCurTileDropsAFinishedChainAndLeavesDirtyToTheCaller)
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
    EXPECT_TRUE(doc.dirty);

    // A transform opened but with no chain saved yet writes no records.
    doc.xformOpen = true;
    EXPECT_EQ(saveState(doc), bytes);

    Document tooMany;
    tooMany.tiles.resize(32768);
    EXPECT_FALSE(saveState(tooMany));
}
