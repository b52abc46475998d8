// Whole picture entries to ".rbp" files: the type chosen, the header's
// sizes, the pixels that reach the file, and JBP1 quality against raw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/image/rbp_file.h"
#include "common/image/rbp_picture.h"
#include "common/image/rbp_writer.h"
#include "converter/pipeline/picture_conversion.h"
#include "tests/common/image/test_pictures.h"
#include "tests/converter/picture_test_files.h"

namespace zeku {
namespace {

// Blue-green-red(-alpha) pixels as a bottom-up bitmap or an RGB(A) PNG.
std::vector<uint8_t> asBmp(const test::TestPicture& p) {
    test_support::BmpLayout layout;
    layout.width = p.width;
    layout.height = p.height;
    layout.bitsPerPixel = p.channels * 8;
    layout.pixels = p.pixels;
    return test_support::makeBmp(layout);
}

std::vector<uint8_t> asPng(const test::TestPicture& p, bool invertAlpha = true) {
    std::vector<uint8_t> samples = p.pixels;
    for (size_t i = 0; i < samples.size(); i += p.channels) {
        std::swap(samples[i], samples[i + 2]);
        if (p.channels == 4 && invertAlpha) samples[i + 3] = 255 - samples[i + 3];
    }
    return test_support::makeRgbPng(p.width, p.height, p.channels, samples);
}

struct Converted {
    bool ok = false;
    std::string error;
    std::vector<uint8_t> file;
    RbpFile parsed;
};

Converted convert(const std::vector<uint8_t>& bytes, PictureKind kind, int percent, int quality) {
    Converted c;
    c.ok = convertPicture(bytes.data(), bytes.size(), kind, percent, quality, c.file, c.error);
    if (c.ok) {
        const Parsed<void> parsed = parseRbpFile(c.file.data(), c.file.size(), c.parsed);
        EXPECT_TRUE(parsed.ok()) << parsed.error().reason();
    }
    return c;
}

TEST(PictureConversion, SmallScaledPicturesStayRawWhateverTheQuality) {
    const std::vector<uint8_t> bmp = asBmp(test::naturalPicture(30, 200));
    const Converted c = convert(bmp, PictureKind::kBmp, 80, 2);
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_EQ(c.parsed.header.type, kRbpRaw);
    EXPECT_EQ(c.parsed.header.width, 24u);
    EXPECT_EQ(c.parsed.header.height, 160u);
    EXPECT_EQ(c.parsed.header.sourceWidth, 30);
    EXPECT_EQ(c.parsed.header.sourceHeight, 200);
    EXPECT_EQ(c.file.size(), kRbpHeaderLength + 24 * 160 * 2);
    EXPECT_EQ(std::string(c.file.begin(), c.file.begin() + 4), "RBP5");

    // 40 × 40 at 80 % is exactly 32 × 32: coded. 39 wide gives 31: raw.
    EXPECT_EQ(
        convert(asBmp(test::naturalPicture(40, 40)), PictureKind::kBmp, 80, 3).parsed.header.type,
        kRbpJbp1);
    EXPECT_EQ(
        convert(asBmp(test::naturalPicture(39, 40)), PictureKind::kBmp, 80, 3).parsed.header.type,
        kRbpRaw);
    // Quality item 0 is raw at any size.
    EXPECT_EQ(
        convert(asBmp(test::naturalPicture(100, 100)), PictureKind::kBmp, 80, 0).parsed.header.type,
        kRbpRaw);
}

TEST(PictureConversion, FullyOpaquePngStoresAlphaZero) {
    test::TestPicture p = test::naturalPicture(50, 45, 4);
    for (size_t i = 3; i < p.pixels.size(); i += 4)
        p.pixels[i] = 255;  // the file's alpha: opaque everywhere
    const std::vector<uint8_t> png = asPng(p, false);

    Converted c = convert(png, PictureKind::kPng, 80, 0);
    ASSERT_TRUE(c.ok) << c.error;
    ASSERT_EQ(c.parsed.header.type, kRbpRawWithAlpha);
    const size_t pixels = size_t{40} * 36;
    ASSERT_EQ(c.parsed.pixelsLength, pixels * 3);
    for (size_t i = 0; i < pixels; ++i)
        ASSERT_EQ(c.parsed.pixels[3 * i + 2], 0) << i;

    c = convert(png, PictureKind::kPng, 80, 2);
    ASSERT_TRUE(c.ok) << c.error;
    ASSERT_EQ(c.parsed.header.type, kRbpJbp1WithAlpha);
    EXPECT_EQ(std::string(c.file.begin(), c.file.begin() + 4), "RBP7");
    ASSERT_NE(c.parsed.alpha, nullptr);
    EXPECT_TRUE(
        std::all_of(c.parsed.alpha, c.parsed.alpha + pixels, [](uint8_t a) { return a == 0; }));
}

// The raw file holds exactly the scaled picture, channel order included.
TEST(PictureConversion, RawFilesHoldTheScaledPixels) {
    for (int channels : {3, 4}) {
        const test::TestPicture p = test::naturalPicture(37, 23, channels);
        const std::vector<uint8_t> bmp = asBmp(p);
        ConverterPicture source;
        std::string error;
        ASSERT_TRUE(decodeBmp(bmp.data(), bmp.size(), source, error)) << error;
        const ConverterPicture scaled = scalePicture(source, 40);

        const Converted c = convert(bmp, PictureKind::kBmp, 40, 0);
        ASSERT_TRUE(c.ok) << c.error;
        RbpPicture decoded;
        ASSERT_TRUE(decodeRbpPicture(c.file.data(), c.file.size(), decoded).ok());
        ASSERT_EQ(decoded.width, 14);
        ASSERT_EQ(decoded.height, 9);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 14; ++x) {
                const uint8_t* px = scaled.row(y) + x * channels;
                ASSERT_EQ(decoded.color[y * 14 + x], rgb565FromBgr(px)) << x << "," << y;
                ASSERT_EQ(decoded.alpha[y * 14 + x], channels == 4 ? px[3] : 255);
            }
    }
    // Pure red in a PNG is red in the file.
    test::TestPicture red{2, 2, 3, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255}};
    const Converted c = convert(asPng(red), PictureKind::kPng, 100, 0);
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_EQ(c.parsed.pixels[0], 0x00);
    EXPECT_EQ(c.parsed.pixels[1], 0xF8);
}

TEST(PictureConversion, Jbp1QualitiesStayCloseToTheRawFile) {
    for (int channels : {3, 4}) {
        const std::vector<uint8_t> png = asPng(test::naturalPicture(200, 150, channels));
        const Converted raw = convert(png, PictureKind::kPng, 80, 0);
        ASSERT_TRUE(raw.ok) << raw.error;
        RbpPicture rawPicture;
        ASSERT_TRUE(decodeRbpPicture(raw.file.data(), raw.file.size(), rawPicture).ok());
        const size_t count = size_t{160} * 120;
        std::vector<uint8_t> rawBgr(count * 3);
        for (size_t i = 0; i < count; ++i)
            test::rgb565ToBgr(rawPicture.color[i], &rawBgr[i * 3]);

        for (int quality = 1; quality <= 3; ++quality) {
            const Converted coded = convert(png, PictureKind::kPng, 80, quality);
            ASSERT_TRUE(coded.ok) << coded.error;
            EXPECT_EQ(coded.parsed.header.type, channels == 4 ? kRbpJbp1WithAlpha : kRbpJbp1);
            EXPECT_EQ(coded.parsed.header.sourceWidth, 200);
            RbpPicture picture;
            ASSERT_TRUE(decodeRbpPicture(coded.file.data(), coded.file.size(), picture).ok());
            ASSERT_EQ(picture.width, 160);
            ASSERT_EQ(picture.height, 120);
            std::vector<uint8_t> bgr(count * 3);
            for (size_t i = 0; i < count; ++i)
                test::rgb565ToBgr(picture.color[i], &bgr[i * 3]);
            const double db = test::psnr(rawBgr.data(), 160 * 3, bgr.data(), 160 * 3, 160, 120);
            EXPECT_GT(db, quality == 1 ? 32.0 : 30.0) << "item " << quality;
            // The alpha plane is the raw file's alpha, byte for byte.
            EXPECT_TRUE(std::equal(picture.alpha.get(), picture.alpha.get() + count,
                                   rawPicture.alpha.get()));
        }
    }
}

TEST(PictureConversion, RecordsTheSizeBeforeScalingAndKeepsTinyPictures) {
    const std::vector<uint8_t> dot = asPng(test::naturalPicture(1, 1));
    Converted c = convert(dot, PictureKind::kPng, 40, 1);
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_EQ(c.parsed.header.width, 1u);
    EXPECT_EQ(c.parsed.header.height, 1u);

    c = convert(asPng(test::naturalPicture(70, 33)), PictureKind::kPng, 100, 0);
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_EQ(c.parsed.header.width, 70u);
    EXPECT_EQ(c.parsed.header.sourceWidth, 70);
    EXPECT_EQ(c.parsed.header.sourceHeight, 33);
}

TEST(PictureConversion, RefusesWhatItCannotConvert) {
    const std::vector<uint8_t> png = asPng(test::naturalPicture(8, 8));
    const std::vector<uint8_t> bmp = asBmp(test::naturalPicture(8, 8));
    struct Case {
        const std::vector<uint8_t>* bytes;
        PictureKind kind;
        int percent;
        int quality;
    };
    const Case cases[] = {
        {&png, PictureKind::kPng, 40, 4}, {&png, PictureKind::kPng, 40, -1},
        {&png, PictureKind::kPng, 0, 0},  {&png, PictureKind::kBmp, 40, 0},      // wrong kind
        {&bmp, PictureKind::kPng, 40, 0}, {&png, PictureKind::kPng, 900000, 0},  // too large
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> rbp{1, 2, 3};
        std::string error;
        EXPECT_FALSE(convertPicture(c.bytes->data(), c.bytes->size(), c.kind, c.percent, c.quality,
                                    rbp, error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(rbp.empty());
    }
    // The source pixel limit is the caller's.
    std::vector<uint8_t> rbp;
    std::string error;
    EXPECT_FALSE(convertPicture(png.data(), png.size(), PictureKind::kPng, 40, 0, rbp, error, 63));
    EXPECT_TRUE(convertPicture(png.data(), png.size(), PictureKind::kPng, 40, 0, rbp, error, 64));
}

}  // namespace
}  // namespace zeku
