// SPDX-License-Identifier: GPL-3.0-or-later
// What "load state", "load prims" and "save state" do to the document.
#include "document/documentfile.h"
#include "mvlsamples.h"

#include <gtest/gtest.h>

using namespace tessella;
using namespace tessella::testing;
using tessella::test::documentOf;

namespace {

TEST(LoadState, EachHeaderKindTakesWhatItsFileCarries)
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
        {false, kHeaderForeignG, tilesOnly - 16, HeaderKind::ForeignG, GridRectangular, false,
         false, 0, "*g*from zud    2 elements"},
        // Centred on the origin: moved by half the canvas.
        {false, kHeaderForeignH, tilesOnly - 16, HeaderKind::ForeignH, GridRectangular, false,
         false, 1, "*h*from zud    2 elements"},
        {false, "hello world", tilesOnly - 16, HeaderKind::Unknown, GridNone, false, false, 0, ""},
        // The primitives library: any header, the tiles alone, the rest not even read.
        {true, "anything!!!", full, HeaderKind::Unknown, GridCenterFace, false, false, 0, ""},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.header);
        Document doc = editedDocument();
        std::vector<uint8_t> bytes = bytesOf(source);
        bytes.resize(c.size);
        std::copy(c.header.begin(), c.header.end(), bytes.begin());
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

    // The colour item recolours the current tile; a damaged library changes nothing.
    source.curTile = 1;
    std::vector<uint8_t> bytes = bytesOf(source);
    bytes[tilesOnly - 14] = 0x99;
    Document doc;
    ASSERT_TRUE(loadState(doc, bytes, 0, 0).ok);
    EXPECT_TRUE(doc.tiles[0].color == 0x111111 && doc.tiles[1].color == 0x222299);
    bytes[15] = 5; // dimensions of the first vertex block
    EXPECT_EQ(loadPrims(doc, bytes).message, "morvel v.96error loading file");
    EXPECT_EQ(doc.tiles[1].color, 0x222299);
}

TEST(LoadState, PendingTransformIsRebuiltRefusesLoadsOrIsClearedWithTheFile)
{
    const Document source = sampleDocument();
    Document doc = editedDocument();
    ASSERT_TRUE(loadState(doc, bytesOf(source), 0, 0).ok);
    EXPECT_TRUE(doc.xformOpen && doc.xfResume == kTrue && doc.xfReflected == kTrue);
    EXPECT_EQ(doc.nodeRecs, source.nodeRecs);
    // The anchored records (the closing one too) are the corners, the spare repeats the
    // first; every other field is the display copy's, tile curTile.
    Tile expected = source.tiles[0];
    expected.setCorners({{10, 10}, {40, 10}, {25, 40}, {10, 10}});
    EXPECT_EQ(doc.xfTile, expected);

    const std::vector<uint8_t> kept = bytesOf(doc);
    EXPECT_EQ(loadState(doc, bytesOf(editedDocument()), 0, 0).message,
              "please close the transform editor before loading new state");
    EXPECT_FALSE(loadPrims(doc, bytesOf(editedDocument())).ok);
    EXPECT_EQ(bytesOf(doc), kept);

    // A file without a chain leaves no stale transform behind, nor its reflection flag.
    Document later = editedDocument(), plain = editedDocument();
    later.nodeRecs = triangleChain(), later.xfResume = kTrue, later.xfTile = source.tiles[0];
    plain.xfReflected = kTrue;
    ASSERT_TRUE(loadState(later, bytesOf(plain), 0, 0).ok);
    EXPECT_TRUE(later.nodeRecs.empty() && later.xfResume == 0 && later.xfReflected == 0 &&
                later.xfTile == Tile{});
}

TEST(SaveState, FixesCurTileDropsAFinishedChainAndLeavesDirtyToTheCaller)
{
    Document doc = editedDocument();
    for (int16_t cur : {int16_t{2}, int16_t{-3}}) {
        doc.curTile = cur;
        EXPECT_TRUE(saveState(doc) && doc.curTile == 0) << cur;
    }
    doc.nodeRecs = triangleChain();
    const auto bytes = saveState(doc);
    EXPECT_TRUE(bytes && doc.nodeRecs.empty() && doc.dirty);
    doc.xformOpen = true; // a transform opened, no chain saved yet: no records
    EXPECT_EQ(saveState(doc), bytes);

    // A polygon only in the transform editor is saved as the current tile, the last one.
    doc.xfEditorOnly = true, doc.xfReturn = hexagonTile(90, 90, 0x123456);
    Document back;
    ASSERT_TRUE(loadState(back, *saveState(doc), 0, 0).ok);
    EXPECT_TRUE(back.tileCount() == 3 && back.curTile == 2 && back.tiles[2] == doc.xfReturn);
}

} // namespace
