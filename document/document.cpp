// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/document.h"

namespace tessella {

Tile *Document::currentTile()
{
    return hasTile(curTile) ? &tiles[curTile] : nullptr;
}

const Tile *Document::currentTile() const
{
    return hasTile(curTile) ? &tiles[curTile] : nullptr;
}

bool Document::appendTile(const Tile &tile)
{
    if (!canAppendTiles(1))
        return false;
    tiles.push_back(tile);
    return true;
}

bool Document::appendVertexRef(VertexRef ref)
{
    if (vtxSel.size() >= kMaxRecords)
        return false;
    vtxSel.push_back(ref);
    return true;
}

int32_t Document::appendSketchRun(const std::vector<Sketch> &run)
{
    const size_t base = sketches.empty() ? 1 : sketches.size();
    if (run.empty() || base + run.size() > kMaxRecords)
        return 0;
    if (sketches.empty())
        sketches.emplace_back();
    sketches.insert(sketches.end(), run.begin(), run.end());
    sketches[base].count = static_cast<int16_t>(run.size());
    return static_cast<int32_t>(base);
}

} // namespace tessella
