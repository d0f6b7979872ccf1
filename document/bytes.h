// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tessella {

// Little-endian field writer; the buffer grows as needed (reserve it up front).
class ByteWriter
{
public:
    explicit ByteWriter(size_t expected = 0) { buf_.reserve(expected); }

    void i16(int16_t v) { put(static_cast<uint16_t>(v), 2); }
    void i32(int32_t v) { put(static_cast<uint32_t>(v), 4); }
    void f64(double v) { put(std::bit_cast<uint64_t>(v), 8); }
    void bytes(std::span<const uint8_t> b) { buf_.insert(buf_.end(), b.begin(), b.end()); }
    void text(std::string_view s) { buf_.insert(buf_.end(), s.begin(), s.end()); }

    size_t size() const { return buf_.size(); }
    std::vector<uint8_t> take() { return std::move(buf_); }

private:
    void put(uint64_t v, int n)
    {
        const size_t at = buf_.size();
        buf_.resize(at + n);
        for (int i = 0; i < n; ++i)
            buf_[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }

    std::vector<uint8_t> buf_;
};

// Little-endian field reader over a file held in memory. The file is read as if it
// were followed by zeros: a field lying (partly) beyond the end reads its missing
// bytes as 0. remaining() tells how many real bytes are left.
class ByteReader
{
public:
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

    int16_t i16() { return static_cast<int16_t>(get(2)); }
    int32_t i32() { return static_cast<int32_t>(get(4)); }
    double f64() { return std::bit_cast<double>(get(8)); }
    // Copies n bytes (zeros beyond the end) into out.
    void bytes(uint8_t *out, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            out[i] = pos_ + i < data_.size() ? data_[pos_ + i] : 0;
        pos_ += n;
    }

    void skip(size_t n) { pos_ += n; }

    size_t pos() const { return pos_; }
    size_t remaining() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }
    bool atOrPastEnd() const { return pos_ >= data_.size(); }

private:
    uint64_t get(int n)
    {
        uint64_t v = 0;
        if (pos_ + n <= data_.size()) {
            const uint8_t *p = data_.data() + pos_;
            for (int i = 0; i < n; ++i)
                v |= static_cast<uint64_t>(p[i]) << (8 * i);
        } else {
            for (int i = 0; i < n; ++i)
                if (pos_ + i < data_.size())
                    v |= static_cast<uint64_t>(data_[pos_ + i]) << (8 * i);
        }
        pos_ += n;
        return v;
    }

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

} // namespace tessella
