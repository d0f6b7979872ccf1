// SPDX-License-Identifier: GPL-3.0-or-later
// The sketch items of the polygon: taken into the editor and stored back as a run.
#include "transform/sketchstore.h"

#include <gtest/gtest.h>

namespace tessella::testing {
namespace {

Sketch item(double x, double y, int16_t kind = 0)
{
    Sketch s;
    s.kind = kind;
    s.points = {{x, y}, {x + 5, y + 1}};
    s.nPoints = 2;
    return s;
}

class SketchStoreTest : public ::testing::Test
{
protected:
    Document doc;
    SketchWorkingCopy work;
    Tile tile;

    void SetUp() override
    {
        doc.appendSketchRun({item(100, 100)}); // another polygon's run
        tile.sketchStart = doc.appendSketchRun({item(1, 2), item(3, 4, 1)});
        ASSERT_EQ(tile.sketchStart, 2);
    }
};

TEST_F(SketchStoreTest, LoadsEveryItemOfThePolygonsOwnRun)
{
    work.sketchRun = 1; // a run stored earlier by this window for another polygon
    loadSketches(doc, tile, 10, 20, work);
    ASSERT_EQ(work.sketchNext, 3);
    EXPECT_EQ(work.sketchItems[1].points[0], (Vertex{11, 22}));
    EXPECT_EQ(work.sketchItems[2].points[0], (Vertex{13, 24}));
    EXPECT_EQ(work.sketchItems[2].kind, 1);
    EXPECT_FALSE(work.sketchesChanged);
}

TEST_F(SketchStoreTest, LoadUsesOnlyWhatTheTableHolds)
{
    Tile bad;
    bad.sketchStart = 99;
    loadSketches(doc, bad, 0, 0, work);
    EXPECT_EQ(work.sketchNext, 1);
    doc.sketches[2].count = 50; // overruns the table
    doc.sketches[3].nPoints = 40;
    loadSketches(doc, tile, 0, 0, work);
    ASSERT_EQ(work.sketchNext, 3);
    EXPECT_EQ(work.sketchItems[2].nPoints, 2);
    doc.sketches[2].count = 0;
    loadSketches(doc, tile, 0, 0, work);
    EXPECT_EQ(work.sketchNext, 1);
}

TEST_F(SketchStoreTest, StoresTheSurvivorsAsANewRun)
{
    loadSketches(doc, tile, 10, 20, work);
    work.sketchItems[1].deletedMark = kTrue;
    work.sketchesChanged = true;
    Tile ret = tile;
    ASSERT_EQ(storeSketches(doc, work, 10, 20, ret), StoreResult::Stored);
    EXPECT_EQ(ret.sketchStart, 4);
    EXPECT_EQ(work.sketchRun, 4);
    ASSERT_EQ(doc.sketchCount(), 4);
    EXPECT_EQ(doc.sketches[4].count, 1);
    EXPECT_EQ(doc.sketches[4].points[0], (Vertex{3, 4}));
    // Opening again shows the stored item, not the old run.
    loadSketches(doc, ret, 0, 0, work);
    EXPECT_EQ(work.sketchNext, 2);
}

TEST_F(SketchStoreTest, NothingLeftClearsTheRun)
{
    loadSketches(doc, tile, 0, 0, work);
    work.sketchItems[1].deletedMark = kTrue;
    work.sketchItems[2].deletedMark = kTrue;
    Tile ret = tile;
    EXPECT_EQ(storeSketches(doc, work, 0, 0, ret), StoreResult::Empty);
    EXPECT_EQ(ret.sketchStart, 0);
    EXPECT_EQ(work.sketchRun, 0);
    EXPECT_EQ(doc.sketchCount(), 3);
}

TEST_F(SketchStoreTest, FullTableIsReportedAndChangesNothing)
{
    doc.sketches.resize(kMaxRecords);
    loadSketches(doc, tile, 0, 0, work);
    const auto before = doc.sketches.size();
    Tile ret = tile;
    EXPECT_EQ(storeSketches(doc, work, 0, 0, ret), StoreResult::TableFull);
    EXPECT_EQ(doc.sketches.size(), before);
    EXPECT_EQ(ret.sketchStart, tile.sketchStart);
}

TEST_F(SketchStoreTest, MirroredCopiesComeAndGo)
{
    loadSketches(doc, tile, 0, 0, work);
    mirrorSketches(work, 50);
    ASSERT_EQ(work.sketchNext, 5);
    EXPECT_EQ(work.sketchItems[3].points[0].x, 99);
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, 3);
    // After a reload the mirrored half is recognised by its geometry.
    mirrorSketches(work, 50);
    work.mirrorFrom = 0;
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, 3);
    // Items that are not mirror images stay.
    work.append(item(7, 7));
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, 4);
}

} // namespace
} // namespace tessella::testing
