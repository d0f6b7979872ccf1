// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessella {

// The tile editor's single undo level and the state of its "undo"/"redo" button.
// A snapshot holds the tiles, `curTile` and whether that tile is a display copy; sketches, the
// vertex selection and the rest of the document are not part of it. Pressing the button swaps the
// live tiles with the snapshot, so a second press redoes.
class UndoHistory
{
public:
    // Takes the snapshot just before an edit. Does nothing without tiles (an older
    // snapshot then stays). Enables the button with caption "undo".
    void tBackup(const Document &doc);

    // Swaps the live tiles and `curTile` with the snapshot (either side may be empty)
    // and enables the button. The vertex selection is emptied when fewer tiles come
    // back than were present; entries that no longer name a stored vertex are
    // dropped after every swap.
    void tRestore(Document &doc);

    // The button was pressed: swap, then flip the caption between "undo" and "redo".
    // Ignored while the button is disabled.
    void pressed(Document &doc);

    bool enabled() const { return m_enabled; }
    std::string caption() const { return m_caption; }

    // Puts the button's state back (e.g. one kept while another panel had disabled it).
    void setEnabled(bool on) { m_enabled = on; }
    // Disables the button until the next snapshot (the transform pick, tile entry).
    void disable() { m_enabled = false; }

    // Forgets the snapshot and disables the button, as at start-up (after a load).
    void reset();

    bool hasSnapshot() const { return m_hasSnapshot; }
    int undoCount() const { return static_cast<int>(m_tiles.size()); }
    const std::vector<Tile> &snapshotTiles() const { return m_tiles; }
    // For rewriting references into other tables (sketch runs) that the snapshot holds.
    std::vector<Tile> &snapshotTilesForUpdate() { return m_tiles; }

private:
    std::vector<Tile> m_tiles;
    int16_t m_curTile = 0;
    bool m_xfEditorOnly = false;
    bool m_hasSnapshot = false;
    bool m_enabled = false;
    std::string m_caption = "undo";
};

// The copy of the tiles taken when the fractal panel opens; every render starts from
// it and "restore" puts it back.
class FractalSnapshot
{
public:
    // Copies the tiles; does nothing without tiles (an older copy then stays).
    void fBackup(const Document &doc);
    // Replaces the live tiles with the copy (none taken yet: an empty tile set).
    // Vertex selection entries that no longer name a stored vertex are dropped.
    void fRestore(Document &doc);
    bool empty() const { return m_tiles.empty(); }
    void clear() { m_tiles.clear(); }
    const std::vector<Tile> &tiles() const { return m_tiles; }
    // For rewriting references into other tables (sketch runs) that the copy holds.
    std::vector<Tile> &tilesForUpdate() { return m_tiles; }

private:
    std::vector<Tile> m_tiles;
};

// Drops vertex selection entries whose tile or vertex index names nothing stored.
void dropStaleVertexRefs(Document &doc);

} // namespace tessella
