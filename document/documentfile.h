// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/mvlformat.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessella {

// The files-list entries "load state", "load prims" and "save state" without their
// dialogs and files: the platform layer reads and writes the bytes.
//
// Loads are all-or-nothing: the file is parsed completely into scratch and the
// document is changed only when the whole file is sound. Every successful load clears
// `dirty` and empties `vtxSel`. Callers must also drop the undo snapshot (and disable
// the undo button) after a successful load, end any gesture, and redraw; on failure
// they show `message` (as plain text: the header bytes are Latin-1) and redraw.

inline constexpr const char *kLoadErrorText = "error loading file";
inline constexpr const char *kCloseTransformFirstText =
    "please close the transform editor before loading new state";

struct LoadReport
{
    bool ok = false;
    HeaderKind kind = HeaderKind::Unknown;
    std::string header;     // header bytes read, up to 11
    std::string message;    // on failure: header + "error loading file"
    std::string statusText; // foreign files: header, four spaces, tileCount, " elements"
};

// "load state". Foreign files set grid 1 (the caller then resets the view to 50 %);
// "*h*from zud" adds the half canvas size (plane units) to every vertex. Refused while
// doc.xformOpen (the window checks first; this is a second line of defence).
LoadReport loadState(Document &doc, std::span<const uint8_t> bytes, double halfCanvasWidth,
                     double halfCanvasHeight);

// "load prims": the header is not checked and only the tiles are replaced; curTile,
// sketches, node records and the grid stay. Refused while doc.xformOpen.
LoadReport loadPrims(Document &doc, std::span<const uint8_t> bytes);

// "save state": sets curTile to 0 when it names no tile, drops the saved chain when no
// transform is pending, and serialises. A pending polygon without a display copy in the
// tiling is written with `xfReturn` appended as its display copy (the document itself
// is not changed by that). nullopt means "file not saved". On success the
// caller writes the bytes atomically and only then clears `dirty`.
std::optional<std::vector<uint8_t>> saveState(Document &doc);

} // namespace tessella
