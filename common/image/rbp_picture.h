// An ".rbp" file turned into pixels: RGB565 colour and an alpha byte per
// pixel, whatever the file's type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/image/rbp_file.h"

namespace zeku {

// Largest picture decoded by default, counted in the decoder's padded
// macroblock area for JBP1 types: far above any screen the player drives,
// low enough that a damaged header cannot ask for gigabytes.
inline constexpr size_t kRbpMaxPixels = size_t{4096} * 4096;

struct RbpPicture {
    uint32_t type = 0;
    int width = 0;
    int height = 0;
    // False for a type this format does not know: the size is still given
    // (the player takes it over) but there are no pixels.
    bool hasPixels = false;
    // width × height each, rows top to bottom without padding. Alpha is as
    // stored (types 1, 11 and 31) or 255 (types 13 and 30); the player's own
    // adjustment of stored alpha is not applied here.
    std::unique_ptr<uint16_t[]> color;
    std::unique_ptr<uint8_t[]> alpha;
};

// Decodes a whole file. Fails on anything parseRbpFile refuses, on a JBP1
// stream that does not decode or whose size differs from the header's, on
// pictures above `maxPixels`, and when memory runs out (allocation never
// aborts). Offsets in the error are from the start of the file. On
// failure the picture holds no pixels.
Parsed<void> decodeRbpPicture(const uint8_t* data, size_t size, RbpPicture& picture,
                              size_t maxPixels = kRbpMaxPixels);

}  // namespace zeku
