// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tileeditor/colourchip.h"
#include "tileeditor/editorhost.h"

#include <vector>

namespace tessella {

// Entering a new polygon tile point by point on the lattice of the current grid. Points
// are plane units; each press is snapped to a lattice node (tolerance 6), and the
// polygon closes when its first point is pressed again or with a right press.
class NewTileEntry
{
public:
    NewTileEntry(EditorContext ctx, const ColourChip &chip) : ctx_(ctx), chip_(chip) {}

    // A press on the plane with the tile panel active. Disables the undo button; a press
    // that does not snap beeps.
    void press(double x, double y);
    // A right press: closes the polygon with 3 or more points, else cancels the entry.
    void rightPress();
    // The rubber band to the pointer while entering.
    void move(double x, double y);

    // Appends the polygon entered so far as a tile (closing it on its first point).
    void finishNewTile();
    // Ends the entry without a tile and redraws.
    void cancelNewTile();
    // Forgets the entry without redrawing (the window redraws itself).
    void reset();

    bool active() const { return newTileActive_; }
    int newCount() const { return newCount_; }
    const std::vector<Vertex> &newPts() const { return newPts_; }

private:
    // Appends newPts 0 .. newCount (the closing copy as the spare element) as a tile;
    // false, after the message, when the table is full.
    bool appendEnteredTile();

    EditorContext ctx_;
    const ColourChip &chip_;
    std::vector<Vertex> newPts_ = std::vector<Vertex>(1);
    int newCount_ = 0;
    bool newTileActive_ = false;
};

} // namespace tessella
