// The ".rbp" picture file: a 36-byte header, then raw RGB565 (with or
// without alpha) or a JBP1 stream (with or without an alpha plane).
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/bytes/byte_layout.h"
#include "common/result/parsed.h"

namespace zeku {

inline constexpr size_t kRbpHeaderLength = 36;

// Picture types. 1 and 11 are stored alike.
inline constexpr uint32_t kRbpRawWithAlpha = 1;
inline constexpr uint32_t kRbpRawWithAlphaToo = 11;
inline constexpr uint32_t kRbpRaw = 13;
inline constexpr uint32_t kRbpJbp1 = 30;
inline constexpr uint32_t kRbpJbp1WithAlpha = 31;

// Neither side handles pictures wider or higher than a JBP1 stream can
// describe.
inline constexpr uint32_t kRbpMaxSide = 0xFFFF;

struct RbpHeader {
    uint32_t type = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t dataOffset = kRbpHeaderLength;
    uint16_t sourceWidth = 0;  // before the converter scaled it
    uint16_t sourceHeight = 0;
    uint32_t streamLength = 0;  // JBP1 types only
};

// The magic goes with the type. Readers never relied on it.
inline constexpr char kRbpMagicRaw[4] = {'R', 'B', 'P', '5'};
inline constexpr char kRbpMagicCoded[4] = {'R', 'B', 'P', '7'};
inline bool rbpIsCoded(uint32_t type) {
    return type == kRbpJbp1 || type == kRbpJbp1WithAlpha;
}

// The 36 header bytes in file order, for reading and writing alike.
template <typename Io, RecordOf<RbpHeader> Header>
void syncRbpHeader(Io& io, Header& header) {
    // Written from the type; a reader skips it (the type comes after it).
    io.constant(rbpIsCoded(header.type) ? kRbpMagicCoded : kRbpMagicRaw);
    io.le32(header.type);
    io.le32(header.width);
    io.le32(header.height);
    io.le32(header.dataOffset);
    io.le16(header.sourceWidth);
    io.le16(header.sourceHeight);
    io.zeros(4);  // not read
    io.le32(header.streamLength);
    io.zeros(4);
}

// A parsed file: views into the caller's bytes, every one checked to lie
// within them. For a type this format does not know, `knownType` is false
// and only the header is filled in.
struct RbpFile {
    RbpHeader header;
    bool knownType = false;
    const uint8_t* pixels = nullptr;  // types 1, 11 (3 bytes a pixel), 13 (2 bytes)
    size_t pixelsLength = 0;
    const uint8_t* stream = nullptr;  // types 30, 31
    size_t streamLength = 0;
    size_t streamOffset = 0;
    const uint8_t* alpha = nullptr;  // type 31, width × height bytes
};

// Checks the header and that the data its type needs is all there. The
// magic is not checked (readers never relied on it); the data offset is
// honoured when it lies at or after the header. Sides above kRbpMaxSide
// are refused. Bytes after the data are ignored. Errors give file offsets.
Parsed<void> parseRbpFile(const uint8_t* data, size_t size, RbpFile& file);

// The 36 header bytes, with the magic that goes with the type ("RBP7" for
// JBP1 types, else "RBP5") and zeros where nothing is stored.
void writeRbpHeader(const RbpHeader& header, uint8_t out[kRbpHeaderLength]);

}  // namespace zeku
