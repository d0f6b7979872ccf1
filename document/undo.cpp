// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/undo.h"

#include <utility>

namespace tessella {

void dropStaleVertexRefs(Document &doc)
{
    std::erase_if(doc.vtxSel, [&doc](const VertexRef &ref) {
        if (!doc.hasTile(ref.tile))
            return true;
        return ref.vertex < 0 || ref.vertex >= doc.tiles[ref.tile].usableVerts();
    });
}

void UndoHistory::tBackup(const Document &doc)
{
    if (doc.tileCount() == 0)
        return;
    m_enabled = true;
    m_caption = "undo";
    m_tiles = doc.tiles;
    m_curTile = doc.curTile;
    m_xfEditorOnly = doc.xfEditorOnly;
    m_hasSnapshot = true;
}

void UndoHistory::tRestore(Document &doc)
{
    m_enabled = true;
    if (m_tiles.size() < doc.tiles.size())
        doc.vtxSel.clear();
    std::swap(doc.tiles, m_tiles);
    // curTile travels with the tiles it names, or it would point at another tile.
    std::swap(doc.curTile, m_curTile);
    // So does the mark of the display copy: a snapshot without one must not make
    // "return to transform" remove another tile.
    std::swap(doc.xfEditorOnly, m_xfEditorOnly);
    m_hasSnapshot = true;
    // Equal or larger counts keep the selection, but indices may have shifted.
    dropStaleVertexRefs(doc);
}

void UndoHistory::pressed(Document &doc)
{
    if (!m_enabled)
        return;
    tRestore(doc);
    m_caption = m_caption == "undo" ? "redo" : "undo";
}

void UndoHistory::reset()
{
    m_tiles.clear();
    m_curTile = 0;
    m_xfEditorOnly = false;
    m_hasSnapshot = false;
    m_enabled = false;
    m_caption = "undo";
}

void FractalSnapshot::fBackup(const Document &doc)
{
    if (doc.tileCount() == 0)
        return;
    m_tiles = doc.tiles;
}

void FractalSnapshot::fRestore(Document &doc)
{
    doc.tiles = m_tiles;
    dropStaleVertexRefs(doc);
}

} // namespace tessella
