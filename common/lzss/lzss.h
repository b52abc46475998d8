// The package's LZSS codec: a 2048-byte window preset to zero, matches of 2 to 17 bytes, and
// groups of one flag byte and up to eight items. The converter encodes, the player decodes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/result/parsed.h"

namespace zeku {

inline constexpr size_t kLzssWindowSize = 2048;
inline constexpr size_t kLzssMaxMatch = 17;
// Dictionary position of the first output byte; positions before it start as zeros.
inline constexpr size_t kLzssFirstWritePosition = kLzssWindowSize - kLzssMaxMatch;

// Decodes the stream until the source ends (a truncated stream yields the items before the
// cut) and returns the number of bytes written. A stream that holds more than destCapacity
// bytes is an error at the source offset of the first item that did not fit; the destination
// then holds the stream's first destCapacity bytes. Never writes at or past
// dest + destCapacity, but may scribble on bytes past the count inside the capacity while it
// works. No allocation (an overflow's reason is static text) and no shared state.
Parsed<size_t> lzssDecode(uint8_t* dest, size_t destCapacity, const uint8_t* src, size_t srcLength);

// Largest output of the encoder for n input bytes: all literals, one flag byte per eight.
constexpr size_t lzssMaxEncodedSize(size_t n) {
    return n + n / 8 + (n % 8 != 0 ? 1 : 0);
}

// The converter's encoder: Okumura's binary-tree LZSS whose match choice (tree shape, insertion
// order, ties) the player's data was made with, so the output is reproduced byte for byte.
// One object holds the whole dictionary and tree (about 16 KiB); reuse it to encode many files,
// but give each thread its own.
class LzssEncoder {
  public:
    // Returns the bytes written, or -1 for an empty source or when dest fills up (part of the
    // stream may have been written by then). lzssMaxEncodedSize(srcLength) is always enough.
    ptrdiff_t encode(uint8_t* dest, size_t destCapacity, const uint8_t* src, size_t srcLength);

  private:
    static constexpr int kWindow = static_cast<int>(kLzssWindowSize);
    static constexpr int kMaxMatch = static_cast<int>(kLzssMaxMatch);
    static constexpr int kNil = kWindow;
    // Node kNil absorbs the writes aimed at missing children; nodes above it are the roots, one
    // per first byte, which only ever have a right child.
    static constexpr int kNodes = kWindow + 1 + 256;

    void insertNode(int r, uint64_t key0, uint64_t key1);
    void deleteNode(int p);
    uint32_t loadChildren(int p) const;

    // The window plus a mirror of its first 16 bytes, so a 17-byte string never wraps, and one
    // spare byte so the walk may load the (unused) string of node kNil.
    uint8_t text_[kLzssWindowSize + kLzssMaxMatch];
    // The tree, kept small (under 16 KiB with the window) so the walk stays in the L1 cache.
    uint16_t child_[kNodes][2];  // [0] left, [1] right
    uint16_t parent_[kNodes];
    int matchPosition_ = 0;
    int matchLength_ = 0;
};

// One-shot form of LzssEncoder::encode with the encoder on the stack.
ptrdiff_t lzssEncode(uint8_t* dest, size_t destCapacity, const uint8_t* src, size_t srcLength);

}  // namespace zeku
