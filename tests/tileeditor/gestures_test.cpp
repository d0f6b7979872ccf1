// SPDX-License-Identifier: GPL-3.0-or-later
// Tile and group gestures: one table of scenarios, run headless on the gesture classes
// and again through the real window with real mouse and key events, so the window's
// wiring must agree with the model. Then the cases only one of them can reach.
#include "windowfixture.h"

#include "document/geometry.h"

#include <numbers>
#include <optional>

namespace tessella::test {
namespace {

constexpr double kPi = std::numbers::pi;

struct Scenario
{
    const char *name;
    bool group; // an entry of the group list rather than of the tile list
    int action;
    std::vector<Tile> tiles;
    const char *events;
    std::vector<Tile> after;
    int beeps = 0;
    std::vector<Tile> undone = {}; // after the undo button; empty: the tiles before
    std::vector<std::optional<Colour>> colours = {};
    std::vector<VertexRef> vtxSel = {};
};

const auto turned = [](Tile tile, Vertex c, double angle) {
    for (Vertex &v : tile.verts)
        v = rotatePoint(c.x, c.y, v.x, v.y, angle);
    return tile.angle += angle, tile;
};
const auto with = [](Tile tile, double angle, bool mirrored, bool selected = false) {
    tile.angle = angle, tile.reflected = mirrored ? 1.0 : 0.0;
    return tile.selected = selected ? kTrue : kFalse, tile;
};
const auto shifted = [](Tile tile, double dx, double dy) {
    for (Vertex &v : tile.verts)
        v = {v.x + dx, v.y + dy};
    return tile;
};
const auto recoloured = [](Tile tile, Colour c) { return tile.color = c, tile; };

const Tile kBlue = squareTile(40, 40, 32, 0x0000ff);
const auto entered = [](std::vector<Vertex> corners) {
    return std::vector{kBlue, polygonTile(corners, ColourChip::kInitialColour)};
};
const Tile kTriangle = polygonTile({{8, 8}, {40, 8}, {8, 24}}, 0x00ff00);
const std::vector<Tile> kFour = {squareTile(8, 8, 32, 1), squareTile(40, 8, 32, 2),
                                 squareTile(8, 40, 32, 3), squareTile(40, 40, 32, 4)};
// Two selected squares, one unselected, one selected on another grid (never in a group).
const Tile kSel0 = with(squareTile(40, 40, 32, 0x0000ff), 0, false, true);
const Tile kSel1 = with(squareTile(72, 40, 32, 0x00ff00), 0, false, true);
const Tile kOther = squareTile(200, 40, 32, 0xff0000);
const Tile kHex = with(squareTile(40, 40, 32, 0x00ffff, GridHexagonal), 0, false, true);
const std::vector<Tile> kGroup = {kSel0, kSel1, kOther, kHex};

std::vector<Scenario> scenarios()
{
    const double cy = 40.0 / 3; // the triangle's centroid y
    Tile drifted = kSel1;
    drifted.verts[0].x += 0.0004;
    const Tile unsel0 = with(kSel0, 0, false), unsel1 = with(kSel1, 0, false);
    // clang-format off
    std::vector<Scenario> all = {
        {"RotateSnapsDownTo45DegreesAndIsPlacedWhereTurned", false, TileRotate, {kBlue},
         "p56,56 m56,64 m56,76 r56,76 c56,76", {turned(kBlue, {56, 56}, kPi / 4)}},
        {"QuarterTurnFollowsThePointerFromNodeToNode", false, TileRotate, {kBlue},
         "p56,56 m56,88 r56,88 m63,88 m71,89 c71,89",
         {with(polygonTile({{88, 40}, {88, 72}, {56, 72}, {56, 40}}, 0x0000ff), kPi / 2, false)}},
        {"RotateWithSpaceHeldIsExactAndPlacedFreely", false, TileRotate, {kBlue},
         "s p56,56 m56,76 r56,76 m61,79 c61,79 u",
         {shifted(turned(kBlue, {56, 56}, 20.0 / 64 * kPi), 5, 3)}},
        {"ReflectMirrorsAboutTheTileVerticalThenLandsOnANode", false, TileReflect, {kTriangle},
         "p14,12 r14,12 m24,12 c24,12",
         {with(polygonTile({{40, 8}, {8, 8}, {40, 24}}, 0x00ff00), 0, true)}},
        {"ReflectOfATurnedTileUsesItsTurnedVertical", false, TileReflect,
         {with(kTriangle, kPi / 2, false)}, "p14,12 r14,12 c14,12",
         {with(polygonTile({{8, 2 * cy - 8}, {40, 2 * cy - 8}, {8, 2 * cy - 24}}, 0x00ff00), kPi / 2, true)}},
        {"MoveLandsOnTheNodeReachedLast", false, TileMove, {kBlue},
         "p50,50 m60,52 m67,51 m75,49 r75,49", {shifted(kBlue, 16, 0)}},
        {"MoveStaysWhenTheNextNodeIsJustOutOfReach", false, TileMove, {kBlue},
         "p50,50 m59.5,50 r59.5,50", {kBlue}},
        {"MoveWithSpaceHeldIsFree", false, TileMove, {kBlue}, "s p50,50 m53,51 r53,51 u",
         {shifted(kBlue, 3, 1)}},
        {"CopyThatReachesNoOtherNodeIsDropped", false, TileCopy, {kBlue},
         "p50,50 m52,51 m53,52 r53,52", {kBlue}},
        {"CopyIsPlacedAndUndoShowsItWhereItWasMade", false, TileCopy, {kBlue},
         "p50,50 m66,66 r66,66", {kBlue, shifted(kBlue, 16, 16)}, 0, {kBlue, kBlue}},
        {"RecolorCancelledThenChosen", false, TileRecolor, {kBlue}, "c56,56 c56,56",
         {recoloured(kBlue, 0x123456)}, 0, {}, {std::nullopt, 0x123456}},
        {"VertexDragMovesACornerSharedByFourTiles", false, TileVertex, kFour, "p41,39 m57,39 r57,39",
         {polygonTile({{8, 8}, {40, 8}, {56, 40}, {8, 40}}, 1),
          polygonTile({{40, 8}, {72, 8}, {72, 40}, {56, 40}}, 2),
          polygonTile({{8, 40}, {56, 40}, {40, 72}, {8, 72}}, 3),
          polygonTile({{56, 40}, {72, 40}, {72, 72}, {40, 72}}, 4)}},
        {"VertexJustOutOfReach", false, TileVertex, {kBlue}, "c44,40", {kBlue}, 1},
        {"DeleteRemovesTheTile", false, TileDelete, {kBlue, kOther}, "c56,56", {kOther}},
        // New tiles: points snap to nodes; collinear points merge and a start on the closing
        // line is dropped; a right press closes, or cancels fewer than three points; a
        // reversal leaves too few corners; with the space bar a point is taken as it is.
        {"NewTileIsClosedOnItsFirstCorner", false, TileNew, {kBlue}, "c9,9 c40,7 m60,50 c41,41 c8,40 c8,8",
         {kBlue, squareTile(8, 8, 32, ColourChip::kInitialColour)}},
        {"NewTileIsClosedByARightClick", false, TileNew, {kBlue}, "c72,8 c104,8 c72,40 R200,200",
         {kBlue, polygonTile({{72, 8}, {104, 8}, {72, 40}}, ColourChip::kInitialColour)}},
        {"NewTileMerges", false, TileNew, {kBlue}, "c24,8 c40,8 c40,24 c8,24 c8,8 c24,8", entered({{8, 8}, {40, 8}, {40, 24}, {8, 24}})},
        {"NewTileCancelled", false, TileNew, {kBlue}, "c8,8 c24,8 R200,200", {kBlue}},
        {"NewTileReversed", false, TileNew, {kBlue}, "c8,8 c24,8 c8,8", {kBlue}, 1},
        {"NewTileReversedAcross", false, TileNew, {kBlue}, "c8,8 c8,24 c8,8", {kBlue}, 1},
        {"NewTileOffTheNodes", false, TileNew, {kBlue}, "c16,16", {kBlue}, 1},
        {"NewTileJustOutOfReach", false, TileNew, {kBlue}, "c14,8", {kBlue}, 1},
        {"NewTileFree", false, TileNew, {kBlue}, "c8,8 c24,8 c24,8 s c31,17 u R200,200", entered({{8, 8}, {24, 8}, {31, 17}})},
        {"GroupHalfTurnAboutTheGroupCentreIsPlacedOnNodes", true, GroupRotate, kGroup,
         "p100,100 m100,164 r100,164 c100,164",
         {with(polygonTile({{104, 72}, {72, 72}, {72, 40}, {104, 40}}, 0x0000ff), kPi, false, true),
          with(polygonTile({{72, 72}, {40, 72}, {40, 40}, {72, 40}}, 0x00ff00), kPi, false, true),
          kOther, kHex}},
        {"GroupReflectUsesThePlaneVerticalWhateverTheAngle", true, GroupReflect,
         {with(kSel0, 1.0, false, true), kSel1, kOther, kHex}, "p100,100 r100,100 c100,100",
         {with(polygonTile({{104, 40}, {72, 40}, {72, 72}, {104, 72}}, 0x0000ff), 1.0, true, true),
          with(polygonTile({{72, 40}, {40, 40}, {40, 72}, {72, 72}}, 0x00ff00), 0, true, true),
          kOther, kHex}},
        {"GroupCopyMovesTheSelectionAndLeavesUnselectedCopies", true, GroupCopy, kGroup,
         "p100,100 m116,117 r116,117",
         {shifted(kSel0, 16, 16), shifted(kSel1, 16, 16), kOther, kHex, unsel0, unsel1}, 0,
         {kSel0, kSel1, kOther, kHex, unsel0, unsel1}},
        {"GroupCopyThatReachesNoNodeIsDropped", true, GroupCopy, kGroup,
         "p100,100 m101,101 r101,101", kGroup},
        {"GroupMoveKeepsEachTilesDrift", true, GroupMove, {kSel0, drifted, kOther, kHex},
         "p100,100 m116,100 r116,100",
         {shifted(kSel0, 16, 0), shifted(drifted, 16, 0), kOther, kHex}},
        // The first selected vertex, a little off its node, is the one that lands on a node.
        {"GroupVertexDragSkipsOtherGrids", true, GroupVertex, {kSel0, drifted, kOther, kHex},
         "p72,40 m72,57 r72,57",
         {with(polygonTile({{40, 40}, {71.9996, 56}, {72, 72}, {40, 72}}, 0x0000ff), 0, false, true),
          with(polygonTile({{72, 56}, {104, 40}, {104, 72}, {72, 72}}, 0x00ff00), 0, false, true),
          kOther, kHex}, 0, {}, {}, {{1, 0}, {0, 1}, {3, 1}}},
        {"GroupRecolorCancelled", true, GroupRecolor, kGroup, "", kGroup, 0, {}, {std::nullopt}},
        {"GroupRecolor", true, GroupRecolor, kGroup, "",
         {recoloured(kSel0, 0x404040), recoloured(kSel1, 0x404040), kOther, kHex}, 0, {}, {0x404040}},
        {"GroupDeleteLeavesOtherGrids", true, GroupDelete, kGroup, "", {kOther, kHex}},
    };
    // clang-format on
    // A press that finds no tile (or no vertex) beeps and changes nothing.
    for (int action :
         {TileRotate, TileReflect, TileCopy, TileMove, TileRecolor, TileVertex, TileDelete})
        all.push_back({"MissBeeps", false, action, {kBlue}, "c300,200", {kBlue}, 1});
    return all;
}

void setUp(const Scenario &s, Document &doc, ScriptedDialogs &dialogs)
{
    doc.tiles = s.tiles, doc.vtxSel = s.vtxSel;
    for (const auto &c : s.colours)
        dialogs.expectColor(c);
}

// What every scenario ends with, whichever driver ran it; `undo` presses the undo button.
template <class Undo>
void expectEnd(const Scenario &s, Document &doc, const ScriptedDialogs &dialogs, bool active,
               Undo undo)
{
    EXPECT_EQ(summaries(doc.tiles), summaries(s.after));
    EXPECT_TRUE(dialogs.beeps == s.beeps && !active) << dialogs.beeps;
    undo();
    EXPECT_EQ(summaries(doc.tiles), summaries(s.undone.empty() ? s.tiles : s.undone));
}

const auto scenarioName = [](const ::testing::TestParamInfo<Scenario> &info) {
    return info.param.name + std::to_string(info.index);
};

class GestureModel : public PointerTest, public ::testing::WithParamInterface<Scenario>
{};

TEST_P(GestureModel, Scenario)
{
    const Scenario &s = GetParam();
    setUp(s, doc, dialogs);
    show();
    if (s.group)
        gestures.chooseGroupAction(s.action);
    for (const Event &e : parse(s.events)) {
        if ((e.op == 'p' || e.op == 'c') && s.action == TileNew && !s.group)
            newTile.press(e.x, e.y);
        else if (e.op == 'p' || e.op == 'c')
            s.group ? gestures.groupPress(s.action, e.x, e.y)
                    : gestures.tilePress(s.action, e.x, e.y);
        if (e.op == 'm')
            gestures.drag(e.x, e.y), newTile.move(e.x, e.y);
        if (e.op == 'r' || e.op == 'c')
            gestures.release(e.x, e.y);
        if (e.op == 'R')
            newTile.rightPress();
        host.space = e.op == 's' || (host.space && e.op != 'u');
    }
    expectEnd(s, doc, dialogs, gestures.active() || newTile.active(), [&] { undo.pressed(doc); });
}

INSTANTIATE_TEST_SUITE_P(Table, GestureModel, ::testing::ValuesIn(scenarios()), scenarioName);

class GestureWindow : public WindowTest, public ::testing::WithParamInterface<Scenario>
{};

TEST_P(GestureWindow, Scenario)
{
    const Scenario &s = GetParam();
    setUp(s, doc, dialogs);
    start();
    clickItem(s.group ? "lstAction" : "lstTiles", s.action);
    for (const Event &e : parse(s.events)) {
        if (e.op == 'p' || e.op == 'c')
            press(e.x, e.y);
        if (e.op == 'm')
            move(e.x, e.y);
        if (e.op == 'r' || e.op == 'c')
            release(e.x, e.y);
        if (e.op == 'R')
            clickAt(e.x, e.y, Qt::RightButton);
        if (e.op == 's' || e.op == 'u')
            QTest::keyEvent(e.op == 's' ? QTest::Press : QTest::Release, window.get(),
                            Qt::Key_Space);
    }
    expectEnd(s, doc, dialogs, window->gestures().active() || window->newTile().active(),
              [&] { click("cmdUnReDo"); });
}

INSTANTIATE_TEST_SUITE_P(Table, GestureWindow, ::testing::ValuesIn(scenarios()), scenarioName);

// Group choices without a selection are refused; the rotation readout sits 50 units right
// of and above the pointer and shows the negated angle.
TEST_F(WindowTest, GroupChoicesWithoutASelectionAreRefusedAndTheRotationReadout)
{
    doc.tiles = {kBlue};
    start();
    for (int choice : {GroupRotate, GroupReflect, GroupCopy, GroupMove, GroupDelete}) {
        dialogs.expectMessage(kNoTilesSelected);
        click("cmdAction");
        clickItem("lstAction", choice);
        EXPECT_TRUE(window->activePanel() == TileEditorWindow::Panel::Select &&
                    control<QListWidget>("lstAction")->currentRow() == GroupNone)
            << choice;
    }
    dialogs.expectMessage(kNoTilesSelected);
    clickItem("lstAction", GroupRecolor); // no colour dialog, and the panel stays
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Action);
    dialogs.expectMessage(kNoVerticesSelected);
    click("cmdAction");
    clickItem("lstAction", GroupVertex);
    EXPECT_EQ(window->activePanel(), TileEditorWindow::Panel::Select);
    clickItem("lstAction", GroupNone);
    EXPECT_TRUE(window->activePanel() == TileEditorWindow::Panel::Tiles &&
                control<QListWidget>("lstAction")->currentRow() == GroupNone);
    // A choice in the list counts as an edit.
    EXPECT_TRUE(doc.dirty && !undoButton()->isEnabled());

    clickItem("lstTiles", TileRotate);
    QLabel *label = control<QLabel>("lblRotval");
    press(56, 56);
    EXPECT_TRUE(label->isVisible() && label->text() == QString::fromUtf8("0\u00b0"));
    EXPECT_EQ(label->pos(), window->canvas()->mapTo(window.get(), widgetPixel(106, 6)));
    move(56, 76);
    EXPECT_EQ(label->text(), QString::fromUtf8("-45\u00b0"));
    release(56, 76);
    EXPECT_FALSE(label->isVisible());
}

// A drag preview is drawn only where the anchor reaches a node ("near" is 8 units from
// every node); a group copy shows its copies in place at once.
TEST_F(PointerTest, DragPreviewsOnlyOverANodeAndCancelledOrAbandonedGestures)
{
    // clang-format off
    const std::tuple<bool, int, Vertex, Vertex, Colour> cases[] = {
        // group, action, press (the node is 16 units right of it), probe: a pixel of the
        // displaced outline, its colour
        {false, TileMove, {50, 50}, {88, 56}, kRed},
        {false, TileVertex, {41, 39}, {48, 56}, kRed},
        {true, GroupMove, {100, 100}, {88, 56}, 0x0000ff},
        {true, GroupCopy, {100, 100}, {88, 56}, 0x0000ff},
    };
    // clang-format on
    for (const auto &[group, action, at, probe, shown] : cases) {
        doc.tiles = {with(kBlue, 0, false, true)};
        show();
        const int before = host.previews, first = action == GroupCopy ? 1 : 0;
        group ? gestures.groupPress(action, at.x, at.y) : gestures.tilePress(action, at.x, at.y);
        EXPECT_EQ(host.previews, before + first) << action;
        gestures.drag(at.x + 8, at.y);
        EXPECT_EQ(host.previews, before + first) << action;
        gestures.drag(at.x + 16, at.y);
        EXPECT_EQ(host.previews, before + first + 1) << action;
        EXPECT_EQ(host.canvas.pixel(int(probe.x), int(probe.y)), shown) << action;
        gestures.release(at.x + 16, at.y);
    }
    // A cancel drops an unplaced copy; after an abandon the tiles stay.
    doc.tiles = {kBlue};
    show();
    gestures.tilePress(TileCopy, 50, 50);
    ASSERT_EQ(doc.tileCount(), 2);
    gestures.cancel();
    EXPECT_TRUE(doc.tileCount() == 1 && !gestures.active());

    gestures.tilePress(TileCopy, 50, 50);
    doc.tiles = {squareTile(8, 8, 16, 1), squareTile(8, 8, 16, 2), squareTile(8, 8, 16, 3)};
    gestures.abandon(); // the document was replaced: its tiles are not the gesture's
    EXPECT_EQ(doc.tileCount(), 3);
    gestures.tilePress(TileMove, 12, 12); // a cancelled move drops nothing
    gestures.cancel();
    EXPECT_EQ(doc.tileCount(), 3);
}
} // namespace
} // namespace tessella::test
