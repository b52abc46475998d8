// rbp2png and png2rbp. Stored alpha counts transparency (0 is opaque), the
// inverse of PNG's, exactly as the converter stores it; RGB565 widens to
// 8 bits by repeating its top bits, so narrowing again gives the same
// values and a raw picture survives any number of round trips.
#include "tools/zekupack/picture_commands.h"

#include <cstdio>
#include <vector>

#include "common/image/rbp_picture.h"
#include "common/image/rbp_writer.h"
#include "platform/api/file_system.h"
#include "platform/api/png_file.h"
#include "tools/zekupack/package_file.h"

namespace zeku {
namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "zekupack: %s\n", message.c_str());
    return 1;
}

bool hasAlphaPlane(uint32_t type) {
    return type == kRbpRawWithAlpha || type == kRbpRawWithAlphaToo || type == kRbpJbp1WithAlpha;
}

// The quality item for a JBP1 quality (0: raw), or -1.
int qualityItemFor(int quality) {
    for (int item = 0; item < kRbpQualityItems; ++item) {
        if (rbpJbp1Quality(item) == quality) return item;
    }
    return -1;
}

}  // namespace

int rbpToPng(const std::string& rbpPath, const std::string& pngPath) {
    const ByteBuffer file = readWholeFile(rbpPath.c_str());
    if (!file) return fail(cannotReadFile(rbpPath));
    RbpPicture picture;
    const Parsed<void> result = decodeRbpPicture(file.data(), file.size(), picture);
    if (!result)
        return fail(rbpPath + ": " + result.error().reason() + " (at byte " +
                    std::to_string(result.error().offset()) + ")");
    if (!picture.hasPixels)
        return fail(rbpPath + ": unknown picture type " + std::to_string(picture.type));

    const bool alpha = hasAlphaPlane(picture.type);
    const int channels = alpha ? 4 : 3;
    const size_t count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
    std::vector<uint8_t> pixels(count * static_cast<size_t>(channels));
    for (size_t i = 0; i < count; ++i) {
        const uint16_t c = picture.color[i];
        const unsigned r = c >> 11, g = (c >> 5) & 63, b = c & 31;
        uint8_t* out = &pixels[i * static_cast<size_t>(channels)];
        out[0] = static_cast<uint8_t>(r << 3 | r >> 2);
        out[1] = static_cast<uint8_t>(g << 2 | g >> 4);
        out[2] = static_cast<uint8_t>(b << 3 | b >> 2);
        if (alpha) out[3] = static_cast<uint8_t>(255 - picture.alpha[i]);
    }
    std::string error;
    const bool written =
        alpha ? writePngRgba(pngPath, picture.width, picture.height, pixels.data(), error)
              : writePngRgb(pngPath, picture.width, picture.height, pixels.data(), error);
    return written ? 0 : fail(error);
}

bool parsePictureQuality(const std::string& text, int& quality) {
    for (int item = 0; item < kRbpQualityItems; ++item) {
        if (text == std::to_string(rbpJbp1Quality(item))) {
            quality = rbpJbp1Quality(item);
            return true;
        }
    }
    return false;
}

int pngToRbp(const std::string& pngPath, const std::string& rbpPath, int quality) {
    const int qualityItem = qualityItemFor(quality);
    if (qualityItem < 0) return fail("quality must be 0, 100, 90 or 80");

    PngPicture png;
    std::string error;
    if (!readPng(pngPath, png, error)) return fail(error);
    if (png.width > 0xFFFF || png.height > 0xFFFF) return fail(pngPath + ": picture too large");

    // The converter's working form: blue-green-red(-alpha), alpha inverted.
    const size_t count = static_cast<size_t>(png.width) * static_cast<size_t>(png.height);
    const size_t channels = static_cast<size_t>(png.channels);
    std::vector<uint8_t> bgr(count * channels);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* in = &png.pixels[i * channels];
        uint8_t* out = &bgr[i * channels];
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        if (channels == 4) out[3] = static_cast<uint8_t>(255 - in[3]);
    }
    RbpSourcePicture source;
    source.pixels = bgr.data();
    source.width = png.width;
    source.height = png.height;
    source.stride = static_cast<size_t>(png.width) * channels;
    source.bitsPerPixel = static_cast<int>(channels * 8);
    source.sourceWidth = png.width;
    source.sourceHeight = png.height;
    std::vector<uint8_t> rbp;
    if (!encodeRbpPicture(source, qualityItem, rbp)) return fail(pngPath + ": cannot encode");

    AtomicFileWriter writer;
    if (!writer.open(rbpPath, error)) return fail(error);
    writer.write(rbp.data(), rbp.size());  // a failure surfaces in commit()
    if (!writer.commit(error)) return fail(error);
    return 0;
}

}  // namespace zeku
