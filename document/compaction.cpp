// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/compaction.h"

#include <utility>

namespace tessella {

void compresT(Document &doc)
{
    // Indices shift, so no vertex reference can be trusted afterwards.
    doc.vtxSel.clear();

    std::vector<Tile> kept;
    kept.reserve(doc.tiles.size());
    int16_t newCurTile = doc.curTile;
    for (size_t i = 0; i < doc.tiles.size(); ++i) {
        Tile &tile = doc.tiles[i];
        if (tile.deleted != 0)
            continue;
        if (static_cast<size_t>(doc.curTile) == i && doc.curTile >= 0)
            newCurTile = static_cast<int16_t>(kept.size());
        kept.push_back(std::move(tile));
    }
    doc.curTile = newCurTile;
    doc.tiles = std::move(kept);
}

void compresV(Document &doc, int16_t tile)
{
    std::erase_if(doc.vtxSel, [tile](const VertexRef &ref) { return ref.tile == tile; });
}

} // namespace tessella
