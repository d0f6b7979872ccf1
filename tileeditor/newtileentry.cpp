// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/newtileentry.h"

#include "document/geometry.h"
#include "document/lattice.h"

namespace tessella {

namespace {

constexpr double kSnapTolerance = 6;
constexpr int kStartDotRadius = 3;

} // namespace

void NewTileEntry::press(double x, double y)
{
    ctx_.undo.disable();
    ctx_.host.undoButtonChanged();
    const DrawSettings settings = ctx_.host.drawSettings();
    const SnapResult snap = snapToGrid(settings.grid, x, y, kSnapTolerance, ctx_.host.spaceHeld());
    if (!snap.snapped) {
        ctx_.dialogs.beep();
        return;
    }
    const Vertex p{snap.x, snap.y};
    Surface &canvas = ctx_.host.canvasSurface();
    if (newCount_ == 0) {
        newPts_.assign(1, Vertex{});
        newTileActive_ = true;
        ctx_.host.refreshBackground();
        newCount_ = 1;
        newPts_[0] = p;
        drawDot(canvas, p.x, p.y, kStartDotRadius, kRed);
        ctx_.host.previewsDrawn();
        return;
    }
    if (p == newPts_[std::size_t(newCount_ - 1)]) {
        move(x, y);
        return;
    }
    // A tile's corner count is 16-bit.
    if (newCount_ >= kMaxRecords - 1) {
        ctx_.dialogs.beep();
        return;
    }
    newPts_.resize(std::size_t(newCount_) + 1);
    newPts_[std::size_t(newCount_)] = p;
    lineMerge(newPts_, newCount_);
    if (newPts_[std::size_t(newCount_)] == newPts_[0]) {
        // A reversal along one line can close the polygon with fewer than 3 corners.
        if (newCount_ < 3) {
            ctx_.dialogs.beep();
            cancelNewTile();
            return;
        }
        if (appendEnteredTile())
            cancelNewTile();
        return;
    }
    ++newCount_;
}

void NewTileEntry::rightPress()
{
    if (newCount_ >= 3)
        finishNewTile();
    else
        cancelNewTile();
}

void NewTileEntry::move(double x, double y)
{
    if (!newTileActive_)
        return;
    TilingDrawer drawer(ctx_.host.canvasSurface(), ctx_.doc, ctx_.host.drawSettings());
    drawer.drawNewtile(newPts_, newCount_, x, y);
    ctx_.host.previewsDrawn();
}

void NewTileEntry::finishNewTile()
{
    if (newCount_ < 3 || newPts_.empty()) {
        cancelNewTile();
        return;
    }
    newPts_.resize(std::size_t(newCount_) + 1);
    newPts_[std::size_t(newCount_)] = newPts_[0];
    if (appendEnteredTile())
        cancelNewTile();
}

bool NewTileEntry::appendEnteredTile()
{
    Document &doc = ctx_.doc;
    if (!doc.canAppendTiles(1)) {
        ctx_.dialogs.message(kTooManyTiles);
        cancelNewTile();
        return false;
    }
    doc.dirty = true;
    ctx_.undo.tBackup(doc);
    ctx_.host.undoButtonChanged();
    Tile tile;
    tile.verts.assign(newPts_.begin(), newPts_.begin() + newCount_ + 1);
    tile.vertsAllocated = true;
    tile.nVerts = int16_t(newCount_);
    tile.grid = ctx_.host.drawSettings().grid;
    tile.color = chip_.colour();
    tile.reflected = 0;
    doc.appendTile(tile);
    return true;
}

void NewTileEntry::cancelNewTile()
{
    reset();
    ctx_.host.refreshBackground();
}

void NewTileEntry::reset()
{
    newTileActive_ = false;
    newCount_ = 0;
    newPts_.assign(1, Vertex{});
}

} // namespace tessella
