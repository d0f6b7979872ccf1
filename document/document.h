// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/records.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessella {

// Grid list entries (index of the grid list; also a tile's `grid`).
enum GridIndex : int16_t {
    GridNone = 0,
    GridRectangular = 1,
    GridCenterFace = 2,
    GridHexagonal = 3
};

// How the transform editor hands its polygon back: "return to tiles" keeps the transform
// pending (the polygon shown in the tiling is its display copy), "exit" ends it.
enum class HandBack { Return, Exit };

// The whole design held in memory. Counts of the tables are the vectors' sizes,
// except sketchCount, which is the highest used index of `sketches`.
struct Document
{
    std::vector<Tile> tiles;       // tileCount() records
    int16_t curTile = 0;           // may name no tile (bounds-check every use)
    std::vector<Sketch> sketches;  // empty: the table was never created; else sketchCount + 1
    std::vector<VertexRef> vtxSel; // the selected vertices
    std::vector<NodeRecord> nodeRecs;
    int16_t xfResume = 0;
    int16_t xfReflected = 0;
    bool xformOpen = false;
    // While xformOpen: the polygon is in the transform editor only, without a display copy
    // in the tiling (from the pick until the first hand-back, and after "return to
    // transform"). Otherwise tile curTile is its display copy.
    bool xfEditorOnly = false;
    Tile xfTile;
    Tile xfReturn;
    bool dirty = false;
    bool closing = false;
    int16_t grid = GridRectangular; // the grid list's current index, stored with the document

    int16_t tileCount() const { return static_cast<int16_t>(tiles.size()); }
    int16_t sketchCount() const
    {
        return sketches.empty() ? 0 : static_cast<int16_t>(sketches.size() - 1);
    }
    int16_t vtxSelCount() const { return static_cast<int16_t>(vtxSel.size()); }
    int16_t nodeRecCount() const { return static_cast<int16_t>(nodeRecs.size()); }

    bool hasTile(int index) const { return index >= 0 && index < tileCount(); }
    // Tile at curTile, or nullptr when curTile names no tile.
    Tile *currentTile();
    const Tile *currentTile() const;
    // Index of the pending polygon's display copy in the tiling, or -1 when none is shown.
    int displayCopy() const
    {
        return xformOpen && !xfEditorOnly && hasTile(curTile) ? curTile : -1;
    }

    // Appends refuse (return false, nothing changed) past the 16-bit table limit.
    bool canAppendTiles(int n) const { return n >= 0 && tiles.size() + n <= kMaxRecords; }
    bool appendTile(const Tile &tile);
    bool appendVertexRef(VertexRef ref);
    // Appends a run of sketch items (creating record 0 first when the table does not
    // exist yet); returns the run's start index, or 0 when the table would overflow.
    int32_t appendSketchRun(const std::vector<Sketch> &run);
};

} // namespace tessella
