// Builders for the picture fixtures: bitmaps byte by byte, PNGs through
// libpng's writer into memory.
#include "tests/converter/picture_test_files.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace zeku::test_support {

namespace {

void put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}

void put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    put16(out, at, v & 0xFFFF);
    put16(out, at + 2, v >> 16);
}

// Masks go inside headers of 52 bytes and more, behind a 40-byte one.
size_t masksBehindHeader(const BmpLayout& layout) {
    return layout.headerLength == 40 ? layout.masks.size() * 4 : 0;
}

void appendToVector(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

// libpng leaves by longjmp on errors: only plain data lives in this frame.
bool writePng(const PngLayout* layout, std::vector<uint8_t>* out, png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, appendToVector, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(layout->width),
                 static_cast<png_uint_32>(layout->height), layout->bitDepth, layout->colorType,
                 layout->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    const int entries = static_cast<int>(layout->palette.size() / 3);
    for (int i = 0; i < entries && i < 256; ++i)
        palette[i] = png_color{layout->palette[3 * i], layout->palette[3 * i + 1],
                               layout->palette[3 * i + 2]};
    if (entries > 0) png_set_PLTE(png, info, palette, entries);
    png_color_16 key{};
    key.red = layout->keyRed;
    key.green = layout->keyGreen;
    key.blue = layout->keyBlue;
    key.gray = layout->keyGrey;
    if (!layout->paletteAlpha.empty())
        png_set_tRNS(png, info, layout->paletteAlpha.data(),
                     static_cast<int>(layout->paletteAlpha.size()), nullptr);
    else if (layout->colourKey)
        png_set_tRNS(png, info, nullptr, 0, &key);
    if (layout->fileGamma != 0) png_set_gAMA(png, info, layout->fileGamma);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

size_t bmpPixelOffset(const BmpLayout& layout) {
    return 14 + layout.headerLength + masksBehindHeader(layout) + layout.palette.size();
}

std::vector<uint8_t> makeBmp(const BmpLayout& layout) {
    const int rows = layout.height < 0 ? -layout.height : layout.height;
    const size_t rowBytes = static_cast<size_t>(layout.width) * (layout.bitsPerPixel / 8);
    const size_t stride = (rowBytes + 3) & ~size_t{3};
    const size_t pixelOffset = bmpPixelOffset(layout);
    std::vector<uint8_t> out(pixelOffset, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 10, static_cast<uint32_t>(pixelOffset));
    put32(out, 14, layout.headerLength);
    put32(out, 18, static_cast<uint32_t>(layout.width));
    put32(out, 22, static_cast<uint32_t>(layout.height));
    put16(out, 26, 1);
    put16(out, 28, static_cast<uint32_t>(layout.bitsPerPixel));
    put32(out, 30, layout.compression);
    put32(out, 34, static_cast<uint32_t>(stride * rows));
    put32(out, 46, layout.coloursUsed);
    for (size_t i = 0; i < layout.masks.size(); ++i)
        put32(out, 54 + 4 * i, layout.masks[i]);
    if (!layout.palette.empty())
        std::memcpy(out.data() + 14 + layout.headerLength + masksBehindHeader(layout),
                    layout.palette.data(), layout.palette.size());
    for (int i = 0; i < rows; ++i) {
        const int y = layout.height < 0 ? i : rows - 1 - i;
        const uint8_t* row = layout.pixels.data() + rowBytes * y;
        out.insert(out.end(), row, row + rowBytes);
        if (i + 1 < rows || layout.padLastRow) out.insert(out.end(), stride - rowBytes, 0xEE);
    }
    put32(out, 2, static_cast<uint32_t>(out.size()));
    return out;
}

std::vector<uint8_t> makePng(const PngLayout& layout) {
    std::vector<uint8_t> samples = layout.samples;
    const size_t rowBytes = samples.size() / static_cast<size_t>(layout.height);
    std::vector<png_bytep> rows(static_cast<size_t>(layout.height));
    for (int y = 0; y < layout.height; ++y)
        rows[y] = samples.data() + rowBytes * y;
    std::vector<uint8_t> out;
    if (!writePng(&layout, &out, rows.data())) out.clear();
    return out;
}

std::vector<uint8_t> makeRgbPng(int width, int height, int channels,
                                const std::vector<uint8_t>& samples) {
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colorType = channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    layout.samples = samples;
    return makePng(layout);
}

}  // namespace zeku::test_support
