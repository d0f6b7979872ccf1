// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/export/rowencoder.h"

#include "platform/fileio.h"

#include <csetjmp>
#include <cstring>

#include <png.h>

namespace tessella {

namespace {

struct Context
{
    AtomicFileWriter *file;
    char message[256];
};

void pngError(png_structp png, png_const_charp text)
{
    auto *ctx = static_cast<Context *>(png_get_error_ptr(png));
    std::strncpy(ctx->message, text ? text : "png error", sizeof ctx->message - 1);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngWrite(png_structp png, png_bytep data, png_size_t size)
{
    auto *ctx = static_cast<Context *>(png_get_io_ptr(png));
    if (!ctx->file->write(reinterpret_cast<const char *>(data), qint64(size))) {
        png_error(png, "write failed");
    }
}

void pngFlush(png_structp) {}

// 8-bit RGB, streamed row by row. As with the JPEG encoder, the library's errors jump back
// here and become the encoder's error.
class PngEncoder : public RowEncoder
{
public:
    explicit PngEncoder(AtomicFileWriter &file)
    {
        ctx_.file = &file;
        ctx_.message[0] = 0;
    }

    ~PngEncoder() override
    {
        if (png_) {
            png_destroy_write_struct(&png_, info_ ? &info_ : nullptr);
        }
    }

    bool begin(int64_t width, int64_t height) override
    {
        if (width <= 0 || height <= 0 || width > kPngMaxSide || height > kPngMaxSide) {
            return fail(QStringLiteral("image too large for a PNG"));
        }
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx_, pngError, pngWarning);
        if (!png_) {
            return fail(QStringLiteral("PNG writer not available"));
        }
        info_ = png_create_info_struct(png_);
        if (!info_) {
            return fail(QStringLiteral("PNG writer not available"));
        }
        if (setjmp(png_jmpbuf(png_))) {
            return failed();
        }
        png_set_write_fn(png_, &ctx_, pngWrite, pngFlush);
        png_set_user_limits(png_, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
        png_set_compression_level(png_, 6);
        png_set_IHDR(png_, info_, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png_, info_);
        return true;
    }

    bool writeRows(int64_t, int64_t count, const uint8_t *rgb, int64_t stride) override
    {
        if (!png_ || broken_) {
            return fail(QStringLiteral("encoder not ready"));
        }
        if (setjmp(png_jmpbuf(png_))) {
            return failed();
        }
        for (int64_t r = 0; r < count; ++r) {
            png_write_row(png_, rgb + r * stride);
        }
        return true;
    }

    bool finish() override
    {
        if (!png_ || broken_) {
            return fail(QStringLiteral("encoder not ready"));
        }
        if (setjmp(png_jmpbuf(png_))) {
            return failed();
        }
        png_write_end(png_, nullptr);
        return true;
    }

private:
    bool failed()
    {
        broken_ = true;
        return fail(QString::fromLocal8Bit(ctx_.message));
    }

    Context ctx_{};
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    bool broken_ = false;
};

} // namespace

std::unique_ptr<RowEncoder> makePngEncoder(AtomicFileWriter &file)
{
    return std::make_unique<PngEncoder>(file);
}

} // namespace tessella
