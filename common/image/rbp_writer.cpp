// Writing ".rbp" files: choosing the type, packing raw RGB565 pixels or
// coding the colour as JBP1, and appending the alpha plane where kept.
#include "common/image/rbp_writer.h"

#include "common/image/jbp1_encoder.h"
#include "common/image/rbp_file.h"

namespace zeku {

namespace {

uint16_t clampSide(int side) {
    if (side < 0) return 0;
    return side > 0xFFFF ? 0xFFFF : static_cast<uint16_t>(side);
}

void append565(std::vector<uint8_t>& out, const uint8_t* bgr) {
    const uint16_t c = rgb565FromBgr(bgr);
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
}

// JBP1 codes colour only; a 32-bit picture loses its alpha channel here
// and keeps it in the plane after the stream.
bool encodeColour(const RbpSourcePicture& p, int quality, std::vector<uint8_t>& stream) {
    if (p.bitsPerPixel == 24)
        return jbp1Encode(p.pixels, p.width, p.height, p.stride, quality, stream);
    std::vector<uint8_t> bgr(static_cast<size_t>(p.width) * p.height * 3);
    uint8_t* dst = bgr.data();
    for (int y = 0; y < p.height; ++y) {
        const uint8_t* src = p.pixels + static_cast<size_t>(y) * p.stride;
        for (int x = 0; x < p.width; ++x, src += 4, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    return jbp1Encode(bgr.data(), p.width, p.height, static_cast<size_t>(p.width) * 3, quality,
                      stream);
}

}  // namespace

int rbpJbp1Quality(int qualityItem) {
    switch (qualityItem) {
        case 1:
            return 100;
        case 2:
            return 90;
        case 3:
            return 80;
        default:
            return 0;
    }
}

uint32_t rbpTypeFor(int bitsPerPixel, int width, int height, int qualityItem) {
    if (bitsPerPixel != 24 && bitsPerPixel != 32) return 0;
    const bool coded = rbpJbp1Quality(qualityItem) != 0 && width >= kRbpSmallestCodedSide &&
                       height >= kRbpSmallestCodedSide;
    if (bitsPerPixel == 24) return coded ? kRbpJbp1 : kRbpRaw;
    return coded ? kRbpJbp1WithAlpha : kRbpRawWithAlpha;
}

bool encodeRbpPicture(const RbpSourcePicture& picture, int qualityItem,
                      std::vector<uint8_t>& file) {
    const int bytesPerPixel = picture.bitsPerPixel / 8;
    if (picture.pixels == nullptr || picture.width <= 0 || picture.height <= 0 ||
        picture.width > static_cast<int>(kRbpMaxSide) ||
        picture.height > static_cast<int>(kRbpMaxSide) || qualityItem < 0 ||
        qualityItem >= kRbpQualityItems)
        return false;
    RbpHeader header;
    header.type = rbpTypeFor(picture.bitsPerPixel, picture.width, picture.height, qualityItem);
    if (header.type == 0) return false;
    if (picture.stride < static_cast<size_t>(picture.width) * bytesPerPixel) return false;
    header.width = static_cast<uint32_t>(picture.width);
    header.height = static_cast<uint32_t>(picture.height);
    header.sourceWidth = clampSide(picture.sourceWidth);
    header.sourceHeight = clampSide(picture.sourceHeight);

    std::vector<uint8_t> stream;
    const bool coded = header.type == kRbpJbp1 || header.type == kRbpJbp1WithAlpha;
    if (coded) {
        if (!encodeColour(picture, rbpJbp1Quality(qualityItem), stream)) return false;
        header.streamLength = static_cast<uint32_t>(stream.size());
    }

    const size_t pixelCount = static_cast<size_t>(picture.width) * picture.height;
    file.assign(kRbpHeaderLength, 0);
    writeRbpHeader(header, file.data());
    if (coded) {
        file.reserve(kRbpHeaderLength + stream.size() +
                     (picture.bitsPerPixel == 32 ? pixelCount : 0));
        file.insert(file.end(), stream.begin(), stream.end());
        if (header.type == kRbpJbp1WithAlpha) {
            for (int y = 0; y < picture.height; ++y) {
                const uint8_t* row = picture.pixels + static_cast<size_t>(y) * picture.stride;
                for (int x = 0; x < picture.width; ++x)
                    file.push_back(row[4 * x + 3]);
            }
        }
        return true;
    }

    file.reserve(kRbpHeaderLength + pixelCount * (bytesPerPixel == 4 ? 3 : 2));
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* src = picture.pixels + static_cast<size_t>(y) * picture.stride;
        for (int x = 0; x < picture.width; ++x, src += bytesPerPixel) {
            append565(file, src);
            if (bytesPerPixel == 4) file.push_back(src[3]);
        }
    }
    return true;
}

}  // namespace zeku
