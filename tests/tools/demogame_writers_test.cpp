// The file writers behind the demo game, read back by independent code:
// PNG through libpng, BMP and WAV field by field.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/bytes/byte_buffer.h"
#include "platform/api/png_encoder.h"
#include "platform/api/png_file.h"
#include "tests/tools/demogame_test_support.h"
#include "tools/demogame/bmp_writer.h"
#include "tools/demogame/palette.h"
#include "tools/demogame/random.h"
#include "tools/demogame/wav_writer.h"

namespace zeku {
namespace {

using test_support::findChunk;
using test_support::RiffChunk;
using test_support::walkRiff;

std::vector<uint8_t> randomBytes(size_t count, uint64_t seed) {
    demo::Random random(seed);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(random.next());
    return bytes;
}

TEST(PngEncoder, RgbAndRgbaComeBackExactlyThroughLibpng) {
    // Odd sizes, and alpha covering 0, 255 and everything between.
    for (int channels : {3, 4}) {
        const int width = 37;
        const int height = 23;
        std::vector<uint8_t> pixels =
            randomBytes(static_cast<size_t>(width) * height * channels, 7);
        if (channels == 4) {
            pixels[3] = 0;
            pixels[7] = 255;
        }
        std::vector<uint8_t> png;
        std::string error;
        const bool encoded = channels == 3
                                 ? encodePngRgb(width, height, pixels.data(), png, error)
                                 : encodePngRgba(width, height, pixels.data(), png, error);
        ASSERT_TRUE(encoded) << error;
        PngPicture picture;
        ASSERT_TRUE(readPngMemory(png.data(), png.size(), picture, error)) << error;
        EXPECT_EQ(picture.width, width);
        EXPECT_EQ(picture.height, height);
        EXPECT_EQ(picture.channels, channels);
        EXPECT_EQ(picture.pixels, pixels);

        std::vector<uint8_t> again;
        ASSERT_TRUE(channels == 3 ? encodePngRgb(width, height, pixels.data(), again, error)
                                  : encodePngRgba(width, height, pixels.data(), again, error));
        EXPECT_EQ(again, png) << "same pixels must give the same file";
    }
}

TEST(PngEncoder, RefusesEmptyOrMissingPictures) {
    const std::vector<uint8_t> pixels(12, 0);
    std::vector<uint8_t> png = {1, 2, 3};
    std::string error;
    EXPECT_FALSE(encodePngRgb(0, 4, pixels.data(), png, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(png.empty());
    EXPECT_FALSE(encodePngRgba(2, -1, pixels.data(), png, error));
    EXPECT_FALSE(encodePngRgb(2, 2, nullptr, png, error));
}

TEST(BmpWriter, TwentyFourBitRowsArePaddedBottomUpAndBlueFirst) {
    const int width = 5;  // 15 bytes of pixels, one byte of padding per row
    const int height = 3;
    const std::vector<uint8_t> rgb = randomBytes(width * height * 3, 11);
    const std::vector<uint8_t> bmp = demo::encodeBmp24(width, height, rgb.data());

    ASSERT_EQ(bmp.size(), 54u + 16u * 3u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(loadLe32(&bmp[2]), bmp.size());
    EXPECT_EQ(loadLe32(&bmp[10]), 54u);
    EXPECT_EQ(loadLe32(&bmp[14]), 40u);
    EXPECT_EQ(loadLe32(&bmp[18]), 5u);
    EXPECT_EQ(loadLe32(&bmp[22]), 3u);  // positive: bottom-up
    EXPECT_EQ(loadLe16(&bmp[26]), 1u);
    EXPECT_EQ(loadLe16(&bmp[28]), 24u);
    EXPECT_EQ(loadLe32(&bmp[30]), 0u);
    EXPECT_EQ(loadLe32(&bmp[34]), 48u);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &bmp[54 + static_cast<size_t>(height - 1 - y) * 16];
        for (int x = 0; x < width; ++x) {
            const uint8_t* source = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            EXPECT_EQ(row[x * 3], source[2]);
            EXPECT_EQ(row[x * 3 + 1], source[1]);
            EXPECT_EQ(row[x * 3 + 2], source[0]);
        }
        EXPECT_EQ(row[15], 0) << "padding";
    }
}

TEST(BmpWriter, EightBitCarriesItsPaletteAndCountsAFullOneAsZero) {
    const uint8_t palette[4 * 3] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    const uint8_t indices[3 * 2] = {0, 1, 2, 3, 2, 1};
    const std::vector<uint8_t> bmp = demo::encodeBmp8(3, 2, indices, palette, 4);
    const uint32_t pixelOffset = 54 + 4 * 4;
    ASSERT_EQ(bmp.size(), pixelOffset + 4u * 2u);
    EXPECT_EQ(loadLe32(&bmp[10]), pixelOffset);
    EXPECT_EQ(loadLe16(&bmp[28]), 8u);
    EXPECT_EQ(loadLe32(&bmp[46]), 4u);
    // Palette entries are blue, green, red, reserved.
    EXPECT_EQ(bmp[54 + 4], 60);
    EXPECT_EQ(bmp[54 + 5], 50);
    EXPECT_EQ(bmp[54 + 6], 40);
    EXPECT_EQ(bmp[54 + 7], 0);
    // The top row (0, 1, 2) is stored last.
    EXPECT_EQ(bmp[pixelOffset + 4], 0);
    EXPECT_EQ(bmp[pixelOffset + 5], 1);
    EXPECT_EQ(bmp[pixelOffset + 6], 2);
    EXPECT_EQ(bmp[pixelOffset], 3);

    std::vector<uint8_t> fullPalette(256 * 3, 0);
    const std::vector<uint8_t> full = demo::encodeBmp8(3, 2, indices, fullPalette.data(), 256);
    EXPECT_EQ(loadLe32(&full[46]), 0u);
    EXPECT_EQ(loadLe32(&full[10]), 54u + 1024u);
}

TEST(WavWriter, SixteenBitStereoFieldsAndSamples) {
    const int16_t samples[] = {0, -1, 32767, -32768, 1234, -4321};
    const std::vector<uint8_t> wav = demo::encodeWav({44100, 2, 16}, samples, 3);
    std::vector<RiffChunk> chunks;
    ASSERT_TRUE(walkRiff(wav, chunks));
    const RiffChunk* format = findChunk(chunks, "fmt ");
    const RiffChunk* data = findChunk(chunks, "data");
    ASSERT_NE(format, nullptr);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(format->size, 16u);
    const uint8_t* f = &wav[format->dataOffset];
    EXPECT_EQ(loadLe16(f), 1u);
    EXPECT_EQ(loadLe16(f + 2), 2u);
    EXPECT_EQ(loadLe32(f + 4), 44100u);
    EXPECT_EQ(loadLe32(f + 8), 176400u);
    EXPECT_EQ(loadLe16(f + 12), 4u);
    EXPECT_EQ(loadLe16(f + 14), 16u);
    ASSERT_EQ(data->size, 12u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(static_cast<int16_t>(loadLe16(&wav[data->dataOffset + i * 2])), samples[i]);
    }
}

TEST(WavWriter, EightBitIsUnsignedAndOddChunksArePadded) {
    const int16_t samples[] = {-32768, 0, 32767};
    const std::vector<uint8_t> wav = demo::encodeWav({22050, 1, 8}, samples, 3, "odd");
    std::vector<RiffChunk> chunks;
    ASSERT_TRUE(walkRiff(wav, chunks)) << "pad bytes make the sizes add up";
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].id, "fmt ");
    EXPECT_EQ(chunks[1].id, "LIST");
    EXPECT_EQ(chunks[2].id, "data");
    const uint8_t* f = &wav[chunks[0].dataOffset];
    EXPECT_EQ(loadLe16(f + 12), 1u);
    EXPECT_EQ(loadLe16(f + 14), 8u);
    EXPECT_EQ(loadLe32(f + 8), 22050u);
    ASSERT_EQ(chunks[2].size, 3u);
    EXPECT_EQ(wav[chunks[2].dataOffset], 0);
    EXPECT_EQ(wav[chunks[2].dataOffset + 1], 128);
    EXPECT_EQ(wav[chunks[2].dataOffset + 2], 255);
    EXPECT_EQ(wav.size() % 2, 0u);
}

TEST(Palette, FewColoursStayExactAndManyStayClose) {
    // Four colours far apart: each keeps its own entry.
    const uint8_t four[4 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 250, 250, 250};
    const demo::IndexedPicture small = demo::quantizeMedianCut(4, 1, four, 256);
    ASSERT_EQ(small.paletteCount, 4);
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(small.paletteRgb[small.indices[i] * 3 + k], four[i * 3 + k]);
    }

    // A smooth two-dimensional gradient with far more than 256 colours.
    const int width = 120;
    const int height = 90;
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = static_cast<uint8_t>(x * 2);
            p[1] = static_cast<uint8_t>(y * 2);
            p[2] = static_cast<uint8_t>(255 - x - y);
        }
    }
    const demo::IndexedPicture many = demo::quantizeMedianCut(width, height, rgb.data(), 256);
    ASSERT_LE(many.paletteCount, 256);
    ASSERT_GE(many.paletteCount, 200);
    double error = 0;
    for (size_t i = 0; i < many.indices.size(); ++i) {
        ASSERT_LT(many.indices[i], many.paletteCount);
        for (int k = 0; k < 3; ++k) {
            error += std::abs(many.paletteRgb[many.indices[i] * 3 + k] - rgb[i * 3 + k]);
        }
    }
    EXPECT_LT(error / static_cast<double>(rgb.size()), 6.0) << "mean error per channel";
}

}  // namespace
}  // namespace zeku
