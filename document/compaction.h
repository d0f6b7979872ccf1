// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"

#include <cstdint>

namespace tessella {

// Removes every tile whose `deleted` flag is set, keeping the others in order.
// Always empties the vertex selection. `curTile` follows its tile to its new index;
// when that tile is removed `curTile` keeps its old value (bounds-check before use).
void compresT(Document &doc);

// Removes from the vertex selection every entry naming `tile`, keeping the others in
// order.
void compresV(Document &doc, int16_t tile);

} // namespace tessella
