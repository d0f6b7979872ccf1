// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/tilegestures.h"

#include "document/compaction.h"
#include "document/geometry.h"
#include "document/lattice.h"
#include "tileeditor/hittester.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessella {

namespace {

constexpr double kSnapTolerance = 6;
constexpr double kUnitsPerHalfTurn = 64;
constexpr double kLabelOffset = 50; // plane units right of and above the pointer
constexpr double kVertexReach = 4;

} // namespace

std::optional<std::size_t> TileGestures::foundTile(double x, double y)
{
    HitTester tester(ctx_.doc, ctx_.host.drawSettings(), ctx_.host.canvasSurface(),
                     ctx_.host.tileBoxes());
    const std::optional<std::size_t> t = tester.foundTile(x, y);
    if (!t)
        ctx_.dialogs.beep();
    return t;
}

bool TileGestures::inGroup(const Tile &tile) const
{
    return tile.selected != 0 && tile.grid == grid();
}

bool TileGestures::anySelected() const
{
    for (const Tile &tile : ctx_.doc.tiles) {
        if (inGroup(tile))
            return true;
    }
    return false;
}

bool TileGestures::rotating() const
{
    if (kind_ == Kind::Tile)
        return action_ == TileRotate || action_ == TileReflect;
    return kind_ == Kind::Group && (action_ == GroupRotate || action_ == GroupReflect);
}

bool TileGestures::gestureTileValid() const
{
    // The tile table may have been replaced or shrunk under the gesture.
    return rotation_.gestureTile >= 0 && std::size_t(rotation_.gestureTile) < ctx_.doc.tiles.size();
}

void TileGestures::backup()
{
    ctx_.undo.tBackup(ctx_.doc);
    ctx_.host.undoButtonChanged();
}

void TileGestures::begin(Kind kind, int action, double x, double y)
{
    kind_ = kind;
    action_ = action;
    lastDelta_ = {};
    moveDelta_ = {};
    gestureActive_ = true;
    pressPoint_ = {x, y};
}

void TileGestures::finish()
{
    gesturePhase_ = 0;
    ctx_.host.refreshBackground();
    gestureActive_ = false;
    kind_ = Kind::None;
}

void TileGestures::tilePress(int action, double x, double y)
{
    if (gestureActive_ && !actsWhileBusy(action))
        return;
    switch (action) {
    case TileRotate:
    case TileReflect:
        startTileRotation(action == TileReflect, x, y);
        break;
    case TileCopy:
        startTileCopy(x, y);
        break;
    case TileMove:
        startTileMove(x, y);
        break;
    case TileRecolor:
        recolorTile(x, y);
        break;
    case TileVertex:
        startTileVertexDrag(x, y);
        break;
    case TileDelete:
        deleteTile(x, y);
        break;
    default:
        break;
    }
}

void TileGestures::groupPress(int action, double x, double y)
{
    if (gestureActive_)
        return;
    switch (action) {
    case GroupRotate:
    case GroupReflect:
        startGroupRotation(action == GroupReflect, x, y);
        break;
    case GroupCopy:
        startGroupCopy(x, y);
        break;
    case GroupMove:
        ctx_.host.refreshBackground();
        begin(Kind::Group, GroupMove, x, y);
        anchorFirstSelected(ctx_.doc, grid(), anchor_);
        break;
    case GroupVertex:
        ctx_.host.refreshBackground();
        begin(Kind::Group, GroupVertex, x, y);
        anchorFirstSelectedVertex();
        break;
    default:
        break;
    }
}

void TileGestures::showLabel(double x, double y)
{
    ctx_.host.showRotationLabel(rotation_.label(), x + kLabelOffset, y - kLabelOffset);
}

void TileGestures::startTileRotation(bool reflect, double x, double y)
{
    const std::optional<std::size_t> t = foundTile(x, y);
    if (!t || gesturePhase_ != 0 || *t > std::size_t(kMaxRecords))
        return;
    backup();
    Tile &tile = ctx_.doc.tiles[*t];
    Vertex centre;
    findCentroid(tile, centre.x, centre.y);
    rotation_.start(int(*t), centre);
    if (reflect) {
        // The mirror axis is the tile's own vertical, turned with the tile.
        for (int j = 0; j < tile.usableVerts(); ++j) {
            Vertex &v = tile.verts[std::size_t(j)];
            v = reflectPoint(centre.x, centre.y, v.x, v.y, std::numbers::pi / 2 + tile.angle);
        }
        tile.reflected = tile.reflected == 0 ? 1.0 : 0.0;
    }
    gesturePhase_ = 1;
    ctx_.host.refreshBackground();
    showLabel(x, y);
    begin(Kind::Tile, reflect ? TileReflect : TileRotate, x, y);
    setAnchorFromTile(ctx_.doc, *t, anchor_);
}

void TileGestures::startGroupRotation(bool reflect, double x, double y)
{
    if (gesturePhase_ != 0)
        return;
    backup();
    Vertex centre = rotation_.gestureCenter;
    groupCentroid(ctx_.doc, grid(), centre.x, centre.y);
    rotation_.start(rotation_.gestureTile, centre);
    if (reflect) {
        // The plane's vertical through the group centre, whatever the tiles' angles.
        for (Tile &tile : ctx_.doc.tiles) {
            if (!inGroup(tile))
                continue;
            for (int j = 0; j < tile.usableVerts(); ++j) {
                Vertex &v = tile.verts[std::size_t(j)];
                v = reflectPoint(centre.x, centre.y, v.x, v.y, std::numbers::pi / 2);
            }
            tile.reflected = tile.reflected == 0 ? 1.0 : 0.0;
        }
    }
    gesturePhase_ = 1;
    ctx_.host.refreshBackground();
    showLabel(x, y);
    begin(Kind::Group, reflect ? GroupReflect : GroupRotate, x, y);
    anchorFirstSelected(ctx_.doc, grid(), anchor_);
}

void TileGestures::startTileCopy(double x, double y)
{
    const std::optional<std::size_t> t = foundTile(x, y);
    if (!t)
        return;
    Document &doc = ctx_.doc;
    if (!doc.canAppendTiles(1)) {
        ctx_.dialogs.message(kTooManyTiles);
        return;
    }
    backup();
    copyBase_ = doc.tiles.size();
    const Tile copy = doc.tiles[*t];
    doc.appendTile(copy);
    rotation_.gestureTile = int(copyBase_);
    ctx_.host.refreshBackground();
    begin(Kind::Tile, TileCopy, x, y);
    setAnchorFromTile(doc, copyBase_, anchor_);
}

void TileGestures::startTileMove(double x, double y)
{
    const std::optional<std::size_t> t = foundTile(x, y);
    if (!t || *t > std::size_t(kMaxRecords))
        return;
    rotation_.gestureTile = int(*t);
    ctx_.host.refreshBackground();
    begin(Kind::Tile, TileMove, x, y);
    setAnchorFromTile(ctx_.doc, *t, anchor_);
}

void TileGestures::recolorTile(double x, double y)
{
    const std::optional<std::size_t> t = foundTile(x, y);
    if (!t)
        return;
    const std::optional<Colour> colour = chip_.getColor();
    if (!colour)
        return;
    backup();
    ctx_.doc.tiles[*t].color = *colour;
    ctx_.host.refreshBackground();
}

void TileGestures::startTileVertexDrag(double x, double y)
{
    Document &doc = ctx_.doc;
    doc.vtxSel.clear();
    ctx_.host.refreshBackground();
    const int16_t g = grid();
    const std::size_t last = std::min<std::size_t>(doc.tiles.size(), std::size_t(kMaxRecords) + 1);
    bool full = false;
    for (std::size_t t = 0; t < last && !full; ++t) {
        const Tile &tile = doc.tiles[t];
        if (tile.grid != g)
            continue;
        for (int j = 0; j < tile.usableVerts() && !full; ++j) {
            const Vertex &v = tile.verts[std::size_t(j)];
            if (std::fabs(v.x - x) < kVertexReach && std::fabs(v.y - y) < kVertexReach)
                full = !doc.appendVertexRef({int16_t(t), int16_t(j)});
        }
    }
    if (doc.vtxSel.empty()) {
        ctx_.dialogs.beep();
        return;
    }
    ctx_.host.refreshBackground();
    begin(Kind::Tile, TileVertex, x, y);
    const VertexRef first = doc.vtxSel.front();
    anchor_ = doc.tiles[std::size_t(first.tile)].verts[std::size_t(first.vertex)];
}

void TileGestures::deleteTile(double x, double y)
{
    const std::optional<std::size_t> t = foundTile(x, y);
    if (!t)
        return;
    Document &doc = ctx_.doc;
    if (doc.displayCopy() >= 0 && *t == std::size_t(doc.displayCopy())) {
        ctx_.dialogs.message(kDeleteRefused);
        ctx_.host.refreshBackground();
        return;
    }
    backup();
    doc.tiles[*t].deleted = kTrue;
    if (*t <= std::size_t(kMaxRecords))
        compresV(doc, int16_t(*t));
    compresT(doc);
    ctx_.host.refreshBackground();
}

void TileGestures::startGroupCopy(double x, double y)
{
    Document &doc = ctx_.doc;
    const std::size_t count = doc.tiles.size();
    std::size_t copies = 0;
    for (const Tile &tile : doc.tiles)
        copies += inGroup(tile) ? 1 : 0;
    // Never a partial group copy.
    if (!doc.canAppendTiles(int(std::min<std::size_t>(copies, std::size_t(kMaxRecords) + 1)))) {
        ctx_.dialogs.message(kTooManyTiles);
        return;
    }
    backup();
    copyBase_ = count;
    for (std::size_t i = 0; i < count; ++i) {
        if (!inGroup(doc.tiles[i]))
            continue;
        Tile copy = doc.tiles[i];
        copy.selected = kFalse;
        doc.appendTile(copy);
    }
    ctx_.host.refreshBackground();
    begin(Kind::Group, GroupCopy, x, y);
    anchorFirstSelected(doc, grid(), anchor_);
    previewGroupDrag({0, 0});
}

void TileGestures::anchorFirstSelectedVertex()
{
    const Document &doc = ctx_.doc;
    if (doc.vtxSel.empty())
        return;
    const VertexRef first = doc.vtxSel.front();
    if (doc.hasTile(first.tile) && first.vertex >= 0 &&
        first.vertex < doc.tiles[std::size_t(first.tile)].usableVerts())
        anchor_ = doc.tiles[std::size_t(first.tile)].verts[std::size_t(first.vertex)];
}

void TileGestures::drag(double x, double y)
{
    if (!gestureActive_)
        return;
    moveDelta_ = {x - pressPoint_.x, y - pressPoint_.y};
    const bool space = ctx_.host.spaceHeld();
    if (gesturePhase_ == 1) {
        rotation_.rotAngle = moveDelta_.y / kUnitsPerHalfTurn * std::numbers::pi;
        const bool drawn =
            kind_ == Kind::Tile
                ? rotation_.previewTileRotation(ctx_.doc, ctx_.host.canvasSurface(), false, space)
                : rotation_.previewGroupRotation(ctx_.doc, ctx_.host.canvasSurface(), grid(), false,
                                                 space);
        if (drawn) {
            ctx_.host.setRotationLabel(rotation_.label());
            ctx_.host.previewsDrawn();
        }
        return;
    }
    const SnapResult snap = snapToGrid(grid(), anchor_.x + moveDelta_.x, anchor_.y + moveDelta_.y,
                                       kSnapTolerance, space);
    if (snap.snapped) {
        moveDelta_ = {snap.x - anchor_.x, snap.y - anchor_.y};
        lastDelta_ = moveDelta_;
    }
    // Only over a lattice node: between nodes the last preview stays.
    if (moveDelta_ == lastDelta_)
        previewDrag(lastDelta_);
}

void TileGestures::release(double x, double y)
{
    if (!gestureActive_)
        return;
    if (gesturePhase_ == 2) {
        commitPlacement();
        finish();
        return;
    }
    if (gesturePhase_ == 1) {
        commitRotation(x, y);
        return;
    }
    commitDrag();
    finish();
}

void TileGestures::cancel()
{
    if (gestureActive_ && gesturePhase_ == 0 &&
        action_ == (kind_ == Kind::Tile ? int(TileCopy) : int(GroupCopy)) &&
        ctx_.doc.tiles.size() > copyBase_)
        ctx_.doc.tiles.resize(copyBase_);
    if (gesturePhase_ != 0)
        ctx_.host.hideRotationLabel();
    abandon();
}

void TileGestures::abandon()
{
    gestureActive_ = false;
    gesturePhase_ = 0;
    kind_ = Kind::None;
    action_ = -1;
}

} // namespace tessella
