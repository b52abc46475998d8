// Windows bitmaps from memory into the converter's intermediate picture:
// 8-bit palette, 24-bit and 32-bit pictures, bottom-up or top-down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "converter/pipeline/converter_picture.h"

namespace zeku {

// 8-bit pictures come out as 24 bits through their palette; 32-bit alpha
// is kept exactly as stored. Refuses compressed (RLE) and other depths,
// sides above kConverterMaxSide and more than `maxPixels` pixels, and
// anything that does not lie within the `size` bytes. False with an
// English `error` (with the byte offset where it helps).
bool decodeBmp(const uint8_t* bytes, size_t size, ConverterPicture& out, std::string& error,
               size_t maxPixels = kConverterMaxPixels);

}  // namespace zeku
