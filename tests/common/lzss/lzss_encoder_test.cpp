// Encoder tests: streams worked out by hand, byte-for-byte agreement with the plain
// transcription on every kind of sample, and round trips through the decoder.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/lzss/lzss.h"
#include "tests/common/lzss/lzss_sample_data.h"
#include "tests/common/lzss/reference_lzss_encoder.h"

namespace zeku {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes encode(const Bytes& data) {
    Bytes out(lzssMaxEncodedSize(data.size()));
    const ptrdiff_t n = lzssEncode(out.data(), out.size(), data.data(), data.size());
    EXPECT_GT(n, 0);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

// The fast encoder equals the transcription, and the decoder gives the input back.
void expectExact(const Bytes& data, const std::string& what) {
    SCOPED_TRACE(what + ", " + std::to_string(data.size()) + " bytes");
    const Bytes stream = encode(data);
    ASSERT_EQ(stream, referenceLzssEncode(data));
    Bytes back(data.size());
    const Parsed<size_t> r = lzssDecode(back.data(), back.size(), stream.data(), stream.size());
    ASSERT_TRUE(r.ok()) << r.error().reason();
    EXPECT_EQ(*r, data.size());
    EXPECT_EQ(back, data);
}

struct Item {
    bool literal;
    unsigned value;  // the byte, or the window position
    unsigned length;
};

// Splits a stream into its items, checking the group layout on the way.
std::vector<Item> parseItems(const Bytes& stream) {
    std::vector<Item> items;
    size_t i = 0;
    while (i < stream.size()) {
        const unsigned flags = stream[i++];
        for (int bit = 0; bit < 8 && i < stream.size(); ++bit) {
            if (flags >> bit & 1) {
                items.push_back({true, stream[i++], 1});
            } else {
                EXPECT_LT(i + 1, stream.size());
                const unsigned b1 = stream[i + 1];
                items.push_back({false, stream[i] | (b1 & 0xF0) << 4, (b1 & 0x0F) + 2u});
                i += 2;
            }
        }
    }
    return items;
}

TEST(LzssEncoder, EmptyInputWritesNothing) {
    uint8_t dest[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    const uint8_t src[1] = {7};
    EXPECT_EQ(lzssEncode(dest, sizeof dest, src, 0), -1);
    EXPECT_EQ(dest[0], 0xAA);
}

TEST(LzssEncoder, WorstCaseFitsTheBoundExactly) {
    Bytes data;
    for (int i = 1; i <= 100; ++i)
        data.push_back(static_cast<uint8_t>(i));
    Bytes dest(lzssMaxEncodedSize(data.size()));
    EXPECT_EQ(dest.size(), 113u);
    EXPECT_EQ(lzssEncode(dest.data(), dest.size(), data.data(), data.size()), 113);
    EXPECT_EQ(lzssEncode(dest.data(), dest.size() - 1, data.data(), data.size()), -1);
}

TEST(LzssEncoder, EightItemsFillAGroupAndTheNinthStartsAnother) {
    EXPECT_EQ(encode({'A'}), (Bytes{0x01, 'A'}));
    EXPECT_EQ(encode({1, 2, 3, 4, 5, 6, 7, 8}), (Bytes{0xFF, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(encode({1, 2, 3, 4, 5, 6, 7, 8, 9}), (Bytes{0xFF, 1, 2, 3, 4, 5, 6, 7, 8, 0x01, 9}));
}

TEST(LzssEncoder, ZerosAreReferencesToThePreset) {
    const Bytes stream = encode(Bytes(1000, 0));
    // 1000 = 58 x 17 + 14: 59 references in 8 groups, the first straight into the preset.
    ASSERT_EQ(stream.size(), 8 + 59 * 2u);
    EXPECT_EQ(stream[0], 0x00);
    EXPECT_EQ(stream[1], 0xDE);  // position 2014, the last of the preset strings left standing
    EXPECT_EQ(stream[2], 0x7F);  // length 17
    const std::vector<Item> items = parseItems(stream);
    ASSERT_EQ(items.size(), 59u);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_FALSE(items[i].literal);
        EXPECT_EQ(items[i].length, i + 1 < items.size() ? 17u : 14u);
    }
    expectExact(Bytes(1000, 0), "zeros");
}

TEST(LzssEncoder, ARunIsOneLiteralThenOverlappingReferences) {
    // A literal; 17 bytes from slot 2031 and 17 from slot 0, each one byte behind its output;
    // the last 5 come from slot 6, twelve bytes back.
    EXPECT_EQ(encode(Bytes(40, 0x41)), (Bytes{0x01, 0x41, 0xEF, 0x7F, 0x00, 0x0F, 0x06, 0x03}));
    expectExact(Bytes(40, 0x41), "run");
}

TEST(LzssEncoder, MatchesTheReferenceAroundTheWindowSizes) {
    const std::pair<const char*, Bytes (*)(size_t, uint64_t)> kinds[] = {
        {"text", sampleText}, {"picture", samplePicture},        {"noise", sampleNoise},
        {"runs", sampleRuns}, {"far repeats", sampleFarRepeats}, {"mix", sampleMix},
    };
    for (const auto& [name, make] : kinds) {
        for (size_t size : {1, 2, 3, 16, 17, 18, 33, 2047, 2048, 2049, 4095, 20000}) {
            expectExact(make(size, size * 31 + 1), name);
        }
    }
    // Every short length, where the stale look-ahead decides the last matches.
    for (size_t size = 1; size <= 64; ++size) {
        expectExact(Bytes(size, 0), "short zeros");
        expectExact(sampleMix(size, size), "short mix");
        expectExact(sampleRuns(size, size), "short runs");
    }
}

TEST(LzssEncoder, MatchesTheReferenceOnLargeInputs) {
    expectExact(sampleText(3 << 20, 1), "text");
    expectExact(samplePicture(2 << 20, 2), "picture");
    expectExact(sampleNoise(1 << 20, 3), "noise");
    expectExact(sampleRuns(2 << 20, 4), "runs");
    expectExact(sampleFarRepeats(1 << 20, 5), "far repeats");
    expectExact(sampleMix(3 << 20, 6), "mix");
}

TEST(LzssEncoder, AReusedEncoderForgetsThePreviousInput) {
    auto encoder = std::make_unique<LzssEncoder>();
    for (const Bytes& data : {sampleText(50000, 7), Bytes{9, 9}, sampleRuns(5, 8)}) {
        Bytes out(lzssMaxEncodedSize(data.size()));
        const ptrdiff_t n = encoder->encode(out.data(), out.size(), data.data(), data.size());
        ASSERT_GT(n, 0);
        out.resize(static_cast<size_t>(n));
        EXPECT_EQ(out, referenceLzssEncode(data));
    }
}

}  // namespace
}  // namespace zeku
