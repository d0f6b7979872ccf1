// SPDX-License-Identifier: GPL-3.0-or-later
// The transform editor's hand-over: a pending transform saved with the document and
// reopened, and the polygon's sketch items taken in and stored back.
#include "xformwindowfixture.h"

#include "document/documentfile.h"

namespace tessella::testing {
namespace {

class XformHandOverTest : public XformWindowTest
{
protected:
    // A translation link on the square at (100, 100): one point added on the top edge
    // and dragged to editor (60, 30).
    void editTranslation()
    {
        choose(XformTranslate);
        clickAt(60, 40);
        clickAt(60, 40);
        press(60, 40);
        moveTo(60, 30);
        release(60, 30);
        ASSERT_EQ(nodes().size(), 7u);
        ASSERT_EQ(nodes()[4]->y, 70);
    }

    // Saves the document as "save state" does and loads it again as "load state".
    Document reload()
    {
        const auto bytes = saveState(doc);
        EXPECT_TRUE(bytes.has_value());
        Document loaded;
        const LoadReport report = loadState(loaded, *bytes, 0, 0);
        EXPECT_TRUE(report.ok) << report.message;
        return loaded;
    }

    static Sketch item(double x, double y)
    {
        Sketch s;
        s.kind = 1;
        s.points = {{x, y}, {x + 5, y}, {x + 5, y + 5}, {x, y}};
        s.nPoints = 4;
        return s;
    }
};

TEST_F(XformHandOverTest, ReloadedPendingTransformReopensOnTheSameChainAndPlace)
{
    open();
    editTranslation();
    click("cmdReturn");
    ASSERT_EQ(doc.tileCount(), 1);
    const Tile returned = doc.xfReturn;
    const std::vector<NodeRecord> saved = doc.nodeRecs;

    Document loaded = reload();
    EXPECT_NE(loaded.xfResume, 0);
    EXPECT_TRUE(loaded.xformOpen);
    ASSERT_EQ(loaded.nodeRecs, saved);
    // "return to transform" takes the display copy out of the tiling before the window
    // opens; its first corner tells where the polygon lay.
    const Vertex displayCorner = loaded.currentTile()->verts[0];
    EXPECT_EQ(displayCorner, (Vertex{100, 100}));
    loaded.tiles.erase(loaded.tiles.begin() + loaded.curTile);

    window.reset();
    doc = std::move(loaded);
    makeWindow(displayCorner);
    EXPECT_EQ(doc.xfResume, 0);
    EXPECT_EQ(window->chain().saveChain(), saved);
    EXPECT_EQ(window->chain().editOffsetX, -60);
    EXPECT_EQ(window->chain().editOffsetY, -60);
    EXPECT_EQ(text("txtTotal"), "6 points");
    // The saved colours still show the link; the list starts at "none".
    EXPECT_EQ(window->chain().firstNode->lineColr, kColourSource);
    EXPECT_EQ(control<QListWidget>("lstXforms")->currentRow(), XformNone);

    click("cmdReturn");
    ASSERT_EQ(doc.tileCount(), 1);
    EXPECT_EQ(doc.xfReturn.verts, returned.verts) << "handed back where it was";
    EXPECT_EQ(doc.xfReturn.nVerts, returned.nVerts);
}

TEST_F(XformHandOverTest, SavingAfterExitDropsTheChain)
{
    open();
    editTranslation();
    dialogs.expectYesNo(Answer::Yes);
    click("cmdExit");
    ASSERT_FALSE(doc.xformOpen);
    Document loaded = reload();
    EXPECT_EQ(loaded.nodeRecCount(), 0);
    EXPECT_FALSE(loaded.xformOpen);
    EXPECT_EQ(loaded.tiles.back().nVerts, 6);
}

TEST_F(XformHandOverTest, SketchItemsComeInAndGoBackAsTheirOwnRun)
{
    // Record 0 is never used; the polygon's run holds two items.
    doc.sketches = {Sketch{}, item(2, 3), item(10, 12)};
    doc.sketches[1].count = 2;
    Tile square = squareAt(100, 100, 40);
    square.sketchStart = 1;
    open(square);
    SketchWorkingCopy &work = window->sketches();
    ASSERT_EQ(work.sketchNext, 3) << "both items of the run";
    EXPECT_EQ(work.sketchItems[1].points[0], (Vertex{42, 43}));
    EXPECT_EQ(work.sketchItems[2].points[0], (Vertex{50, 52}));

    // Unchanged sketches keep the polygon's own run.
    click("cmdReturn");
    EXPECT_EQ(doc.xfReturn.sketchStart, 1);
    EXPECT_EQ(doc.sketchCount(), 2);

    // One item removed: the survivor becomes a new run of the returned polygon.
    window->show();
    work.sketchItems[1].deletedMark = kTrue;
    work.sketchesChanged = true;
    click("cmdReturn");
    ASSERT_EQ(doc.sketchCount(), 3);
    EXPECT_EQ(doc.xfReturn.sketchStart, 3);
    EXPECT_EQ(doc.sketches[3].count, 1);
    EXPECT_EQ(doc.sketches[3].points[0], (Vertex{10, 12}));
    EXPECT_FALSE(work.sketchesChanged);

    // A later hand-back without changes still names the stored run.
    window->show();
    click("cmdReturn");
    EXPECT_EQ(doc.xfReturn.sketchStart, 3);
    EXPECT_EQ(doc.sketchCount(), 3);
}

} // namespace
} // namespace tessella::testing
