// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/transformpick.h"

#include "document/compaction.h"
#include "document/geometry.h"
#include "tileeditor/hittester.h"

#include <algorithm>
#include <cmath>

namespace tessella {

namespace {

constexpr double kHexTolerance = 0.001;
constexpr double kMinExtent = 0.001;

bool sameVector(const Vertex &a1, const Vertex &a2, const Vertex &b1, const Vertex &b2)
{
    return std::fabs((a1.x - a2.x) - (b1.x - b2.x)) < kHexTolerance &&
           std::fabs((a1.y - a2.y) - (b1.y - b2.y)) < kHexTolerance;
}

bool specialHexagon(const std::vector<Vertex> &p)
{
    return sameVector(p[0], p[1], p[4], p[3]) && sameVector(p[1], p[2], p[5], p[4]) &&
           sameVector(p[2], p[3], p[0], p[5]);
}

bool hasArea(const Tile &tile)
{
    const int n = tile.usableVerts();
    double minX = tile.verts[0].x, maxX = minX, minY = tile.verts[0].y, maxY = minY;
    for (int j = 0; j < n; ++j) {
        const Vertex &v = tile.verts[std::size_t(j)];
        if (!std::isfinite(v.x) || !std::isfinite(v.y))
            return false;
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y);
        maxY = std::max(maxY, v.y);
    }
    // Also false for NaN coordinates.
    return maxX - minX >= kMinExtent && maxY - minY >= kMinExtent;
}

} // namespace

bool checkTransformable(const Document &doc, std::size_t t, Dialogs &dialogs)
{
    if (doc.xformOpen) {
        dialogs.message(kTransformInUse);
        return false;
    }
    if (t >= doc.tiles.size())
        return false;
    const Tile &tile = doc.tiles[t];
    const int n = tile.usableVerts();
    if (n == 6 && !specialHexagon(tile.verts)) {
        dialogs.message(kHexagonRefused);
        return false;
    }
    if (n != 3 && n != 4 && n != 6) {
        dialogs.message(kShapeRefused);
        return false;
    }
    // A flat polygon would give the transform editor a surface without area.
    if (!hasArea(tile)) {
        dialogs.message(kFlatRefused);
        return false;
    }
    return true;
}

std::vector<std::vector<Tile> *> TransformPick::snapshots()
{
    return {&ctx_.undo.snapshotTilesForUpdate(), &fractal_.tilesForUpdate()};
}

bool TransformPick::pick(double x, double y)
{
    Document &doc = ctx_.doc;
    HitTester tester(doc, ctx_.host.drawSettings(), ctx_.host.canvasSurface(),
                     ctx_.host.tileBoxes());
    const std::optional<std::size_t> found = tester.foundTile(x, y);
    if (!found) {
        ctx_.dialogs.beep();
        return false;
    }
    const std::size_t t = *found;
    if (!checkTransformable(doc, t, ctx_.dialogs))
        return false;
    if (!bakeSketch(doc, t, snapshots())) {
        ctx_.dialogs.message(kSketchTableFull);
        return false;
    }
    doc.xformOpen = true;
    doc.dirty = true;
    ctx_.undo.disable();
    ctx_.host.undoButtonChanged();
    doc.xfTile = doc.tiles[t];
    // Until the first hand-back the polygon is in the transform editor only: no tile is
    // its display copy, no earlier chain may be saved for it, and a save before the
    // transform editor writes back still holds the polygon as picked.
    doc.xfEditorOnly = true;
    doc.nodeRecs.clear();
    doc.xfReturn = doc.xfTile;
    doc.tiles[t].deleted = kTrue;
    compresT(doc);
    ctx_.host.refreshBackground();
    return true;
}

} // namespace tessella
