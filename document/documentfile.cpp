// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/documentfile.h"

#include <utility>

namespace tessella {

namespace {

LoadReport failure(const ParsedDocument &parsed)
{
    LoadReport report;
    report.kind = parsed.kind;
    report.header = parsed.header;
    report.message = (parsed.headerRead ? parsed.header : std::string()) + kLoadErrorText;
    return report;
}

LoadReport refusedWhileTransformOpen()
{
    LoadReport report;
    report.message = kCloseTransformFirstText;
    return report;
}

// The polygon of a reloaded pending transform: the display copy's fields, with the
// anchored records' positions as corners. The closing record is anchored too, so it is
// counted, as the opening expects. The spare element repeats the first corner, so a
// reader of vertex nVerts sees a point of the polygon, never (0, 0).
Tile pendingPolygon(const Document &doc)
{
    Tile t;
    if (const Tile *display = doc.currentTile())
        t = *display;
    t.verts.clear();
    for (const NodeRecord &r : doc.nodeRecs)
        if (r.anchored)
            t.verts.push_back({r.x, r.y});
    t.nVerts = static_cast<int16_t>(t.verts.size());
    t.verts.push_back(t.verts.empty() ? Vertex{} : t.verts.front());
    t.vertsAllocated = true;
    return t;
}

void applyVersioned(Document &doc, ParsedDocument &parsed)
{
    doc.tiles = std::move(parsed.tiles);
    doc.curTile = parsed.curTile;
    // The empty document (no tiles, curTile 0) has no tile to take the colour: dropped,
    // since saving an empty document writes colour 0 anyway.
    if (Tile *cur = doc.currentTile())
        cur->color = parsed.curColour;
    doc.nodeRecs = std::move(parsed.nodeRecs);
    doc.xfReflected = parsed.xfReflected;
    if (!doc.nodeRecs.empty()) {
        doc.xfResume = kTrue;
        doc.xformOpen = true;
        doc.xfTile = pendingPolygon(doc);
        doc.xfEditorOnly = !doc.hasTile(doc.curTile);
    } else {
        // The file carries no pending transform, so none may survive from before;
        // xformOpen is already false (the load is refused otherwise).
        doc.xfResume = kFalse;
        doc.xformOpen = false;
        doc.xfTile = Tile{};
        doc.xfEditorOnly = false;
    }
    doc.grid = parsed.grid;
    // A "v0.9" file has no sketch section: the current table stays.
    if (parsed.kind == HeaderKind::V96)
        doc.sketches = std::move(parsed.sketches);
}

void applyForeign(Document &doc, ParsedDocument &parsed, double halfWidth, double halfHeight)
{
    doc.tiles = std::move(parsed.tiles);
    if (parsed.kind == HeaderKind::ForeignH) {
        // These tiles are centred on (0, 0): move them to the middle of the canvas.
        for (Tile &t : doc.tiles) {
            for (Vertex &v : t.verts) {
                v.x += halfWidth;
                v.y += halfHeight;
            }
        }
    }
    doc.grid = GridRectangular;
}

void finishLoad(Document &doc, LoadReport &report)
{
    // Selected vertices name the old document's tiles.
    doc.vtxSel.clear();
    doc.dirty = false;
    report.ok = true;
}

} // namespace

LoadReport loadState(Document &doc, std::span<const uint8_t> bytes, double halfCanvasWidth,
                     double halfCanvasHeight)
{
    if (doc.xformOpen)
        return refusedWhileTransformOpen();
    ParsedDocument parsed = parseDocument(bytes, ParseScope::WholeDocument);
    if (!parsed.ok)
        return failure(parsed);

    LoadReport report;
    report.kind = parsed.kind;
    report.header = parsed.header;
    switch (parsed.kind) {
    case HeaderKind::V96:
    case HeaderKind::V09:
        applyVersioned(doc, parsed);
        break;
    case HeaderKind::ForeignG:
    case HeaderKind::ForeignH:
        applyForeign(doc, parsed, halfCanvasWidth, halfCanvasHeight);
        report.statusText = parsed.header + "    " + std::to_string(doc.tileCount()) + " elements";
        break;
    case HeaderKind::Unknown:
        doc.tiles = std::move(parsed.tiles);
        doc.grid = GridNone;
        break;
    }
    finishLoad(doc, report);
    return report;
}

LoadReport loadPrims(Document &doc, std::span<const uint8_t> bytes)
{
    if (doc.xformOpen)
        return refusedWhileTransformOpen();
    ParsedDocument parsed = parseDocument(bytes, ParseScope::TilesOnly);
    if (!parsed.ok)
        return failure(parsed);
    LoadReport report;
    report.kind = parsed.kind;
    report.header = parsed.header;
    doc.tiles = std::move(parsed.tiles);
    finishLoad(doc, report);
    return report;
}

std::optional<std::vector<uint8_t>> saveState(Document &doc)
{
    if (!doc.hasTile(doc.curTile))
        doc.curTile = 0;
    if (!doc.xformOpen)
        doc.nodeRecs.clear();
    if (!doc.xformOpen || !doc.xfEditorOnly)
        return writeDocument(doc);
    // The polygon is in the transform editor only: the file gets it as the display copy
    // (tile curTile) that a pending transform has after "return to tiles", so a reload
    // shows it and reopens the chain where it lay.
    Document withCopy = doc;
    if (!withCopy.appendTile(doc.xfReturn))
        return std::nullopt;
    withCopy.curTile = static_cast<int16_t>(withCopy.tileCount() - 1);
    withCopy.xfEditorOnly = false;
    return writeDocument(withCopy);
}

} // namespace tessella
