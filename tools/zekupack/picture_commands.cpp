// rbp2png and png2rbp. Stored alpha counts transparency (0 is opaque), the
// inverse of PNG's, exactly as the converter stores it; RGB565 widens to
// 8 bits by repeating its top bits, so narrowing again gives the same
// values and a raw picture survives any number of round trips. The size
// before scaling, kept in the header, travels in a PNG text chunk.
#include "tools/zekupack/picture_commands.h"

#include <charconv>
#include <cstdio>
#include <string_view>
#include <vector>

#include "common/image/rbp_file.h"
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

// The header's size of the picture before the converter scaled it has no
// place among a PNG's pixels; a text chunk carries it, together with the
// size it goes with, so a picture resized in between is taken as new.
constexpr char kSourceSizeKeyword[] = "Zeku source size";

std::string sourceSizeText(const RbpHeader& header) {
    return std::to_string(header.sourceWidth) + "x" + std::to_string(header.sourceHeight) +
           " for " + std::to_string(header.width) + "x" + std::to_string(header.height);
}

// "WxH" at `text`: true with both values when they are decimal numbers
// within `limit`, and `text` moved past them.
bool readSize(std::string_view& text, uint32_t limit, uint32_t& width, uint32_t& height) {
    uint32_t* values[2] = {&width, &height};
    for (int i = 0; i < 2; ++i) {
        if (i == 1) {
            if (text.empty() || text.front() != 'x') return false;
            text.remove_prefix(1);
        }
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *values[i]);
        if (ec != std::errc() || *values[i] > limit) return false;
        text.remove_prefix(static_cast<size_t>(end - text.data()));
    }
    return true;
}

// The source size recorded by rbp2png for a picture of exactly this size;
// otherwise the picture is its own source.
void takeSourceSize(const PngPicture& png, RbpSourcePicture& source) {
    source.sourceWidth = png.width;
    source.sourceHeight = png.height;
    for (const PngText& chunk : png.texts) {
        if (chunk.keyword != kSourceSizeKeyword) continue;
        std::string_view text = chunk.text;
        uint32_t sourceWidth = 0, sourceHeight = 0, width = 0, height = 0;
        if (!readSize(text, 0xFFFF, sourceWidth, sourceHeight) || text.substr(0, 5) != " for ")
            return;
        text.remove_prefix(5);
        if (!readSize(text, kRbpMaxSide, width, height) || !text.empty()) return;
        if (width != static_cast<uint32_t>(png.width) ||
            height != static_cast<uint32_t>(png.height))
            return;
        source.sourceWidth = static_cast<int>(sourceWidth);
        source.sourceHeight = static_cast<int>(sourceHeight);
        return;
    }
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
    RbpFile parsed;
    if (!parseRbpFile(file.data(), file.size(), parsed)) return fail(rbpPath + ": damaged header");
    const std::vector<PngText> texts = {{kSourceSizeKeyword, sourceSizeText(parsed.header)}};

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
        alpha ? writePngRgba(pngPath, picture.width, picture.height, pixels.data(), error, texts)
              : writePngRgb(pngPath, picture.width, picture.height, pixels.data(), error, texts);
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
    takeSourceSize(png, source);
    std::vector<uint8_t> rbp;
    if (!encodeRbpPicture(source, qualityItem, rbp)) return fail(pngPath + ": cannot encode");

    AtomicFileWriter writer;
    if (!writer.open(rbpPath, error)) return fail(error);
    writer.write(rbp.data(), rbp.size());  // a failure surfaces in commit()
    if (!writer.commit(error)) return fail(error);
    return 0;
}

}  // namespace zeku
