// PNG reading for the converter: every colour type ends as 24-bit
// blue-green-red or 32-bit with inverted alpha, sample values untouched.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "converter/pipeline/png_reader.h"
#include "tests/converter/picture_test_files.h"

namespace zeku {
namespace {

using test_support::makePng;
using test_support::PngLayout;

ConverterPicture decodeOk(const std::vector<uint8_t>& file) {
    ConverterPicture picture;
    std::string error;
    EXPECT_FALSE(file.empty());
    EXPECT_TRUE(decodePng(file.data(), file.size(), picture, error)) << error;
    return picture;
}

TEST(PngReader, RgbBecomesBlueGreenRedWithoutGamma) {
    PngLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.samples = {10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3, 128, 129, 130, 250, 251, 252};
    // A file gamma far from sRGB must not change the values.
    layout.fileGamma = 1.0;
    const ConverterPicture picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.width, 3);
    EXPECT_EQ(picture.height, 2);
    EXPECT_EQ(picture.bitsPerPixel, 24);
    EXPECT_EQ(picture.stride, 9u);
    EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{30, 20, 10, 60, 50, 40, 90, 80, 70, 3, 2, 1,
                                                    130, 129, 128, 252, 251, 250}));
    // Interlaced storage gives the same pixels.
    layout.interlaced = true;
    EXPECT_EQ(decodeOk(makePng(layout)).pixels, picture.pixels);
}

TEST(PngReader, AlphaIsInvertedSoOpaqueIsZero) {
    PngLayout layout;
    layout.width = 4;
    layout.height = 1;
    layout.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    layout.samples = {1, 2, 3, 255, 4, 5, 6, 0, 7, 8, 9, 100, 10, 11, 12, 254};
    const ConverterPicture picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.bitsPerPixel, 32);
    EXPECT_EQ(picture.pixels,
              (std::vector<uint8_t>{3, 2, 1, 0, 6, 5, 4, 255, 9, 8, 7, 155, 12, 11, 10, 1}));
}

TEST(PngReader, PaletteExpandsAndItsTransparencyBecomesAlpha) {
    PngLayout layout;
    layout.width = 4;
    layout.height = 1;
    layout.colorType = PNG_COLOR_TYPE_PALETTE;
    layout.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 8, 7};
    layout.samples = {3, 0, 2, 1};
    ConverterPicture picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.bitsPerPixel, 24);
    EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{7, 8, 9, 0, 0, 255, 255, 0, 0, 0, 255, 0}));

    // Alpha for the first two entries only; the rest are opaque.
    layout.paletteAlpha = {0, 200};
    picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.bitsPerPixel, 32);
    EXPECT_EQ(picture.pixels,
              (std::vector<uint8_t>{7, 8, 9, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 55}));

    // A 2-bit palette picture: four pixels in one byte.
    layout.paletteAlpha.clear();
    layout.bitDepth = 2;
    layout.samples = {0b11000110};
    picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{7, 8, 9, 0, 0, 255, 0, 255, 0, 255, 0, 0}));
}

TEST(PngReader, GreyBecomesThreeEqualChannels) {
    PngLayout layout;
    layout.width = 3;
    layout.height = 1;
    layout.colorType = PNG_COLOR_TYPE_GRAY;
    layout.samples = {0, 77, 255};
    layout.fileGamma = 0.5;
    ConverterPicture picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.bitsPerPixel, 24);
    EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{0, 0, 0, 77, 77, 77, 255, 255, 255}));

    // Grey with alpha.
    layout.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    layout.samples = {0, 255, 77, 0, 255, 30};
    picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.bitsPerPixel, 32);
    EXPECT_EQ(picture.pixels,
              (std::vector<uint8_t>{0, 0, 0, 0, 77, 77, 77, 255, 255, 255, 255, 225}));

    // 4-bit grey scales up to 8 bits (15 → 255), and a colour key makes
    // that one grey level clear.
    layout.colorType = PNG_COLOR_TYPE_GRAY;
    layout.bitDepth = 4;
    layout.samples = {0x0F, 0x50};  // 0, 15, 5 and a padding nibble
    layout.colourKey = true;
    layout.keyGrey = 5;
    picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.bitsPerPixel, 32);
    EXPECT_EQ(picture.pixels,
              (std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 0, 85, 85, 85, 255}));
}

TEST(PngReader, SixteenBitSamplesKeepTheirHighByte) {
    PngLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    layout.bitDepth = 16;
    // 0x12FF would round to 0x13; the high byte is 0x12.
    layout.samples = {0x12, 0xFF, 0x80, 0x80, 0x00, 0x01, 0xFF, 0xFF,
                      0xAB, 0x00, 0x01, 0xFF, 0xFE, 0xFF, 0x00, 0x00};
    ConverterPicture picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.bitsPerPixel, 32);
    EXPECT_EQ(picture.pixels,
              (std::vector<uint8_t>{0x00, 0x80, 0x12, 0x00, 0xFE, 0x01, 0xAB, 0xFF}));

    layout.colorType = PNG_COLOR_TYPE_GRAY;
    layout.samples = {0x7F, 0xFF, 0x01, 0x00};
    picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{0x7F, 0x7F, 0x7F, 0x01, 0x01, 0x01}));

    // An RGB colour key: that colour clear, the rest opaque.
    layout.colorType = PNG_COLOR_TYPE_RGB;
    layout.samples = {0x10, 0x00, 0x20, 0x00, 0x30, 0x00, 0x10, 0x00, 0x20, 0x00, 0x31, 0x00};
    layout.colourKey = true;
    layout.keyRed = 0x1000;
    layout.keyGreen = 0x2000;
    layout.keyBlue = 0x3000;
    picture = decodeOk(makePng(layout));
    EXPECT_EQ(picture.bitsPerPixel, 32);
    EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{0x30, 0x20, 0x10, 255, 0x31, 0x20, 0x10, 0}));
}

TEST(PngReader, RefusesDamagedAndOversizedFiles) {
    std::vector<uint8_t> samples(40 * 30 * 3);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<uint8_t>(i * 7919 >> 3);
    const std::vector<uint8_t> file = test_support::makeRgbPng(40, 30, 3, samples);
    ConverterPicture picture;
    std::string error;
    ASSERT_TRUE(decodePng(file.data(), file.size(), picture, error)) << error;

    // Cut before, inside and after the header, and inside the pixel data.
    for (size_t cut : {size_t{0}, size_t{8}, size_t{20}, size_t{40}, file.size() / 2}) {
        error.clear();
        EXPECT_FALSE(decodePng(file.data(), cut, picture, error)) << cut;
        EXPECT_NE(error.find("PNG"), std::string::npos) << error;
        EXPECT_TRUE(picture.pixels.empty());
    }
    std::vector<uint8_t> damaged = file;
    damaged[file.size() / 2] ^= 0x40;  // the data chunk's checksum no longer matches
    EXPECT_FALSE(decodePng(damaged.data(), damaged.size(), picture, error));

    EXPECT_FALSE(decodePng(file.data(), file.size(), picture, error, 40 * 30 - 1));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_TRUE(decodePng(file.data(), file.size(), picture, error, 40 * 30)) << error;
}

}  // namespace
}  // namespace zeku
