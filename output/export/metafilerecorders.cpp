// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/export/metafilerecorders.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessella {

namespace {

void put16(std::vector<uint8_t> &out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t> &out, uint32_t v)
{
    put16(out, uint16_t(v));
    put16(out, uint16_t(v >> 16));
}

uint32_t u32(int64_t v)
{
    return uint32_t(int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                std::numeric_limits<int32_t>::max())));
}

int16_t clamp16(int64_t v)
{
    return int16_t(std::clamp<int64_t>(v, -32768, 32767));
}

bool fits16(PixelPoint p)
{
    return p.x >= -32768 && p.x <= 32767 && p.y >= -32768 && p.y <= 32767;
}

// Colours are stored as red + 256 * green + 65536 * blue, which is the metafiles' COLORREF.
uint32_t colorRef(Colour c)
{
    return uint32_t(c) & 0xffffffu;
}

// EMF record types and stock objects.
constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrPolygon = 3;
constexpr uint32_t kEmrEof = 14;
constexpr uint32_t kEmrSetPolyFillMode = 19;
constexpr uint32_t kEmrMoveToEx = 27;
constexpr uint32_t kEmrSelectObject = 37;
constexpr uint32_t kEmrCreatePen = 38;
constexpr uint32_t kEmrCreateBrushIndirect = 39;
constexpr uint32_t kEmrDeleteObject = 40;
constexpr uint32_t kEmrLineTo = 54;
constexpr uint32_t kEmrPolygon16 = 86;
constexpr uint32_t kStockWhiteBrushIndex = 0x80000000u;
constexpr uint32_t kStockBlackPenIndex = 0x80000007u;
constexpr uint32_t kAlternate = 1;

// The reference device of the header: a 1920 x 1080 screen at 96 pixels per inch.
constexpr int64_t kDeviceWidth = 1920;
constexpr int64_t kDeviceHeight = 1080;

int64_t hundredthsOfMm(int64_t pixels)
{
    return int64_t(std::llround(double(pixels) * 2540.0 / 96.0));
}

// WMF record functions.
constexpr uint16_t kMetaEof = 0x0000;
constexpr uint16_t kMetaSetPolyFillMode = 0x0106;
constexpr uint16_t kMetaSelectObject = 0x012D;
constexpr uint16_t kMetaDeleteObject = 0x01F0;
constexpr uint16_t kMetaSetWindowOrg = 0x020B;
constexpr uint16_t kMetaSetWindowExt = 0x020C;
constexpr uint16_t kMetaLineTo = 0x0213;
constexpr uint16_t kMetaMoveTo = 0x0214;
constexpr uint16_t kMetaCreatePenIndirect = 0x02FA;
constexpr uint16_t kMetaCreateBrushIndirect = 0x02FC;
constexpr uint16_t kMetaPolygon = 0x0324;
constexpr int64_t kWmfUnitsPerInch = 96;

} // namespace

// ---- object table ----

uint32_t MetafileObjects::allocate()
{
    const auto free = std::find(used_.begin(), used_.end(), false);
    if (free != used_.end()) {
        *free = true;
        return uint32_t(free - used_.begin());
    }
    used_.push_back(true);
    return uint32_t(used_.size() - 1);
}

std::optional<uint32_t> MetafileObjects::find(VectorHandle handle) const
{
    const auto it = objects_.find(handle);
    if (it == objects_.end())
        return std::nullopt;
    return it->second;
}

std::optional<uint32_t> MetafileObjects::release(VectorHandle handle)
{
    const auto it = handle > 0 ? objects_.find(handle) : objects_.end();
    if (it == objects_.end())
        return std::nullopt;
    const uint32_t slot = it->second;
    used_[slot] = false;
    objects_.erase(it);
    return slot;
}

// ---- EMF ----

EmfRecorder::EmfRecorder(const PixelRect &bounds, int64_t widthPx, int64_t heightPx)
    : bounds_(bounds), width_(widthPx), height_(heightPx)
{
    record(kEmrSetPolyFillMode, {kAlternate});
}

void EmfRecorder::record(uint32_t type, const std::vector<uint32_t> &fields)
{
    put32(records_, type);
    put32(records_, uint32_t(8 + 4 * fields.size()));
    for (uint32_t f : fields) {
        put32(records_, f);
    }
    ++count_;
}

VectorHandle EmfRecorder::createSolidPen(int width, Colour colour)
{
    const uint32_t index = objects_.allocate();
    // LOGPEN: solid style, width as a point (x used), colour.
    record(kEmrCreatePen, {index, 0, uint32_t(std::max(width, 0)), 0, colorRef(colour)});
    return objects_.add(index);
}

VectorHandle EmfRecorder::createSolidBrush(Colour colour)
{
    const uint32_t index = objects_.allocate();
    record(kEmrCreateBrushIndirect, {index, 0, colorRef(colour), 0});
    return objects_.add(index);
}

void EmfRecorder::select(VectorHandle handle)
{
    if (handle == kStockBlackPen) {
        record(kEmrSelectObject, {kStockBlackPenIndex});
    } else if (handle == kStockWhiteBrush) {
        record(kEmrSelectObject, {kStockWhiteBrushIndex});
    } else if (const auto index = objects_.find(handle)) {
        record(kEmrSelectObject, {*index});
    }
}

void EmfRecorder::deleteObject(VectorHandle handle)
{
    if (const auto index = objects_.release(handle))
        record(kEmrDeleteObject, {*index});
}

void EmfRecorder::polygon(std::span<const PixelPoint> points)
{
    if (points.size() < 2 || points.size() > (1u << 24)) {
        return;
    }
    int left = points[0].x, right = left, top = points[0].y, bottom = top;
    bool small = true;
    for (const PixelPoint &p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
        small = small && fits16(p);
    }
    std::vector<uint32_t> fields = {u32(left), u32(top), u32(right), u32(bottom),
                                    uint32_t(points.size())};
    for (const PixelPoint &p : points) {
        if (small) {
            fields.push_back(uint32_t(uint16_t(p.x)) | uint32_t(uint16_t(p.y)) << 16);
        } else {
            fields.push_back(u32(p.x));
            fields.push_back(u32(p.y));
        }
    }
    record(small ? kEmrPolygon16 : kEmrPolygon, fields);
}

void EmfRecorder::moveTo(PixelPoint point)
{
    record(kEmrMoveToEx, {u32(point.x), u32(point.y)});
}

void EmfRecorder::lineTo(PixelPoint point)
{
    record(kEmrLineTo, {u32(point.x), u32(point.y)});
}

std::vector<uint8_t> EmfRecorder::bytes() const
{
    constexpr uint32_t kHeaderBytes = 108;
    constexpr uint32_t kEofBytes = 20;
    const uint32_t total = kHeaderBytes + uint32_t(records_.size()) + kEofBytes;
    std::vector<uint8_t> out;
    out.reserve(total);
    put32(out, kEmrHeader);
    put32(out, kHeaderBytes);
    for (int v : {bounds_.left, bounds_.top, bounds_.right, bounds_.bottom}) {
        put32(out, u32(v));
    }
    put32(out, 0);
    put32(out, 0);
    put32(out, u32(hundredthsOfMm(width_)));
    put32(out, u32(hundredthsOfMm(height_)));
    put32(out, 0x464D4520); // " EMF"
    put32(out, 0x00010000);
    put32(out, total);
    put32(out, count_ + 2);
    put16(out, uint16_t(std::min<std::size_t>(objects_.slotCount(), 0xffff)));
    put16(out, 0);
    put32(out, 0); // no description
    put32(out, 0);
    put32(out, 0); // no palette
    put32(out, uint32_t(kDeviceWidth));
    put32(out, uint32_t(kDeviceHeight));
    put32(out, uint32_t(std::llround(kDeviceWidth * 25.4 / 96)));
    put32(out, uint32_t(std::llround(kDeviceHeight * 25.4 / 96)));
    put32(out, 0); // no pixel format
    put32(out, 0);
    put32(out, 0); // not OpenGL
    put32(out, uint32_t(std::llround(kDeviceWidth * 25400.0 / 96)));
    put32(out, uint32_t(std::llround(kDeviceHeight * 25400.0 / 96)));
    out.insert(out.end(), records_.begin(), records_.end());
    put32(out, kEmrEof);
    put32(out, kEofBytes);
    put32(out, 0);  // no palette entries
    put32(out, 16); // where they would start
    put32(out, kEofBytes);
    return out;
}

// ---- WMF ----

WmfRecorder::WmfRecorder(int64_t widthPx, int64_t heightPx) : width_(widthPx), height_(heightPx)
{
    record(kMetaSetWindowOrg, {0, 0});
    record(kMetaSetWindowExt, {uint16_t(clamp16(height_)), uint16_t(clamp16(width_))});
    record(kMetaSetPolyFillMode, {1});
    // Stand-ins for the stock black pen and white brush, in slots 0 and 1.
    objects_.alias(kStockBlackPen, objects_.allocate());
    record(kMetaCreatePenIndirect, {0, 1, 0, 0, 0});
    objects_.alias(kStockWhiteBrush, objects_.allocate());
    record(kMetaCreateBrushIndirect, {0, 0xffff, 0x00ff, 0});
}

void WmfRecorder::record(uint16_t function, const std::vector<uint16_t> &words)
{
    const uint32_t size = uint32_t(3 + words.size());
    put32(records_, size);
    put16(records_, function);
    for (uint16_t w : words) {
        put16(records_, w);
    }
    maxRecordWords_ = std::max(maxRecordWords_, size);
}

VectorHandle WmfRecorder::createSolidPen(int width, Colour colour)
{
    const uint32_t slot = objects_.allocate();
    const uint32_t c = colorRef(colour);
    record(kMetaCreatePenIndirect,
           {0, uint16_t(clamp16(width)), 0, uint16_t(c), uint16_t(c >> 16)});
    return objects_.add(slot);
}

VectorHandle WmfRecorder::createSolidBrush(Colour colour)
{
    const uint32_t slot = objects_.allocate();
    const uint32_t c = colorRef(colour);
    record(kMetaCreateBrushIndirect, {0, uint16_t(c), uint16_t(c >> 16), 0});
    return objects_.add(slot);
}

void WmfRecorder::select(VectorHandle handle)
{
    if (const auto slot = objects_.find(handle))
        record(kMetaSelectObject, {uint16_t(*slot)});
}

void WmfRecorder::deleteObject(VectorHandle handle)
{
    if (const auto slot = objects_.release(handle))
        record(kMetaDeleteObject, {uint16_t(*slot)});
}

void WmfRecorder::polygon(std::span<const PixelPoint> points)
{
    if (points.size() < 2 || points.size() > 32767) {
        return;
    }
    std::vector<uint16_t> words = {uint16_t(points.size())};
    for (const PixelPoint &p : points) {
        words.push_back(uint16_t(clamp16(p.x)));
        words.push_back(uint16_t(clamp16(p.y)));
    }
    record(kMetaPolygon, words);
}

void WmfRecorder::moveTo(PixelPoint point)
{
    record(kMetaMoveTo, {uint16_t(clamp16(point.y)), uint16_t(clamp16(point.x))});
}

void WmfRecorder::lineTo(PixelPoint point)
{
    record(kMetaLineTo, {uint16_t(clamp16(point.y)), uint16_t(clamp16(point.x))});
}

std::vector<uint8_t> WmfRecorder::bytes() const
{
    std::vector<uint8_t> out;
    // Placeable header: key, no handle, bounding box, units per inch, reserved, checksum.
    const uint16_t words[10] = {0xCDD7,
                                0x9AC6,
                                0,
                                0,
                                0,
                                uint16_t(clamp16(width_)),
                                uint16_t(clamp16(height_)),
                                uint16_t(kWmfUnitsPerInch),
                                0,
                                0};
    uint16_t checksum = 0;
    for (uint16_t w : words) {
        put16(out, w);
        checksum ^= w;
    }
    put16(out, checksum);
    const uint32_t eofWords = 3;
    const uint32_t totalWords = 9 + uint32_t(records_.size() / 2) + eofWords;
    put16(out, 1); // in memory
    put16(out, 9); // header words
    put16(out, 0x0300);
    put32(out, totalWords);
    put16(out, uint16_t(std::min<std::size_t>(objects_.slotCount(), 0xffff)));
    put32(out, maxRecordWords_);
    put16(out, 0);
    out.insert(out.end(), records_.begin(), records_.end());
    put32(out, eofWords);
    put16(out, kMetaEof);
    return out;
}

} // namespace tessella
