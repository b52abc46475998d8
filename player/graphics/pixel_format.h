// The two pixel formats the player draws with: 565A image pixels (RGB565
// little-endian plus an alpha byte) and the screen's blue-green-red bytes.
#pragma once

#include <cstdint>

namespace zeku {

inline constexpr int k565aBytes = 3;
inline constexpr int kScreenPixelBytes = 3;

// Neutral values of the opacity/alpha (0..256) and level (0..512) scales.
inline constexpr int kOpaqueAlpha = 256;
inline constexpr int kNeutralLevel = 256;
inline constexpr int kMaxLevel = 512;

inline uint16_t load565(const uint8_t* pixel) {
    return static_cast<uint16_t>(pixel[0] | pixel[1] << 8);
}
inline void store565(uint8_t* pixel, uint16_t colour) {
    pixel[0] = static_cast<uint8_t>(colour);
    pixel[1] = static_cast<uint8_t>(colour >> 8);
}

// Expansion by shifting alone: the low bits stay zero, so a round trip
// through pack565 is exact.
inline uint32_t blue8Of(uint16_t c) {
    return (c & 0x1Fu) << 3;
}
inline uint32_t green8Of(uint16_t c) {
    return (c >> 3) & 0xFCu;
}
inline uint32_t red8Of(uint16_t c) {
    return (c >> 8) & 0xF8u;
}

inline uint16_t pack565(uint32_t red8, uint32_t green8, uint32_t blue8) {
    return static_cast<uint16_t>((red8 >> 3) << 11 | (green8 >> 2) << 5 | blue8 >> 3);
}

// Channel values of a 0xRRGGBB colour, in screen byte order.
struct ColourChannels {
    uint32_t value[3];  // blue, green, red
};
inline ColourChannels channelsOf(uint32_t colour) {
    return {{colour & 0xFFu, (colour >> 8) & 0xFFu, (colour >> 16) & 0xFFu}};
}

// Level transfer: 0 black, 256 unchanged, 512 white. `level` must lie in 0..512.
inline uint32_t applyLevel(uint32_t x, int level) {
    if (level <= kNeutralLevel) return (x * static_cast<uint32_t>(level)) >> 8;
    const uint32_t offset = (static_cast<uint32_t>(level - kNeutralLevel) * 255u) >> 8;
    return offset + ((x * static_cast<uint32_t>(kMaxLevel - level)) >> 8);
}

inline int clampLevel(int level) {
    return level < 0 ? 0 : (level > kMaxLevel ? kMaxLevel : level);
}
inline int clampAlpha(int alpha) {
    return alpha < 0 ? 0 : (alpha > kOpaqueAlpha ? kOpaqueAlpha : alpha);
}

// Grey of a level for backgrounds and the screen-level entry; levels above
// 256 would overflow a byte, so they give white.
inline uint8_t greyOfLevel(int level) {
    const int grey = (clampLevel(level) * 255) >> 8;
    return static_cast<uint8_t>(grey > 255 ? 255 : grey);
}

}  // namespace zeku
