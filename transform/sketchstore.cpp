// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/sketchstore.h"

#include <algorithm>
#include <cmath>

namespace tessella {

namespace {

void movePoints(Sketch &s, double dx, double dy)
{
    for (Vertex &p : s.points) {
        p.x += dx;
        p.y += dy;
    }
}

Sketch mirrored(const Sketch &s, double xr)
{
    Sketch m = s;
    for (Vertex &p : m.points)
        p.x = 2 * xr - p.x;
    return m;
}

bool sameSketch(const Sketch &a, const Sketch &b)
{
    if (a.kind != b.kind || a.deletedMark != b.deletedMark || a.fillStyle != b.fillStyle ||
        a.negative != b.negative || a.nPoints != b.nPoints || a.points.size() != b.points.size())
        return false;
    for (size_t i = 0; i < a.points.size(); ++i)
        if (std::fabs(a.points[i].x - b.points[i].x) > 1e-9 ||
            std::fabs(a.points[i].y - b.points[i].y) > 1e-9)
            return false;
    return true;
}

} // namespace

void SketchWorkingCopy::clear()
{
    sketchItems.assign(1, Sketch{});
    sketchNext = 1;
    mirrorFrom = 0;
}

bool SketchWorkingCopy::append(const Sketch &item)
{
    if (sketchNext >= kMaxRecords)
        return false;
    sketchItems.resize(sketchNext);
    sketchItems.push_back(item);
    ++sketchNext;
    return true;
}

void loadSketches(const Document &doc, const Tile &tile, double firstX, double firstY,
                  SketchWorkingCopy &work)
{
    work.clear();
    const int32_t start = tile.sketchStart;
    const int table = doc.sketchCount();
    if (start <= 0 || start > table)
        return;
    const int count = doc.sketches[start].count;
    if (count <= 0)
        return;
    // Only the part of the run that lies inside the table.
    const int last = std::min<long>(static_cast<long>(start) + count - 1, table);
    for (int k = start; k <= last; ++k) {
        Sketch s = doc.sketches[k];
        s.points.resize(s.usablePoints());
        s.nPoints = static_cast<int16_t>(s.points.size());
        s.count = 0;
        movePoints(s, firstX, firstY);
        work.append(s);
    }
}

StoreResult storeSketches(Document &doc, SketchWorkingCopy &work, double firstX, double firstY,
                          Tile &ret)
{
    std::vector<Sketch> run;
    for (int i = 1; i < work.sketchNext && i < static_cast<int>(work.sketchItems.size()); ++i) {
        const Sketch &item = work.sketchItems[i];
        if (item.deletedMark)
            continue;
        Sketch s = item;
        s.count = 0;
        movePoints(s, -firstX, -firstY);
        run.push_back(std::move(s));
    }
    if (run.empty()) {
        work.sketchRun = 0;
        ret.sketchStart = 0;
        return StoreResult::Empty;
    }
    const int32_t start = doc.appendSketchRun(run);
    if (start == 0)
        return StoreResult::TableFull;
    work.sketchRun = start;
    ret.sketchStart = start;
    return StoreResult::Stored;
}

void mirrorSketches(SketchWorkingCopy &work, double xr)
{
    const int originals = work.sketchNext;
    work.mirrorFrom = originals;
    for (int i = 1; i < originals; ++i)
        if (!work.append(mirrored(work.sketchItems[i], xr)))
            break;
    if (work.sketchNext == originals)
        work.mirrorFrom = 0;
}

void dropMirroredSketches(SketchWorkingCopy &work, double xr)
{
    int from = work.mirrorFrom;
    if (from <= 0) {
        // Reloaded while reflected: the mirrored copies are the second half, if any.
        const int n = work.sketchNext - 1;
        if (n <= 0 || n % 2 != 0)
            return;
        const int half = n / 2;
        for (int i = 1; i <= half; ++i)
            if (!sameSketch(mirrored(work.sketchItems[i], xr), work.sketchItems[i + half]))
                return;
        from = half + 1;
    }
    if (from < work.sketchNext) {
        work.sketchItems.resize(from);
        work.sketchNext = from;
    }
    work.mirrorFrom = 0;
}

} // namespace tessella
