// The area-average scaler against hand-worked values and against a plain
// transcription of its loops (pixel by pixel, channel by channel), which
// the table-driven scaler must match exactly on any size and percent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "converter/pipeline/picture_scaler.h"

namespace zeku {
namespace {

ConverterPicture makePicture(int width, int height, int bitsPerPixel) {
    ConverterPicture p;
    p.width = width;
    p.height = height;
    p.bitsPerPixel = bitsPerPixel;
    p.stride = static_cast<size_t>(width) * (bitsPerPixel / 8);
    p.pixels.assign(p.stride * height, 0);
    return p;
}

ConverterPicture randomPicture(int width, int height, int bitsPerPixel, std::mt19937& random) {
    ConverterPicture p = makePicture(width, height, bitsPerPixel);
    std::uniform_int_distribution<int> byte(0, 255);
    for (uint8_t& b : p.pixels)
        b = static_cast<uint8_t>(byte(random));
    return p;
}

// One output value of one pass, written out the long way: the span of
// output position `o` starts at o × step (1/1024 pixel) and visits n
// source samples; `sample(i)` is the i-th sample along the axis.
template <typename Sample>
uint8_t referenceAverage(int o, int64_t step, int sourceSide, Sample sample) {
    int64_t n = step >> 10;
    if (step % 1024 != 0) n += 1;
    const int64_t start = o * step;
    const int64_t startPixel = start / 1024;
    const int64_t startFraction = start % 1024;
    int64_t remaining = step;
    int64_t sum = 0;
    int64_t total = 0;
    for (int64_t i = 0; i < n; ++i) {
        int64_t weight;
        if (i == 0)
            weight = std::min<int64_t>(1024 - startFraction, step);
        else
            weight = std::min<int64_t>(1024, remaining);
        remaining -= weight;
        if (startPixel + i < sourceSide) {
            sum += weight * sample(startPixel + i) / 1024;
            total += weight;
        }
    }
    if (total == 0) return 0;
    return static_cast<uint8_t>(sum * 1024 / total);
}

ConverterPicture referenceScale(const ConverterPicture& in, int percent) {
    const int channels = in.bitsPerPixel / 8;
    const int width = std::max(1, percent * in.width / 100);
    const int height = std::max(1, percent * in.height / 100);
    ConverterPicture mid = makePicture(width, in.height, in.bitsPerPixel);
    const int64_t hs = int64_t{in.width} * 1024 / width;
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                mid.row(y)[x * channels + c] = referenceAverage(
                    x, hs, in.width, [&](int64_t i) { return in.row(y)[i * channels + c]; });
    ConverterPicture out = makePicture(width, height, in.bitsPerPixel);
    const int64_t vs = int64_t{in.height} * 1024 / height;
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < channels; ++c)
            for (int y = 0; y < height; ++y)
                out.row(y)[x * channels + c] = referenceAverage(y, vs, in.height, [&](int64_t i) {
                    return mid.row(static_cast<int>(i))[x * channels + c];
                });
    return out;
}

TEST(PictureScaler, MatchesTheLiteralLoopsOnOddSizesAndManyPercents) {
    std::mt19937 random(1234);
    const int sizes[][2] = {{800, 600}, {37, 23}, {101, 7}, {3, 64}, {33, 17}, {5, 5}};
    const int percents[] = {40, 80, 33, 67, 99, 101, 150, 250, 7, 1};
    for (const auto& size : sizes)
        for (int bits : {24, 32})
            for (int percent : percents) {
                if (size[0] == 800 && percent != 40 && percent != 80) continue;  // keep it quick
                const ConverterPicture in = randomPicture(size[0], size[1], bits, random);
                const ConverterPicture expected = referenceScale(in, percent);
                const ConverterPicture got = scalePicture(in, percent);
                ASSERT_EQ(got.width, expected.width);
                ASSERT_EQ(got.height, expected.height);
                ASSERT_EQ(got.bitsPerPixel, bits);
                ASSERT_EQ(got.stride, expected.stride);
                ASSERT_TRUE(got.pixels == expected.pixels)
                    << size[0] << "x" << size[1] << " " << bits << " bits at " << percent << " %";
            }
}

// Every width up to 300 at every percent up to 200 meets a wide spread of
// weight totals (each its own exact division) and span starts.
TEST(PictureScaler, MatchesTheLiteralLoopsAcrossWidthsAndPercents) {
    std::mt19937 random(99);
    for (int width = 1; width <= 300; width += (width < 40 ? 1 : 7)) {
        ConverterPicture in = randomPicture(width, 2, 24, random);
        std::fill_n(in.pixels.begin(), width * 3, uint8_t{255});  // the largest sums
        for (int percent = 1; percent <= 200; ++percent) {
            const ConverterPicture got = scalePicture(in, percent);
            ASSERT_TRUE(got.pixels == referenceScale(in, percent).pixels)
                << width << " at " << percent << " %";
        }
    }
}

// 800 → 320: step 2560, two and a half source pixels per output pixel.
// One lit source pixel shows which outputs visit it and with what weight.
TEST(PictureScaler, EightHundredToThreeHundredTwentyWeighsHalvesAtTheSeams) {
    auto oneLit = [](int litX) {
        ConverterPicture in = makePicture(800, 1, 24);
        std::fill_n(in.pixels.data() + litX * 3, 3, uint8_t{255});
        return scalePicture(in, 40);
    };
    // Pixel 2 is shared: 512/1024 of it in each of outputs 0 and 1,
    // 255 × 512 / 1024 = 127, then 127 × 1024 / 2560 = 50.
    ConverterPicture out = oneLit(2);
    ASSERT_EQ(out.width, 320);
    ASSERT_EQ(out.height, 1);  // 40 % of 1 row keeps one row
    EXPECT_EQ(out.pixels[0], 50);
    EXPECT_EQ(out.pixels[3], 50);
    EXPECT_EQ(out.pixels[6], 0);
    // Pixel 3 lies wholly in output 1: 255 × 1024 / 2560 = 102.
    out = oneLit(3);
    EXPECT_EQ(out.pixels[0], 0);
    EXPECT_EQ(out.pixels[3], 102);
    EXPECT_EQ(out.pixels[6], 0);
    // Pixel 5 starts output 2 on a whole pixel.
    out = oneLit(5);
    EXPECT_EQ(out.pixels[3], 0);
    EXPECT_EQ(out.pixels[6], 102);
    // The last output reaches the last source pixel.
    out = oneLit(799);
    EXPECT_EQ(out.pixels[319 * 3], 102);
}

// Each term is divided by 1024 on its own, so half-weighted pixels lose
// their fraction: flat white comes out 254 and a flat 1 vanishes.
TEST(PictureScaler, PerTermTruncationDarkensFlatPictures) {
    for (int value : {255, 1}) {
        ConverterPicture in = makePicture(800, 600, 32);
        std::fill(in.pixels.begin(), in.pixels.end(), static_cast<uint8_t>(value));
        const ConverterPicture small = scalePicture(in, 40);
        ASSERT_EQ(small.width, 320);
        ASSERT_EQ(small.height, 240);
        ASSERT_EQ(small.bitsPerPixel, 32);
        const uint8_t expected = value == 255 ? 254 : 0;
        EXPECT_TRUE(std::all_of(small.pixels.begin(), small.pixels.end(), [&](uint8_t b) {
            return b == expected;
        })) << value;
    }
    // At 80 % (step 1280) white loses one across, (255 + 63) × 1024 / 1280
    // = 254, and one more down, (254 + 63) × 1024 / 1280 = 253.
    ConverterPicture in = makePicture(10, 10, 24);
    std::fill(in.pixels.begin(), in.pixels.end(), uint8_t{255});
    const ConverterPicture out = scalePicture(in, 80);
    EXPECT_EQ(out.width, 8);
    EXPECT_EQ(out.pixels[0], 253);
}

TEST(PictureScaler, KeepsChannelsApartAndAveragesAlpha) {
    ConverterPicture in = makePicture(2, 2, 32);
    const uint8_t pixels[16] = {10, 20, 30, 0,   10, 20, 30, 0,  //
                                50, 60, 70, 200, 50, 60, 70, 200};
    std::copy(pixels, pixels + 16, in.pixels.begin());
    const ConverterPicture out = scalePicture(in, 50);
    ASSERT_EQ(out.width, 1);
    ASSERT_EQ(out.height, 1);
    EXPECT_EQ(out.pixels, (std::vector<uint8_t>{30, 40, 50, 100}));
}

TEST(PictureScaler, HundredPercentCopiesAndVanishingSidesKeepOnePixel) {
    std::mt19937 random(7);
    const ConverterPicture in = randomPicture(13, 9, 24, random);
    EXPECT_EQ(scalePicture(in, 100).pixels, in.pixels);
    // A caller's padded stride is honoured.
    ConverterPicture padded = in;
    padded.stride = 13 * 3 + 5;
    padded.pixels.assign(padded.stride * 9, 0xAB);
    for (int y = 0; y < 9; ++y)
        std::copy(in.row(y), in.row(y) + 13 * 3, padded.row(y));
    EXPECT_EQ(scalePicture(padded, 67).pixels, scalePicture(in, 67).pixels);

    // 40 % of 1 and 2 would be 0: one pixel, averaging the whole side.
    EXPECT_EQ(scaledSide(1, 40), 1);
    EXPECT_EQ(scaledSide(2, 40), 1);
    EXPECT_EQ(scaledSide(800, 40), 320);
    EXPECT_EQ(scaledSide(30, 80), 24);
    ConverterPicture line = makePicture(2, 1, 24);
    line.pixels = {100, 100, 100, 200, 200, 200};
    const ConverterPicture dot = scalePicture(line, 40);
    ASSERT_EQ(dot.width, 1);
    ASSERT_EQ(dot.height, 1);
    EXPECT_EQ(dot.pixels, (std::vector<uint8_t>{150, 150, 150}));

    EXPECT_EQ(scalePicture(in, 0).width, 0);
    ConverterPicture sixteen = makePicture(4, 4, 16);
    EXPECT_EQ(scalePicture(sixteen, 40).width, 0);
}

}  // namespace
}  // namespace zeku
