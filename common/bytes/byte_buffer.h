// An owned block of bytes whose allocation may fail without aborting: sizes
// read from damaged files can be absurd, and that must be an error, not a
// crash (the player is built without exceptions).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace zeku {

class ByteBuffer {
  public:
    ByteBuffer() = default;

    // An empty buffer when the memory is not there. Zero bytes gives a valid
    // buffer of size 0 (a file may be empty).
    static ByteBuffer allocate(size_t size) {
        ByteBuffer buffer;
        buffer.bytes_.reset(new (std::nothrow) uint8_t[size == 0 ? 1 : size]);
        if (buffer.bytes_) buffer.size_ = size;
        return buffer;
    }

    explicit operator bool() const { return bytes_ != nullptr; }
    uint8_t* data() { return bytes_.get(); }
    const uint8_t* data() const { return bytes_.get(); }
    size_t size() const { return size_; }

    // Shortens the visible size (the memory stays until the buffer goes).
    void shrink(size_t size) {
        if (size < size_) size_ = size;
    }

  private:
    std::unique_ptr<uint8_t[]> bytes_;
    size_t size_ = 0;
};

// Little-endian fields of the file formats, read and written bytewise so
// that alignment and host order never matter.
inline uint32_t loadLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline uint16_t loadLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline void storeLe32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}
inline void storeLe16(uint8_t* p, uint16_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace zeku
