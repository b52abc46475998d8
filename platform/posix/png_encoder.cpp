// In-memory PNG encoding through libpng: IHDR, the caller's text chunks,
// IDAT and IEND only, so the bytes depend on nothing but what the caller
// gives (no time chunk, no gamma guess).
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/api/png_encoder.h"

namespace zeku {
namespace {

// Far larger than any picture a tool makes; keeps the row arithmetic in range.
constexpr int kLargestSide = 1 << 15;

struct MemorySink {
    std::vector<uint8_t>* bytes;
    char message[200];
};

void onError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<MemorySink*>(png_get_error_ptr(png));
    std::snprintf(sink->message, sizeof sink->message, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<MemorySink*>(png_get_io_ptr(png));
    sink->bytes->insert(sink->bytes->end(), data, data + length);
}

void onFlush(png_structp) {}

// libpng reports errors by longjmp, which skips destructors: between setjmp
// and the end this function holds only plain pointers and integers, and the
// vector it appends to lives in the caller's frame.
bool encodeRows(int width, int height, int channels, const uint8_t* pixels, png_textp texts,
                int textCount, MemorySink* sink) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, sink, onError, onWarning);
    if (png == nullptr) {
        std::snprintf(sink->message, sizeof sink->message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(sink->message, sizeof sink->message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, sink, onWrite, onFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // zlib level 3 writes about a tenth more bytes than the default level 6
    // in well under half the time; these pictures are tool output, made by
    // the hundred.
    png_set_compression_level(png, 3);
    if (textCount > 0) png_set_text(png, info, texts, textCount);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(channels);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels + stride * static_cast<size_t>(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool validKeyword(const std::string& keyword) {
    if (keyword.empty() || keyword.size() > 79) return false;
    for (const char c : keyword) {
        if (c < ' ' || c > '~') return false;
    }
    return true;
}

bool encodePng(int width, int height, int channels, const uint8_t* pixels,
               const std::vector<PngText>& texts, std::vector<uint8_t>& out, std::string& error) {
    out.clear();
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
        error = "cannot encode PNG: picture size " + std::to_string(width) + " x " +
                std::to_string(height) + " out of range";
        return false;
    }
    if (pixels == nullptr) {
        error = "cannot encode PNG: no pixels";
        return false;
    }
    // libpng copies the texts; the records only point into `texts`.
    std::vector<png_text> chunks(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        if (!validKeyword(texts[i].keyword) || texts[i].text.find('\0') != std::string::npos) {
            error = "cannot encode PNG: bad text chunk \"" + texts[i].keyword + "\"";
            return false;
        }
        chunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
        chunks[i].key = const_cast<char*>(texts[i].keyword.c_str());
        chunks[i].text = const_cast<char*>(texts[i].text.c_str());
        chunks[i].text_length = texts[i].text.size();
    }
    MemorySink sink{&out, {}};
    if (!encodeRows(width, height, channels, pixels, chunks.data(), static_cast<int>(chunks.size()),
                    &sink)) {
        out.clear();
        error = std::string("cannot encode PNG: ") + sink.message;
        return false;
    }
    return true;
}

}  // namespace

bool encodePngRgb(int width, int height, const uint8_t* rgb, std::vector<uint8_t>& out,
                  std::string& error, const std::vector<PngText>& texts) {
    return encodePng(width, height, 3, rgb, texts, out, error);
}

bool encodePngRgba(int width, int height, const uint8_t* rgba, std::vector<uint8_t>& out,
                   std::string& error, const std::vector<PngText>& texts) {
    return encodePng(width, height, 4, rgba, texts, out, error);
}

}  // namespace zeku
