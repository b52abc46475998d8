// Image allocation and the operations between images. All of them clip to
// the destination so a careless caller cannot write outside the pixels.
#include "player/graphics/image.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/text/sjis.h"

namespace zeku {
namespace {

// The part of a w × h area at (x, y) that lies inside the image, as the
// clipped corner and size; false when nothing is left.
struct Area {
    int x, y, width, height;
    int skipX, skipY;  // how far the corner moved (into a source)
};

bool clipToImage(const Image& image, int x, int y, int width, int height, Area& area) {
    if (!image.pixels || width <= 0 || height <= 0) return false;
    const int right = std::min<long long>(static_cast<long long>(x) + width, image.stride);
    const int bottom = std::min<long long>(static_cast<long long>(y) + height, image.rows);
    area.x = std::max(x, 0);
    area.y = std::max(y, 0);
    area.skipX = area.x - x;
    area.skipY = area.y - y;
    area.width = right - area.x;
    area.height = bottom - area.y;
    return area.width > 0 && area.height > 0;
}

}  // namespace

bool createImage(Image& image, int width, int height, size_t roomBytes) {
    freeImage(image);
    if (width <= 0 || height <= 0 || width > kImageMaxSide || height > kImageMaxSide) return false;
    const size_t bytes = imagePixelBytes(width, height);
    if (bytes > roomBytes) return false;
    image.pixels.reset(new (std::nothrow) uint8_t[bytes]);
    if (!image.pixels) return false;
    std::memset(image.pixels.get(), 0, bytes);
    image.width = static_cast<uint32_t>(width);
    image.height = static_cast<uint32_t>(height);
    image.stride = width;
    image.rows = height;
    return true;
}

void freeImage(Image& image) {
    image.pixels.reset();
    image.width = image.height = 0;
    image.stride = image.rows = 0;
    image.name[0] = '\0';
}

void setImageName(Image& image, const char* name) {
    textCopy(image.name, sizeof image.name, name);
}

void clearImage(Image& image) {
    image.name[0] = '\0';
    if (!image.pixels) return;
    const size_t count = static_cast<size_t>(image.stride) * image.rows;
    uint8_t* p = image.pixels.get();
    for (size_t i = 0; i < count; ++i, p += k565aBytes) {
        p[0] = 0;
        p[1] = 0;
        p[2] = 255;
    }
}

void copyImage(Image& destination, const Image& source, int x, int y) {
    destination.name[0] = '\0';
    Area a;
    if (!source.pixels || !clipToImage(destination, x, y, static_cast<int>(source.width),
                                       static_cast<int>(source.height), a))
        return;
    for (int row = 0; row < a.height; ++row) {
        uint8_t* d = destination.pixel(a.x, a.y + row);
        const uint8_t* s = source.pixel(a.skipX, a.skipY + row);
        for (int col = 0; col < a.width; ++col, d += k565aBytes, s += k565aBytes) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = 255;
        }
    }
}

void blendImage(Image& destination, const Image& source, int x, int y) {
    destination.name[0] = '\0';
    Area a;
    if (!source.pixels || !clipToImage(destination, x, y, static_cast<int>(source.width),
                                       static_cast<int>(source.height), a))
        return;
    for (int row = 0; row < a.height; ++row) {
        uint8_t* d = destination.pixel(a.x, a.y + row);
        const uint8_t* s = source.pixel(a.skipX, a.skipY + row);
        for (int col = 0; col < a.width; ++col, d += k565aBytes, s += k565aBytes) {
            const uint32_t alpha = s[2];
            if (alpha == 0) continue;
            if (alpha == 255) {
                d[0] = s[0];
                d[1] = s[1];
            } else {
                const uint16_t sc = load565(s);
                const uint16_t dc = load565(d);
                const uint32_t rest = 256 - alpha;
                store565(d, pack565((red8Of(sc) * alpha + red8Of(dc) * rest) >> 8,
                                    (green8Of(sc) * alpha + green8Of(dc) * rest) >> 8,
                                    (blue8Of(sc) * alpha + blue8Of(dc) * rest) >> 8));
            }
            d[2] = 255;
        }
    }
}

void shadeImage(Image& image, int x, int y, int width, int height, uint32_t colour) {
    image.name[0] = '\0';
    if ((colour & 0xFFFFFFu) == 0) return;
    Area a;
    if (!clipToImage(image, x, y, width, height, a)) return;
    const ColourChannels c = channelsOf(colour);
    const uint32_t keepBlue = 256 - c.value[0];
    const uint32_t keepGreen = 256 - c.value[1];
    const uint32_t keepRed = 256 - c.value[2];
    for (int row = 0; row < a.height; ++row) {
        uint8_t* p = image.pixel(a.x, a.y + row);
        for (int col = 0; col < a.width; ++col, p += k565aBytes) {
            const uint32_t v = load565(p);
            const uint32_t blue5 = ((v & 0x1Fu) * keepBlue) >> 8;
            const uint32_t green6 = (((v >> 5) & 0x3Fu) * keepGreen) >> 8;
            const uint32_t red5 = ((v >> 11) * keepRed) >> 8;
            store565(p, static_cast<uint16_t>(red5 << 11 | green6 << 5 | blue5));
            p[2] = 255;
        }
    }
}

void greyImage(Image& image, int x, int y, int width, int height) {
    image.name[0] = '\0';
    Area a;
    if (!clipToImage(image, x, y, width, height, a)) return;
    for (int row = 0; row < a.height; ++row) {
        uint8_t* p = image.pixel(a.x, a.y + row);
        for (int col = 0; col < a.width; ++col, p += k565aBytes) {
            const uint16_t c = load565(p);
            const uint32_t v = (red8Of(c) + green8Of(c) + blue8Of(c)) / 3;
            store565(p, pack565(v, v, v));
            p[2] = 255;
        }
    }
}

}  // namespace zeku
