// SPDX-License-Identifier: GPL-3.0-or-later
// The select panel and the colour chip: list entries, clicks, marquees and colour picks
// on the logic, then once through the window's lists and canvas.
#include "windowfixture.h"

namespace tessella::test {
namespace {

// Four squares meeting at (40, 40) and one more on another grid over the fourth.
const std::vector<Tile> kQuad = {squareTile(8, 8, 32, 1), squareTile(40, 8, 32, 2),
                                 squareTile(8, 40, 32, 3), squareTile(40, 40, 32, 4),
                                 squareTile(40, 40, 32, 5, GridHexagonal)};

std::vector<int> selectedTiles(const Document &doc)
{
    std::vector<int> out;
    for (std::size_t i = 0; i < doc.tiles.size(); ++i) {
        if (doc.tiles[i].selected != 0)
            out.push_back(int(i));
    }
    return out;
}

class SelectionTest : public PointerTest
{
protected:
    void SetUp() override
    {
        PointerTest::SetUp();
        doc.tiles = kQuad;
        show();
    }
    void marquee(Vertex from, Vertex to, bool vertices)
    {
        selection.startMarquee(from.x, from.y);
        selection.drawMarquee(to.x, to.y);
        selection.endMarquee(to.x, to.y, vertices);
    }
};

TEST_F(SelectionTest, ListEntriesActOnTheCurrentGridOnly)
{
    doc.vtxSel = {{0, 0}};
    selectAllTiles(doc, GridRectangular);
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(doc.vtxSel.size(), 1u); // "all" keeps the vertices
    doc.tiles[4].selected = kTrue;
    selectNoTiles(doc, GridRectangular);
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{4}));
    EXPECT_TRUE(doc.vtxSel.empty()); // "none" clears them
    doc.tiles[1].selected = kTrue;
    invertTileSelection(doc, GridRectangular);
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{0, 2, 3, 4}));
}

TEST_F(SelectionTest, ClicksToggleTilesAndVerticesAndAMissBeeps)
{
    selection.pressTile(20, 20);
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{0}));
    selection.pressTile(40, 20); // the shared edge belongs to both outlines
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{1}));
    selection.pressVertex(41, 38); // the hexagonal tile's corner is not on this grid
    EXPECT_EQ(doc.vtxSel, (std::vector<VertexRef>{{0, 2}, {1, 3}, {2, 1}, {3, 0}}));
    selection.pressVertex(39, 42);
    EXPECT_TRUE(doc.vtxSel.empty());
    selection.pressVertex(44, 40); // 4 units off on one axis is not near
    selection.pressVertex(36, 40);
    selection.pressTile(300, 200);
    EXPECT_EQ(dialogs.beeps, 3);
}

TEST_F(SelectionTest, ByColorTakesTheShownColourAndOnlyAdds)
{
    doc.tiles.push_back(squareTile(120, 8, 16, 2));
    doc.tiles.push_back(squareTile(150, 8, 16, 0));
    doc.tiles[3].selected = kTrue;
    show();
    selection.pressByColor(50, 20); // inside tile 1: colour 2
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{1, 3, 5}));
    selection.pressByColor(8, 20); // on an outline: black, the colour of tile 6
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{1, 3, 5, 6}));
    selection.pressByColor(300, 200);
    EXPECT_EQ(dialogs.beeps, 1);
}

// The marquee's border is exclusive whichever way it is dragged.
struct MarqueeCase
{
    Vertex from, to;
    bool vertices;
    std::size_t expected; // tiles or vertices selected
};

TEST_F(SelectionTest, MarqueeBordersAreExclusiveInEveryDirection)
{
    const MarqueeCase cases[] = {
        {{30, 30}, {50, 80}, false, 4}, {{72, 72}, {80, 80}, false, 0},
        {{71, 71}, {80, 80}, false, 1}, {{40, 0}, {100, 100}, false, 2},
        {{30, 30}, {50, 50}, true, 4},  {{40, 40}, {50, 50}, true, 0},
        {{39, 39}, {41, 41}, true, 4},  {{8, 8}, {72, 72}, true, 4},
        {{7, 7}, {73, 73}, true, 16},
    };
    for (const MarqueeCase &c : cases) {
        const Vertex corners[][2] = {{c.from, c.to},
                                     {c.to, c.from},
                                     {{c.from.x, c.to.y}, {c.to.x, c.from.y}},
                                     {{c.to.x, c.from.y}, {c.from.x, c.to.y}}};
        for (const auto &[a, b] : corners) {
            selectNoTiles(doc, GridRectangular);
            marquee(a, b, c.vertices);
            EXPECT_EQ(c.vertices ? doc.vtxSel.size() : selectedTiles(doc).size(), c.expected)
                << a.x << "," << a.y << " to " << b.x << "," << b.y;
            EXPECT_FALSE(selection.marqueeActive());
        }
    }
}

TEST_F(SelectionTest, MarqueeIsARedRectangleOnTheTransientLayer)
{
    selection.startMarquee(100, 100);
    selection.drawMarquee(200, 150);
    EXPECT_EQ(host.canvas.pixel(150, 100), kRed);
    EXPECT_EQ(host.canvas.pixel(200, 125), kRed);
    selection.drawMarquee(120, 120);
    EXPECT_NE(host.canvas.pixel(150, 100), kRed); // the old rectangle is gone
    selection.endMarquee(120, 120, false);
    EXPECT_NE(host.canvas.pixel(110, 100), kRed);
}

TEST_F(SelectionTest, VertexMarqueeAddsEachVertexOnceAndStopsAtTheLimit)
{
    marquee({30, 30}, {50, 50}, true);
    marquee({50, 50}, {30, 30}, true); // a repeat adds nothing, so nothing moves twice
    EXPECT_EQ(doc.vtxSel.size(), 4u);
    doc.tiles.assign(9000, squareTile(8, 8, 32, 1));
    marquee({0, 0}, {100, 100}, true);
    EXPECT_EQ(doc.vtxSel.size(), std::size_t(kMaxRecords));
}

TEST(PickedColour, FallsBackToTheTileColourOnBackgroundAndProbePixels)
{
    for (const auto &[shown, picked] : {std::pair<Colour, Colour>{kCanvasBackground, 0x123456},
                                        {kProbeColour, 0x123456},
                                        {0, 0},
                                        {0xffffff, 0xffffff}})
        EXPECT_EQ(pickedColour(shown, 0x123456), picked) << shown;
}

TEST_F(SelectionTest, ChipPickTakesTheShownPixel)
{
    const std::pair<Vertex, Colour> picks[] = {
        {{20, 20}, 1}, {{8, 20}, kBlack}, {{300, 200}, kBlack}}; // a miss keeps the colour
    for (const auto &[at, colour] : picks) {
        EXPECT_TRUE(chip.pressed(1));
        EXPECT_FALSE(chip.raised());
        EXPECT_EQ(chip.pick(at.x, at.y), at.x < 300);
        EXPECT_EQ(chip.colour(), colour);
        EXPECT_FALSE(chip.armed());
        EXPECT_TRUE(chip.raised());
    }
    EXPECT_EQ(dialogs.beeps, 1);
    host.settings.fills = false;
    show();
    chip.pressed(1);
    chip.pick(20, 20); // white inside with fills off
    EXPECT_EQ(chip.colour(), kWhite);
}

// The select list and the chip through the window: its rows reach the logic above.
TEST_F(WindowTest, SelectPanelAndChipWiring)
{
    doc.tiles = kQuad;
    start();
    clickItem("lstSelect", 0);
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Select);
    EXPECT_TRUE(doc.dirty);
    clickAt(20, 20);
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{0}));
    clickItem("lstSelect", 3); // invert
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{1, 2, 3}));
    clickItem("lstSelect", 2); // none
    clickItem("lstSelect", 4); // by color
    clickAt(50, 20);
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{1}));
    clickItem("lstSelect", 1); // all
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{0, 1, 2, 3}));
    clickItem("lstSelect", 2);
    clickItem("lstSelect", 5); // tile marquee, drawn in red while dragged
    press(30, 30);
    move(60, 79);
    EXPECT_EQ(shownAt(45, 30), kRed);
    release(60, 79);
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{0, 1, 2, 3}));
    clickItem("lstSelect", 6); // vertex
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::CrossCursor);
    clickAt(41, 39);
    EXPECT_EQ(doc.vtxSel.size(), 4u);
    EXPECT_EQ(shownAt(40, 40), kRed); // dots on the selected vertices
    clickItem("lstSelect", 7);        // vertex marquee
    drag({30, 30}, {4, 4});
    EXPECT_EQ(doc.vtxSel.size(), 5u);
    clickItem("lstSelect", 8); // "no select": back to tile entry
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Tiles);

    QLabel *chipLabel = control<QLabel>("picChip");
    dialogs.expectColor(0x102030);
    QTest::mouseClick(chipLabel, Qt::RightButton);
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::CrossCursor); // no pick was armed
    EXPECT_EQ(dialogs.log.back().initialColor, ColourChip::kInitialColour);
    EXPECT_EQ(window->chipColour(), 0x102030);
    QTest::mouseClick(chipLabel, Qt::LeftButton);
    EXPECT_EQ(chipLabel->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::ArrowCursor);
    click("cmdPan"); // does nothing while picking
    EXPECT_FALSE(window->panMode());
    clickAt(60, 60);
    EXPECT_EQ(window->chipColour(), 4);
    EXPECT_EQ(chipLabel->frameShape(), QFrame::Panel);
    EXPECT_EQ(window->canvas()->cursor().shape(), Qt::CrossCursor); // "new tile" places points
}

} // namespace
} // namespace tessella::test
