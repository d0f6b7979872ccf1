// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/sketchruns.h"

#include "document/geometry.h"

#include <algorithm>
#include <map>
#include <numbers>

namespace tessella {

namespace {

template <typename Visit>
void forEachHolder(Document &doc, const std::vector<std::vector<Tile> *> &snapshots,
                   const std::vector<int32_t *> &starts, Visit visit)
{
    for (Tile &tile : doc.tiles)
        visit(tile.sketchStart);
    visit(doc.xfTile.sketchStart);
    visit(doc.xfReturn.sketchStart);
    for (std::vector<Tile> *table : snapshots) {
        if (!table)
            continue;
        for (Tile &tile : *table)
            visit(tile.sketchStart);
    }
    for (int32_t *start : starts)
        if (start)
            visit(*start);
}

} // namespace

int sketchRunLength(const Document &doc, int32_t start)
{
    const int64_t sketchCount = doc.sketches.empty() ? 0 : int64_t(doc.sketches.size()) - 1;
    if (start <= 0 || start > sketchCount)
        return 0;
    const int64_t count = doc.sketches[std::size_t(start)].count;
    if (count <= 0)
        return 0;
    return int(std::min<int64_t>(count, sketchCount - start + 1));
}

int reclaimSketchRuns(Document &doc, const std::vector<std::vector<Tile> *> &snapshots,
                      const std::vector<int32_t *> &starts)
{
    if (doc.sketches.empty())
        return 0;
    std::map<int32_t, int> runs; // start -> length, in table order
    forEachHolder(doc, snapshots, starts, [&](int32_t &start) {
        if (const int length = sketchRunLength(doc, start))
            runs.emplace(start, length);
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
    forEachHolder(doc, snapshots, starts, [&](int32_t &start) {
        const auto it = moved.find(start);
        start = it != moved.end() ? it->second : 0;
    });
    const int freed = int(doc.sketches.size() - table.size());
    doc.sketches = std::move(table);
    return freed;
}

bool bakeSketch(Document &doc, std::size_t t, const std::vector<std::vector<Tile> *> &snapshots)
{
    if (t >= doc.tiles.size())
        return false;
    int length = sketchRunLength(doc, doc.tiles[t].sketchStart);
    if (length > 0) {
        auto fits = [&] {
            const std::size_t base = doc.sketches.empty() ? 1 : doc.sketches.size();
            return base + std::size_t(length) <= std::size_t(kMaxRecords);
        };
        if (!fits()) {
            reclaimSketchRuns(doc, snapshots);
            length = sketchRunLength(doc, doc.tiles[t].sketchStart);
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

} // namespace tessella
