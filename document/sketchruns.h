// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessella {

// The records of the run starting at `start` that lie inside the sketch table: 0 when the
// reference names no run.
int sketchRunLength(const Document &doc, int32_t start);

// Rewrites the sketch table to hold only the runs something refers to: the document's
// tiles, `xfTile`, `xfReturn`, the tile tables in `snapshots` (undo, fractal) and the
// loose run references in `starts` (a window's copy of its polygon, its last stored run).
// Every holder is rewritten; a reference naming no run becomes 0 ("no sketch"). Nothing
// changes when no record would be freed. Returns the number of records freed.
int reclaimSketchRuns(Document &doc, const std::vector<std::vector<Tile> *> &snapshots,
                      const std::vector<int32_t *> &starts = {});

// Bakes tile t's sketch transform into its sketch: the run is copied to the end of the
// table with each point mirrored (when `reflected`) and turned by `angle` about the
// tile's first vertex as the drawing does, `sketchStart` names the copy, and `reflected`
// and `angle` become 0. When the table cannot take the copy, unreferenced runs are
// reclaimed first; returns false, with the tile unchanged, when it still cannot.
bool bakeSketch(Document &doc, std::size_t t, const std::vector<std::vector<Tile> *> &snapshots);

} // namespace tessella
