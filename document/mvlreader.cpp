// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/bytes.h"
#include "document/chaincheck.h"
#include "document/mvlformat.h"

#include <algorithm>
#include <bit>

namespace tessella {

namespace {

double loadF64(const uint8_t *p)
{
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return std::bit_cast<double>(v);
}

// Reads an array block. An unallocated array (a single i16 0, also what a block
// beyond the end reads as) leaves `out` empty. Refuses anything that cannot be sized:
// dimensions other than 0 or 1, a lower bound other than 0, a negative element count
// or one larger than the bytes that remain.
bool readBlock(ByteReader &r, std::span<const uint8_t> file, std::vector<Vertex> &out,
               bool &allocated)
{
    const int16_t dims = r.i16();
    if (dims == 0) {
        out.clear();
        allocated = false;
        return true;
    }
    if (dims != 1)
        return false;
    const int32_t count = r.i32();
    const int32_t lower = r.i32();
    if (count < 0 || lower != 0 || static_cast<size_t>(count) > r.remaining() / kVertexBytes)
        return false;
    out.resize(static_cast<size_t>(count));
    const uint8_t *p = file.data() + r.pos();
    for (Vertex &v : out) {
        v.x = loadF64(p);
        v.y = loadF64(p + 8);
        p += kVertexBytes;
    }
    r.skip(static_cast<size_t>(count) * kVertexBytes);
    allocated = true;
    return true;
}

bool readTile(ByteReader &r, std::span<const uint8_t> file, Tile &t)
{
    t.nVerts = r.i16();
    if (!readBlock(r, file, t.verts, t.vertsAllocated))
        return false;
    if (t.nVerts < 0 || static_cast<size_t>(t.nVerts) > t.verts.size())
        return false;
    t.reflected = r.f64();
    t.angle = r.f64();
    t.color = r.i32();
    t.sketchStart = r.i32();
    r.bytes(t.reserved.data(), t.reserved.size());
    t.grid = r.i16();
    t.selected = r.i16();
    t.deleted = r.i16();
    return true;
}

bool readSketch(ByteReader &r, std::span<const uint8_t> file, Sketch &s)
{
    s.count = r.i16();
    s.kind = r.i16();
    s.deletedMark = r.i16();
    s.fillStyle = r.i16();
    s.field5 = r.i16();
    s.negative = r.i16();
    s.nPoints = r.i16();
    if (!readBlock(r, file, s.points, s.pointsAllocated))
        return false;
    return s.nPoints >= 0 && static_cast<size_t>(s.nPoints) <= s.points.size();
}

NodeRecord readNodeRecord(ByteReader &r)
{
    NodeRecord n;
    n.anchored = r.i16();
    n.rotCenter = r.i16();
    n.refCenter = r.i16();
    n.x = r.f64();
    n.y = r.f64();
    n.lineColr = r.i32();
    n.ptColr = r.i32();
    n.nPoints = r.i16();
    n.fActive = r.i16();
    n.fcpX = r.f64();
    n.fcpY = r.f64();
    n.bActive = r.i16();
    n.bcpX = r.f64();
    n.bcpY = r.f64();
    return n;
}

// With `tailFollows`, a record starting past the end is refused at once: the grid tag
// after the tiles would read as 0 and fail anyway.
bool readTiles(ByteReader &r, std::span<const uint8_t> file, std::vector<Tile> &tiles,
               bool tailFollows)
{
    const int16_t count = r.i16();
    if (count < 0)
        return false;
    // Records lying beyond the end read as empty tiles, so the count is bounded only
    // by its 16 bits; reserve no more than the bytes can hold.
    tiles.reserve(std::min<size_t>(count, r.remaining() / (kTileFixedBytes + 2) + 1));
    for (int i = 0; i < count; ++i) {
        if (tailFollows && r.atOrPastEnd())
            return false;
        tiles.emplace_back();
        if (!readTile(r, file, tiles.back()))
            return false;
    }
    return true;
}

bool readNodeRecords(ByteReader &r, ParsedDocument &doc)
{
    const int16_t count = r.i16();
    doc.xfReflected = r.i16();
    if (count < 0)
        return false;
    if (count == 0) {
        // A reflection flag without a chain would mislead the next fresh transform.
        doc.xfReflected = 0;
        return true;
    }
    doc.nodeRecs.reserve(std::min<size_t>(count, r.remaining() / kNodeRecordBytes + 1));
    for (int i = 0; i < count; ++i) {
        // A record starting past the end reads as zeros, and so would the last one,
        // which then is no anchored corner: the chain is invalid either way.
        if (r.atOrPastEnd())
            return false;
        doc.nodeRecs.push_back(readNodeRecord(r));
    }
    return isValidSavedChain(doc.nodeRecs, doc.xfReflected != 0);
}

bool readSketches(ByteReader &r, std::span<const uint8_t> file, std::vector<Sketch> &sketches)
{
    const int16_t count = r.i16();
    // count + 1 records must stay within the 16-bit table limit.
    if (count < 0 || count >= kMaxRecords)
        return false;
    const size_t records = static_cast<size_t>(count) + 1;
    sketches.reserve(std::min<size_t>(records, r.remaining() / (kSketchFixedBytes + 2) + 1));
    for (size_t i = 0; i < records; ++i) {
        sketches.emplace_back();
        if (!readSketch(r, file, sketches.back()))
            return false;
    }
    return true;
}

bool readVersionedTail(ByteReader &r, std::span<const uint8_t> file, ParsedDocument &doc)
{
    doc.curTile = r.i16();
    doc.curColour = r.i32();
    const int tileCount = static_cast<int>(doc.tiles.size());
    // curTile must name a tile; the empty document stores 0.
    const bool curOk =
        tileCount == 0 ? doc.curTile == 0 : doc.curTile >= 0 && doc.curTile < tileCount;
    if (!curOk)
        return false;
    if (!readNodeRecords(r, doc))
        return false;
    const int16_t tag = r.i16();
    if (tag != kGridTagI16)
        return false;
    doc.grid = r.i16();
    if (doc.grid < GridNone || doc.grid > GridHexagonal)
        return false;
    if (doc.kind == HeaderKind::V96 && !readSketches(r, file, doc.sketches))
        return false;
    return true;
}

} // namespace

ParsedDocument parseDocument(std::span<const uint8_t> bytes, ParseScope scope)
{
    ParsedDocument doc;
    const size_t headerBytes = std::min(bytes.size(), kHeaderSize);
    doc.header.assign(bytes.begin(), bytes.begin() + headerBytes);
    doc.headerRead = headerBytes == kHeaderSize;
    if (bytes.size() < kMinFileSize)
        return doc;
    doc.kind = headerKindOf(doc.header);

    ByteReader r(bytes.subspan(kHeaderSize));
    const auto body = bytes.subspan(kHeaderSize);
    const bool versioned = scope == ParseScope::WholeDocument &&
                           (doc.kind == HeaderKind::V96 || doc.kind == HeaderKind::V09);
    if (!readTiles(r, body, doc.tiles, versioned))
        return doc;
    if (versioned && !readVersionedTail(r, body, doc))
        return doc;
    doc.ok = true;
    return doc;
}

} // namespace tessella
