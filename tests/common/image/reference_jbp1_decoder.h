// A deliberately plain JBP1 decoder for the tests: bit-by-bit tree walks and
// the transform written out equation by equation, to hold the fast decoder
// to exactly the same pixels and the same reports on damaged streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/image/jbp1_decoder.h"

namespace zeku::test {

struct ReferenceJbp1Picture {
    int paddedWidth = 0;
    int paddedHeight = 0;
    std::vector<uint16_t> pixels;  // paddedWidth × paddedHeight RGB565
};

// Same results as jbp1Decode (given a large enough buffer), including the
// error and offset for damaged data.
Parsed<void> referenceJbp1Decode(const uint8_t* stream, size_t length,
                                 ReferenceJbp1Picture& picture);

// The transform alone: 64 quantised coefficients and their table entries,
// both in natural order, to 64 samples.
void referenceJbp1Idct(const int16_t* coefficients, const uint8_t* table, int16_t* samples);

// The colour step alone: six sample blocks (four luminance, Cb, Cr) to a
// 16 × 16 macroblock of pixels, rows `stride` pixels apart.
void referenceJbp1Colour(const int16_t (*samples)[64], uint16_t* pixels, size_t stride);

}  // namespace zeku::test
