// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "tileeditor/editorhost.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tessella {

// The marquee rectangle: the press corner and the current corner, plane units. Its
// border is exclusive, whichever way it was dragged.
struct Marquee
{
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;

    bool contains(const Vertex &v) const;
};

// Whether any vertex of tile t (of `grid`) lies strictly inside the marquee.
bool inclusionTestT(const Document &doc, int16_t grid, const Marquee &marquee, std::size_t t);
// Appends every vertex of tile t (of `grid`) strictly inside the marquee that is not
// selected yet; stops at the table limit. Returns how many were appended.
int selectVerticesInMarquee(Document &doc, int16_t grid, const Marquee &marquee, std::size_t t);
// Position of the pair (t, v) in the vertex selection.
std::optional<std::size_t> findVertexRef(const Document &doc, int16_t t, int16_t v);
// Removes entry i of the vertex selection, moving the later entries down.
void removeVertexRef(Document &doc, std::size_t i);
// Toggles every vertex of the current grid's tiles closer than 4 plane units on both
// axes (strictly) to (x, y): a selected one is removed, another one appended. Coincident
// vertices of neighbouring tiles are separate entries. Returns whether the count changed.
bool toggleVerticesNear(Document &doc, int16_t grid, double x, double y);

// The select list's immediate effects on the current grid's tiles.
void selectAllTiles(Document &doc, int16_t grid);
// Also empties the vertex selection.
void selectNoTiles(Document &doc, int16_t grid);
void invertTileSelection(Document &doc, int16_t grid);
// Selects (adds only) every tile of `grid` whose colour is `colour`.
void selectTilesByColour(Document &doc, int16_t grid, Colour colour);

// The colour a pick at a found tile takes: the pixel the canvas shows, unless that is
// the canvas background or the probe colour, then the tile's own colour.
Colour pickedColour(Colour shown, Colour tileColour);

// The select panel's pointer branches ("tile", "by color", "vertex", the marquees).
class SelectionTool
{
public:
    explicit SelectionTool(EditorContext ctx) : ctx_(ctx) {}

    // "tile": toggles the tiles under the pointer; beeps when there is none.
    void pressTile(double x, double y);
    // "by color": selects the tiles of the colour shown under the pointer on a tile.
    void pressByColor(double x, double y);
    // "vertex": toggles the vertices near the pointer; beeps when nothing changed.
    void pressVertex(double x, double y);

    // Marquees ("marquis -t" tiles, "marquis -v" vertices).
    void startMarquee(double x, double y);
    void drawMarquee(double x, double y);
    void endMarquee(double x, double y, bool vertices);
    // Forgets a marquee in progress (the document was replaced, a mode changed).
    void cancelMarquee() { marqueeActive_ = false; }
    bool marqueeActive() const { return marqueeActive_; }
    const Marquee &marquee() const { return marquee_; }

private:
    int16_t grid() const { return ctx_.host.drawSettings().grid; }

    EditorContext ctx_;
    Marquee marquee_;
    bool marqueeActive_ = false;
};

} // namespace tessella
