// Bitmap reading: row order, padding and palettes come out right, and
// headers that lie about sizes are refused before anything is read.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "converter/pipeline/bmp_reader.h"
#include "tests/converter/picture_test_files.h"

namespace zeku {
namespace {

using test_support::BmpLayout;
using test_support::makeBmp;

// Distinct bytes everywhere, so swapped rows, channels or a skipped
// padding byte all show.
std::vector<uint8_t> countingBytes(size_t n, uint8_t from = 1) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(from + i);
    return v;
}

void storeLe32At(std::vector<uint8_t>& file, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        file[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(BmpReader, OddWidthRowsComeOutTopDownWithoutPadding) {
    for (int height : {3, -3}) {  // bottom-up and top-down storage
        BmpLayout layout;
        layout.width = 5;  // 15 bytes a row, one padding byte
        layout.height = height;
        layout.pixels = countingBytes(5 * 3 * 3);
        ConverterPicture picture;
        std::string error;
        const std::vector<uint8_t> file = makeBmp(layout);
        ASSERT_TRUE(decodeBmp(file.data(), file.size(), picture, error)) << error;
        EXPECT_EQ(picture.width, 5);
        EXPECT_EQ(picture.height, 3);
        EXPECT_EQ(picture.bitsPerPixel, 24);
        EXPECT_EQ(picture.stride, 15u);
        EXPECT_EQ(picture.pixels, layout.pixels) << height;
    }
}

TEST(BmpReader, ThirtyTwoBitAlphaIsKeptAsStored) {
    BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.bitsPerPixel = 32;
    layout.pixels = countingBytes(3 * 2 * 4, 200);  // alpha bytes 203, 207, ...
    std::vector<uint8_t> file = makeBmp(layout);
    ConverterPicture picture;
    std::string error;
    ASSERT_TRUE(decodeBmp(file.data(), file.size(), picture, error)) << error;
    EXPECT_EQ(picture.bitsPerPixel, 32);
    EXPECT_EQ(picture.pixels, layout.pixels);

    // The same through a 124-byte header with plain bitfield masks.
    layout.headerLength = 124;
    layout.compression = 3;
    layout.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    file = makeBmp(layout);
    ASSERT_TRUE(decodeBmp(file.data(), file.size(), picture, error)) << error;
    EXPECT_EQ(picture.pixels, layout.pixels);
    // Masks that would need bit shuffling are refused.
    layout.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    file = makeBmp(layout);
    EXPECT_FALSE(decodeBmp(file.data(), file.size(), picture, error));
    EXPECT_NE(error.find("mask"), std::string::npos) << error;
}

TEST(BmpReader, EightBitPicturesLookUpTheirPalette) {
    BmpLayout layout;
    layout.width = 3;  // one byte a pixel: one padding byte a row
    layout.height = 2;
    layout.bitsPerPixel = 8;
    // Count 0 means 256 entries; entry i is (i, 255 - i, i ^ 0x55, unused).
    for (int i = 0; i < 256; ++i)
        layout.palette.insert(layout.palette.end(),
                              {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                               static_cast<uint8_t>(i ^ 0x55), 0x99});
    layout.pixels = {0, 7, 255, 128, 1, 2};
    std::vector<uint8_t> file = makeBmp(layout);
    ConverterPicture picture;
    std::string error;
    ASSERT_TRUE(decodeBmp(file.data(), file.size(), picture, error)) << error;
    EXPECT_EQ(picture.bitsPerPixel, 24);
    std::vector<uint8_t> expected;
    for (uint8_t index : layout.pixels)
        expected.insert(expected.end(), {index, static_cast<uint8_t>(255 - index),
                                         static_cast<uint8_t>(index ^ 0x55)});
    EXPECT_EQ(picture.pixels, expected);

    // A two-colour palette: indexes past it are black.
    layout.palette.resize(2 * 4);
    layout.coloursUsed = 2;
    layout.pixels = {1, 0, 9, 0, 1, 200};
    file = makeBmp(layout);
    ASSERT_TRUE(decodeBmp(file.data(), file.size(), picture, error)) << error;
    EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{1, 254, 0x54, 0, 255, 0x55, 0, 0, 0,  //
                                                    0, 255, 0x55, 1, 254, 0x54, 0, 0, 0}));
}

TEST(BmpReader, AcceptsAMissingLastRowPadding) {
    BmpLayout layout;
    layout.width = 1;
    layout.height = 2;
    layout.pixels = {1, 2, 3, 4, 5, 6};
    layout.padLastRow = false;
    const std::vector<uint8_t> file = makeBmp(layout);
    ConverterPicture picture;
    std::string error;
    ASSERT_TRUE(decodeBmp(file.data(), file.size(), picture, error)) << error;
    EXPECT_EQ(picture.pixels, layout.pixels);
    // One byte less and the first stored row is incomplete.
    EXPECT_FALSE(decodeBmp(file.data(), file.size() - 1, picture, error));
}

// Each case is a small valid 8-bit picture with one field made hostile.
TEST(BmpReader, RefusesHeadersThatDoNotFitTheFile) {
    BmpLayout layout;
    layout.width = 4;
    layout.height = 4;
    layout.bitsPerPixel = 8;
    layout.coloursUsed = 4;
    layout.palette = countingBytes(4 * 4);
    layout.pixels = std::vector<uint8_t>(16, 3);
    const std::vector<uint8_t> good = makeBmp(layout);
    const size_t pixelOffset = test_support::bmpPixelOffset(layout);

    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
        const char* mentions;
    };
    const Case cases[] = {
        {"huge width × height", 18, 60000, "too large"},  // with height 60000 below
        {"width above 65535", 18, 70000, "65535"},
        {"zero width", 18, 0, "empty"},
        {"zero height", 22, 0, "empty"},
        {"most negative height", 22, 0x80000000u, "65535"},
        {"pixel offset past the end", 10, 0x7FFFFFF0u, "past the end"},
        {"pixel offset near the end", 10, static_cast<uint32_t>(good.size() - 4), "past the end"},
        {"palette count too big", 46, 300, "palette"},
        {"palette past the end", 46, 256, "palette"},
        {"core header", 14, 12, "header"},
        {"header past the end", 14, 5000, "header"},
        {"run-length coded", 30, 1, "RLE"},
        {"16 bits per pixel", 28, 16, "16 bits"},
        {"1 bit per pixel", 28, 1, "1 bits"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file = good;
        storeLe32At(file, c.at, c.value);
        if (c.at == 28) file[30] = 0;  // the depth field is 16 bits wide
        if (c.at == 18 && c.value == 60000) storeLe32At(file, 22, 60000);
        ConverterPicture picture;
        std::string error;
        EXPECT_FALSE(decodeBmp(file.data(), file.size(), picture, error)) << c.what;
        EXPECT_NE(error.find(c.mentions), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(picture.pixels.empty()) << c.what;
    }

    ConverterPicture picture;
    std::string error;
    // A valid file cut anywhere is refused, never over-read.
    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(decodeBmp(good.data(), cut, picture, error)) << cut;
    std::vector<uint8_t> notBm = good;
    notBm[1] = 'A';
    EXPECT_FALSE(decodeBmp(notBm.data(), notBm.size(), picture, error));
    EXPECT_EQ(pixelOffset, 14u + 40u + 16u);
    // The pixel-count limit is the caller's.
    EXPECT_FALSE(decodeBmp(good.data(), good.size(), picture, error, 15));
    EXPECT_TRUE(decodeBmp(good.data(), good.size(), picture, error, 16)) << error;
}

}  // namespace
}  // namespace zeku
