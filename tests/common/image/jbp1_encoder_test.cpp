// Tests for the JBP1 encoder: the stream layout, the run-length symbols,
// and that the coded blocks are exactly the intermediate JPEG's.
#include "common/image/jbp1_encoder.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/bytes/byte_buffer.h"
#include "common/image/jbp1_format.h"
#include "common/image/jpeg_coefficients.h"
#include "tests/common/image/test_pictures.h"

namespace zeku {
namespace {

// Bits from bit 0 of the first 32-bit little-endian word up, which for
// little-endian words is simply each byte from its low bit.
class TestBitReader {
  public:
    TestBitReader(const uint8_t* data, size_t bytes) : data_(data), bits_(bytes * 8) {}
    int bit() {
        if (position_ >= bits_) {
            overrun_ = true;
            return 0;
        }
        const int b = (data_[position_ / 8] >> (position_ % 8)) & 1;
        ++position_;
        return b;
    }
    uint32_t bits(int count) {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i)
            v = v << 1 | static_cast<uint32_t>(bit());
        return v;
    }
    int symbol(const Jbp1Tree& tree) {
        int node = tree.root;
        while (node >= tree.symbolCount)
            node = tree.child[node][bit()];
        return node;
    }
    // True when what is left is only the zero completion of the last word.
    bool endsCleanly() const {
        if (overrun_ || bits_ - position_ >= 32) return false;
        for (size_t p = position_; p < bits_; ++p)
            if ((data_[p / 8] >> (p % 8)) & 1) return false;
        return true;
    }

  private:
    const uint8_t* data_;
    size_t bits_;
    size_t position_ = 0;
    bool overrun_ = false;
};

// The stream read back independently of the player's decoder, down to
// the quantised blocks and the AC symbols of every block.
struct ParsedStream {
    Jbp1Header header;
    uint32_t dcCounts[kJbp1DcSymbols] = {};
    uint32_t acCounts[kJbp1AcSymbols] = {};
    size_t tablesOffset = 0;
    std::vector<int16_t> blocks;
    std::vector<std::vector<uint8_t>> acSymbols;
};

::testing::AssertionResult parse(const std::vector<uint8_t>& s, ParsedStream& out) {
    if (!readJbp1Header(s.data(), s.size(), out.header))
        return ::testing::AssertionFailure() << "header";
    for (int i = 0; i < kJbp1DcSymbols; ++i)
        out.dcCounts[i] = loadLe32(s.data() + 44 + 4 * i);
    const size_t packed = unpackJbp1AcCounts(s.data() + 108, s.size() - 108, out.acCounts);
    if (packed == 0) return ::testing::AssertionFailure() << "counts";
    out.tablesOffset = 108 + packed;
    const size_t dcStart = out.tablesOffset + 128;
    const size_t acStart = dcStart + out.header.dcLength;
    if (acStart + out.header.acLength != s.size())
        return ::testing::AssertionFailure() << "lengths do not add up to the stream";

    Jbp1Tree dcTree, acTree;
    buildJbp1Tree(out.dcCounts, kJbp1DcSymbols, dcTree);
    buildJbp1Tree(out.acCounts, kJbp1AcSymbols, acTree);
    const size_t blockCount =
        static_cast<size_t>((out.header.width + 15) / 16) * ((out.header.height + 15) / 16) * 6;
    out.blocks.assign(blockCount * 64, 0);
    out.acSymbols.assign(blockCount, {});

    TestBitReader dc(s.data() + dcStart, out.header.dcLength);
    int value = 0;
    for (size_t b = 0; b < blockCount; ++b) {
        const int category = dc.symbol(dcTree);
        value += jbp1ValueFromExtraBits(dc.bits(category), category);
        out.blocks[b * 64] = static_cast<int16_t>(value);
    }
    if (!dc.endsCleanly()) return ::testing::AssertionFailure() << "DC stream end";

    TestBitReader ac(s.data() + acStart, out.header.acLength);
    for (size_t b = 0; b < blockCount; ++b) {
        int k = 1;
        while (k < 64) {
            const int sym = ac.symbol(acTree);
            out.acSymbols[b].push_back(static_cast<uint8_t>(sym));
            if (sym == 0) break;
            if ((sym & 0xF0) == 0xF0) {
                k += 15 + (sym & 15);
                continue;
            }
            k += sym >> 4;
            const int category = sym & 15;
            const int v = jbp1ValueFromExtraBits(ac.bits(category), category);
            if (k > 63) return ::testing::AssertionFailure() << "run past the block";
            out.blocks[b * 64 + kJbp1ZigzagToNatural[k]] = static_cast<int16_t>(v);
            ++k;
        }
    }
    if (!ac.endsCleanly()) return ::testing::AssertionFailure() << "AC stream end";
    return ::testing::AssertionSuccess();
}

// A one-macroblock coefficient set with the given blocks (others zero).
JpegCoefficients oneMacroblock() {
    JpegCoefficients c;
    c.width = 16;
    c.height = 16;
    c.macroblocksAcross = 1;
    c.macroblocksDown = 1;
    c.blocks.assign(6 * 64, 0);
    for (int i = 0; i < 64; ++i) {
        c.lumaTable[i] = static_cast<uint8_t>(i + 1);
        c.chromaTable[i] = static_cast<uint8_t>(200 - i);
    }
    return c;
}

int16_t* block(JpegCoefficients& c, int index) {
    return c.blocks.data() + index * 64;
}

void setZigzag(int16_t* b, int k, int value) {
    b[kJbp1ZigzagToNatural[k]] = static_cast<int16_t>(value);
}

std::vector<uint8_t> symbolsOf(const int16_t* b) {
    std::vector<Jbp1Symbol> symbols;
    EXPECT_TRUE(appendJbp1AcSymbols(b, symbols));
    std::vector<uint8_t> out;
    for (const Jbp1Symbol& s : symbols)
        out.push_back(s.symbol);
    return out;
}

using Bytes = std::vector<uint8_t>;

TEST(Jbp1EncoderSymbols, ZeroRunsBeforeACoefficient) {
    int16_t b[64] = {};
    // 40 zeros then 3 (category 2): 30 zeros, then run 10.
    setZigzag(b, 41, 3);
    std::vector<Jbp1Symbol> symbols;
    ASSERT_TRUE(appendJbp1AcSymbols(b, symbols));
    ASSERT_EQ(symbols.size(), 3u);
    EXPECT_EQ(symbols[0].symbol, 0xFF);
    EXPECT_EQ(symbols[0].extraLength, 0);
    EXPECT_EQ(symbols[1].symbol, (10 << 4) | 2);
    EXPECT_EQ(symbols[1].extraLength, 2);
    EXPECT_EQ(symbols[1].extraBits, 3);
    EXPECT_EQ(symbols[2].symbol, 0x00);

    const struct {
        int zeros;
        Bytes expected;  // for a coefficient -1 after `zeros` zeros
    } cases[] = {
        {0, {0x01, 0x00}},
        {14, {0xE1, 0x00}},
        {15, {0xF0, 0x01, 0x00}},
        {16, {0xF1, 0x01, 0x00}},
        {30, {0xFF, 0x01, 0x00}},
        {31, {0xFF, 0x11, 0x00}},
        {45, {0xFF, 0xF0, 0x01, 0x00}},
        {61, {0xFF, 0xFF, 0x11, 0x00}},
        {62, {0xFF, 0xFF, 0x21}},  // the coefficient lands on position 63
    };
    for (const auto& c : cases) {
        int16_t z[64] = {};
        setZigzag(z, c.zeros + 1, -1);
        EXPECT_EQ(symbolsOf(z), c.expected) << c.zeros;
    }
}

TEST(Jbp1EncoderSymbols, EndOfBlockOnlyAfterTrailingZeros) {
    int16_t b[64] = {};
    EXPECT_EQ(symbolsOf(b), Bytes{0x00});  // DC alone
    b[0] = 100;
    setZigzag(b, 63, 5);
    setZigzag(b, 1, 1);
    EXPECT_EQ(symbolsOf(b), (Bytes{0x01, 0xFF, 0xFF, 0x13}));  // no end of block
    int16_t full[64];
    for (int i = 0; i < 64; ++i)
        full[i] = static_cast<int16_t>(i % 2 ? -i : i + 1);
    const Bytes all = symbolsOf(full);
    EXPECT_EQ(all.size(), 63u);
    EXPECT_NE(all.back(), 0x00);
    for (uint8_t s : all)
        EXPECT_EQ(s >> 4, 0);
}

TEST(Jbp1EncoderSymbols, ExtremeValues) {
    int16_t b[64] = {};
    setZigzag(b, 1, 32767);
    setZigzag(b, 2, -32767);
    std::vector<Jbp1Symbol> symbols;
    ASSERT_TRUE(appendJbp1AcSymbols(b, symbols));
    EXPECT_EQ(symbols[0].symbol, 0x0F);
    EXPECT_EQ(symbols[0].extraBits, 0x7FFF);
    EXPECT_EQ(symbols[1].symbol, 0x0F);
    EXPECT_EQ(symbols[1].extraBits, 0);
    setZigzag(b, 2, -32768);  // would need category 16
    EXPECT_FALSE(appendJbp1AcSymbols(b, symbols));
}

TEST(Jbp1Encoder, CraftedBlocksSurviveTheBitStreams) {
    JpegCoefficients c = oneMacroblock();
    block(c, 0)[0] = -1000;
    setZigzag(block(c, 0), 41, 3);  // 40 zeros first
    block(c, 1)[0] = 1000;          // DC difference 2000
    for (int k = 1; k < 64; ++k)
        setZigzag(block(c, 2), k, (k % 3 - 1) * (k * 97));
    setZigzag(block(c, 3), 63, -2);
    block(c, 4)[0] = 32767 - 20000;
    block(c, 5)[0] = -20000;  // difference -32767
    setZigzag(block(c, 5), 17, 32767);
    Bytes stream;
    ASSERT_TRUE(jbp1EncodeCoefficients(c, 80, stream));
    ParsedStream parsed;
    ASSERT_TRUE(parse(stream, parsed));
    EXPECT_EQ(parsed.blocks, c.blocks);
    EXPECT_EQ(parsed.acSymbols[0], (Bytes{0xFF, 0xA2, 0x00}));
    EXPECT_EQ(parsed.acSymbols[3], (Bytes{0xFF, 0xFF, 0x22}));
    EXPECT_EQ(std::memcmp(stream.data() + parsed.tablesOffset, c.lumaTable, 64), 0);
    EXPECT_EQ(std::memcmp(stream.data() + parsed.tablesOffset + 64, c.chromaTable, 64), 0);

    // A DC step of 32768 has no category.
    block(c, 5)[0] = -20001;
    EXPECT_FALSE(jbp1EncodeCoefficients(c, 80, stream));
}

TEST(Jbp1Encoder, RefusesInconsistentCoefficientSets) {
    JpegCoefficients c = oneMacroblock();
    Bytes stream;
    c.width = 17;  // would need two macroblocks across
    EXPECT_FALSE(jbp1EncodeCoefficients(c, 90, stream));
    c = oneMacroblock();
    c.blocks.resize(5 * 64);
    EXPECT_FALSE(jbp1EncodeCoefficients(c, 90, stream));
}

TEST(Jbp1Encoder, StreamLayout) {
    const test::TestPicture p = test::naturalPicture(40, 24);
    Bytes stream, jpeg;
    ASSERT_TRUE(jbp1Encode(p.pixels.data(), p.width, p.height, p.stride(), 90, stream, &jpeg));
    const uint8_t head[24] = {'J', 'B', 'P', '1', 44, 0, 0,  0, 1,  0, 0, 8,
                              90,  0,   0,   0,   40, 0, 24, 0, 24, 0, 0, 0};
    ASSERT_GE(stream.size(), 236u);
    EXPECT_EQ(std::memcmp(stream.data(), head, sizeof head), 0);
    for (int unused : {24, 36, 40})
        EXPECT_EQ(loadLe32(stream.data() + unused), 0u) << unused;

    ParsedStream parsed;
    ASSERT_TRUE(parse(stream, parsed));
    EXPECT_EQ(parsed.header.dcLength % 4, 0u);
    EXPECT_EQ(parsed.header.acLength % 4, 0u);
    EXPECT_EQ(parsed.tablesOffset % 4, 0u);
    uint32_t dcTotal = 0;
    for (uint32_t n : parsed.dcCounts)
        dcTotal += n;
    EXPECT_EQ(dcTotal, 3u * 2 * 6);  // 3 × 2 macroblocks of six blocks
    uint32_t acTotal = 0;
    for (uint32_t n : parsed.acCounts)
        acTotal += n;
    size_t symbols = 0;
    for (const Bytes& b : parsed.acSymbols)
        symbols += b.size();
    EXPECT_EQ(acTotal, symbols);
    // Padding after the packed counts is zero.
    uint8_t repacked[kJbp1PackedAcCountsMax];
    const size_t n = packJbp1AcCounts(parsed.acCounts, repacked);
    for (size_t i = 108 + n; i < parsed.tablesOffset; ++i)
        EXPECT_EQ(stream[i], 0) << i;

    JpegCoefficients fromJpeg;
    ASSERT_TRUE(readJpegCoefficients(jpeg.data(), jpeg.size(), fromJpeg));
    EXPECT_EQ(std::memcmp(stream.data() + parsed.tablesOffset, fromJpeg.lumaTable, 64), 0);
    EXPECT_EQ(std::memcmp(stream.data() + parsed.tablesOffset + 64, fromJpeg.chromaTable, 64), 0);
}

TEST(Jbp1Encoder, BlocksAreTheIntermediateJpegs) {
    const struct {
        int width, height, quality;
    } cases[] = {{33, 17, 90}, {1, 1, 80}, {64, 48, 100}, {100, 37, 80}, {17, 33, 90}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " q" << c.quality);
        const test::TestPicture p = test::naturalPicture(c.width, c.height);
        Bytes stream, jpeg;
        ASSERT_TRUE(
            jbp1Encode(p.pixels.data(), c.width, c.height, p.stride(), c.quality, stream, &jpeg));
        JpegCoefficients fromJpeg;
        ASSERT_TRUE(readJpegCoefficients(jpeg.data(), jpeg.size(), fromJpeg));
        EXPECT_EQ(fromJpeg.macroblocksAcross, (c.width + 15) / 16);
        EXPECT_EQ(fromJpeg.macroblocksDown, (c.height + 15) / 16);
        ParsedStream parsed;
        ASSERT_TRUE(parse(stream, parsed));
        EXPECT_EQ(parsed.header.quality, static_cast<uint32_t>(c.quality));
        EXPECT_EQ(parsed.header.width, c.width);
        EXPECT_EQ(parsed.header.height, c.height);
        EXPECT_EQ(parsed.blocks, fromJpeg.blocks);
    }
}

TEST(Jbp1Encoder, MacroblockOrderFollowsThePicture) {
    // Two macroblocks across, one down: in each, one luminance quadrant is
    // white (a different one per macroblock) and the colour is red on the
    // left, blue on the right.
    test::TestPicture p{32, 16, 3, Bytes(32 * 16 * 3, 0)};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            uint8_t* px = p.pixels.data() + (y * 32 + x) * 3;
            const bool right = x >= 16;
            const int quadrant = (y >= 8) * 2 + (x % 16 >= 8);
            const bool white = quadrant == (right ? 2 : 1);
            px[0] = white ? 255 : right ? 160 : 0;
            px[1] = white ? 255 : 0;
            px[2] = white ? 255 : right ? 0 : 160;
        }
    Bytes stream;
    ASSERT_TRUE(jbp1Encode(p.pixels.data(), 32, 16, p.stride(), 90, stream));
    ParsedStream parsed;
    ASSERT_TRUE(parse(stream, parsed));
    auto dc = [&](int macroblock, int slot) { return parsed.blocks[(macroblock * 6 + slot) * 64]; };
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(dc(0, slot) > dc(0, 0) || slot == 1, slot == 1) << slot;
        EXPECT_EQ(dc(1, slot) > dc(1, 0) || slot == 2, slot == 2) << slot;
    }
    EXPECT_GT(dc(0, 5), 0);  // Cr: red on the left
    EXPECT_LT(dc(0, 4), 0);
    EXPECT_GT(dc(1, 4), 0);  // Cb: blue on the right
    EXPECT_LT(dc(1, 5), 0);
}

TEST(Jbp1Encoder, QualityShowsInTablesAndSize) {
    const test::TestPicture p = test::naturalPicture(96, 64);
    Bytes q100, q80;
    ASSERT_TRUE(jbp1Encode(p.pixels.data(), p.width, p.height, p.stride(), 100, q100));
    ASSERT_TRUE(jbp1Encode(p.pixels.data(), p.width, p.height, p.stride(), 80, q80));
    EXPECT_GT(q100.size(), q80.size());
    ParsedStream parsed;
    ASSERT_TRUE(parse(q100, parsed));
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(q100[parsed.tablesOffset + i], 1) << i;  // quality 100: all ones
}

TEST(Jbp1Encoder, RowStrideIsHonoured) {
    const test::TestPicture p = test::naturalPicture(35, 20);
    const size_t stride = p.stride() + 13;
    Bytes padded(stride * p.height, 0xA5);
    for (int y = 0; y < p.height; ++y)
        std::memcpy(padded.data() + y * stride, p.at(0, y), p.stride());
    Bytes tight, loose;
    ASSERT_TRUE(jbp1Encode(p.pixels.data(), p.width, p.height, p.stride(), 90, tight));
    ASSERT_TRUE(jbp1Encode(padded.data(), p.width, p.height, stride, 90, loose));
    EXPECT_EQ(tight, loose);
}

TEST(Jbp1Encoder, RefusesBadArguments) {
    const test::TestPicture p = test::naturalPicture(8, 8);
    Bytes s;
    EXPECT_FALSE(jbp1Encode(p.pixels.data(), 0, 8, p.stride(), 90, s));
    EXPECT_FALSE(jbp1Encode(p.pixels.data(), 8, -1, p.stride(), 90, s));
    EXPECT_FALSE(jbp1Encode(p.pixels.data(), 8, 8, p.stride() - 1, 90, s));
    EXPECT_FALSE(jbp1Encode(p.pixels.data(), 8, 8, p.stride(), 0, s));
    EXPECT_FALSE(jbp1Encode(p.pixels.data(), 8, 8, p.stride(), 101, s));
    EXPECT_FALSE(jbp1Encode(nullptr, 8, 8, p.stride(), 90, s));
    JpegCoefficients notJpeg;
    EXPECT_FALSE(readJpegCoefficients(p.pixels.data(), p.pixels.size(), notJpeg));
}

}  // namespace
}  // namespace zeku
