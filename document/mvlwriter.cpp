// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/bytes.h"
#include "document/chaincheck.h"
#include "document/mvlformat.h"

#include <limits>

namespace tessella {

namespace {

constexpr size_t kMaxElements = static_cast<size_t>(std::numeric_limits<int32_t>::max());

bool isAllocated(const std::vector<Vertex> &arr, bool allocated)
{
    return allocated || !arr.empty();
}

size_t blockBytes(const std::vector<Vertex> &arr, bool allocated)
{
    return isAllocated(arr, allocated) ? 10 + kVertexBytes * arr.size() : 2;
}

// A used count must lie within its array, or the reader would refuse the file.
bool usedCountFits(int16_t used, const std::vector<Vertex> &arr)
{
    return used >= 0 && static_cast<size_t>(used) <= arr.size() && arr.size() <= kMaxElements;
}

bool writable(const Document &doc)
{
    if (doc.tiles.size() > static_cast<size_t>(kMaxRecords))
        return false;
    // The sketch table holds sketchCount + 1 records, all within the 16-bit limit.
    if (doc.sketches.size() > static_cast<size_t>(kMaxRecords))
        return false;
    if (doc.grid < GridNone || doc.grid > GridHexagonal)
        return false;
    if (!doc.hasTile(doc.curTile) && !(doc.tiles.empty() && doc.curTile == 0))
        return false;
    for (const Tile &t : doc.tiles)
        if (!usedCountFits(t.nVerts, t.verts))
            return false;
    for (const Sketch &s : doc.sketches)
        if (!usedCountFits(s.nPoints, s.points))
            return false;
    if (doc.xformOpen && !isValidSavedChain(doc.nodeRecs, doc.xfReflected != 0))
        return false;
    return true;
}

size_t documentBytes(const Document &doc)
{
    size_t n = kHeaderSize + 2;
    for (const Tile &t : doc.tiles)
        n += kTileFixedBytes + blockBytes(t.verts, t.vertsAllocated);
    n += 2 + 4 + 2 + 2;
    if (doc.xformOpen)
        n += kNodeRecordBytes * doc.nodeRecs.size();
    n += 4 + 2;
    for (const Sketch &s : doc.sketches)
        n += kSketchFixedBytes + blockBytes(s.points, s.pointsAllocated);
    return n;
}

void writeBlock(ByteWriter &w, const std::vector<Vertex> &arr, bool allocated)
{
    if (!isAllocated(arr, allocated)) {
        w.i16(0);
        return;
    }
    w.i16(1);
    w.i32(static_cast<int32_t>(arr.size()));
    w.i32(0);
    for (const Vertex &v : arr) {
        w.f64(v.x);
        w.f64(v.y);
    }
}

void writeTile(ByteWriter &w, const Tile &t)
{
    w.i16(t.nVerts);
    writeBlock(w, t.verts, t.vertsAllocated);
    w.f64(t.reflected);
    w.f64(t.angle);
    w.i32(t.color);
    w.i32(t.sketchStart);
    w.bytes(t.reserved);
    w.i16(t.grid);
    w.i16(t.selected);
    w.i16(t.deleted);
}

void writeNodeRecord(ByteWriter &w, const NodeRecord &r)
{
    w.i16(r.anchored);
    w.i16(r.rotCenter);
    w.i16(r.refCenter);
    w.f64(r.x);
    w.f64(r.y);
    w.i32(r.lineColr);
    w.i32(r.ptColr);
    w.i16(r.nPoints);
    w.i16(r.fActive);
    w.f64(r.fcpX);
    w.f64(r.fcpY);
    w.i16(r.bActive);
    w.f64(r.bcpX);
    w.f64(r.bcpY);
}

void writeSketch(ByteWriter &w, const Sketch &s)
{
    w.i16(s.count);
    w.i16(s.kind);
    w.i16(s.deletedMark);
    w.i16(s.fillStyle);
    w.i16(s.field5);
    w.i16(s.negative);
    w.i16(s.nPoints);
    writeBlock(w, s.points, s.pointsAllocated);
}

} // namespace

HeaderKind headerKindOf(std::string_view header)
{
    if (header == kHeaderV96)
        return HeaderKind::V96;
    if (header == kHeaderV09)
        return HeaderKind::V09;
    if (header == kHeaderForeignG)
        return HeaderKind::ForeignG;
    if (header == kHeaderForeignH)
        return HeaderKind::ForeignH;
    return HeaderKind::Unknown;
}

std::optional<std::vector<uint8_t>> writeDocument(const Document &doc)
{
    if (!writable(doc))
        return std::nullopt;
    ByteWriter w(documentBytes(doc));
    w.text(kHeaderV96);
    w.i16(doc.tileCount());
    for (const Tile &t : doc.tiles)
        writeTile(w, t);
    w.i16(doc.curTile);
    const Tile *cur = doc.currentTile();
    w.i32(cur ? cur->color : 0);
    const bool withChain = doc.xformOpen && !doc.nodeRecs.empty();
    w.i16(withChain ? doc.nodeRecCount() : int16_t{0});
    w.i16(doc.xfReflected);
    if (withChain)
        for (const NodeRecord &r : doc.nodeRecs)
            writeNodeRecord(w, r);
    w.i16(kGridTagI16);
    w.i16(doc.grid);
    w.i16(doc.sketchCount());
    for (const Sketch &s : doc.sketches)
        writeSketch(w, s);
    return w.take();
}

} // namespace tessella
