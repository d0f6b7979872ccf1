// SPDX-License-Identifier: GPL-3.0-or-later
// The commits of the tile gestures and the group list's choices.
#include "tileeditor/tilegestures.h"

#include "document/compaction.h"
#include "document/geometry.h"
#include "document/lattice.h"

#include <numbers>

namespace tessella {

namespace {

constexpr double kDriftTolerance = 0.001; // removes rounding drift, nothing more

} // namespace

void TileGestures::moveVertices(Tile &tile, Vertex delta, bool snap)
{
    const int16_t g = grid();
    const bool space = ctx_.host.spaceHeld();
    for (int j = 0; j < tile.usableVerts(); ++j) {
        Vertex &v = tile.verts[std::size_t(j)];
        v.x += delta.x;
        v.y += delta.y;
        if (!snap)
            continue;
        // Removes the rounding drift of the rotation and the displacement.
        const SnapResult s = snapToGrid(g, v.x, v.y, kDriftTolerance, space);
        if (s.snapped)
            v = {s.x, s.y};
    }
}

void TileGestures::commitRotation(double x, double y)
{
    const bool space = ctx_.host.spaceHeld();
    // Half a snapping step: the committing snap then returns the angle last shown even
    // when rounding left the stored value a hair below it.
    if (!space)
        rotation_.rotAngle += std::numbers::pi / 24;
    Surface &canvas = ctx_.host.canvasSurface();
    if (kind_ == Kind::Tile)
        rotation_.previewTileRotation(ctx_.doc, canvas, true, space);
    else
        rotation_.previewGroupRotation(ctx_.doc, canvas, grid(), true, space);
    ctx_.host.tilesMovedInPlace();
    pressPoint_ = {x, y};
    gesturePhase_ = 2;
    ctx_.host.hideRotationLabel();
    if (kind_ == Kind::Tile) {
        if (gestureTileValid())
            setAnchorFromTile(ctx_.doc, std::size_t(rotation_.gestureTile), anchor_);
    } else {
        anchorFirstSelected(ctx_.doc, grid(), anchor_);
    }
    ctx_.host.previewsDrawn();
}

void TileGestures::commitPlacement()
{
    gesturePhase_ = 0;
    ctx_.host.hideRotationLabel();
    if (kind_ == Kind::Tile) {
        if (gestureTileValid())
            moveVertices(ctx_.doc.tiles[std::size_t(rotation_.gestureTile)], lastDelta_, true);
        return;
    }
    for (Tile &tile : ctx_.doc.tiles) {
        if (inGroup(tile))
            moveVertices(tile, lastDelta_, true);
    }
}

void TileGestures::commitDrag()
{
    Document &doc = ctx_.doc;
    const bool tileAction = kind_ == Kind::Tile;
    if (action_ == (tileAction ? int(TileVertex) : int(GroupVertex))) {
        backup();
        const int16_t g = grid();
        for (const VertexRef &ref : doc.vtxSel) {
            if (!doc.hasTile(ref.tile))
                continue;
            Tile &tile = doc.tiles[std::size_t(ref.tile)];
            // Vertices of tiles on other grids stay as they are.
            if (tile.grid != g || ref.vertex < 0 || ref.vertex >= tile.usableVerts())
                continue;
            Vertex &v = tile.verts[std::size_t(ref.vertex)];
            v.x += lastDelta_.x;
            v.y += lastDelta_.y;
        }
        if (tileAction)
            doc.vtxSel.clear();
        return;
    }
    const bool copy = action_ == (tileAction ? int(TileCopy) : int(GroupCopy));
    if (copy && lastDelta_ == Vertex{0, 0}) {
        // A copy that never reached another node is dropped.
        if (doc.tiles.size() > copyBase_)
            doc.tiles.resize(copyBase_);
        return;
    }
    backup();
    if (tileAction) {
        if (gestureTileValid())
            moveVertices(doc.tiles[std::size_t(rotation_.gestureTile)], lastDelta_, true);
        return;
    }
    for (Tile &tile : doc.tiles) {
        if (inGroup(tile))
            moveVertices(tile, lastDelta_, false);
    }
}

TileGestures::Choice TileGestures::chooseGroupAction(int index)
{
    Document &doc = ctx_.doc;
    switch (index) {
    case GroupRotate:
    case GroupReflect:
    case GroupCopy:
    case GroupMove: {
        Vertex centre = rotation_.gestureCenter;
        if (!groupCentroid(doc, grid(), centre.x, centre.y))
            return Choice::NoTiles;
        rotation_.gestureCenter = centre;
        return Choice::Armed;
    }
    case GroupRecolor: {
        if (!anySelected())
            return Choice::NoTiles;
        const std::optional<Colour> colour = chip_.getColor();
        if (!colour)
            return Choice::Done;
        backup();
        for (Tile &tile : doc.tiles) {
            if (inGroup(tile))
                tile.color = *colour;
        }
        return Choice::Done;
    }
    case GroupVertex:
        return doc.vtxSel.empty() ? Choice::NoVertices : Choice::Armed;
    case GroupDelete: {
        if (!anySelected())
            return Choice::NoTiles;
        backup();
        for (std::size_t i = 0; i < doc.tiles.size(); ++i) {
            // The display copy of the pending transform stays.
            if (doc.displayCopy() >= 0 && i == std::size_t(doc.displayCopy()))
                continue;
            if (inGroup(doc.tiles[i]))
                doc.tiles[i].deleted = kTrue;
        }
        compresT(doc);
        return Choice::Deleted;
    }
    case GroupNone:
        return Choice::Reset;
    default:
        return Choice::Done;
    }
}

} // namespace tessella
