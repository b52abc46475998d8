// The JBP1 encoder: a picture goes through a baseline JPEG, whose quantised
// blocks and tables are re-coded with count-built Huffman trees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/image/jpeg_coefficients.h"

namespace zeku {

// Encodes 24-bit blue-green-red rows (top to bottom, `stride` bytes apart)
// at JPEG quality 1..100 (the converter uses 100, 90 and 80). On success
// `stream` holds the whole JBP1 stream; `intermediateJpeg`, when given,
// receives the JPEG the coefficients came from. False on bad arguments
// (size 0 or above 65500 per side) or a libjpeg failure.
bool jbp1Encode(const uint8_t* bgr, int width, int height, size_t stride, int quality,
                std::vector<uint8_t>& stream, std::vector<uint8_t>* intermediateJpeg = nullptr);

// The second half of jbp1Encode: codes already quantised blocks. False when
// a value lies outside ±32767 (category 16 has no symbol) or the symbol
// counts exceed what the trees can code.
bool jbp1EncodeCoefficients(const JpegCoefficients& coefficients, int quality,
                            std::vector<uint8_t>& stream);

// One coded unit: a Huffman symbol and the extra bits that follow it.
struct Jbp1Symbol {
    uint8_t symbol = 0;
    uint8_t extraLength = 0;
    uint16_t extraBits = 0;
};

// The AC symbols of one block (64 coefficients, natural order), appended.
// False when a coefficient is outside ±32767.
bool appendJbp1AcSymbols(const int16_t* block, std::vector<Jbp1Symbol>& symbols);

}  // namespace zeku
