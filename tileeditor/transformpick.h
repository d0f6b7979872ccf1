// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/sketchruns.h"
#include "document/undo.h"
#include "platform/dialogs.h"
#include "tileeditor/editorhost.h"

#include <cstddef>
#include <vector>

namespace tessella {

// Refusal texts of the transform pick.
inline constexpr const char *kTransformInUse =
    "transform editor is in use\nyou must first exit the transform editor";
inline constexpr const char *kHexagonRefused =
    "only hexagons with three pairs of parallel and congruent edges can be transformed";
inline constexpr const char *kShapeRefused =
    "only triangles, quadrilaterals or special hexagons can be transformed";
inline constexpr const char *kFlatRefused =
    "only tiles with a non-zero width and height can be transformed";
inline constexpr const char *kSketchTableFull =
    "too many sketch items: the tile cannot be transformed";

// Whether tile t may be opened in the transform editor: no transform is pending, and it
// is a triangle, a quadrilateral or a hexagon whose opposite edges are parallel, equally
// long and opposite (0.001 per coordinate), with a bounding box at least 0.001 wide and
// high. A refusal shows its message.
bool checkTransformable(const Document &doc, std::size_t t, Dialogs &dialogs);

// The one-shot pick armed by "transform tile": the tile under the pointer is checked,
// baked, handed over as `xfTile` and removed from the tiling.
class TransformPick
{
public:
    TransformPick(EditorContext ctx, FractalSnapshot &fractal) : ctx_(ctx), fractal_(fractal) {}

    // Returns true when a tile was handed over: `xformOpen` and `dirty` set, the undo
    // button disabled, the tile removed, the view redrawn. A miss beeps; a refusal shows
    // its message; both leave the document unchanged.
    bool pick(double x, double y);

private:
    std::vector<std::vector<Tile> *> snapshots();

    EditorContext ctx_;
    FractalSnapshot &fractal_;
};

} // namespace tessella
