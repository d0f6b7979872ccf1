// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/export/rowencoder.h"

#include "platform/fileio.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace tessella {

namespace {

constexpr std::size_t kBufferBytes = 1 << 16;

// The library's default error handler ends the process; this one jumps back to the
// encoder, which reports the message instead.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void silentMessage(j_common_ptr) {}

// Compressed bytes go through a buffer into the atomic file.
struct Destination
{
    jpeg_destination_mgr pub;
    AtomicFileWriter *file;
    JOCTET buffer[kBufferBytes];
};

void initDestination(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<Destination *>(cinfo->dest);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferBytes;
}

boolean emptyOutputBuffer(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<Destination *>(cinfo->dest);
    if (!dest->file->write(reinterpret_cast<const char *>(dest->buffer), kBufferBytes)) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferBytes;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<Destination *>(cinfo->dest);
    const std::size_t used = kBufferBytes - dest->pub.free_in_buffer;
    if (used > 0 && !dest->file->write(reinterpret_cast<const char *>(dest->buffer),
                                       static_cast<qint64>(used))) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
}

// Baseline JPEG, streamed row by row. Every library call runs under the jump target of the
// error manager; no object with a destructor lives between the jump and its target.
class JpegEncoder : public RowEncoder
{
public:
    JpegEncoder(AtomicFileWriter &file, int quality) : quality_(quality)
    {
        cinfo_.err = jpeg_std_error(&err_.pub);
        err_.pub.error_exit = errorExit;
        err_.pub.output_message = silentMessage;
        dest_.file = &file;
        dest_.pub.init_destination = initDestination;
        dest_.pub.empty_output_buffer = emptyOutputBuffer;
        dest_.pub.term_destination = termDestination;
    }

    ~JpegEncoder() override
    {
        if (created_) {
            jpeg_destroy_compress(&cinfo_);
        }
    }

    bool begin(int64_t width, int64_t height) override
    {
        if (width <= 0 || height <= 0 || width > kJpegMaxSide || height > kJpegMaxSide) {
            return fail(QStringLiteral("image too large for a JPEG"));
        }
        width_ = width;
        if (setjmp(err_.jump)) {
            return failed();
        }
        jpeg_create_compress(&cinfo_);
        created_ = true;
        cinfo_.dest = &dest_.pub;
        cinfo_.image_width = JDIMENSION(width);
        cinfo_.image_height = JDIMENSION(height);
        cinfo_.input_components = 3;
        cinfo_.in_color_space = JCS_RGB;
        jpeg_set_defaults(&cinfo_);
        jpeg_set_quality(&cinfo_, quality_, TRUE);
        jpeg_start_compress(&cinfo_, TRUE);
        return true;
    }

    bool writeRows(int64_t, int64_t count, const uint8_t *rgb, int64_t stride) override
    {
        if (!created_ || broken_) {
            return fail(QStringLiteral("encoder not ready"));
        }
        rows_.resize(std::size_t(count));
        for (int64_t r = 0; r < count; ++r) {
            rows_[std::size_t(r)] = const_cast<JSAMPROW>(rgb + r * stride);
        }
        if (setjmp(err_.jump)) {
            return failed();
        }
        JDIMENSION done = 0;
        while (done < JDIMENSION(count)) {
            done += jpeg_write_scanlines(&cinfo_, rows_.data() + done, JDIMENSION(count) - done);
        }
        return true;
    }

    bool finish() override
    {
        if (!created_ || broken_) {
            return fail(QStringLiteral("encoder not ready"));
        }
        if (setjmp(err_.jump)) {
            return failed();
        }
        jpeg_finish_compress(&cinfo_);
        return true;
    }

private:
    bool failed()
    {
        broken_ = true;
        return fail(QString::fromLocal8Bit(err_.message));
    }

    int quality_;
    int64_t width_ = 0;
    bool created_ = false;
    bool broken_ = false;
    jpeg_compress_struct cinfo_{};
    ErrorManager err_{};
    Destination dest_{};
    std::vector<JSAMPROW> rows_;
};

} // namespace

std::unique_ptr<RowEncoder> makeJpegEncoder(AtomicFileWriter &file, int quality)
{
    return std::make_unique<JpegEncoder>(file, quality);
}

} // namespace tessella
