// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/transformpick.h"

#include "document/compaction.h"
#include "document/geometry.h"
#include "tileeditor/hittester.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

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

// The records of the run starting at `start` that lie in the table: 0 when the
// reference names no run.
int runLength(const Document &doc, int32_t start)
{
    const int64_t sketchCount = doc.sketches.empty() ? 0 : int64_t(doc.sketches.size()) - 1;
    if (start <= 0 || start > sketchCount)
        return 0;
    const int64_t count = doc.sketches[std::size_t(start)].count;
    if (count <= 0)
        return 0;
    return int(std::min<int64_t>(count, sketchCount - start + 1));
}

template <typename Visit>
void forEachHolder(Document &doc, const std::vector<std::vector<Tile> *> &snapshots, Visit visit)
{
    for (Tile &tile : doc.tiles)
        visit(tile);
    visit(doc.xfTile);
    visit(doc.xfReturn);
    for (std::vector<Tile> *table : snapshots) {
        if (!table)
            continue;
        for (Tile &tile : *table)
            visit(tile);
    }
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

int reclaimSketchRuns(Document &doc, const std::vector<std::vector<Tile> *> &snapshots)
{
    if (doc.sketches.empty())
        return 0;
    std::map<int32_t, int> runs; // start -> length, in table order
    forEachHolder(doc, snapshots, [&](Tile &tile) {
        if (const int length = runLength(doc, tile.sketchStart))
            runs.emplace(tile.sketchStart, length);
    });
    std::size_t kept = 1;
    for (const auto &[start, length] : runs)
        kept += std::size_t(length);
    // Overlapping runs of a damaged file could make the copy larger.
    if (kept >= doc.sketches.size())
        return 0;

    std::vector<Sketch> table;
    table.reserve(kept);
    table.push_back(doc.sketches[0]);
    std::map<int32_t, int32_t> moved;
    for (const auto &[start, length] : runs) {
        moved[start] = int32_t(table.size());
        for (int k = 0; k < length; ++k)
            table.push_back(doc.sketches[std::size_t(start + k)]);
        table[std::size_t(moved[start])].count = int16_t(length);
    }
    forEachHolder(doc, snapshots, [&](Tile &tile) {
        const auto it = moved.find(tile.sketchStart);
        tile.sketchStart =
            it != moved.end() && runLength(doc, tile.sketchStart) > 0 ? it->second : 0;
    });
    const int freed = int(doc.sketches.size() - table.size());
    doc.sketches = std::move(table);
    return freed;
}

bool bakeSketch(Document &doc, std::size_t t, const std::vector<std::vector<Tile> *> &snapshots)
{
    if (t >= doc.tiles.size())
        return false;
    int length = runLength(doc, doc.tiles[t].sketchStart);
    if (length > 0) {
        auto fits = [&] {
            const std::size_t base = doc.sketches.empty() ? 1 : doc.sketches.size();
            return base + std::size_t(length) <= std::size_t(kMaxRecords);
        };
        if (!fits()) {
            reclaimSketchRuns(doc, snapshots);
            length = runLength(doc, doc.tiles[t].sketchStart);
            if (!fits())
                return false;
        }
        Tile &tile = doc.tiles[t];
        const auto first = doc.sketches.begin() + tile.sketchStart;
        std::vector<Sketch> run(first, first + length);
        for (Sketch &item : run) {
            for (Vertex &p : item.points) {
                if (tile.reflected != 0)
                    p = reflectPoint(0, 0, p.x, p.y, std::numbers::pi / 2);
                p = rotatePoint(0, 0, p.x, p.y, tile.angle);
            }
        }
        const int32_t start = doc.appendSketchRun(run);
        if (start == 0)
            return false;
        tile.sketchStart = start;
    } else {
        // A reference naming no run is no sketch.
        doc.tiles[t].sketchStart = 0;
    }
    doc.tiles[t].reflected = 0;
    doc.tiles[t].angle = 0;
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
    doc.tiles[t].deleted = kTrue;
    compresT(doc);
    ctx_.host.refreshBackground();
    return true;
}

} // namespace tessella
