// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/export/rasterpipeline.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace tessella {

class AtomicFileWriter;

// Largest side a JPEG file can have.
inline constexpr int64_t kJpegMaxSide = 65500;
// Largest side a PNG file can have (the format's 31-bit limit).
inline constexpr int64_t kPngMaxSide = 0x7fffffff;

// Bytes of one row of a 24-bit BMP: three per pixel, padded to a multiple of four.
int64_t bmpBytesPerScanLine(int64_t width);
// Whole BMP file size, or nothing when the format's 32-bit fields cannot hold it.
bool bmpFits(int64_t width, int64_t height);

// Streams rows of red, green, blue bytes into an image file. Rows are given top row first;
// a BMP takes them in any order, the others in order.
class RowEncoder
{
public:
    virtual ~RowEncoder() = default;
    virtual bool begin(int64_t width, int64_t height) = 0;
    // `count` rows starting at row y, each 3 * width bytes, `stride` bytes apart.
    virtual bool writeRows(int64_t y, int64_t count, const uint8_t *rgb, int64_t stride) = 0;
    virtual bool finish() = 0;
    QString error() const { return error_; }

protected:
    bool fail(const QString &why)
    {
        if (error_.isEmpty()) {
            error_ = why;
        }
        return false;
    }

private:
    QString error_;
};

// An encoder writing into `file`, which must be open and outlive it.
std::unique_ptr<RowEncoder> makeRowEncoder(RasterEncoding encoding, AtomicFileWriter &file);

std::unique_ptr<RowEncoder> makeBmpEncoder(AtomicFileWriter &file);
std::unique_ptr<RowEncoder> makeJpegEncoder(AtomicFileWriter &file, int quality);
std::unique_ptr<RowEncoder> makePngEncoder(AtomicFileWriter &file);

} // namespace tessella
