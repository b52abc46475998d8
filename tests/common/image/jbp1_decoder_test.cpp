// Tests for the JBP1 decoder: exact pixels against the plain reference
// decoder on every kernel set, the symbol rules one by one, encoded
// pictures, and damaged streams that must fail cleanly and alike.
#include "common/image/jbp1_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "common/image/jbp1_decoder_kernels.h"
#include "common/image/jbp1_encoder.h"
#include "tests/common/image/jbp1_decoder_test_streams.h"
#include "tests/common/image/reference_jbp1_decoder.h"
#include "tests/common/image/test_pictures.h"

namespace zeku {
namespace {

using test::AcItem;
using test::CoefficientBlock;
using Bytes = std::vector<uint8_t>;

std::vector<const Jbp1Kernels*> availableKernels() {
    std::vector<const Jbp1Kernels*> all;
    for (Jbp1Isa isa : {Jbp1Isa::kPortable, Jbp1Isa::kSse2, Jbp1Isa::kSse41, Jbp1Isa::kAvx2})
        if (const Jbp1Kernels* k = jbp1KernelsFor(isa)) all.push_back(k);
    return all;
}

struct Decoded {
    Parsed<void> result;
    std::vector<uint16_t> pixels;
};

// Decodes into a buffer of exactly the padded size, so that the address
// sanitizer sees any write past it.
Decoded decodeWith(const Jbp1Kernels& kernels, const Bytes& stream) {
    Decoded d;
    Jbp1Geometry g;
    const size_t pixels = jbp1ReadGeometry(stream.data(), stream.size(), g)
                              ? static_cast<size_t>(g.paddedWidth) * g.paddedHeight
                              : 0;
    d.pixels.assign(pixels, 0xBEEF);
    d.result = jbp1DecodeWith(kernels, stream.data(), stream.size(), d.pixels.data(), pixels);
    return d;
}

// Index of the first differing pixel, or -1.
long firstDifference(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
    if (a.size() != b.size()) return 0;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return static_cast<long>(i);
    return -1;
}

// Every kernel set gives the reference decoder's result: the same pixels,
// or the same error at the same offset.
void expectLikeReference(const Bytes& stream, const std::string& what) {
    test::ReferenceJbp1Picture reference;
    const Parsed<void> expected = referenceJbp1Decode(stream.data(), stream.size(), reference);
    for (const Jbp1Kernels* kernels : availableKernels()) {
        const Decoded d = decodeWith(*kernels, stream);
        SCOPED_TRACE(what + " with " + kernels->name);
        ASSERT_EQ(d.result.ok(), expected.ok())
            << (d.result.ok() ? expected.error().reason() : d.result.error().reason());
        if (!expected.ok()) {
            EXPECT_STREQ(d.result.error().reason(), expected.error().reason());
            EXPECT_EQ(d.result.error().offset(), expected.error().offset());
            continue;
        }
        EXPECT_EQ(firstDifference(d.pixels, reference.pixels), -1);
    }
}

// Pixels computed straight from the coefficient blocks with the reference
// transform and colour steps, bypassing any bit stream.
std::vector<uint16_t> pixelsFromBlocks(int width, int height,
                                       const std::vector<CoefficientBlock>& blocks,
                                       const uint8_t* table = nullptr) {
    uint8_t ones[64];
    std::memset(ones, 1, sizeof ones);
    const int across = (width + 15) / 16, down = (height + 15) / 16;
    std::vector<uint16_t> pixels(static_cast<size_t>(across) * 16 * down * 16);
    for (int m = 0; m < across * down; ++m) {
        int16_t samples[6][64];
        for (int b = 0; b < 6; ++b)
            test::referenceJbp1Idct(blocks[6 * m + b].data(), table ? table : ones, samples[b]);
        const size_t origin =
            static_cast<size_t>(m / across) * 16 * across * 16 + (m % across) * 16;
        test::referenceJbp1Colour(samples, pixels.data() + origin, across * 16);
    }
    return pixels;
}

void expectPixels(const Bytes& stream, const std::vector<uint16_t>& expected) {
    ASSERT_FALSE(stream.empty());
    for (const Jbp1Kernels* kernels : availableKernels()) {
        const Decoded d = decodeWith(*kernels, stream);
        SCOPED_TRACE(kernels->name);
        ASSERT_TRUE(d.result.ok()) << d.result.error().reason();
        EXPECT_EQ(firstDifference(d.pixels, expected), -1);
    }
    expectLikeReference(stream, "stream");
}

void store32(Bytes& stream, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        stream[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

CoefficientBlock blockWith(std::initializer_list<std::pair<int, int>> zigzagValues) {
    CoefficientBlock b{};
    for (auto [position, value] : zigzagValues)
        b[kJbp1ZigzagToNatural[position]] = static_cast<int16_t>(value);
    return b;
}

// ---- Geometry and known values.

TEST(Jbp1Geometry, RoundsUpToWholeMacroblocks) {
    const Bytes stream =
        writeJbp1TestStream(test::streamFromBlocks(33, 17, std::vector<CoefficientBlock>(36)));
    Jbp1Geometry g;
    ASSERT_TRUE(jbp1ReadGeometry(stream.data(), stream.size(), g));
    EXPECT_EQ(g.width, 33);
    EXPECT_EQ(g.height, 17);
    EXPECT_EQ(g.paddedWidth, 48);
    EXPECT_EQ(g.paddedHeight, 32);

    // The decode fills the whole padded buffer, padding included.
    const Decoded d = decodeWith(jbp1BestKernels(), stream);
    ASSERT_TRUE(d.result.ok());
    ASSERT_EQ(d.pixels.size(), 48u * 32u);
    for (uint16_t p : d.pixels)
        ASSERT_EQ(p, 0x8410);  // zero coefficients: mid grey 128, 128, 128
}

TEST(Jbp1Geometry, RefusesWhatIsNotAPicture) {
    Bytes stream =
        writeJbp1TestStream(test::streamFromBlocks(16, 16, std::vector<CoefficientBlock>(6)));
    Jbp1Geometry g;
    EXPECT_FALSE(jbp1ReadGeometry(stream.data(), 43, g));
    Bytes wrongMagic = stream;
    wrongMagic[3] = '2';
    EXPECT_FALSE(jbp1ReadGeometry(wrongMagic.data(), wrongMagic.size(), g));
    Bytes noWidth = stream;
    noWidth[16] = noWidth[17] = 0;
    EXPECT_FALSE(jbp1ReadGeometry(noWidth.data(), noWidth.size(), g));
    uint16_t pixel;
    const Parsed<void> r = jbp1Decode(noWidth.data(), noWidth.size(), &pixel, 1);
    ASSERT_FALSE(r.ok());
    EXPECT_STREQ(r.error().reason(), "picture has no pixels");
    EXPECT_EQ(r.error().kind(), ParseErrorKind::kDamaged);
    // Data that is no stream at all is told apart from a damaged one.
    const Parsed<void> foreign = jbp1Decode(wrongMagic.data(), wrongMagic.size(), &pixel, 1);
    ASSERT_FALSE(foreign.ok());
    EXPECT_EQ(foreign.error().kind(), ParseErrorKind::kWrongFormat);
}

TEST(Jbp1Decoder, FlatBlocksGiveWorkedOutColours) {
    // Luminance DC 80 × entry 8 = 640 → sample 80 → level 208 everywhere.
    // Cb DC 24 × 8 → 24, Cr DC 40 × 8 → 40:
    //   dr = 40 × 91881 >> 16 = 56, dg = (24 × 22553 + 40 × 46801) >> 16 = 36,
    //   db = 24 × 116129 >> 16 = 42; red 264 → 255, green 172, blue 250.
    uint8_t table[64];
    std::memset(table, 8, sizeof table);
    std::vector<CoefficientBlock> blocks(6);
    for (int b = 0; b < 4; ++b)
        blocks[b][0] = 80;
    blocks[4][0] = 24;
    blocks[5][0] = 40;
    test::Jbp1TestStream s = test::streamFromBlocks(16, 16, blocks, table);
    const Bytes stream = writeJbp1TestStream(s);
    const uint16_t expected = (255 >> 3) << 11 | (172 >> 2) << 5 | (250 >> 3);
    expectPixels(stream, std::vector<uint16_t>(256, expected));
}

TEST(Jbp1Decoder, LuminanceAndChromaTablesApplyToTheirBlocks) {
    // Same coefficients in every block; only the tables tell them apart.
    test::Jbp1TestStream s = test::streamFromBlocks(
        16, 16, std::vector<CoefficientBlock>(6, blockWith({{0, 3}, {1, -2}, {5, 1}})));
    for (int i = 0; i < 64; ++i) {
        s.lumaTable[i] = static_cast<uint8_t>(2 + i);
        s.chromaTable[i] = static_cast<uint8_t>(200 - i);
    }
    const Bytes stream = writeJbp1TestStream(s);
    std::vector<uint16_t> expected(256);
    int16_t samples[6][64];
    const CoefficientBlock block = blockWith({{0, 3}, {1, -2}, {5, 1}});
    for (int b = 0; b < 6; ++b)
        test::referenceJbp1Idct(block.data(), b < 4 ? s.lumaTable : s.chromaTable, samples[b]);
    test::referenceJbp1Colour(samples, expected.data(), 16);
    expectPixels(stream, expected);
}

// ---- Kernels against the reference steps.

CoefficientBlock randomBlock(std::mt19937& rng, int mode, uint8_t* table) {
    CoefficientBlock b{};
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < 64; ++i)
        table[i] = static_cast<uint8_t>(mode >= 3 ? 255 : pick(1, 255));
    switch (mode) {
        case 0:  // DC only
            b[0] = static_cast<int16_t>(pick(-2048, 2047));
            break;
        case 1:  // a few low frequencies, picture-like magnitudes
            for (int k = 0; k < 10; ++k)
                b[kJbp1ZigzagToNatural[pick(0, 14)]] = static_cast<int16_t>(pick(-60, 60));
            break;
        case 2:  // dense, everything up to the largest real coefficients
            for (int i = 0; i < 64; ++i)
                b[i] = static_cast<int16_t>(pick(-1024, 1023) / table[i]);
            break;
        case 3:  // extremes: products and 16-bit results overflow
            for (int i = 0; i < 64; ++i)
                b[i] = static_cast<int16_t>(pick(0, 1) ? 32767 : -32768);
            break;
        default:  // anything
            for (int i = 0; i < 64; ++i)
                b[i] = static_cast<int16_t>(pick(-32768, 32767));
            break;
    }
    if (mode == 1 && pick(0, 1)) {  // sometimes a single column or row only
        for (int i = 0; i < 64; ++i)
            if (pick(0, 1) ? i % 8 != 2 : i / 8 != 5) b[i] = 0;
    }
    return b;
}

TEST(Jbp1Kernels, TransformMatchesReferenceOnEveryInput) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 5000; ++trial) {
        const int mode = trial % 5;
        uint8_t table[64];
        const CoefficientBlock block = randomBlock(rng, mode, table);
        int16_t expected[64];
        test::referenceJbp1Idct(block.data(), table, expected);
        for (const Jbp1Kernels* kernels : availableKernels()) {
            int32_t dequantised[64];
            for (int i = 0; i < 64; ++i)
                dequantised[i] = block[i] * table[i];
            int16_t samples[64];
            kernels->idct(dequantised, samples);
            ASSERT_EQ(std::memcmp(samples, expected, sizeof samples), 0)
                << kernels->name << " trial " << trial << " mode " << mode;
            for (int32_t c : dequantised)
                ASSERT_EQ(c, 0) << kernels->name << " leaves the coefficients for the next block";
        }
    }
}

TEST(Jbp1Kernels, ColourMatchesReferenceOnEverySample) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 3000; ++trial) {
        // Picture-like samples, wide ones, then the full 16-bit range.
        const int spread = trial % 3 == 0 ? 200 : trial % 3 == 1 ? 2000 : 32768;
        std::uniform_int_distribution<int> value(-spread, spread - 1);
        int16_t samples[6][64];
        for (auto& block : samples)
            for (int16_t& s : block)
                s = static_cast<int16_t>(value(rng));
        if (trial == 0) {  // the corners of the range, where wrap-around matters
            const int16_t corners[] = {-32768, 32767, -32767, 0, -1, 23373, -23373, 18000};
            for (int i = 0; i < 64; ++i) {
                samples[4][i] = corners[i % 8];
                samples[5][i] = corners[(i / 8) % 8];
                for (int b = 0; b < 4; ++b)
                    samples[b][i] = corners[(i + b) % 8];
            }
        }
        uint16_t expected[16 * 20];
        test::referenceJbp1Colour(samples, expected, 20);
        for (const Jbp1Kernels* kernels : availableKernels()) {
            uint16_t pixels[16 * 20];
            kernels->colour(&samples[0][0], pixels, 20);
            for (int y = 0; y < 16; ++y)
                ASSERT_EQ(std::memcmp(pixels + 20 * y, expected + 20 * y, 32), 0)
                    << kernels->name << " trial " << trial << " row " << y;
        }
    }
}

// ---- Symbol rules.

std::vector<AcItem> symbolsOf(const CoefficientBlock& block) {
    std::vector<AcItem> items;
    test::appendBlockSymbols(block, items);
    return items;
}

TEST(Jbp1Symbols, FilledLastPositionEndsTheBlockWithoutEndSymbol) {
    const CoefficientBlock last = blockWith({{0, 5}, {3, 2}, {63, -7}});
    const std::vector<AcItem> items = symbolsOf(last);
    ASSERT_FALSE(items.empty());
    EXPECT_NE(items.back().symbol, 0x00);
    // A whole macroblock of such blocks: any expected end symbol would shift
    // every following block.
    std::vector<CoefficientBlock> blocks(6, last);
    blocks[2] = blockWith({{0, -3}, {1, 1}});
    blocks[5] = blockWith({{63, 1}});
    const Bytes stream = writeJbp1TestStream(test::streamFromBlocks(16, 16, blocks));
    expectPixels(stream, pixelsFromBlocks(16, 16, blocks));
}

TEST(Jbp1Symbols, LongZeroRunsUseRunSymbols) {
    // 40 zeros before a coefficient of size 3: 0xFF (30 zeros), then run 10.
    const std::vector<AcItem> forty = symbolsOf(blockWith({{41, 5}}));
    ASSERT_EQ(forty.size(), 3u);
    EXPECT_EQ(forty[0].symbol, 0xFF);
    EXPECT_EQ(forty[1].symbol, (10 << 4) | 3);
    EXPECT_EQ(forty[2].symbol, 0x00);
    // 17 zeros: 0xF2, then the coefficient with run 0; 30 zeros: 0xFF alone.
    const std::vector<AcItem> seventeen = symbolsOf(blockWith({{18, -1}}));
    EXPECT_EQ(seventeen[0].symbol, 0xF2);
    EXPECT_EQ(seventeen[1].symbol, 0x01);
    const std::vector<AcItem> thirty = symbolsOf(blockWith({{31, 1}, {63, 1}}));
    EXPECT_EQ(thirty[0].symbol, 0xFF);
    EXPECT_EQ(thirty[1].symbol, 0x01);

    std::vector<CoefficientBlock> blocks = {
        blockWith({{41, 5}}),          blockWith({{18, -1}, {50, 9}}),
        blockWith({{31, 1}, {63, 1}}), blockWith({{1, 1}, {46, -300}}),
        blockWith({{0, 7}, {16, 2}}),  blockWith({{62, 1}}),
    };
    const Bytes stream = writeJbp1TestStream(test::streamFromBlocks(16, 16, blocks));
    expectPixels(stream, pixelsFromBlocks(16, 16, blocks));
}

TEST(Jbp1Symbols, RunsThatPassTheLastPositionEndTheBlock) {
    // Block 0: zero runs carry the position to 61, then a coefficient with
    // run 14 would land at 76 and is dropped; the block ends there.
    // Block 1: runs alone pass position 63 (30 + 30 + 17), no end symbol.
    // Block 2: a run symbol of size 0 (0x30) places three zeros and a zero.
    test::Jbp1TestStream s;
    s.dcValues = {10, 20, 30, 40, 50, 60};
    s.acItems = {{0x01, 1},  {0xFF, 0}, {0xFF, 0}, {0xE1, 5},  // block 0
                 {0x02, -3}, {0xFF, 0}, {0xFF, 0}, {0xF2, 0},  // block 1
                 {0x30, 0},  {0x03, 7}, {0x00, 0},             // block 2
                 {0x00, 0},  {0x00, 0}, {0x00, 0}};            // blocks 3-5
    std::memset(s.lumaTable, 1, 64);
    std::memset(s.chromaTable, 1, 64);
    const Bytes stream = writeJbp1TestStream(s);
    const std::vector<CoefficientBlock> blocks = {
        blockWith({{0, 10}, {1, 1}}), blockWith({{0, 20}, {1, -3}}), blockWith({{0, 30}, {5, 7}}),
        blockWith({{0, 40}}),         blockWith({{0, 50}}),          blockWith({{0, 60}}),
    };
    expectPixels(stream, pixelsFromBlocks(16, 16, blocks));
}

TEST(Jbp1Symbols, AllZeroCountsStillCodeEverySymbol) {
    // Zero counts everywhere still give complete trees (16 and 256 leaves),
    // so a stream may use any symbol at all.
    const uint32_t zeroDc[kJbp1DcSymbols] = {};
    const uint32_t zeroAc[kJbp1AcSymbols] = {};
    Jbp1Tree tree;
    buildJbp1Tree(zeroAc, kJbp1AcSymbols, tree);
    Jbp1Code codes[kJbp1AcSymbols];
    ASSERT_TRUE(jbp1CodesFromTree(tree, codes));
    EXPECT_EQ(tree.root, 2 * kJbp1AcSymbols - 2);

    std::vector<CoefficientBlock> blocks(6);
    std::mt19937 rng(3);
    for (CoefficientBlock& b : blocks)
        for (int k = 0; k < 64; k += 1 + static_cast<int>(rng() % 9))
            b[kJbp1ZigzagToNatural[k]] =
                static_cast<int16_t>(static_cast<int>(rng() % 4001) - 2000);
    test::Jbp1TestStream s = test::streamFromBlocks(16, 16, blocks);
    s.dcCounts = zeroDc;
    s.acCounts = zeroAc;
    const Bytes stream = writeJbp1TestStream(s);
    expectPixels(stream, pixelsFromBlocks(16, 16, blocks));
}

TEST(Jbp1Symbols, CodesLongerThanTheLookupWindow) {
    // Fibonacci counts on symbols the picture never uses make a deep chain;
    // the used symbols, with count 0, end up at its bottom.
    std::vector<CoefficientBlock> blocks(24);
    std::mt19937 rng(5);
    for (CoefficientBlock& b : blocks)
        for (int k = 0; k < 64; k += 1 + static_cast<int>(rng() % 6))
            b[kJbp1ZigzagToNatural[k]] = static_cast<int16_t>(static_cast<int>(rng() % 41) - 20);
    test::Jbp1TestStream s = test::streamFromBlocks(32, 32, blocks);
    uint32_t acCounts[kJbp1AcSymbols] = {};
    uint32_t dcCounts[kJbp1DcSymbols] = {};
    uint32_t a = 1, b = 1;
    for (int symbol = 0x60; symbol < 0x60 + 20; ++symbol) {  // runs 6..7, never used here
        acCounts[symbol] = a;
        const uint32_t next = a + b;
        a = b;
        b = next;
    }
    for (int c = 0; c < kJbp1DcSymbols; ++c)  // DC: category 15 deepest
        dcCounts[c] = 1u << (kJbp1DcSymbols - c);
    s.acCounts = acCounts;
    s.dcCounts = dcCounts;

    Jbp1Tree tree;
    buildJbp1Tree(acCounts, kJbp1AcSymbols, tree);
    Jbp1Code codes[kJbp1AcSymbols];
    jbp1CodesFromTree(tree, codes);
    int longest = 0;
    for (const AcItem& item : s.acItems)
        longest = std::max<int>(longest, codes[item.symbol].length);
    ASSERT_GT(longest, 20);

    const Bytes stream = writeJbp1TestStream(s);
    expectPixels(stream, pixelsFromBlocks(32, 32, blocks));
}

TEST(Jbp1Symbols, CountsAtTheCapLeaveSymbolsOutOfTheTree) {
    // Counts of 2,100,000,000 never join a tree. AC: only end of block and
    // 0x01 remain, one bit each. DC: only category 0 remains, so nothing is
    // joined, the tree is that one symbol and each value takes no bits.
    constexpr uint32_t kCapped = 2100000000;
    uint32_t acCounts[kJbp1AcSymbols], dcCounts[kJbp1DcSymbols];
    for (uint32_t& c : acCounts)
        c = kCapped;
    acCounts[0x00] = acCounts[0x01] = 5;
    for (uint32_t& c : dcCounts)
        c = kCapped;
    dcCounts[0] = 1;

    std::vector<CoefficientBlock> blocks(12);
    for (int i = 0; i < 12; ++i)
        blocks[i] = i % 3 ? blockWith({{1, i % 2 ? 1 : -1}}) : CoefficientBlock{};
    test::Jbp1TestStream s = test::streamFromBlocks(16, 32, blocks);
    s.acCounts = acCounts;
    Bytes stream = writeJbp1TestStream(s);
    ASSERT_FALSE(stream.empty());
    for (int i = 0; i < kJbp1DcSymbols; ++i)
        store32(stream, kJbp1HeaderLength + 4 * i, dcCounts[i]);
    // Without bits to spend, the DC stream can be dropped altogether.
    const test::Jbp1TestLayout layout = test::jbp1TestLayout(stream);
    stream.erase(stream.begin() + static_cast<long>(layout.dcOffset),
                 stream.begin() + static_cast<long>(layout.acOffset));
    store32(stream, 28, 0);
    expectPixels(stream, pixelsFromBlocks(16, 32, blocks));
}

TEST(Jbp1Symbols, DcValuesAccumulateInSixteenBits) {
    // Differences of 30000 run the sum past the 16-bit range; each block
    // keeps the low 16 bits of the running value.
    std::vector<CoefficientBlock> blocks(12);
    test::Jbp1TestStream s = test::streamFromBlocks(32, 16, blocks);
    for (int i = 0; i < 12; ++i) {
        s.dcValues[i] = 30000 * (i + 1);
        blocks[i][0] = static_cast<int16_t>(s.dcValues[i]);
    }
    const Bytes stream = writeJbp1TestStream(s);
    expectPixels(stream, pixelsFromBlocks(32, 16, blocks));
}

TEST(Jbp1Symbols, ExtremeCoefficientsDecodeAsDefined) {
    // Values and tables at their limits overflow the 32-bit products and the
    // 16-bit results; every kernel set wraps exactly like the reference.
    uint8_t table[64];
    std::memset(table, 255, sizeof table);
    std::vector<CoefficientBlock> blocks(6);
    std::mt19937 rng(9);
    for (CoefficientBlock& b : blocks) {
        for (int16_t& v : b)
            v = static_cast<int16_t>(rng() % 2 ? 32767 : -32767);
        b[0] = 32767;  // DC differences must stay within ±32767
    }
    // DC-only blocks take a shortcut, which must keep the column pass's
    // 16-bit result (32767 × 255 wraps) as well.
    blocks[1] = blockWith({{0, 32767}});
    blocks[4] = blockWith({{0, 32767}});
    const Bytes stream = writeJbp1TestStream(test::streamFromBlocks(16, 16, blocks, table));
    expectPixels(stream, pixelsFromBlocks(16, 16, blocks, table));
}

// ---- Encoded pictures.

test::TestPicture noisePicture(int width, int height, uint32_t seed) {
    test::TestPicture p{width, height, 3, {}};
    p.pixels.resize(p.stride() * height);
    std::mt19937 rng(seed);
    for (uint8_t& v : p.pixels)
        v = static_cast<uint8_t>(rng());
    return p;
}

// Dark strokes on a light ground with coloured underlines: the hard edges
// of text and line art.
test::TestPicture textPicture(int width, int height) {
    test::TestPicture p{width, height, 3, {}};
    p.pixels.resize(p.stride() * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* px = p.pixels.data() + y * p.stride() + x * 3;
            const bool stroke = (x % 7 < 2 && y % 11 < 8) || (y % 11 == 4 && x % 23 < 15);
            const bool underline = y % 11 == 9;
            px[0] = stroke ? 20 : underline ? 220 : 235;
            px[1] = stroke ? 25 : underline ? 40 : 240;
            px[2] = stroke ? 30 : underline ? 60 : 245;
        }
    return p;
}

Bytes encode(const test::TestPicture& p, int quality) {
    Bytes stream;
    EXPECT_TRUE(jbp1Encode(p.pixels.data(), p.width, p.height, p.stride(), quality, stream));
    return stream;
}

TEST(Jbp1Pictures, EncodedPicturesDecodeLikeTheReference) {
    const int sizes[][2] = {{1, 1}, {16, 16}, {33, 17}, {17, 33}, {100, 75}, {255, 130}};
    int seed = 1;
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        for (int quality : {100, 90, 80}) {
            const std::string what =
                std::to_string(w) + "x" + std::to_string(h) + " q" + std::to_string(quality);
            expectLikeReference(encode(test::naturalPicture(w, h), quality), "natural " + what);
            expectLikeReference(encode(noisePicture(w, h, seed++), quality), "noise " + what);
            expectLikeReference(encode(textPicture(w, h), quality), "text " + what);
        }
    }
    expectLikeReference(encode(test::naturalPicture(640, 480), 90), "natural 640x480 q90");
}

TEST(Jbp1Pictures, QualityFloor) {
    // RGB565 alone caps the ratio near 37 dB and halved chroma costs more at
    // the disc's edge; a wrong channel or sign costs far more than that.
    const test::TestPicture picture = test::naturalPicture(320, 240);
    for (auto [quality, floor] : {std::pair{100, 32.5}, {90, 32.0}, {80, 31.5}}) {
        const Bytes stream = encode(picture, quality);
        const Decoded d = decodeWith(jbp1BestKernels(), stream);
        ASSERT_TRUE(d.result.ok());
        std::vector<uint8_t> bgr(picture.pixels.size());
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                test::rgb565ToBgr(d.pixels[y * 320 + x], &bgr[(y * 320 + x) * 3]);
        EXPECT_GT(test::psnr(bgr.data(), 960, picture.pixels.data(), 960, 320, 240), floor)
            << "quality " << quality;
    }
}

// ---- Damaged streams.

Bytes smallEncodedStream() {
    return encode(test::naturalPicture(40, 30), 90);
}

void expectError(const Bytes& stream, const char* error, size_t offset) {
    for (const Jbp1Kernels* kernels : availableKernels()) {
        const Decoded d = decodeWith(*kernels, stream);
        ASSERT_FALSE(d.result.ok()) << kernels->name;
        EXPECT_STREQ(d.result.error().reason(), error) << kernels->name;
        EXPECT_EQ(d.result.error().offset(), offset) << kernels->name;
    }
    expectLikeReference(stream, error);
}

TEST(Jbp1Damage, RefusesStreamsWithoutTablesAndSmallBuffers) {
    Bytes stream = smallEncodedStream();
    uint16_t tooFew[48 * 32 - 1];
    const Parsed<void> small = jbp1Decode(stream.data(), stream.size(), tooFew, 48 * 32 - 1);
    ASSERT_FALSE(small.ok());
    EXPECT_STREQ(small.error().reason(), "pixel buffer too small");

    stream[11] &= ~0x08;  // flag bit 27
    expectError(stream, "stream has no quantisation tables", 8);
}

TEST(Jbp1Damage, DeclaredLengthsBeyondTheData) {
    const Bytes stream = smallEncodedStream();
    const test::Jbp1TestLayout layout = test::jbp1TestLayout(stream);
    Bytes longDc = stream;
    store32(longDc, 28, static_cast<uint32_t>(stream.size() - layout.dcOffset + 1));
    expectError(longDc, "DC stream longer than the data", 28);
    Bytes longAc = stream;
    store32(longAc, 32, 0xFFFFFFFFu);
    expectError(longAc, "AC stream longer than the data", 32);
    Bytes shortHeader = stream;
    store32(shortHeader, 4, 40);
    expectError(shortHeader, "header length below 44", 4);
}

TEST(Jbp1Damage, BitStreamsThatRunOut) {
    const Bytes stream = smallEncodedStream();
    const test::Jbp1TestLayout layout = test::jbp1TestLayout(stream);
    const uint32_t acLength = static_cast<uint32_t>(layout.end - layout.acOffset);

    // Shortening the AC stream's declared length leaves its last blocks
    // without bits.
    Bytes shortAc = stream;
    store32(shortAc, 32, acLength / 2);
    expectError(shortAc, "AC stream ends early", layout.acOffset + acLength / 2);
    Bytes noAc = stream;
    store32(noAc, 32, 0);
    expectError(noAc, "AC stream ends early", layout.acOffset);

    // A DC stream of 4 bytes cannot hold 30 blocks' values.
    Bytes shortDc = stream;
    store32(shortDc, 28, 4);
    expectError(shortDc, "DC stream ends early", layout.dcOffset + 4);
}

TEST(Jbp1Damage, EveryTruncationFailsLikeTheReference) {
    const Bytes stream = smallEncodedStream();
    for (size_t length = 0; length <= stream.size(); ++length) {
        const Bytes cut(stream.begin(), stream.begin() + static_cast<long>(length));
        expectLikeReference(cut, "cut at " + std::to_string(length));
        if (length < stream.size()) {
            const Decoded d = decodeWith(jbp1BestKernels(), cut);
            ASSERT_FALSE(d.result.ok()) << length;
            ASSERT_LE(d.result.error().offset(), length);
        }
    }
}

TEST(Jbp1Damage, CorruptedBytesDecodeLikeTheReference) {
    const Bytes stream = smallEncodedStream();
    std::mt19937 rng(17);
    for (int trial = 0; trial < 400; ++trial) {
        Bytes damaged = stream;
        const int flips = 1 + trial % 4;
        for (int i = 0; i < flips; ++i) {
            // Leave the size fields alone: a huge picture only tests memory.
            size_t at;
            do {
                at = rng() % damaged.size();
            } while (at >= 16 && at < 20);
            damaged[at] ^= static_cast<uint8_t>(1 + rng() % 255);
        }
        expectLikeReference(damaged, "trial " + std::to_string(trial));
    }
}

TEST(Jbp1Damage, FuzzRegressionInputs) {
    const std::filesystem::path folder = ZEKU_JBP1_FUZZ_REGRESSIONS;
    if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no regression inputs";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Jbp1Geometry g;
        if (jbp1ReadGeometry(bytes.data(), bytes.size(), g) &&
            static_cast<size_t>(g.paddedWidth) * g.paddedHeight > (size_t{1} << 22))
            continue;
        expectLikeReference(bytes, entry.path().filename().string());
    }
}

}  // namespace
}  // namespace zeku
