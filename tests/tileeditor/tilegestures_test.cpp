// SPDX-License-Identifier: GPL-3.0-or-later
// Tile and group gestures without a window: the arithmetic of rotations, drags, copies
// and vertex drags, their undo snapshots and their refusals.
#include "pointerfixture.h"

#include "document/geometry.h"

#include <cmath>
#include <numbers>

namespace tessella::pointertest {
namespace {

constexpr double kPi = std::numbers::pi;

class TileGestureTest : public PointerTest
{
protected:
    void SetUp() override
    {
        PointerTest::SetUp();
        doc.tiles = {square(40, 40, 32, 0x0000ff)};
        show();
    }
    // Rotates the square about its centre (56, 56) with `down` units of vertical travel.
    void rotate(double down)
    {
        gestures.tilePress(TileRotate, 56, 56);
        gestures.drag(60, 56 + down);
        gestures.release(60, 56 + down);
    }
    int redPixels() const
    {
        int n = 0;
        for (int y = 0; y < 300; ++y) {
            for (int x = 0; x < 400; ++x)
                n += host.canvas.pixel(x, y) == 255 ? 1 : 0;
        }
        return n;
    }
    // Places a rotated tile where it is (press and release without a move).
    void placeInPlace()
    {
        const Vertex at = gestures.pressPoint();
        gestures.tilePress(TileRotate, at.x, at.y);
        gestures.release(at.x, at.y);
    }
};

TEST_F(TileGestureTest, RotationSnapsDownToFifteenDegreesAndCommitsTheAngleShown)
{
    rotate(16);
    EXPECT_NEAR(doc.tiles[0].angle, kPi / 4, 1e-12);
    EXPECT_EQ(gestures.phase(), 2);
    EXPECT_TRUE(gestures.active());
    placeInPlace();
    EXPECT_FALSE(gestures.active());
    const Vertex expected = rotatePoint(56, 56, 40, 40, kPi / 4);
    EXPECT_NEAR(doc.tiles[0].verts[0].x, expected.x, 1e-9);
    EXPECT_NEAR(doc.tiles[0].verts[0].y, expected.y, 1e-9);

    // 20 units is 20/64 of a half turn: it snaps down to 45 degrees as well.
    doc.tiles = {square(40, 40, 32, 0x0000ff)};
    rotate(20);
    placeInPlace();
    EXPECT_NEAR(doc.tiles[0].angle, kPi / 4, 1e-12);
}

TEST_F(TileGestureTest, RotationWithTheSpaceBarHeldIsExact)
{
    host.space = true;
    rotate(20);
    placeInPlace();
    EXPECT_DOUBLE_EQ(doc.tiles[0].angle, 20.0 / 64 * kPi);
    const Vertex expected = rotatePoint(56, 56, 72, 72, 20.0 / 64 * kPi);
    EXPECT_DOUBLE_EQ(doc.tiles[0].verts[2].x, expected.x);
    EXPECT_DOUBLE_EQ(doc.tiles[0].verts[2].y, expected.y);
}

TEST_F(TileGestureTest, RotationReadoutShowsTheNegatedAngleBesideThePointer)
{
    gestures.tilePress(TileRotate, 56, 56);
    EXPECT_TRUE(host.labelShown);
    EXPECT_EQ(host.label, std::string("0") + kDegreeSign);
    EXPECT_EQ(host.labelX, 106);
    EXPECT_EQ(host.labelY, 6);
    gestures.drag(56, 72);
    EXPECT_EQ(host.label, std::string("-45") + kDegreeSign);
    // The preview is a red outline over the unchanged tile.
    EXPECT_GT(redPixels(), 40);
    EXPECT_EQ(doc.tiles[0].angle, 0);
    gestures.release(56, 72);
    EXPECT_FALSE(host.labelShown);
}

TEST_F(TileGestureTest, RotatedTileFollowsThePointerFromNodeToNode)
{
    rotate(32); // a quarter turn maps the square's corners onto lattice nodes
    EXPECT_NEAR(doc.tiles[0].angle, kPi / 2, 1e-12);
    // Vertex 0 went to (72, 40); the press point is where the rotation ended.
    const Vertex at = gestures.pressPoint();
    gestures.drag(at.x + 7, at.y); // no node within reach: nothing moves
    EXPECT_EQ(gestures.lastDelta(), (Vertex{0, 0}));
    gestures.drag(at.x + 15, at.y + 1);
    // From the turned vertex 0, a hair off (72, 40), to the node (88, 40).
    EXPECT_NEAR(gestures.lastDelta().x, 16, 1e-9);
    EXPECT_NEAR(gestures.lastDelta().y, 0, 1e-9);
    gestures.tilePress(TileRotate, at.x + 15, at.y + 1); // the placing press is ignored
    gestures.release(at.x + 15, at.y + 1);
    // The drift of the rotation is snapped away.
    EXPECT_EQ(corners(doc.tiles[0]), (std::vector<Vertex>{{88, 40}, {88, 72}, {56, 72}, {56, 40}}));
    EXPECT_FALSE(gestures.active());
}

TEST_F(TileGestureTest, RotationTakesOneSnapshotAtThePress)
{
    const std::vector<Tile> before = doc.tiles;
    rotate(32);
    placeInPlace();
    undo.pressed(doc);
    EXPECT_EQ(doc.tiles, before);
}

TEST_F(TileGestureTest, ReflectMirrorsAboutTheTilesOwnVerticalAndTogglesReflected)
{
    doc.tiles = {polygonTile({{8, 8}, {40, 8}, {8, 24}}, 0x00ff00)};
    show();
    gestures.tilePress(TileReflect, 14, 12);
    ASSERT_TRUE(gestures.active());
    EXPECT_EQ(doc.tiles[0].reflected, 1.0);
    const double cx = 56.0 / 3;
    EXPECT_NEAR(doc.tiles[0].verts[0].x, 2 * cx - 8, 1e-9);
    EXPECT_NEAR(doc.tiles[0].verts[0].y, 8, 1e-9);
    EXPECT_NEAR(doc.tiles[0].verts[1].x, 2 * cx - 40, 1e-9);
    gestures.release(14, 12); // no rotation: the angle stays 0
    EXPECT_EQ(doc.tiles[0].angle, 0);
    placeInPlace();

    // A second reflect mirrors back and clears the flag.
    doc.tiles = {polygonTile({{8, 8}, {40, 8}, {8, 24}}, 0x00ff00)};
    doc.tiles[0].reflected = 1.0;
    show();
    gestures.tilePress(TileReflect, 14, 12);
    EXPECT_EQ(doc.tiles[0].reflected, 0.0);
}

TEST_F(TileGestureTest, ReflectOfATurnedTileUsesItsTurnedVertical)
{
    doc.tiles = {polygonTile({{8, 8}, {40, 8}, {8, 24}}, 0x00ff00)};
    doc.tiles[0].angle = kPi / 2; // the tile's vertical now lies along the plane's x axis
    show();
    gestures.tilePress(TileReflect, 14, 12);
    const double cy = 40.0 / 3;
    EXPECT_NEAR(doc.tiles[0].verts[2].x, 8, 1e-9);
    EXPECT_NEAR(doc.tiles[0].verts[2].y, 2 * cy - 24, 1e-9);
}

TEST_F(TileGestureTest, MoveSnapsTheTileToTheNodeReachedLast)
{
    tileDrag(TileMove, {50, 50}, {{60, 52}, {67, 51}, {75, 49}});
    // Vertex 0 passed (56, 40) and ended between nodes: the tile lands on (56, 40).
    EXPECT_EQ(gestures.lastDelta(), (Vertex{16, 0}));
    EXPECT_EQ(corners(doc.tiles[0]), corners(square(56, 40, 32, 0)));
    EXPECT_EQ(doc.tileCount(), 1);
    undo.pressed(doc);
    EXPECT_EQ(corners(doc.tiles[0]), corners(square(40, 40, 32, 0)));
}

TEST_F(TileGestureTest, CopyReleasedWithoutReachingAnotherNodeIsDropped)
{
    tileDrag(TileCopy, {50, 50}, {{52, 51}, {53, 52}});
    EXPECT_EQ(doc.tileCount(), 1);
    EXPECT_FALSE(gestures.active());

    tileDrag(TileCopy, {50, 50}, {{66, 66}});
    ASSERT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(corners(doc.tiles[0]), corners(square(40, 40, 32, 0)));
    EXPECT_EQ(corners(doc.tiles[1]), corners(square(56, 56, 32, 0)));
    EXPECT_EQ(doc.tiles[1].color, 0x0000ff);
    // The release took a second snapshot: undo shows the copy where it was made.
    undo.pressed(doc);
    ASSERT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(corners(doc.tiles[1]), corners(square(40, 40, 32, 0)));
}

TEST_F(TileGestureTest, DragPreviewShowsTheTileOnlyOverANode)
{
    gestures.tilePress(TileMove, 50, 50);
    const int before = host.previews;
    gestures.drag(58, 50); // (48, 40) is 8 units from every node
    EXPECT_EQ(host.previews, before);
    gestures.drag(66, 50);
    EXPECT_EQ(host.previews, before + 1);
    EXPECT_EQ(host.canvas.pixel(56, 56), 255); // left edge of the moved square, red
    gestures.release(66, 50);
}

TEST_F(TileGestureTest, RecolorAsksForAColourAndCancelChangesNothing)
{
    dialogs.expectColor(std::nullopt);
    gestures.tilePress(TileRecolor, 50, 50);
    EXPECT_EQ(doc.tiles[0].color, 0x0000ff);
    EXPECT_FALSE(undo.hasSnapshot());
    ASSERT_EQ(dialogs.log.size(), 1u);
    EXPECT_EQ(dialogs.log[0].initialColor, ColourChip::kInitialColour);

    dialogs.expectColor(0x123456);
    gestures.tilePress(TileRecolor, 50, 50);
    EXPECT_EQ(doc.tiles[0].color, 0x123456);
    undo.pressed(doc);
    EXPECT_EQ(doc.tiles[0].color, 0x0000ff);
}

TEST_F(TileGestureTest, PressesThatFindNoTileBeepAndChangeNothing)
{
    for (int action : {TileRotate, TileReflect, TileCopy, TileMove, TileRecolor, TileDelete}) {
        gestures.tilePress(action, 300, 200);
        EXPECT_FALSE(gestures.active());
    }
    gestures.tilePress(TileVertex, 300, 200);
    EXPECT_EQ(dialogs.beeps, 7);
    EXPECT_EQ(doc.tileCount(), 1);
    EXPECT_FALSE(undo.hasSnapshot());
}

TEST_F(TileGestureTest, DeleteRemovesTheTileButNotTheDisplayCopyOfAPendingTransform)
{
    doc.tiles.push_back(square(104, 40, 32, 0x00ff00));
    doc.vtxSel = {{0, 1}, {1, 2}};
    show();
    doc.xformOpen = true;
    doc.curTile = 1;
    dialogs.expectMessage(kDeleteRefused);
    gestures.tilePress(TileDelete, 120, 50);
    EXPECT_EQ(doc.tileCount(), 2);
    gestures.tilePress(TileDelete, 50, 50);
    ASSERT_EQ(doc.tileCount(), 1);
    EXPECT_EQ(doc.tiles[0].color, 0x00ff00);
    EXPECT_EQ(doc.curTile, 0); // still names the display copy
    EXPECT_TRUE(doc.vtxSel.empty());
    undo.pressed(doc);
    EXPECT_EQ(doc.tileCount(), 2);
}

TEST_F(TileGestureTest, VertexDragMovesACornerSharedByFourTiles)
{
    doc.tiles = {square(8, 8, 32, 1), square(40, 8, 32, 2), square(8, 40, 32, 3),
                 square(40, 40, 32, 4)};
    show();
    gestures.tilePress(TileVertex, 41, 39);
    ASSERT_EQ(doc.vtxSel.size(), 4u);
    EXPECT_EQ(doc.vtxSel[0], (VertexRef{0, 2}));
    EXPECT_EQ(doc.vtxSel[3], (VertexRef{3, 0}));
    gestures.drag(57, 39);
    gestures.release(57, 39);
    EXPECT_EQ(doc.tiles[0].verts[2], (Vertex{56, 40}));
    EXPECT_EQ(doc.tiles[1].verts[3], (Vertex{56, 40}));
    EXPECT_EQ(doc.tiles[2].verts[1], (Vertex{56, 40}));
    EXPECT_EQ(doc.tiles[3].verts[0], (Vertex{56, 40}));
    EXPECT_EQ(doc.tiles[3].verts[1], (Vertex{72, 40})); // the other corners stay
    EXPECT_TRUE(doc.vtxSel.empty());
    undo.pressed(doc);
    EXPECT_EQ(doc.tiles[3].verts[0], (Vertex{40, 40}));
}

TEST_F(TileGestureTest, VertexDragReleasedWithoutAMoveChangesNothing)
{
    // An earlier drag left a displacement behind; a new drag starts from zero.
    tileDrag(TileMove, {50, 50}, {{66, 50}});
    gestures.tilePress(TileVertex, 57, 41);
    gestures.release(57, 41);
    EXPECT_EQ(corners(doc.tiles[0]), corners(square(56, 40, 32, 0)));
}

TEST_F(TileGestureTest, ActionsOtherThanRecolorAndDeleteWaitForTheGestureToEnd)
{
    rotate(32);
    ASSERT_EQ(gestures.phase(), 2);
    gestures.tilePress(TileCopy, 60, 60);
    EXPECT_EQ(doc.tileCount(), 1);
    dialogs.expectColor(0x00ffff);
    gestures.tilePress(TileRecolor, 56, 56);
    EXPECT_EQ(doc.tiles[0].color, 0x00ffff);
}

TEST_F(TileGestureTest, AGestureSurvivesTheTilesShrinkingUnderIt)
{
    doc.tiles.push_back(square(104, 40, 32, 0x00ff00));
    show();
    gestures.tilePress(TileRotate, 120, 56);
    gestures.drag(120, 88);
    gestures.release(120, 88);
    ASSERT_EQ(gestures.gestureTile(), 1);
    // The table shrinks under the placing tile (a load while the fractal panel is open).
    doc.tiles.resize(1);
    const std::vector<Tile> before = doc.tiles;
    gestures.drag(140, 100);
    gestures.release(140, 100);
    EXPECT_EQ(doc.tiles, before);
    EXPECT_FALSE(gestures.active());

    gestures.tilePress(TileMove, 50, 50);
    doc.tiles.clear();
    gestures.drag(80, 80);
    gestures.release(80, 80);
    EXPECT_TRUE(doc.tiles.empty());
}

TEST_F(TileGestureTest, CancellingACopyDropsItAndAbandoningLeavesTheTiles)
{
    gestures.tilePress(TileCopy, 50, 50);
    ASSERT_EQ(doc.tileCount(), 2);
    gestures.cancel();
    EXPECT_EQ(doc.tileCount(), 1);
    EXPECT_FALSE(gestures.active());

    gestures.tilePress(TileCopy, 50, 50);
    doc.tiles = {square(8, 8, 16, 1), square(8, 8, 16, 2), square(8, 8, 16, 3)};
    gestures.abandon(); // the document was replaced: its tiles are not the gesture's
    EXPECT_EQ(doc.tileCount(), 3);
}

TEST_F(TileGestureTest, CopyThatWouldPassTheTileLimitIsRefusedBeforeAnyChange)
{
    doc.tiles.assign(kMaxRecords, square(40, 40, 32, 0x0000ff));
    dialogs.expectMessage(kTooManyTiles);
    gestures.tilePress(TileCopy, 50, 50);
    EXPECT_EQ(doc.tiles.size(), std::size_t(kMaxRecords));
    EXPECT_FALSE(undo.hasSnapshot());
    EXPECT_FALSE(gestures.active());
}

class GroupGestureTest : public PointerTest
{
protected:
    void SetUp() override
    {
        PointerTest::SetUp();
        doc.tiles = {square(40, 40, 32, 0x0000ff), square(72, 40, 32, 0x00ff00),
                     square(200, 40, 32, 0xff0000), square(40, 40, 32, 0x00ffff, GridHexagonal)};
        doc.tiles[0].selected = kTrue;
        doc.tiles[1].selected = kTrue;
        doc.tiles[3].selected = kTrue; // another grid: never part of the group
        show();
    }
};

TEST_F(GroupGestureTest, GroupCopyMovesTheSelectedTilesAndLeavesUnselectedCopies)
{
    ASSERT_EQ(gestures.chooseGroupAction(GroupCopy), TileGestures::Choice::Armed);
    groupDrag(GroupCopy, {100, 100}, {{116, 117}});
    ASSERT_EQ(doc.tileCount(), 6);
    EXPECT_EQ(corners(doc.tiles[0]), corners(square(56, 56, 32, 0)));
    EXPECT_EQ(corners(doc.tiles[1]), corners(square(88, 56, 32, 0)));
    EXPECT_EQ(corners(doc.tiles[4]), corners(square(40, 40, 32, 0)));
    EXPECT_EQ(corners(doc.tiles[5]), corners(square(72, 40, 32, 0)));
    EXPECT_EQ(doc.tiles[4].selected, kFalse);
    EXPECT_EQ(doc.tiles[5].color, 0x00ff00);
    EXPECT_EQ(corners(doc.tiles[3]), corners(square(40, 40, 32, 0)));  // other grid
    EXPECT_EQ(corners(doc.tiles[2]), corners(square(200, 40, 32, 0))); // not selected

    groupDrag(GroupCopy, {100, 100}, {{101, 101}});
    EXPECT_EQ(doc.tileCount(), 6); // never reached a node: the copies are dropped
}

TEST_F(GroupGestureTest, GroupCopyThatWouldPassTheTileLimitChangesNothing)
{
    for (int i = 0; i < 20000; ++i)
        doc.tiles.push_back(doc.tiles[0]);
    const std::size_t count = doc.tiles.size();
    dialogs.expectMessage(kTooManyTiles);
    gestures.groupPress(GroupCopy, 100, 100);
    EXPECT_EQ(doc.tiles.size(), count);
    EXPECT_FALSE(undo.hasSnapshot());
    EXPECT_FALSE(gestures.active());
}

TEST_F(GroupGestureTest, GroupMoveHasNoSnappingPass)
{
    doc.tiles[1].verts[0].x += 0.0004;
    groupDrag(GroupMove, {100, 100}, {{116, 100}});
    EXPECT_EQ(doc.tiles[0].verts[0], (Vertex{56, 40}));
    EXPECT_DOUBLE_EQ(doc.tiles[1].verts[0].x, 72.0004 + 16);
    EXPECT_EQ(doc.tiles[1].verts[0].y, 40);
    undo.pressed(doc);
    EXPECT_EQ(doc.tiles[0].verts[0], (Vertex{40, 40}));
}

TEST_F(GroupGestureTest, GroupRotationTurnsAboutTheGroupCentreAndIsPlacedOnNodes)
{
    ASSERT_EQ(gestures.chooseGroupAction(GroupRotate), TileGestures::Choice::Armed);
    EXPECT_EQ(gestures.rotation().gestureCenter, (Vertex{72, 56}));
    groupDrag(GroupRotate, {100, 100}, {{100, 164}}); // a half turn
    EXPECT_NEAR(doc.tiles[0].angle, kPi, 1e-12);
    EXPECT_NEAR(doc.tiles[1].angle, kPi, 1e-12);
    EXPECT_EQ(doc.tiles[2].angle, 0);
    EXPECT_EQ(doc.tiles[3].angle, 0);
    gestures.groupPress(GroupRotate, 100, 164); // ignored while placing
    gestures.release(100, 164);
    EXPECT_EQ(corners(doc.tiles[0]),
              (std::vector<Vertex>{{104, 72}, {72, 72}, {72, 40}, {104, 40}}));
    EXPECT_EQ(corners(doc.tiles[1]), (std::vector<Vertex>{{72, 72}, {40, 72}, {40, 40}, {72, 40}}));
}

TEST_F(GroupGestureTest, GroupReflectUsesThePlaneVerticalAndTogglesEachTile)
{
    doc.tiles[0].angle = 1.0; // ignored by the group mirror
    gestures.groupPress(GroupReflect, 100, 100);
    EXPECT_EQ(doc.tiles[0].reflected, 1.0);
    EXPECT_EQ(doc.tiles[1].reflected, 1.0);
    EXPECT_EQ(doc.tiles[2].reflected, 0.0);
    EXPECT_NEAR(doc.tiles[0].verts[0].x, 104, 1e-9);
    EXPECT_NEAR(doc.tiles[0].verts[0].y, 40, 1e-9);
    gestures.release(100, 100);                  // no turn
    gestures.groupPress(GroupReflect, 100, 100); // the placing press is ignored
    gestures.release(100, 100);
    EXPECT_FALSE(gestures.active());
    // Mirrored back and placed: the drift of the mirror is snapped away.
    gestures.groupPress(GroupReflect, 100, 100);
    gestures.release(100, 100);
    gestures.release(100, 100);
    EXPECT_EQ(doc.tiles[0].reflected, 0.0);
    EXPECT_EQ(corners(doc.tiles[0]), corners(square(40, 40, 32, 0)));
    EXPECT_EQ(corners(doc.tiles[1]), corners(square(72, 40, 32, 0)));
}

TEST_F(GroupGestureTest, GroupVertexDragSkipsTilesOfOtherGrids)
{
    doc.vtxSel = {{0, 1}, {1, 0}, {3, 1}};
    ASSERT_EQ(gestures.chooseGroupAction(GroupVertex), TileGestures::Choice::Armed);
    groupDrag(GroupVertex, {72, 40}, {{72, 57}});
    EXPECT_EQ(doc.tiles[0].verts[1], (Vertex{72, 56}));
    EXPECT_EQ(doc.tiles[1].verts[0], (Vertex{72, 56}));
    EXPECT_EQ(doc.tiles[3].verts[1], (Vertex{72, 40})); // hexagonal grid: untouched
    EXPECT_EQ(doc.vtxSel.size(), 3u);                   // the group's vertex selection stays
}

TEST_F(GroupGestureTest, ChoicesReportEmptySelections)
{
    doc.vtxSel.clear();
    EXPECT_EQ(gestures.chooseGroupAction(GroupVertex), TileGestures::Choice::NoVertices);
    for (Tile &tile : doc.tiles)
        tile.selected = kFalse;
    doc.tiles[3].selected = kTrue;
    for (int choice : {GroupRotate, GroupReflect, GroupCopy, GroupMove, GroupRecolor, GroupDelete})
        EXPECT_EQ(gestures.chooseGroupAction(choice), TileGestures::Choice::NoTiles) << choice;
    EXPECT_EQ(gestures.chooseGroupAction(GroupNone), TileGestures::Choice::Reset);
    EXPECT_FALSE(undo.hasSnapshot());
}

TEST_F(GroupGestureTest, GroupRecolorAndDelete)
{
    dialogs.expectColor(std::nullopt);
    EXPECT_EQ(gestures.chooseGroupAction(GroupRecolor), TileGestures::Choice::Done);
    EXPECT_FALSE(undo.hasSnapshot());
    dialogs.expectColor(0x404040);
    gestures.chooseGroupAction(GroupRecolor);
    EXPECT_EQ(doc.tiles[0].color, 0x404040);
    EXPECT_EQ(doc.tiles[1].color, 0x404040);
    EXPECT_EQ(doc.tiles[2].color, 0xff0000);
    EXPECT_EQ(doc.tiles[3].color, 0x00ffff);

    doc.xformOpen = true;
    doc.curTile = 1; // the display copy is skipped silently
    EXPECT_EQ(gestures.chooseGroupAction(GroupDelete), TileGestures::Choice::Deleted);
    ASSERT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(doc.tiles[0].color, 0x404040);
    EXPECT_EQ(doc.curTile, 0);
    undo.pressed(doc);
    EXPECT_EQ(doc.tileCount(), 4);
}

} // namespace
} // namespace tessella::pointertest
