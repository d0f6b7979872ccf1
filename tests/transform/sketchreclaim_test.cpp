// SPDX-License-Identifier: GPL-3.0-or-later
// Handing back changed sketch items when the sketch table is full of runs nothing uses.
#include "xformwindowfixture.h"

namespace tessella::testing {
namespace {

TEST_F(XformWindowTest, AFullSketchTableIsReclaimedBeforeTheSketchesAreStored)
{
    Sketch old;
    old.nPoints = 2;
    old.points = {{1, 1}, {2, 2}};
    doc.sketches.assign(kMaxRecords, old); // one unreferenced run fills the table
    doc.sketches[0] = Sketch{};
    doc.sketches[1].count = kMaxRecords - 1;
    open();
    SketchWorkingCopy &work = window->sketches();
    Sketch drawn = old;
    drawn.points = {{50, 50}, {60, 55}};
    ASSERT_TRUE(work.append(drawn));
    work.sketchesChanged = true;

    click("cmdReturn");
    ASSERT_EQ(handBacks.size(), 1u);
    ASSERT_EQ(doc.sketchCount(), 1);
    EXPECT_EQ(doc.xfReturn.sketchStart, 1);
    EXPECT_EQ(doc.sketches[1].points[0], (Vertex{10, 10})); // back relative to the corner
}

} // namespace
} // namespace tessella::testing
