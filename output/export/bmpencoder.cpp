// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/export/rowencoder.h"

#include "platform/fileio.h"

#include <cstring>
#include <limits>
#include <vector>

namespace tessella {

namespace {

constexpr int64_t kHeaderBytes = 14 + 40;

void put16(uint8_t *at, uint32_t v)
{
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
}

void put32(uint8_t *at, uint32_t v)
{
    put16(at, v & 0xffffu);
    put16(at + 2, v >> 16);
}

// Uncompressed 24-bit, bottom row first. Each call writes its rows at their place in the
// file, so bands may arrive in any order.
class BmpEncoder : public RowEncoder
{
public:
    explicit BmpEncoder(AtomicFileWriter &file) : file_(file) {}

    bool begin(int64_t width, int64_t height) override
    {
        if (width <= 0 || height <= 0 || !bmpFits(width, height)) {
            return fail(QStringLiteral("image too large for a bitmap"));
        }
        width_ = width;
        height_ = height;
        stride_ = bmpBytesPerScanLine(width);
        const int64_t image = stride_ * height;
        uint8_t header[kHeaderBytes] = {};
        header[0] = 'B';
        header[1] = 'M';
        put32(header + 2, uint32_t(kHeaderBytes + image));
        put32(header + 10, uint32_t(kHeaderBytes));
        put32(header + 14, 40);
        put32(header + 18, uint32_t(width));
        put32(header + 22, uint32_t(height));
        put16(header + 26, 1);
        put16(header + 28, 24);
        put32(header + 34, uint32_t(image));
        return file_.write(reinterpret_cast<const char *>(header), kHeaderBytes) ||
               fail(file_.error());
    }

    bool writeRows(int64_t y, int64_t count, const uint8_t *rgb, int64_t stride) override
    {
        if (y < 0 || count <= 0 || y + count > height_) {
            return fail(QStringLiteral("row out of range"));
        }
        // The rows are stored bottom first, so the band is one run with its rows reversed.
        buffer_.assign(std::size_t(stride_ * count), 0);
        for (int64_t r = 0; r < count; ++r) {
            const uint8_t *in = rgb + r * stride;
            uint8_t *out = buffer_.data() + (count - 1 - r) * stride_;
            for (int64_t x = 0; x < width_; ++x) {
                out[3 * x] = in[3 * x + 2];
                out[3 * x + 1] = in[3 * x + 1];
                out[3 * x + 2] = in[3 * x];
            }
        }
        const int64_t lastRow = y + count - 1;
        const int64_t at = kHeaderBytes + (height_ - 1 - lastRow) * stride_;
        if (!file_.seek(at) ||
            !file_.write(reinterpret_cast<const char *>(buffer_.data()), int64_t(buffer_.size()))) {
            return fail(file_.error());
        }
        return true;
    }

    bool finish() override { return true; }

private:
    AtomicFileWriter &file_;
    int64_t width_ = 0;
    int64_t height_ = 0;
    int64_t stride_ = 0;
    std::vector<uint8_t> buffer_;
};

} // namespace

int64_t bmpBytesPerScanLine(int64_t width)
{
    return (width * 3 + 3) / 4 * 4;
}

bool bmpFits(int64_t width, int64_t height)
{
    constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();
    if (width <= 0 || height <= 0 || width > kMax32 / 3 || height > kMax32) {
        return false;
    }
    const int64_t stride = bmpBytesPerScanLine(width);
    return stride <= (int64_t(std::numeric_limits<uint32_t>::max()) - kHeaderBytes) / height;
}

std::unique_ptr<RowEncoder> makeBmpEncoder(AtomicFileWriter &file)
{
    return std::make_unique<BmpEncoder>(file);
}

std::unique_ptr<RowEncoder> makeRowEncoder(RasterEncoding encoding, AtomicFileWriter &file)
{
    switch (encoding) {
    case RasterEncoding::Bmp:
        return makeBmpEncoder(file);
    case RasterEncoding::Jpeg:
        return makeJpegEncoder(file, kJpegQuality);
    case RasterEncoding::Png:
        return makePngEncoder(file);
    }
    return nullptr;
}

} // namespace tessella
