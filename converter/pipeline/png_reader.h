// PNG pictures from memory into the converter's intermediate picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "converter/pipeline/converter_picture.h"

namespace zeku {

// 24 bits for pictures without alpha, 32 bits (alpha inverted) for those
// with an alpha channel or a transparency chunk; palette, grey and 16-bit
// pictures included, sample values never gamma-corrected. False with an
// English `error`.
bool decodePng(const uint8_t* bytes, size_t size, ConverterPicture& out, std::string& error,
               size_t maxPixels = kConverterMaxPixels);

}  // namespace zeku
