// Decoding of JBP1 picture streams into RGB565 pixels, the player's side of
// the codec: geometry from the header, then the whole picture in one call.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/result/parsed.h"

namespace zeku {

// Picture size and the size of the buffer it decodes into (both rounded up
// to whole 16 × 16 macroblocks).
struct Jbp1Geometry {
    int width = 0;
    int height = 0;
    int paddedWidth = 0;
    int paddedHeight = 0;
};

// Reads the size from the stream header. False when the data is not a JBP1
// stream (fewer than 44 bytes, wrong magic) or the picture has no pixels.
bool jbp1ReadGeometry(const uint8_t* stream, size_t length, Jbp1Geometry& geometry);

// Decodes the whole picture into paddedWidth × paddedHeight RGB565 pixels,
// rows paddedWidth apart; the padding holds whatever the last macroblocks
// decode to. Refuses a buffer of fewer than that many pixels and a stream
// without quantisation tables.
//
// Damaged data is reported rather than guessed at: a count table, a
// quantisation table or a bit stream that reaches past the given bytes,
// and a bit stream that runs out before its last symbol, all fail. Oddities
// that leave the stream decodable are accepted as the symbol rules define
// them: a coefficient whose run carries it past position 63 is dropped, a
// run symbol of size 0 places a zero, data after the AC stream is ignored.
// Whatever the bytes, nothing outside [stream, stream + length) is read and
// nothing outside the pixel buffer is written; on failure the pixels hold
// an unspecified partial picture. Errors give offsets in the stream; data
// that is no JBP1 stream at all fails as the wrong format.
Parsed<void> jbp1Decode(const uint8_t* stream, size_t length, uint16_t* pixels,
                        size_t pixelCapacity);

}  // namespace zeku
