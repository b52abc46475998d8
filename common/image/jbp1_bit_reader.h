// The JBP1 decoder's bit reader: a 64-bit buffer over a bit-reversed copy of
// a bit stream, so that codes and numbers can be peeked from the top.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zeku {

// JBP1 packs bits into 32-bit little-endian words from the low bit up, which
// is the same as taking each byte from its low bit up. Reversing the bits of
// every byte turns that into the usual most-significant-first order, where a
// Huffman code written root first indexes a lookup table directly and a
// number written high bit first is simply the next few bits.
void reverseBitsInBytes(const uint8_t* in, size_t length, uint8_t* out);

// Zero bytes the reader may load past the end of its stream. The decoder
// checks for overrun after every block, and a block (64 symbols of at most
// 255 code bits and 15 extra bits) reads less than 2200 bytes, so the reader
// never needs to test for the end itself.
inline constexpr size_t kJbp1BitReaderSlack = 2304;

struct Jbp1BitReader {
    const uint8_t* data = nullptr;  // reversed bytes followed by the slack
    size_t size = 0;                // bytes of the real stream
    size_t next = 0;                // next byte to load
    uint64_t buffer = 0;            // unread bits, first one at bit 63
    unsigned count = 0;             // how many bits of `buffer` are valid

    void start(const uint8_t* reversed, size_t bytes) {
        data = reversed;
        size = bytes;
        next = 0;
        buffer = 0;
        count = 0;
    }

    // Tops the buffer up to at least 56 bits. Loads whole bytes only; the
    // bits below the valid ones are the stream's next bits too, so a later
    // load ORs identical values over them.
    void refill() {
        uint64_t word;
        std::memcpy(&word, data + next, sizeof word);
        if constexpr (std::endian::native == std::endian::little) word = byteswap64(word);
        buffer |= word >> count;
        next += (63 - count) >> 3;
        count |= 56;
    }

    // The next `bits` (0..32) bits as a number, first bit highest.
    uint32_t peek(unsigned bits) const {
        return static_cast<uint32_t>((buffer >> 1) >> (63 - bits));
    }
    void skip(unsigned bits) {
        buffer <<= bits;
        count -= bits;
    }
    uint32_t take(unsigned bits) {
        const uint32_t value = peek(bits);
        skip(bits);
        return value;
    }

    // Bits consumed so far, including zeros taken from beyond the end.
    uint64_t position() const { return uint64_t{8} * next - count; }
    bool overran() const { return position() > uint64_t{8} * size; }

    static uint64_t byteswap64(uint64_t v) {
        v = (v >> 32) | (v << 32);
        v = ((v & 0xFFFF0000FFFF0000ull) >> 16) | ((v & 0x0000FFFF0000FFFFull) << 16);
        return ((v & 0xFF00FF00FF00FF00ull) >> 8) | ((v & 0x00FF00FF00FF00FFull) << 8);
    }
};

}  // namespace zeku
