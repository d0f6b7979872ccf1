// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/records.h"

#include <vector>

namespace tessella {

// The transform editor's working copy of the polygon's sketch items, in editor
// coordinates. Items are indexed from 1 (sketchItems[0] holds nothing); items
// 1 .. sketchNext - 1 exist.
struct SketchWorkingCopy
{
    std::vector<Sketch> sketchItems{Sketch{}};
    int sketchNext = 1;
    bool sketchesChanged = false;
    int sketchRun = 0; // the run this window stored last (0: none)
    // First item added by a reflection as a mirrored copy (0: none), so unreflection
    // drops exactly those.
    int mirrorFrom = 0;

    void clear();
    // Appends an item at sketchNext; false when the table could not hold it.
    bool append(const Sketch &item);
};

// Loads the polygon's own run (tile.sketchStart .. sketchStart + count - 1, only the part
// inside the table) into items 1 .. n, moved by (firstX, firstY) (the chain's firstNode).
void loadSketches(const Document &doc, const Tile &tile, double firstX, double firstY,
                  SketchWorkingCopy &work);

enum class StoreResult { Stored, Empty, TableFull };

// Appends the surviving items (not marked deleted), moved back by (firstX, firstY), as a
// new run; sketchRun and ret.sketchStart point at it (both 0 when nothing survives).
// TableFull: the sketch table cannot hold the run; nothing changed, and the window keeps
// the transform editor open and shows kSketchTableFullText.
StoreResult storeSketches(Document &doc, SketchWorkingCopy &work, double firstX, double firstY,
                          Tile &ret);

inline constexpr const char *kSketchTableFullText =
    "the sketch table is full: the sketches of this polygon could not be stored";

// Reflection of the working copy across the vertical line x = xr: every item gets a
// mirrored copy appended (mirrorFrom marks the first).
void mirrorSketches(SketchWorkingCopy &work, double xr);
// Unreflection: drops the mirrored copies. After a reload (mirrorFrom unknown) the second
// half of the items is dropped when it is exactly the mirror of the first half across
// x = xr.
void dropMirroredSketches(SketchWorkingCopy &work, double xr);

} // namespace tessella
