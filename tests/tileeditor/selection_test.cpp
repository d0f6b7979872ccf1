// SPDX-License-Identifier: GPL-3.0-or-later
// The select panel, the colour chip and the transform pick: the marquee's borders on the
// logic, the list entries, clicks and colour picks through the window's lists and canvas,
// the transformable shapes as a table and the pick's hand-over.
#include "windowfixture.h"

#include "tileeditor/transformpick.h"

namespace tessella::test {
namespace {

// Four squares meeting at (40, 40) and one more on another grid over the fourth.
const std::vector<Tile> kQuad = {squareTile(8, 8, 32, 1), squareTile(40, 8, 32, 2),
                                 squareTile(8, 40, 32, 3), squareTile(40, 40, 32, 4),
                                 squareTile(40, 40, 32, 5, GridHexagonal)};

std::vector<int> selectedTiles(const Document &doc)
{
    std::vector<int> out;
    for (std::size_t i = 0; i < doc.tiles.size(); ++i)
        if (doc.tiles[i].selected != 0)
            out.push_back(int(i));
    return out;
}

// The marquee's border is exclusive whichever way it is dragged.
TEST_F(PointerTest, MarqueeBordersAreExclusiveInEveryDirection)
{
    doc.tiles = kQuad;
    show();
    // clang-format off
    const std::tuple<Vertex, Vertex, bool, std::size_t> cases[] = { // vertices?, how many selected
        {{30, 30}, {50, 80}, false, 4}, {{72, 72}, {80, 80}, false, 0}, {{71, 71}, {80, 80}, false, 1},
        {{40, 0}, {100, 100}, false, 2}, {{30, 30}, {50, 50}, true, 4}, {{40, 40}, {50, 50}, true, 0},
        {{39, 39}, {41, 41}, true, 4}, {{8, 8}, {72, 72}, true, 4}, {{7, 7}, {73, 73}, true, 16},
    };
    // clang-format on
    for (const auto &[from, to, vertices, expected] : cases) {
        const Vertex corners[][2] = {{from, to},
                                     {to, from},
                                     {{from.x, to.y}, {to.x, from.y}},
                                     {{to.x, from.y}, {from.x, to.y}}};
        for (const auto &[a, b] : corners) {
            selectNoTiles(doc, GridRectangular);
            selection.startMarquee(a.x, a.y);
            selection.drawMarquee(b.x, b.y);
            selection.endMarquee(b.x, b.y, vertices);
            EXPECT_EQ(vertices ? doc.vtxSel.size() : selectedTiles(doc).size(), expected)
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
    EXPECT_TRUE(window->activePanel() == TileEditorWindow::Panel::Select && doc.dirty);
    clickAt(20, 20);
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{0}));
    clickItem("lstSelect", 3); // invert
    EXPECT_EQ(selectedTiles(doc), (std::vector<int>{1, 2, 3}));
    clickItem("lstSelect", 2); // none
    clickItem("lstSelect", 4); // by color
    clickAt(40, 20);           // the shared edge's black, which no tile has
    EXPECT_TRUE(selectedTiles(doc).empty());
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
    EXPECT_TRUE(doc.vtxSel.size() == 4 && shownAt(40, 40) == kRed); // dots on the vertices
    clickItem("lstSelect", 7);                                      // vertex marquee
    drag({30, 30}, {4, 4});
    EXPECT_EQ(doc.vtxSel.size(), 5u);
    clickItem("lstSelect", 8); // "no select": back to tile entry
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Tiles);

    QLabel *chipLabel = control<QLabel>("picChip");
    dialogs.expectColor(0x102030);
    QTest::mouseClick(chipLabel, Qt::RightButton);
    const auto cursor = [&] { return window->canvas()->cursor().shape(); };
    EXPECT_EQ(cursor(), Qt::CrossCursor); // no pick was armed
    EXPECT_TRUE(dialogs.log.back().initialColor == ColourChip::kInitialColour &&
                window->chipColour() == 0x102030);
    QTest::mouseClick(chipLabel, Qt::LeftButton);
    EXPECT_TRUE(chipLabel->frameShape() == QFrame::NoFrame && cursor() == Qt::ArrowCursor);
    click("cmdPan"); // does nothing while picking
    EXPECT_FALSE(window->panMode());
    clickAt(60, 60); // then "new tile" places points again
    EXPECT_TRUE(window->chipColour() == 4 && chipLabel->frameShape() == QFrame::Panel &&
                cursor() == Qt::CrossCursor);
}

TEST_F(PointerTest, OnlyTrianglesQuadrilateralsAndSpecialHexagonsAreTransformable)
{
    const auto hexagon = [](double nudge) {
        std::vector<Vertex> pts = regularCorners(6, 100, 100, 16);
        return pts[2].x += nudge, pts;
    };
    const std::pair<std::vector<Vertex>, const char *> cases[] = {
        // refusal; none: transformable
        {{{8, 8}, {40, 8}, {8, 24}}, nullptr},
        {{{0, 0}, {30, 5}, {12, 40}, {-4, 20}}, nullptr},
        {hexagon(0), nullptr},
        {hexagon(0.0004), nullptr}, // within the tolerance
        {hexagon(0.01), kHexagonRefused},
        {{{0, 0}, {20, 0}, {26, 18}, {10, 30}, {-6, 18}}, kShapeRefused},
        {{}, kShapeRefused},
        {{{8, 8}, {24, 8}, {40, 8}}, kFlatRefused}, // flattened by a vertex drag
        {{{8, 8}, {8, 8.0005}, {8.0005, 40}}, kFlatRefused},
        {{{8, 8}, {std::nan(""), 8}, {20, 40}}, kFlatRefused},
        {{{8, 8}, {8, 8}, {40, 8}, {8, 40}}, nullptr}, // coincident corners: the editor's
    };
    for (const auto &[corners, refusal] : cases) {
        doc.tiles = {polygonTile(corners)};
        if (refusal)
            dialogs.expectMessage(refusal);
        EXPECT_EQ(checkTransformable(doc, 0, dialogs), refusal == nullptr) << corners.size();
    }
    EXPECT_FALSE(checkTransformable(doc, 1, dialogs)); // past the table, without a message
    doc.xformOpen = true;
    dialogs.expectMessage(kTransformInUse);
    EXPECT_FALSE(checkTransformable(doc, 0, dialogs));
}

TEST_F(PointerTest, ThePickedTileIsHandedOverAndRemoved)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(104, 40, 32, 0x00ff00)};
    doc.tiles[1].angle = 0.25;
    undo.tBackup(doc);
    show();
    FractalSnapshot fractal;
    TransformPick pick{context(), fractal};
    EXPECT_TRUE(!pick.pick(300, 200) && dialogs.beeps == 1); // a miss beeps
    ASSERT_TRUE(pick.pick(120, 56));
    EXPECT_TRUE(doc.xformOpen && doc.dirty && !undo.enabled());
    EXPECT_EQ(summaries(doc.tiles), summaries({squareTile(40, 40, 32, 0x0000ff)}));
    EXPECT_EQ(summary(doc.xfTile), summary(squareTile(104, 40, 32, 0x00ff00))); // angle baked
    EXPECT_EQ(doc.xfTile.deleted, kFalse); // copied before the removal mark
    EXPECT_EQ(host.canvas.pixel(118, 50), kCanvasBackground);
}

} // namespace
} // namespace tessella::test
