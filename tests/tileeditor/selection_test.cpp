// SPDX-License-Identifier: GPL-3.0-or-later
// The select panel and the colour chip: the marquee's borders on the logic, then the
// list entries, clicks and colour picks through the window's lists and canvas.
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

// The marquee's border is exclusive whichever way it is dragged.
struct MarqueeCase
{
    Vertex from, to;
    bool vertices;
    std::size_t expected; // tiles or vertices selected
};

TEST_F(PointerTest, MarqueeBordersAreExclusiveInEveryDirection)
{
    doc.tiles = kQuad;
    show();
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
            selection.startMarquee(a.x, a.y);
            selection.drawMarquee(b.x, b.y);
            selection.endMarquee(b.x, b.y, c.vertices);
            EXPECT_EQ(c.vertices ? doc.vtxSel.size() : selectedTiles(doc).size(), c.expected)
                << a.x << "," << a.y << " to " << b.x << "," << b.y;
            EXPECT_FALSE(selection.marqueeActive());
        }
    }
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
