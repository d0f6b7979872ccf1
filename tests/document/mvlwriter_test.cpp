// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/chaincheck.h"
#include "document/mvlformat.h"
#include "mvlsamples.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using namespace tessella;
using namespace tessella::testing;

namespace {

int16_t i16At(const std::vector<uint8_t> &b, size_t at)
{
    return static_cast<int16_t>(b.at(at) | (b.at(at + 1) << 8));
}

int32_t i32At(const std::vector<uint8_t> &b, size_t at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(b.at(at + i)) << (8 * i);
    return static_cast<int32_t>(v);
}

double f64At(const std::vector<uint8_t> &b, size_t at)
{
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v |= static_cast<uint64_t>(b.at(at + i)) << (8 * i);
    return std::bit_cast<double>(v);
}

} // namespace

TEST(MvlWriter, EmptyDocumentIsHeaderCountCurTileColourAndTail)
{
    Document doc;
    doc.grid = GridCenterFace;
    const auto bytes = writeDocument(doc);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 29u);
    EXPECT_EQ(std::string(bytes->begin(), bytes->begin() + 11), "morvel v.96");
    EXPECT_EQ(i16At(*bytes, 11), 0); // tileCount
    EXPECT_EQ(i16At(*bytes, 13), 0); // curTile
    EXPECT_EQ(i32At(*bytes, 15), 0); // colour
    EXPECT_EQ(i16At(*bytes, 19), 0); // nodeRecCount
    EXPECT_EQ(i16At(*bytes, 21), 0); // xfReflected
    EXPECT_EQ(i16At(*bytes, 23), 2); // grid tag
    EXPECT_EQ(i16At(*bytes, 25), GridCenterFace);
    EXPECT_EQ(i16At(*bytes, 27), 0); // sketchCount, no records: table never created
}

TEST(MvlWriter, TileRecordFieldsAreLittleEndianInOrder)
{
    Document doc;
    Tile t;
    t.setCorners({{1.5, -2}, {3, 4}, {5, 6}});
    t.reflected = 1.0;
    t.angle = -0.25;
    t.color = 0x010203;
    t.sketchStart = 70000;
    t.reserved[0] = 0xAB;
    t.reserved[15] = 0xCD;
    t.grid = GridCenterFace;
    t.selected = kTrue;
    doc.tiles = {t};
    const auto b = *writeDocument(doc);
    size_t at = 13;
    EXPECT_EQ(i16At(b, at), 3);
    EXPECT_EQ(i16At(b, at + 2), 1); // dimensions
    EXPECT_EQ(i32At(b, at + 4), 4); // E: corners plus the spare
    EXPECT_EQ(i32At(b, at + 8), 0); // lower bound
    EXPECT_EQ(f64At(b, at + 12), 1.5);
    EXPECT_EQ(f64At(b, at + 20), -2.0);
    at += 2 + 10 + 4 * 16;
    EXPECT_EQ(f64At(b, at), 1.0);
    EXPECT_EQ(f64At(b, at + 8), -0.25);
    EXPECT_EQ(i32At(b, at + 16), 0x010203);
    EXPECT_EQ(i32At(b, at + 20), 70000);
    EXPECT_EQ(b[at + 24], 0xAB);
    EXPECT_EQ(b[at + 39], 0xCD);
    EXPECT_EQ(i16At(b, at + 40), GridCenterFace);
    EXPECT_EQ(i16At(b, at + 42), -1);
    EXPECT_EQ(i16At(b, at + 44), 0);
    // Then curTile 0 and the colour of tile 0 repeated.
    EXPECT_EQ(i16At(b, at + 46), 0);
    EXPECT_EQ(i32At(b, at + 48), 0x010203);
    EXPECT_EQ(b.size(), 13 + 48 + 10 + 4 * 16 + 16u);
}

TEST(MvlWriter, UnallocatedAndZeroLengthArraysDiffer)
{
    Document doc;
    Tile never;
    Tile empty;
    empty.vertsAllocated = true;
    doc.tiles = {never, empty};
    const auto b = *writeDocument(doc);
    EXPECT_EQ(i16At(b, 13), 0);
    EXPECT_EQ(i16At(b, 15), 0); // single i16 0
    const size_t second = 13 + 50;
    EXPECT_EQ(i16At(b, second + 2), 1);
    EXPECT_EQ(i32At(b, second + 4), 0);
    EXPECT_EQ(b.size(), 13 + 50 + 58 + 16u);
}

TEST(MvlWriter, NodeRecordsOnlyWhileTransformPending)
{
    Document doc = sampleDocument();
    const auto withChain = *writeDocument(doc);
    doc.xformOpen = false;
    const auto withoutChain = *writeDocument(doc);
    EXPECT_EQ(withChain.size(), withoutChain.size() + 5 * kNodeRecordBytes);

    // Locate the count of the chain: right after curTile and the colour.
    Document tilesOnly;
    tilesOnly.tiles = doc.tiles;
    const size_t tail = writeDocument(tilesOnly)->size() - 16;
    EXPECT_EQ(i16At(withChain, tail + 6), 5);
    EXPECT_EQ(i16At(withoutChain, tail + 6), 0);
    // Record layout: Anchored at 0, x at 6, nPoints at 30, bcpY at 60.
    const size_t rec1 = tail + 10 + kNodeRecordBytes;
    EXPECT_EQ(i16At(withChain, rec1), 0);
    EXPECT_EQ(f64At(withChain, rec1 + 6), 25.0);
    EXPECT_EQ(i32At(withChain, rec1 + 22), 255);
    EXPECT_EQ(i32At(withChain, rec1 + 26), 16711680);
    EXPECT_EQ(i16At(withChain, rec1 + 30), 5);
    EXPECT_EQ(i16At(withChain, rec1 + 32), -1);
    EXPECT_EQ(f64At(withChain, rec1 + 60), 8.0);
}

TEST(MvlWriter, RefusesWhatDoesNotFitOrWouldNotLoad)
{
    const Document good = sampleDocument();
    ASSERT_TRUE(writeDocument(good));

    Document tooManyTiles;
    tooManyTiles.tiles.resize(32768);
    EXPECT_FALSE(writeDocument(tooManyTiles)) << "32768 tiles";
    tooManyTiles.tiles.resize(32767);
    EXPECT_TRUE(writeDocument(tooManyTiles)) << "32767 tiles fit";

    Document tooManySketches;
    tooManySketches.sketches.resize(32768);
    EXPECT_FALSE(writeDocument(tooManySketches));

    Document usedPastArray = good;
    usedPastArray.tiles[0].nVerts = 8; // 7 allocated
    EXPECT_FALSE(writeDocument(usedPastArray));

    Document negativeUsed = good;
    negativeUsed.sketches[3].nPoints = -1;
    EXPECT_FALSE(writeDocument(negativeUsed));

    Document badGrid = good;
    badGrid.grid = 7;
    EXPECT_FALSE(writeDocument(badGrid));

    Document badCur = good;
    badCur.curTile = 3;
    EXPECT_FALSE(writeDocument(badCur));

    Document brokenChain = good;
    brokenChain.nodeRecs.back().anchored = kFalse;
    EXPECT_FALSE(writeDocument(brokenChain));
    brokenChain.xformOpen = false; // the chain is not written then
    EXPECT_TRUE(writeDocument(brokenChain));
}

TEST(ChainCheck, AcceptsWellFormedChains)
{
    EXPECT_TRUE(isValidSavedChain({}, false));
    EXPECT_TRUE(isValidSavedChain(triangleChain(), false));
    auto reflected = triangleChain();
    reflected[2].refCenter = kTrue;
    EXPECT_TRUE(isValidSavedChain(reflected, true));
    auto lowCounts = triangleChain();
    lowCounts[0].nPoints = -4; // contributes nothing
    EXPECT_TRUE(isValidSavedChain(lowCounts, false));
    EXPECT_EQ(flattenedPointCount(triangleChain()), 1 + 4 + 1 + 1);
}

TEST(ChainCheck, RejectsChainsWalksCouldNotFinish)
{
    struct Case
    {
        const char *name;
        void (*spoil)(std::vector<NodeRecord> &);
        bool reflected;
    };
    const Case cases[] = {
        {"no anchored record",
         [](auto &c) {
             for (auto &r : c)
                 r.anchored = kFalse;
         },
         false},
        {"first not anchored", [](auto &c) { c.front().anchored = kFalse; }, false},
        {"last not anchored", [](auto &c) { c.back().anchored = kFalse; }, false},
        {"fewer than four records", [](auto &c) { c.erase(c.begin() + 1, c.begin() + 3); }, false},
        {"two corners before the closing one", [](auto &c) { c[3].anchored = kFalse; }, false},
        {"nPoints 27", [](auto &c) { c[1].nPoints = 27; }, false},
        {"reflected without a centre", [](auto &) {}, true},
        {"centre only on the first record", [](auto &c) { c[0].refCenter = kTrue; }, true},
        {"NaN coordinate", [](auto &c) { c[2].y = std::nan(""); }, false},
        {"infinite handle", [](auto &c) { c[1].bcpX = std::numeric_limits<double>::infinity(); },
         false},
        {"flattened outline over 32767 points",
         [](auto &c) {
             NodeRecord filler = c[1];
             filler.nPoints = 26;
             c.insert(c.begin() + 1, 1400, filler);
         },
         false},
    };
    for (const Case &k : cases) {
        auto chain = triangleChain();
        k.spoil(chain);
        EXPECT_FALSE(isValidSavedChain(chain, k.reflected)) << k.name;
    }
}
