// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/vectortarget.h"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace tessella {

// The object table of a metafile: the drawing code's handles mapped to the file's slots,
// the lowest free slot taken first so a deleted object's slot is reused.
class MetafileObjects
{
public:
    // Slots below `firstSlot` are reserved.
    explicit MetafileObjects(uint32_t firstSlot) : used_(firstSlot, true) {}

    uint32_t allocate();
    // A new created handle for `slot`.
    VectorHandle add(uint32_t slot)
    {
        objects_[next_] = slot;
        return next_++;
    }
    // A stock handle standing for `slot`; never released.
    void alias(VectorHandle stock, uint32_t slot) { objects_[stock] = slot; }
    std::optional<uint32_t> find(VectorHandle handle) const;
    // Forgets a created handle and frees its slot; the slot, if there was one.
    std::optional<uint32_t> release(VectorHandle handle);
    // Slots the file has used at most, the reserved ones included.
    std::size_t slotCount() const { return used_.size(); }

private:
    std::vector<bool> used_;
    std::map<VectorHandle, uint32_t> objects_;
    VectorHandle next_ = 1;
};

// Recorders of the drawing as vector records, fed by the tiling drawer's vector target
// calls in drawing pixels (origin at the print area's top-left corner). Each keeps the
// records in memory; bytes() gives the finished file.

// Enhanced metafile. The header's bounds are the given rectangle as it stands; its frame
// is the drawing's extent in 0.01 mm at 96 pixels per inch, so other programs show the
// picture at its size.
class EmfRecorder : public VectorTarget
{
public:
    EmfRecorder(const PixelRect &bounds, int64_t widthPx, int64_t heightPx);

    VectorHandle createSolidPen(int width, Colour colour) override;
    VectorHandle createSolidBrush(Colour colour) override;
    void select(VectorHandle handle) override;
    void polygon(std::span<const PixelPoint> points) override;
    void moveTo(PixelPoint point) override;
    void lineTo(PixelPoint point) override;
    void deleteObject(VectorHandle handle) override;

    std::vector<uint8_t> bytes() const;

private:
    void record(uint32_t type, const std::vector<uint32_t> &fields);

    PixelRect bounds_;
    int64_t width_;
    int64_t height_;
    std::vector<uint8_t> records_; // everything after the header
    uint32_t count_ = 0;           // records after the header
    MetafileObjects objects_{1};   // index 0 is reserved
};

// Windows metafile with a placeable header (so programs know its size, 96 units to the
// inch). Coordinates are clamped to 16 bits. The format has no stock objects: a black pen
// and a white brush are created first and kept for the stock handles.
class WmfRecorder : public VectorTarget
{
public:
    WmfRecorder(int64_t widthPx, int64_t heightPx);

    VectorHandle createSolidPen(int width, Colour colour) override;
    VectorHandle createSolidBrush(Colour colour) override;
    void select(VectorHandle handle) override;
    void polygon(std::span<const PixelPoint> points) override;
    void moveTo(PixelPoint point) override;
    void lineTo(PixelPoint point) override;
    void deleteObject(VectorHandle handle) override;

    std::vector<uint8_t> bytes() const;

private:
    void record(uint16_t function, const std::vector<uint16_t> &words);

    int64_t width_;
    int64_t height_;
    std::vector<uint8_t> records_;
    uint32_t maxRecordWords_ = 3;
    MetafileObjects objects_{0};
};

} // namespace tessella
