// SPDX-License-Identifier: GPL-3.0-or-later
// Selections without a window: list entries, clicks, marquees and colour picks.
#include "pointerfixture.h"

namespace tessella::pointertest {
namespace {

class SelectionTest : public PointerTest
{
protected:
    void SetUp() override
    {
        PointerTest::SetUp();
        doc.tiles = {square(8, 8, 32, 1), square(40, 8, 32, 2), square(8, 40, 32, 3),
                     square(40, 40, 32, 4), square(40, 40, 32, 5, GridHexagonal)};
        show();
    }
    std::vector<int> selectedTiles() const
    {
        std::vector<int> out;
        for (std::size_t i = 0; i < doc.tiles.size(); ++i) {
            if (doc.tiles[i].selected != 0)
                out.push_back(int(i));
        }
        return out;
    }
    void marquee(Vertex from, Vertex to, bool vertices)
    {
        selection.startMarquee(from.x, from.y);
        selection.drawMarquee((from.x + to.x) / 2, (from.y + to.y) / 2);
        selection.drawMarquee(to.x, to.y);
        selection.endMarquee(to.x, to.y, vertices);
    }
};

TEST_F(SelectionTest, ListEntriesActOnTheCurrentGridOnly)
{
    doc.vtxSel = {{0, 0}};
    selectAllTiles(doc, GridRectangular);
    EXPECT_EQ(selectedTiles(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(doc.vtxSel.size(), 1u); // "all" keeps the vertices
    doc.tiles[4].selected = kTrue;
    selectNoTiles(doc, GridRectangular);
    EXPECT_EQ(selectedTiles(), (std::vector<int>{4}));
    EXPECT_TRUE(doc.vtxSel.empty()); // "none" clears them
    doc.tiles[1].selected = kTrue;
    invertTileSelection(doc, GridRectangular);
    EXPECT_EQ(selectedTiles(), (std::vector<int>{0, 2, 3, 4}));
}

TEST_F(SelectionTest, TileClickTogglesAndAMissBeeps)
{
    selection.pressTile(20, 20);
    EXPECT_EQ(selectedTiles(), (std::vector<int>{0}));
    selection.pressTile(40, 20); // the shared edge belongs to both outlines
    EXPECT_EQ(selectedTiles(), (std::vector<int>{1}));
    selection.pressTile(300, 200);
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(SelectionTest, ByColorTakesTheShownColourAndOnlyAdds)
{
    doc.tiles.push_back(square(120, 8, 16, 2));
    doc.tiles.push_back(square(150, 8, 16, 0));
    doc.tiles[3].selected = kTrue;
    show();
    selection.pressByColor(50, 20); // inside tile 1: colour 2
    EXPECT_EQ(selectedTiles(), (std::vector<int>{1, 3, 5}));
    selection.pressByColor(8, 20); // on an outline: black, the colour of tile 6
    EXPECT_EQ(selectedTiles(), (std::vector<int>{1, 3, 5, 6}));
    selection.pressByColor(300, 200);
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(SelectionTest, VertexClickTogglesEveryCoincidentVertex)
{
    selection.pressVertex(41, 38);
    ASSERT_EQ(doc.vtxSel.size(), 4u); // the hexagonal tile's corner is not on this grid
    EXPECT_EQ(doc.vtxSel[0], (VertexRef{0, 2}));
    EXPECT_EQ(doc.vtxSel[1], (VertexRef{1, 3}));
    selection.pressVertex(39, 42);
    EXPECT_TRUE(doc.vtxSel.empty());
    selection.pressVertex(44, 40); // |dx| = 4 is not near
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(SelectionTest, TileMarqueeSelectsTheSameWhicheverWayItIsDrawn)
{
    marquee({30, 30}, {50, 80}, false);
    const std::vector<int> forwards = selectedTiles();
    EXPECT_EQ(forwards, (std::vector<int>{0, 1, 2, 3}));
    selectNoTiles(doc, GridRectangular);
    marquee({50, 80}, {30, 30}, false);
    EXPECT_EQ(selectedTiles(), forwards);
    selectNoTiles(doc, GridRectangular);
    marquee({72, 72}, {80, 80}, false); // a corner on the border is outside
    EXPECT_TRUE(selectedTiles().empty());
    EXPECT_FALSE(selection.marqueeActive());
}

TEST_F(SelectionTest, MarqueeIsDrawnInRedOnTheTransientLayer)
{
    selection.startMarquee(100, 100);
    selection.drawMarquee(200, 150);
    EXPECT_EQ(host.canvas.pixel(150, 100), 255);
    EXPECT_EQ(host.canvas.pixel(200, 125), 255);
    selection.drawMarquee(120, 120);
    EXPECT_NE(host.canvas.pixel(150, 100), 255); // the old rectangle is gone
    selection.endMarquee(120, 120, false);
    EXPECT_NE(host.canvas.pixel(110, 100), 255);
}

TEST_F(SelectionTest, VertexMarqueeSkipsVerticesAlreadySelected)
{
    marquee({30, 30}, {50, 50}, true);
    ASSERT_EQ(doc.vtxSel.size(), 4u);
    marquee({50, 50}, {30, 30}, true);
    EXPECT_EQ(doc.vtxSel.size(), 4u); // a repeat adds nothing, so nothing moves twice
    marquee({0, 0}, {50, 50}, true);
    EXPECT_EQ(doc.vtxSel.size(), 9u);
}

TEST_F(SelectionTest, VertexSelectionStopsAtTheTableLimit)
{
    doc.tiles.assign(9000, square(8, 8, 32, 1));
    marquee({0, 0}, {100, 100}, true);
    EXPECT_EQ(doc.vtxSel.size(), std::size_t(kMaxRecords));
}

TEST(PickedColour, FallsBackToTheTileColourOnBackgroundAndProbePixels)
{
    EXPECT_EQ(pickedColour(kCanvasBackground, 0x123456), 0x123456);
    EXPECT_EQ(pickedColour(kProbeColour, 0x123456), 0x123456);
    EXPECT_EQ(pickedColour(0, 0x123456), 0);
    EXPECT_EQ(pickedColour(0xffffff, 0x123456), 0xffffff);
}

class ColourChipTest : public PointerTest
{
protected:
    void SetUp() override
    {
        PointerTest::SetUp();
        doc.tiles = {square(40, 40, 32, 0x0000ff)};
        show();
    }
};

TEST_F(ColourChipTest, RightClickChoosesAndCancelKeepsTheColour)
{
    dialogs.expectColor(std::nullopt);
    EXPECT_FALSE(chip.pressed(2));
    EXPECT_EQ(chip.colour(), ColourChip::kInitialColour);
    dialogs.expectColor(0x00ffff);
    chip.pressed(2);
    EXPECT_EQ(chip.colour(), 0x00ffff);
    EXPECT_FALSE(chip.armed());
    EXPECT_TRUE(chip.raised());
}

TEST_F(ColourChipTest, PickTakesTheShownPixel)
{
    EXPECT_TRUE(chip.pressed(1));
    EXPECT_TRUE(chip.armed());
    EXPECT_FALSE(chip.raised());
    EXPECT_TRUE(chip.pick(56, 56));
    EXPECT_EQ(chip.colour(), 0x0000ff);
    EXPECT_FALSE(chip.armed());
    EXPECT_TRUE(chip.raised());

    chip.pressed(1);
    chip.pick(40, 56); // the black outline
    EXPECT_EQ(chip.colour(), 0);

    host.settings.fills = false;
    show();
    chip.pressed(1);
    chip.pick(56, 56); // white inside with fills off
    EXPECT_EQ(chip.colour(), 0xffffff);

    chip.pressed(1);
    EXPECT_FALSE(chip.pick(200, 200));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(chip.colour(), 0xffffff);
    EXPECT_FALSE(chip.armed());
}

} // namespace
} // namespace tessella::pointertest
