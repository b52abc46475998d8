// The parts of the JBP1 picture stream that its encoder and decoder share:
// the stream header, the Huffman trees built from stored symbol counts, the
// size categories of coefficients, the zigzag order and the packed AC counts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/bytes/byte_layout.h"

namespace zeku {

inline constexpr uint8_t kJbp1Magic[4] = {'J', 'B', 'P', '1'};
inline constexpr uint32_t kJbp1HeaderLength = 44;
inline constexpr uint32_t kJbp1Flags = 0x08000001;  // tables present, bit 0 set
inline constexpr uint32_t kJbp1TablesPresent = 1u << 27;
inline constexpr int kJbp1DcSymbols = 16;
inline constexpr int kJbp1AcSymbols = 256;

// The fields of the 44-byte stream header that carry meaning.
struct Jbp1Header {
    uint32_t headerLength = kJbp1HeaderLength;
    uint32_t flags = kJbp1Flags;
    uint32_t quality = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint32_t bitsPerPixel = 24;
    uint32_t dcLength = 0;  // bytes of the DC bit stream
    uint32_t acLength = 0;  // bytes of the AC bit stream
};

// The 44 header bytes in stream order, for reading and writing alike.
template <typename Io, RecordOf<Jbp1Header> Header>
void syncJbp1Header(Io& io, Header& header) {
    io.magic(kJbp1Magic);
    io.le32(header.headerLength);
    io.le32(header.flags);
    io.le32(header.quality);
    io.le16(header.width);
    io.le16(header.height);
    io.le32(header.bitsPerPixel);
    io.zeros(4);  // not read
    io.le32(header.dcLength);
    io.le32(header.acLength);
    io.zeros(8);  // not read
}

// Reads the header; false when fewer than 44 bytes are given or the magic
// is not "JBP1".
bool readJbp1Header(const uint8_t* stream, size_t length, Jbp1Header& header);
// Writes the 44 header bytes (unused fields zero).
void writeJbp1Header(const Jbp1Header& header, uint8_t out[kJbp1HeaderLength]);

// A Huffman tree over N symbols (16 or 256): nodes 0..N-1 are the symbols,
// N..2N-2 the inner nodes made in order, the root is 2N-2. child[node][bit]
// is meaningful for inner nodes only. Counts near 2^31 can stop the joining
// early: root is then the last node made, or below N when none was, and
// jbp1CodesFromTree refuses the tree.
struct Jbp1Tree {
    int symbolCount = 0;
    int root = 0;
    uint16_t child[2 * kJbp1AcSymbols - 1][2] = {};
};

// Builds the tree exactly as both sides must: repeatedly join the two
// lightest live nodes (ties to the lowest index), first found as child 0.
// Every symbol is a leaf even with count 0.
void buildJbp1Tree(const uint32_t* counts, int symbolCount, Jbp1Tree& tree);

// Code of every symbol read off the tree: bits root first, in the low
// `length` bits of `bits` with the first bit the most significant.
struct Jbp1Code {
    uint32_t bits = 0;
    uint8_t length = 0;
};
// False when some code would be longer than 32 bits or some symbol is not
// in the tree (counts that no real picture produces); the codes are then
// unusable.
bool jbp1CodesFromTree(const Jbp1Tree& tree, Jbp1Code* codes);

// Size category: 0 for 0, else the bit count of |v| (v within ±32767).
int jbp1SizeCategory(int value);
// The low `category` bits that follow a category code (one's complement
// form for negative values).
uint32_t jbp1ExtraBits(int value, int category);
// Inverse of the two above.
int jbp1ValueFromExtraBits(uint32_t extra, int category);

// Natural (row-major) index of zigzag position k, 0..63.
extern const uint8_t kJbp1ZigzagToNatural[64];

// Longest packing of the AC counts: every zero byte alone costs two bytes.
inline constexpr size_t kJbp1PackedAcCountsMax = 1536;

// The 1024 bytes of the 256 AC counts (little-endian) packed: a non-zero
// byte as itself, a zero run of k+1 bytes (k 0..255) as 0, k. Returns the
// packed length before the padding to 4 (which is written as zeros); `out`
// needs kJbp1PackedAcCountsMax bytes.
size_t packJbp1AcCounts(const uint32_t counts[kJbp1AcSymbols], uint8_t* out);
// Unpacks from at most `length` bytes; returns the packed length rounded up
// to a multiple of 4 (where the tables start; the padding itself need not
// lie within `length`), or 0 when the data ends or a run overruns the 1024
// bytes.
size_t unpackJbp1AcCounts(const uint8_t* packed, size_t length, uint32_t counts[kJbp1AcSymbols]);

}  // namespace zeku
