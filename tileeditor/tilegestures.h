// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tileeditor/colourchip.h"
#include "tileeditor/editorhost.h"
#include "tileeditor/view/rotationpreview.h"

#include <cstddef>
#include <optional>

namespace tessella {

// Refusals of the tile and group actions.
inline constexpr const char *kDeleteRefused =
    "This tile cannot be deleted while it is active in the transform editor";
inline constexpr const char *kNoTilesSelected = "no tiles are selected";
inline constexpr const char *kNoVerticesSelected = "no vertices are selected";

// Entries of the tile-edit list (`lstTiles`) and the group-edit list (`lstAction`).
enum TileAction : int {
    TileNew = 0,
    TileRotate = 1,
    TileReflect = 2,
    TileCopy = 3,
    TileMove = 4,
    TileRecolor = 5,
    TileVertex = 6,
    TileDelete = 8,
};
enum GroupAction : int {
    GroupRotate = 0,
    GroupReflect = 1,
    GroupCopy = 2,
    GroupMove = 3,
    GroupRecolor = 4,
    GroupVertex = 5,
    GroupDelete = 7,
    GroupNone = 8,
};

// The pointer gestures that edit existing tiles, singly (`lstTiles`) or as the selected
// group (`lstAction`). A press starts a gesture (recolour and delete act at once), moves
// draw previews on the canvas's transient layer, the release commits with one full
// redraw. Drags jump from lattice node to lattice node; rotations turn by half a
// revolution per 64 plane units of vertical travel, snapped down to 15 degrees unless the
// space bar is held, and are then placed by a second press and release.
class TileGestures
{
public:
    // Which action a gesture serves.
    enum class Kind { None, Tile, Group };
    // The outcome of a choice in the group list.
    enum class Choice { Armed, NoTiles, NoVertices, Done, Deleted, Reset };

    TileGestures(EditorContext ctx, ColourChip &chip) : ctx_(ctx), chip_(chip) {}

    // Recolour and delete act at once, even while a gesture or a new-tile entry is under
    // way; every other action waits for it to end.
    static bool actsWhileBusy(int tileAction)
    {
        return tileAction == TileRecolor || tileAction == TileDelete;
    }

    // A press with a tile action (1 .. 6, 8) or a group action (0 .. 3, 5) chosen.
    void tilePress(int action, double x, double y);
    void groupPress(int action, double x, double y);
    // The pointer moved while a gesture is active (any button state).
    void drag(double x, double y);
    // The pointer was released while a gesture is active.
    void release(double x, double y);

    // A choice in the group list (document part; the window shows the messages).
    Choice chooseGroupAction(int index);

    // Ends the gesture: a copy not yet placed is dropped, the readout hidden.
    void cancel();
    // Forgets the gesture without touching the tiles (the document was replaced).
    void abandon();

    bool active() const { return gestureActive_; }
    int phase() const { return gesturePhase_; }
    Kind kind() const { return kind_; }
    int action() const { return action_; }
    int gestureTile() const { return rotation_.gestureTile; }
    Vertex pressPoint() const { return pressPoint_; }
    Vertex moveDelta() const { return moveDelta_; }
    Vertex lastDelta() const { return lastDelta_; }
    Vertex anchor() const { return anchor_; }
    std::size_t copyBase() const { return copyBase_; }
    const RotationPreview &rotation() const { return rotation_; }

private:
    // The topmost tile under the pointer; beeps when there is none.
    std::optional<std::size_t> foundTile(double x, double y);
    int16_t grid() const { return ctx_.host.drawSettings().grid; }
    bool inGroup(const Tile &tile) const;
    bool anySelected() const;
    bool rotating() const;
    void backup();
    void begin(Kind kind, int action, double x, double y);
    void finish();

    void startTileRotation(bool reflect, double x, double y);
    void startGroupRotation(bool reflect, double x, double y);
    void showLabel(double x, double y);
    void startTileCopy(double x, double y);
    void startTileMove(double x, double y);
    void startTileVertexDrag(double x, double y);
    void recolorTile(double x, double y);
    void deleteTile(double x, double y);
    void startGroupCopy(double x, double y);
    void anchorFirstSelectedVertex();

    void commitRotation(double x, double y);
    void commitPlacement();
    void commitDrag();
    void moveVertices(Tile &tile, Vertex delta, bool snap);
    bool gestureTileValid() const;

    // Previews of a displacement (dx, dy), plane units.
    void previewDrag(Vertex delta);
    void previewTileDrag(Vertex delta);
    void previewGroupDrag(Vertex delta);
    void previewVertexDrag(Vertex delta);

    EditorContext ctx_;
    ColourChip &chip_;
    RotationPreview rotation_; // gestureTile, gestureCenter, rotAngle, lastAngle
    bool gestureActive_ = false;
    int gesturePhase_ = 0; // rotations: 0 none, 1 rotating, 2 placing
    Kind kind_ = Kind::None;
    int action_ = -1;
    Vertex pressPoint_;
    Vertex moveDelta_;
    Vertex lastDelta_;
    Vertex anchor_;
    std::size_t copyBase_ = 0;
};

} // namespace tessella
