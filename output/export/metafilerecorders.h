// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/vectortarget.h"

#include <cstdint>
#include <map>
#include <vector>

namespace tessella {

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
    uint32_t allocate();
    void record(uint32_t type, const std::vector<uint32_t> &fields);

    PixelRect bounds_;
    int64_t width_;
    int64_t height_;
    std::vector<uint8_t> records_; // everything after the header
    uint32_t count_ = 0;           // records after the header
    std::vector<bool> used_;       // object table, index 0 reserved
    std::map<VectorHandle, uint32_t> objects_;
    VectorHandle nextHandle_ = 1;
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
    uint16_t allocate();
    void record(uint16_t function, const std::vector<uint16_t> &words);

    int64_t width_;
    int64_t height_;
    std::vector<uint8_t> records_;
    uint32_t maxRecordWords_ = 3;
    std::vector<bool> used_;
    std::map<VectorHandle, uint16_t> objects_;
    VectorHandle nextHandle_ = 1;
};

} // namespace tessella
