// The pixel primitives. Rectangle primitives map each screen byte through a
// per-channel function; large areas tabulate it first so the pixel loop
// does no arithmetic beyond a lookup.
#include "player/graphics/blitters.h"

#include <cstring>

#include "player/graphics/image.h"
#include "player/graphics/pixel_format.h"

namespace zeku {
namespace {

// Below this many pixels building three 256-entry tables costs more than
// computing each byte directly.
constexpr long kTableMinPixels = 256;

uint8_t* pixelAt(uint8_t* base, int rowPixels, int x, int y) {
    return base + (static_cast<ptrdiff_t>(y) * rowPixels + x) * kScreenPixelBytes;
}

// Applies byteFor(channel, d) to every byte of the area (channel 0 blue,
// 1 green, 2 red).
template <typename ByteFor>
void mapChannels(uint8_t* dst, int rowPixels, int width, int height, ByteFor byteFor) {
    if (width <= 0 || height <= 0) return;
    const ptrdiff_t rowBytes = static_cast<ptrdiff_t>(rowPixels) * kScreenPixelBytes;
    if (static_cast<long>(width) * height < kTableMinPixels) {
        for (int y = 0; y < height; ++y, dst += rowBytes) {
            uint8_t* p = dst;
            for (int x = 0; x < width; ++x, p += kScreenPixelBytes) {
                p[0] = static_cast<uint8_t>(byteFor(0, p[0]));
                p[1] = static_cast<uint8_t>(byteFor(1, p[1]));
                p[2] = static_cast<uint8_t>(byteFor(2, p[2]));
            }
        }
        return;
    }
    uint8_t table[3][256];
    for (int c = 0; c < 3; ++c)
        for (uint32_t d = 0; d < 256; ++d)
            table[c][d] = static_cast<uint8_t>(byteFor(c, d));
    for (int y = 0; y < height; ++y, dst += rowBytes) {
        uint8_t* p = dst;
        for (int x = 0; x < width; ++x, p += kScreenPixelBytes) {
            p[0] = table[0][p[0]];
            p[1] = table[1][p[1]];
            p[2] = table[2][p[2]];
        }
    }
}

// (A × c) >> 8 per channel: the scaled colour of the blend and add primitives.
ColourChannels scaledChannels(uint32_t colour, int alpha) {
    ColourChannels c = channelsOf(colour);
    for (uint32_t& v : c.value)
        v = (v * static_cast<uint32_t>(alpha)) >> 8;
    return c;
}

uint32_t blendByte(uint32_t scaledColour, uint32_t d, int alpha) {
    return (scaledColour + ((d * static_cast<uint32_t>(256 - alpha)) >> 8)) & 0xFFu;
}

uint32_t saturatedAdd(uint32_t d, uint32_t c) {
    const uint32_t sum = d + c;
    return sum > 255 ? 255 : sum;
}

}  // namespace

void blitImage(uint8_t* dst, int dstRowPixels, int width, int height, const uint8_t* src,
               int srcRowPixels) {
    const ptrdiff_t dstRow = static_cast<ptrdiff_t>(dstRowPixels) * kScreenPixelBytes;
    const ptrdiff_t srcRow = static_cast<ptrdiff_t>(srcRowPixels) * k565aBytes;
    for (int y = 0; y < height; ++y, dst += dstRow, src += srcRow) {
        uint8_t* d = dst;
        const uint8_t* s = src;
        for (int x = 0; x < width; ++x, d += kScreenPixelBytes, s += k565aBytes) {
            const uint32_t a = s[2];
            if (a == 0) continue;
            const uint16_t c = load565(s);
            if (a == 255) {
                d[0] = static_cast<uint8_t>(blue8Of(c));
                d[1] = static_cast<uint8_t>(green8Of(c));
                d[2] = static_cast<uint8_t>(red8Of(c));
                continue;
            }
            const uint32_t rest = 256 - a;
            d[0] = static_cast<uint8_t>((blue8Of(c) * a + d[0] * rest) >> 8);
            d[1] = static_cast<uint8_t>((green8Of(c) * a + d[1] * rest) >> 8);
            d[2] = static_cast<uint8_t>((red8Of(c) * a + d[2] * rest) >> 8);
        }
    }
}

void blitImageFaded(uint8_t* dst, int dstRowPixels, int width, int height, const uint8_t* src,
                    int srcRowPixels, int opacity) {
    // Weight 0 gives (d × 256) >> 8 = d everywhere: nothing to do.
    if (opacity <= 0) return;
    const uint32_t p = static_cast<uint32_t>(opacity > 255 ? 255 : opacity);
    const ptrdiff_t dstRow = static_cast<ptrdiff_t>(dstRowPixels) * kScreenPixelBytes;
    const ptrdiff_t srcRow = static_cast<ptrdiff_t>(srcRowPixels) * k565aBytes;
    for (int y = 0; y < height; ++y, dst += dstRow, src += srcRow) {
        uint8_t* d = dst;
        const uint8_t* s = src;
        for (int x = 0; x < width; ++x, d += kScreenPixelBytes, s += k565aBytes) {
            const uint32_t a = s[2];
            if (a == 0) continue;
            const uint32_t g = a == 255 ? p : (p * a) >> 8;
            const uint32_t rest = 256 - g;
            const uint16_t c = load565(s);
            d[0] = static_cast<uint8_t>((blue8Of(c) * g + d[0] * rest) >> 8);
            d[1] = static_cast<uint8_t>((green8Of(c) * g + d[1] * rest) >> 8);
            d[2] = static_cast<uint8_t>((red8Of(c) * g + d[2] * rest) >> 8);
        }
    }
}

void fillRect(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour) {
    if (width <= 0 || height <= 0) return;
    const ColourChannels c = channelsOf(colour);
    uint8_t* first = dst;
    for (int x = 0; x < width; ++x) {
        uint8_t* p = first + static_cast<ptrdiff_t>(x) * kScreenPixelBytes;
        p[0] = static_cast<uint8_t>(c.value[0]);
        p[1] = static_cast<uint8_t>(c.value[1]);
        p[2] = static_cast<uint8_t>(c.value[2]);
    }
    const size_t rowBytes = static_cast<size_t>(width) * kScreenPixelBytes;
    for (int y = 1; y < height; ++y)
        std::memcpy(pixelAt(dst, dstRowPixels, 0, y), first, rowBytes);
}

void fillBlend(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour, int alpha) {
    const ColourChannels c = scaledChannels(colour, alpha);
    mapChannels(dst, dstRowPixels, width, height,
                [&](int ch, uint32_t d) { return blendByte(c.value[ch], d, alpha); });
}

void fillLevel(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour, int level) {
    // The same value for every pixel: a plain fill of the levelled colour.
    const ColourChannels c = channelsOf(colour);
    const uint32_t levelled = applyLevel(c.value[2], level) << 16 |
                              applyLevel(c.value[1], level) << 8 | applyLevel(c.value[0], level);
    fillRect(dst, dstRowPixels, width, height, levelled);
}

void fillBlendLevel(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour,
                    int alpha, int level) {
    const ColourChannels c = scaledChannels(colour, alpha);
    mapChannels(dst, dstRowPixels, width, height, [&](int ch, uint32_t d) {
        return applyLevel(blendByte(c.value[ch], d, alpha), level);
    });
}

void addRect(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour) {
    const ColourChannels c = channelsOf(colour);
    mapChannels(dst, dstRowPixels, width, height,
                [&](int ch, uint32_t d) { return saturatedAdd(d, c.value[ch]); });
}

void addScaled(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour, int alpha) {
    const ColourChannels c = scaledChannels(colour, alpha);
    mapChannels(dst, dstRowPixels, width, height,
                [&](int ch, uint32_t d) { return saturatedAdd(d, c.value[ch]); });
}

void addLevel(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour, int level) {
    const ColourChannels c = channelsOf(colour);
    mapChannels(dst, dstRowPixels, width, height, [&](int ch, uint32_t d) {
        return applyLevel(saturatedAdd(d, c.value[ch]), level);
    });
}

void addScaledLevel(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour,
                    int alpha, int level) {
    const ColourChannels c = scaledChannels(colour, alpha);
    mapChannels(dst, dstRowPixels, width, height, [&](int ch, uint32_t d) {
        return applyLevel(saturatedAdd(d, c.value[ch]), level);
    });
}

void fillScreenRect(uint8_t* pixels, int rowPixels, ScreenRect rect, uint32_t colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    fillRect(pixelAt(pixels, rowPixels, rect.left, rect.top), rowPixels, rect.right - rect.left,
             rect.bottom - rect.top, colour);
}

void drawImageEntry(const Image& image, uint8_t* screenPixels, int screenWidth, int x, int y,
                    ScreenRect source, int opacity) {
    const int width = source.right - source.left;
    const int height = source.bottom - source.top;
    if (width <= 0 || height <= 0 || !image.pixels) return;
    uint8_t* dst = pixelAt(screenPixels, screenWidth, x, y);
    const uint8_t* src = image.pixel(source.left, source.top);
    if (opacity == kOpaqueAlpha) {
        blitImage(dst, screenWidth, width, height, src, image.stride);
    } else {
        blitImageFaded(dst, screenWidth, width, height, src, image.stride,
                       opacity < 0 ? 0 : (opacity > 255 ? 255 : opacity));
    }
}

void drawRectEntry(uint32_t colour, uint8_t* screenPixels, int screenWidth, int x, int y,
                   ScreenRect rect, int alpha, int level) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    alpha = clampAlpha(alpha);
    level = clampLevel(level);
    uint8_t* dst = pixelAt(screenPixels, screenWidth, x, y);
    if (alpha == kOpaqueAlpha) {
        if (level == kNeutralLevel) {
            fillRect(dst, screenWidth, width, height, colour);
        } else {
            fillLevel(dst, screenWidth, width, height, colour, level);
        }
    } else if (level == kNeutralLevel) {
        fillBlend(dst, screenWidth, width, height, colour, alpha);
    } else {
        fillBlendLevel(dst, screenWidth, width, height, colour, alpha, level);
    }
}

void addRectEntry(uint32_t colour, uint8_t* screenPixels, int screenWidth, int x, int y,
                  ScreenRect rect, int alpha, int level) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    alpha = clampAlpha(alpha);
    level = clampLevel(level);
    uint8_t* dst = pixelAt(screenPixels, screenWidth, x, y);
    if (alpha == kOpaqueAlpha) {
        if (level == kNeutralLevel) {
            addRect(dst, screenWidth, width, height, colour);
        } else {
            addLevel(dst, screenWidth, width, height, colour, level);
        }
    } else if (level == kNeutralLevel) {
        addScaled(dst, screenWidth, width, height, colour, alpha);
    } else {
        addScaledLevel(dst, screenWidth, width, height, colour, alpha, level);
    }
}

}  // namespace zeku
