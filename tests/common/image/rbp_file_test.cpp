// Tests for ".rbp" files: type choice, header bytes, round trips through
// the writer and the picture decoder, and refusal of damaged files.
#include "common/image/rbp_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

#include "common/bytes/byte_buffer.h"
#include "common/image/jbp1_encoder.h"
#include "common/image/rbp_picture.h"
#include "common/image/rbp_writer.h"
#include "tests/common/image/test_pictures.h"

namespace zeku {
namespace {

using Bytes = std::vector<uint8_t>;
using test::TestPicture;

Bytes encode(const TestPicture& p, int qualityItem, int sourceWidth = 0, int sourceHeight = 0) {
    RbpSourcePicture source;
    source.pixels = p.pixels.data();
    source.width = p.width;
    source.height = p.height;
    source.stride = p.stride();
    source.bitsPerPixel = p.channels * 8;
    source.sourceWidth = sourceWidth;
    source.sourceHeight = sourceHeight;
    Bytes file;
    EXPECT_TRUE(encodeRbpPicture(source, qualityItem, file));
    return file;
}

RbpPicture decode(const Bytes& file) {
    RbpPicture picture;
    const Parsed<void> r = decodeRbpPicture(file.data(), file.size(), picture);
    EXPECT_TRUE(r.ok()) << r.error().reason() << " at " << r.error().offset();
    return picture;
}

// The decoded colour expanded back to blue-green-red bytes.
Bytes asBgr(const RbpPicture& picture) {
    Bytes out(static_cast<size_t>(picture.width) * picture.height * 3);
    for (size_t i = 0; i < out.size() / 3; ++i)
        test::rgb565ToBgr(picture.color[i], out.data() + 3 * i);
    return out;
}

// The source quantised to RGB565 and expanded, for like-for-like PSNR.
Bytes quantised(const TestPicture& p) {
    Bytes out(static_cast<size_t>(p.width) * p.height * 3);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            test::rgb565ToBgr(rgb565FromBgr(p.at(x, y)), out.data() + (y * p.width + x) * 3);
    return out;
}

double psnrAgainst(const RbpPicture& picture, const Bytes& reference) {
    const Bytes got = asBgr(picture);
    const size_t stride = static_cast<size_t>(picture.width) * 3;
    return test::psnr(got.data(), stride, reference.data(), stride, picture.width, picture.height);
}

// libjpeg's own decode of a JPEG with the chroma simply replicated, as the
// JBP1 decoder does, so the two differ only by transform rounding.
Bytes libjpegDecode(const Bytes& jpeg) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    cinfo.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&cinfo);
    const size_t stride = static_cast<size_t>(cinfo.output_width) * 3;
    Bytes out(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.data() + cinfo.output_scanline * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    for (size_t i = 0; i < out.size(); i += 3)
        test::rgb565ToBgr(rgb565FromBgr(out.data() + i), out.data() + i);
    return out;
}

// Samples (of all three channels) that differ by more than one RGB565 step.
double shareBeyondOneStep(const RbpPicture& picture, const Bytes& reference) {
    const Bytes got = asBgr(picture);
    size_t beyond = 0;
    for (size_t i = 0; i < got.size(); ++i) {
        const int d = std::abs(got[i] - reference[i]);
        if (d > (i % 3 == 1 ? 4 : 8)) ++beyond;
    }
    return static_cast<double>(beyond) / static_cast<double>(got.size());
}

TEST(RbpWriter, TypeChoice) {
    EXPECT_EQ(rbpTypeFor(24, 640, 480, 0), kRbpRaw);
    EXPECT_EQ(rbpTypeFor(32, 640, 480, 0), kRbpRawWithAlpha);
    for (int item = 1; item <= 3; ++item) {
        EXPECT_EQ(rbpTypeFor(24, 32, 32, item), kRbpJbp1);
        EXPECT_EQ(rbpTypeFor(32, 32, 32, item), kRbpJbp1WithAlpha);
        EXPECT_EQ(rbpTypeFor(24, 31, 480, item), kRbpRaw);
        EXPECT_EQ(rbpTypeFor(32, 640, 31, item), kRbpRawWithAlpha);
    }
    EXPECT_EQ(rbpTypeFor(8, 640, 480, 2), 0u);
    EXPECT_EQ(rbpTypeFor(16, 640, 480, 0), 0u);
    EXPECT_EQ(rbpJbp1Quality(1), 100);
    EXPECT_EQ(rbpJbp1Quality(2), 90);
    EXPECT_EQ(rbpJbp1Quality(3), 80);
    EXPECT_EQ(rbpJbp1Quality(0), 0);

    // 30 × 200 scaled to 80 % becomes 24 × 160, still raw at any quality.
    const Bytes file = encode(test::naturalPicture(24, 160), 3);
    EXPECT_EQ(loadLe32(file.data() + 4), kRbpRaw);
    EXPECT_EQ(file.size(), 36u + 24 * 160 * 2);
}

TEST(RbpWriter, RawHeaderAndPixels) {
    const TestPicture p = test::naturalPicture(3, 2);
    const Bytes file = encode(p, 2, 800, 600);
    ASSERT_EQ(file.size(), 36u + 3 * 2 * 2);
    // Magic, type 13, 3 × 2, data at 36, source 800 × 600, the rest zero.
    const uint8_t header[36] = {
        'R', 'B', 'P', '5', 13, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 36, 0, 0, 0, 0x20, 3, 0x58, 2,
    };
    EXPECT_EQ(std::memcmp(file.data(), header, sizeof header), 0);
    // Blue 0x18, green 0x7C, red 0xF7 -> red 30, green 31, blue 3.
    const uint8_t bgr[3] = {0x18, 0x7C, 0xF7};
    EXPECT_EQ(rgb565FromBgr(bgr), (30 << 11) | (31 << 5) | 3);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(loadLe16(file.data() + 36 + 2 * i), rgb565FromBgr(p.at(i % 3, i / 3))) << i;
}

TEST(RbpRoundTrip, RawTypesAreExact) {
    for (int item : {0, 1}) {  // item 1 with a 33 × 17 picture: too small to code
        SCOPED_TRACE(item);
        const TestPicture colour = test::naturalPicture(33, 17);
        const Bytes file13 = encode(colour, item);
        EXPECT_EQ(loadLe32(file13.data() + 4), kRbpRaw);
        const RbpPicture a = decode(file13);
        ASSERT_TRUE(a.hasPixels);
        ASSERT_EQ(a.width, 33);
        ASSERT_EQ(a.height, 17);
        EXPECT_EQ(asBgr(a), quantised(colour));
        for (int i = 0; i < 33 * 17; ++i)
            ASSERT_EQ(a.alpha[i], 255);

        const TestPicture withAlpha = test::naturalPicture(40, 8, 4);
        const Bytes file1 = encode(withAlpha, item == 0 ? 0 : 3);
        EXPECT_EQ(std::memcmp(file1.data(), "RBP5\x01\0\0\0", 8), 0);
        EXPECT_EQ(file1.size(), 36u + 40 * 8 * 3);
        const RbpPicture b = decode(file1);
        ASSERT_TRUE(b.hasPixels);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 40; ++x) {
                const uint8_t* px = withAlpha.at(x, y);
                ASSERT_EQ(b.color[y * 40 + x], rgb565FromBgr(px));
                ASSERT_EQ(b.alpha[y * 40 + x], px[3]);  // as stored, 252 stays 252
            }
    }
}

TEST(RbpRoundTrip, TypeElevenReadsLikeTypeOne) {
    Bytes file = encode(test::naturalPicture(5, 4, 4), 0);
    const RbpPicture one = decode(file);
    storeLe32(file.data() + 4, kRbpRawWithAlphaToo);
    const RbpPicture eleven = decode(file);
    EXPECT_EQ(eleven.type, kRbpRawWithAlphaToo);
    EXPECT_EQ(std::memcmp(one.color.get(), eleven.color.get(), 40), 0);
    EXPECT_EQ(std::memcmp(one.alpha.get(), eleven.alpha.get(), 20), 0);
}

TEST(RbpRoundTrip, CodedPicturesKeepTheirQuality) {
    const TestPicture p = test::naturalPicture(160, 120);
    const Bytes reference = quantised(p);
    double previous = 1000;
    for (int item = 1; item <= 3; ++item) {
        SCOPED_TRACE(item);
        const Bytes file = encode(p, item, 200, 150);
        EXPECT_EQ(std::memcmp(file.data(), "RBP7\x1e\0\0\0", 8), 0);
        EXPECT_EQ(loadLe32(file.data() + 28), file.size() - 36);
        EXPECT_EQ(loadLe16(file.data() + 20), 200);
        EXPECT_EQ(loadLe16(file.data() + 22), 150);
        EXPECT_EQ(std::memcmp(file.data() + 36, "JBP1", 4), 0);
        const RbpPicture decoded = decode(file);
        ASSERT_TRUE(decoded.hasPixels);
        const double quality = psnrAgainst(decoded, reference);
        EXPECT_GT(quality, item == 1 ? 33.0 : 30.0);
        EXPECT_LT(quality, previous);  // each lower setting loses something
        previous = quality;
        for (int i = 0; i < 160 * 120; ++i)
            ASSERT_EQ(decoded.alpha[i], 255);
    }
}

TEST(RbpRoundTrip, CodedAlphaPlaneIsExact) {
    const TestPicture p = test::naturalPicture(64, 48, 4);
    const Bytes file = encode(p, 3);
    EXPECT_EQ(loadLe32(file.data() + 4), kRbpJbp1WithAlpha);
    const uint32_t streamLength = loadLe32(file.data() + 28);
    ASSERT_EQ(file.size(), 36u + streamLength + 64 * 48);
    const RbpPicture decoded = decode(file);
    ASSERT_TRUE(decoded.hasPixels);
    Bytes colourOnly;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(decoded.alpha[y * 64 + x], p.at(x, y)[3]);
            const uint16_t c = rgb565FromBgr(p.at(x, y));
            colourOnly.resize(colourOnly.size() + 3);
            test::rgb565ToBgr(c, colourOnly.data() + colourOnly.size() - 3);
        }
    EXPECT_GT(psnrAgainst(decoded, colourOnly), 28.0);
}

// A type-30 file around a stream of any size, as the writer would make it
// if small pictures were coded.
Bytes codedFile(const TestPicture& p, int quality, Bytes* jpeg) {
    Bytes stream;
    EXPECT_TRUE(jbp1Encode(p.pixels.data(), p.width, p.height, p.stride(), quality, stream, jpeg));
    RbpHeader h;
    h.type = kRbpJbp1;
    h.width = static_cast<uint32_t>(p.width);
    h.height = static_cast<uint32_t>(p.height);
    h.streamLength = static_cast<uint32_t>(stream.size());
    Bytes file(36);
    writeRbpHeader(h, file.data());
    file.insert(file.end(), stream.begin(), stream.end());
    return file;
}

TEST(RbpRoundTrip, DecodeMatchesLibjpegOnTheSameCoefficients) {
    // Sizes off the macroblock grid exercise the cropping of the padding.
    const struct {
        int width, height, quality;
    } cases[] = {{33, 17, 90}, {160, 120, 90}, {47, 64, 100}, {100, 35, 80}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        const TestPicture p = test::naturalPicture(c.width, c.height);
        Bytes jpeg;
        const Bytes file = codedFile(p, c.quality, &jpeg);
        const RbpPicture decoded = decode(file);
        ASSERT_TRUE(decoded.hasPixels);
        ASSERT_EQ(decoded.width, c.width);
        ASSERT_EQ(decoded.height, c.height);
        // The player's transform floors where libjpeg rounds, which moves
        // some samples across an RGB565 step; hardly any move further.
        const Bytes reference = libjpegDecode(jpeg);
        EXPECT_GT(psnrAgainst(decoded, reference), 35.0);
        EXPECT_LT(shareBeyondOneStep(decoded, reference), 0.002);
    }
}

Bytes validRaw() {
    return encode(test::naturalPicture(4, 3, 4), 0);
}

void expectRefused(const Bytes& file, const char* what, size_t offset) {
    RbpPicture picture;
    const Parsed<void> r = decodeRbpPicture(file.data(), file.size(), picture);
    ASSERT_FALSE(r.ok()) << what;
    EXPECT_EQ(r.error().offset(), offset) << what << ": " << r.error().reason();
    EXPECT_NE(r.error().reason(), nullptr) << what;
    EXPECT_FALSE(picture.hasPixels) << what;
}

TEST(RbpDamage, ContainerFieldsAreChecked) {
    Bytes f = validRaw();
    expectRefused(Bytes(f.begin(), f.begin() + 35), "short header", 35);
    Bytes shortPixels(f.begin(), f.end() - 1);
    expectRefused(shortPixels, "pixels cut", shortPixels.size());
    Bytes bad = f;
    storeLe32(bad.data() + 16, 35);
    expectRefused(bad, "offset inside header", 16);
    storeLe32(bad.data() + 16, static_cast<uint32_t>(f.size() + 1));
    expectRefused(bad, "offset past end", 16);
    bad = f;
    storeLe32(bad.data() + 8, 0x10000);
    expectRefused(bad, "too wide", 8);
    bad = f;
    storeLe32(bad.data() + 12, 0xFFFFFFFFu);
    expectRefused(bad, "too high", 12);
    bad = f;
    storeLe32(bad.data() + 4, kRbpRaw);  // two bytes a pixel: plenty of data
    RbpPicture picture;
    EXPECT_TRUE(decodeRbpPicture(bad.data(), bad.size(), picture).ok());
    // A later data offset is honoured.
    bad = f;
    bad.insert(bad.begin() + 36, 4, 0xEE);
    storeLe32(bad.data() + 16, 40);
    const RbpPicture moved = decode(bad);
    const RbpPicture original = decode(f);
    EXPECT_EQ(std::memcmp(moved.color.get(), original.color.get(), 24), 0);
    // Trailing bytes are ignored.
    bad = f;
    bad.push_back(1);
    EXPECT_TRUE(decodeRbpPicture(bad.data(), bad.size(), picture).ok());
    EXPECT_FALSE(decodeRbpPicture(nullptr, 100, picture).ok());
}

TEST(RbpDamage, UnknownTypeKeepsOnlyTheSize) {
    Bytes f = validRaw();
    storeLe32(f.data() + 4, 12);
    f.resize(36);
    RbpPicture picture;
    const Parsed<void> r = decodeRbpPicture(f.data(), f.size(), picture);
    ASSERT_TRUE(r.ok());
    EXPECT_FALSE(picture.hasPixels);
    EXPECT_EQ(picture.type, 12u);
    EXPECT_EQ(picture.width, 4);
    EXPECT_EQ(picture.height, 3);
}

TEST(RbpDamage, CodedDataIsChecked) {
    const Bytes good = encode(test::naturalPicture(48, 32, 4), 2);
    const uint32_t streamLength = loadLe32(good.data() + 28);
    expectRefused(Bytes(good.begin(), good.end() - 1), "alpha cut", good.size() - 1);
    Bytes bad = good;
    storeLe32(bad.data() + 28, static_cast<uint32_t>(good.size()));
    expectRefused(bad, "stream longer than file", good.size());
    bad = good;
    storeLe16(bad.data() + 36 + 16, 47);  // stream says 47 wide
    expectRefused(bad, "size mismatch", 36 + 16);
    bad = good;
    bad[36] = 'X';
    expectRefused(bad, "not a stream", 36);

    // A stream cut short inside its bit data fails inside the stream.
    bad = good;
    storeLe32(bad.data() + 28, streamLength - 8);
    RbpPicture picture;
    const Parsed<void> r = decodeRbpPicture(bad.data(), bad.size(), picture);
    ASSERT_FALSE(r.ok());
    EXPECT_GE(r.error().offset(), 36u);
    EXPECT_LE(r.error().offset(), 36u + streamLength);

    // The pixel limit refuses before allocating.
    const Parsed<void> limited = decodeRbpPicture(good.data(), good.size(), picture, 48 * 32 - 1);
    EXPECT_FALSE(limited.ok());
    EXPECT_TRUE(decodeRbpPicture(good.data(), good.size(), picture, 48 * 32).ok());
}

TEST(RbpDamage, EverySingleByteCorruptionIsSafe) {
    // No assertion on the outcome: sanitizer builds catch any stray access.
    const Bytes good = encode(test::naturalPicture(40, 33, 4), 3);
    RbpPicture picture;
    for (size_t i = 0; i < good.size(); i += 7) {
        Bytes bad = good;
        bad[i] ^= 0x5A;
        (void)decodeRbpPicture(bad.data(), bad.size(), picture);
        bad.resize(i);
        (void)decodeRbpPicture(bad.data(), bad.size(), picture);
    }
}

TEST(RbpDamage, FuzzFindingsStayFixed) {
    const std::filesystem::path folder = ZEKU_RBP_FUZZ_REGRESSIONS;
    if (!std::filesystem::is_directory(folder)) return;  // nothing found so far
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        RbpPicture picture;
        (void)decodeRbpPicture(bytes.data(), bytes.size(), picture, size_t{1} << 20);
    }
}

}  // namespace
}  // namespace zeku
