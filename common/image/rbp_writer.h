// Making ".rbp" files from converted pictures: raw RGB565 for small
// pictures and the best quality setting, JBP1 streams otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeku {

// A picture as the converter holds it after scaling: blue-green-red
// (24 bits) or blue-green-red-alpha (32 bits) rows, top to bottom, alpha
// already in the stored convention.
struct RbpSourcePicture {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    size_t stride = 0;
    int bitsPerPixel = 24;
    int sourceWidth = 0;  // before scaling; recorded in the header
    int sourceHeight = 0;
};

// The converter's quality choices: item 0 stores raw pixels, items 1, 2
// and 3 code JBP1 at quality 100, 90 and 80.
inline constexpr int kRbpQualityItems = 4;
// JBP1 quality for an item, or 0 for raw (and for items out of range).
int rbpJbp1Quality(int qualityItem);

// Pictures smaller than this in either direction are always stored raw.
inline constexpr int kRbpSmallestCodedSide = 32;

// The type a picture would be written as, or 0 for depths other than 24
// and 32 bits.
uint32_t rbpTypeFor(int bitsPerPixel, int width, int height, int qualityItem);

// Writes the whole file into `file`. False for depths other than 24 and 32
// bits, sizes outside 1..65535, a stride too short, a quality item outside
// 0..3, or a failed JBP1 encoding.
bool encodeRbpPicture(const RbpSourcePicture& picture, int qualityItem, std::vector<uint8_t>& file);

// RGB565 of a blue-green-red pixel.
inline uint16_t rgb565FromBgr(const uint8_t* bgr) {
    return static_cast<uint16_t>((bgr[2] >> 3) << 11 | (bgr[1] >> 2) << 5 | bgr[0] >> 3);
}

}  // namespace zeku
