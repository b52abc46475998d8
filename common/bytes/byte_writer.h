// The writing side of a record layout: fields put one after another into a
// caller's block, never past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/bytes/byte_buffer.h"

namespace zeku {

class ByteWriter {
  public:
    ByteWriter(uint8_t* out, size_t capacity) : out_(out), capacity_(capacity) {}

    void le32(uint32_t value) {
        if (uint8_t* at = take(4)) storeLe32(at, value);
    }
    void le16(uint16_t value) {
        if (uint8_t* at = take(2)) storeLe16(at, value);
    }
    template <typename Byte, size_t N>
    void bytes(const Byte (&field)[N]) {
        static_assert(sizeof(Byte) == 1);
        if (uint8_t* at = take(N)) std::memcpy(at, field, N);
    }
    // The text up to its terminator, then zeros: whatever the record holds
    // after the terminator never reaches the file.
    template <size_t N>
    void text(const char (&field)[N]) {
        uint8_t* at = take(N);
        if (at == nullptr) return;
        const void* end = std::memchr(field, 0, N);
        const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : N;
        std::memcpy(at, field, length);
        std::memset(at + length, 0, N - length);
    }
    void zeros(size_t count) {
        if (uint8_t* at = take(count)) std::memset(at, 0, count);
    }
    template <typename Byte, size_t N>
    void constant(const Byte (&tag)[N]) {
        bytes(tag);
    }
    template <typename Byte, size_t N>
    void magic(const Byte (&tag)[N]) {
        bytes(tag);
    }

    // False once a field did not fit; nothing was written for it or after it.
    bool ok() const { return !failed_; }
    size_t position() const { return position_; }

  private:
    uint8_t* take(size_t count) {
        if (failed_ || count > capacity_ - position_) {
            failed_ = true;
            return nullptr;
        }
        uint8_t* at = out_ + position_;
        position_ += count;
        return at;
    }

    uint8_t* out_;
    size_t capacity_;
    size_t position_ = 0;
    bool failed_ = false;
};

}  // namespace zeku
