// Turns each ".rbp" type into colour and alpha planes: raw types are
// copied, JBP1 types decoded and cut from their macroblock padding.
#include "common/image/rbp_picture.h"

#include <cstring>
#include <new>

#include "common/bytes/byte_buffer.h"
#include "common/image/jbp1_decoder.h"

namespace zeku {

namespace {

template <typename T>
std::unique_ptr<T[]> allocate(size_t count) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[count == 0 ? 1 : count]);
}

void copyRaw(const RbpFile& file, size_t pixelCount, RbpPicture& picture) {
    const uint8_t* src = file.pixels;
    if (file.header.type == kRbpRaw) {
        for (size_t i = 0; i < pixelCount; ++i)
            picture.color[i] = loadLe16(src + 2 * i);
        std::memset(picture.alpha.get(), 255, pixelCount);
        return;
    }
    for (size_t i = 0; i < pixelCount; ++i) {
        picture.color[i] = loadLe16(src + 3 * i);
        picture.alpha[i] = src[3 * i + 2];
    }
}

Parsed<void> decodeStream(const RbpFile& file, size_t maxPixels, RbpPicture& picture) {
    Jbp1Geometry geometry;
    if (!jbp1ReadGeometry(file.stream, file.streamLength, geometry))
        return ParseError("picture stream has no valid header", file.streamOffset);
    if (geometry.width != picture.width || geometry.height != picture.height)
        return ParseError("picture stream size differs from the file's", file.streamOffset + 16);
    const size_t padded = static_cast<size_t>(geometry.paddedWidth) * geometry.paddedHeight;
    if (padded > maxPixels) return ParseError("picture too large to decode", 8);

    // Pictures already a whole number of macroblocks decode in place.
    const bool inPlace =
        geometry.paddedWidth == picture.width && geometry.paddedHeight == picture.height;
    std::unique_ptr<uint16_t[]> scratch;
    uint16_t* target = picture.color.get();
    if (!inPlace) {
        scratch = allocate<uint16_t>(padded);
        if (!scratch) return ParseError("out of memory for the picture", 0);
        target = scratch.get();
    }
    const Parsed<void> decoded = jbp1Decode(file.stream, file.streamLength, target, padded);
    if (!decoded) return decoded.error().movedBy(file.streamOffset);
    if (!inPlace) {
        for (int y = 0; y < picture.height; ++y)
            std::memcpy(picture.color.get() + static_cast<size_t>(y) * picture.width,
                        target + static_cast<size_t>(y) * geometry.paddedWidth,
                        static_cast<size_t>(picture.width) * sizeof(uint16_t));
    }
    const size_t pixelCount = static_cast<size_t>(picture.width) * picture.height;
    if (file.alpha != nullptr)
        std::memcpy(picture.alpha.get(), file.alpha, pixelCount);
    else
        std::memset(picture.alpha.get(), 255, pixelCount);
    return {};
}

}  // namespace

Parsed<void> decodeRbpPicture(const uint8_t* data, size_t size, RbpPicture& picture,
                              size_t maxPixels) {
    picture = RbpPicture{};
    RbpFile file;
    Parsed<void> parsed = parseRbpFile(data, size, file);
    if (!parsed) return parsed;
    picture.type = file.header.type;
    picture.width = static_cast<int>(file.header.width);
    picture.height = static_cast<int>(file.header.height);
    if (!file.knownType) return {};

    const size_t pixelCount = static_cast<size_t>(picture.width) * picture.height;
    if (pixelCount > maxPixels) return ParseError("picture too large to decode", 8);
    picture.color = allocate<uint16_t>(pixelCount);
    picture.alpha = allocate<uint8_t>(pixelCount);
    if (!picture.color || !picture.alpha) {
        picture = RbpPicture{};
        return ParseError("out of memory for the picture", 0);
    }
    if (file.stream != nullptr) {
        Parsed<void> decoded = decodeStream(file, maxPixels, picture);
        if (!decoded) {
            picture = RbpPicture{};
            return decoded;
        }
    } else {
        copyRaw(file, pixelCount, picture);
    }
    picture.hasPixels = true;
    return {};
}

}  // namespace zeku
