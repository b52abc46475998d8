// The reading side of a record layout: fields taken one after another from
// a bounded block, never past its end, with the place of the first failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/bytes/byte_buffer.h"
#include "common/result/parse_error.h"

namespace zeku {

class ByteReader {
  public:
    // Reads data[0, size). `origin` is the block's offset in its file, so
    // that a reader over one directory entry reports file offsets.
    ByteReader(const uint8_t* data, size_t size, uint64_t origin = 0)
        : data_(data), size_(data != nullptr ? size : 0), origin_(origin) {}

    void le32(uint32_t& value) {
        if (const uint8_t* at = take(4)) value = loadLe32(at);
    }
    void le16(uint16_t& value) {
        if (const uint8_t* at = take(2)) value = loadLe16(at);
    }
    template <typename Byte, size_t N>
    void bytes(Byte (&field)[N]) {
        static_assert(sizeof(Byte) == 1);
        if (const uint8_t* at = take(N)) std::memcpy(field, at, N);
    }
    // A zero-filled text field is read as stored; checking for the
    // terminator is the caller's business.
    template <size_t N>
    void text(char (&field)[N]) {
        bytes(field);
    }
    // Bytes nobody reads back: reserved zeros, and tags that readers never
    // relied on.
    void zeros(size_t count) { take(count); }
    template <typename Byte, size_t N>
    void constant(const Byte (&)[N]) {
        take(N);
    }
    // A tag that must be there: anything else fails at the tag's offset.
    template <typename Byte, size_t N>
    void magic(const Byte (&expected)[N]) {
        const uint64_t start = origin_ + position_;
        const uint8_t* at = take(N);
        if (at != nullptr && std::memcmp(at, expected, N) != 0) fail(start);
    }

    bool ok() const { return !failed_; }
    size_t position() const { return position_; }
    // Where the first failure happened: the end of the block for a field
    // that does not fit in it, the field itself for a wrong tag.
    uint64_t failureOffset() const { return failureOffset_; }
    ParseError error(const char* reason, ParseErrorKind kind = ParseErrorKind::kDamaged) const {
        return ParseError(reason, failureOffset_, kind);
    }

  private:
    // Null once anything has failed: later fields are left as they were.
    const uint8_t* take(size_t count) {
        if (failed_) return nullptr;
        if (count > size_ - position_) {
            fail(origin_ + size_);
            return nullptr;
        }
        const uint8_t* at = data_ + position_;
        position_ += count;
        return at;
    }
    void fail(uint64_t offset) {
        failed_ = true;
        failureOffset_ = offset;
    }

    const uint8_t* data_;
    size_t size_;
    uint64_t origin_;
    size_t position_ = 0;
    bool failed_ = false;
    uint64_t failureOffset_ = 0;
};

}  // namespace zeku
