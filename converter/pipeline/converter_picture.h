// The converter's intermediate picture: what the PNG and BMP readers
// produce and the scaler and the ".rbp" writer consume.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeku {

// Rows top-down, `stride` bytes apart; blue-green-red (24 bits) or
// blue-green-red-alpha (32 bits) with alpha in the stored convention
// (0 opaque, 255 clear).
struct ConverterPicture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    std::vector<uint8_t> pixels;
    size_t stride = 0;

    const uint8_t* row(int y) const { return pixels.data() + stride * static_cast<size_t>(y); }
    uint8_t* row(int y) { return pixels.data() + stride * static_cast<size_t>(y); }
};

// The game's pictures are at most a few screens in size. These bounds keep
// a damaged header from asking for gigabytes; a side above 65535 could not
// be recorded in an ".rbp" file anyway.
inline constexpr size_t kConverterMaxPixels = size_t{1} << 25;
inline constexpr int kConverterMaxSide = 65535;

}  // namespace zeku
