// Tests for the JBP1 pieces shared by encoder and decoder: tree building and
// its tie rules, codes, size categories, count packing and the header.
#include "common/image/jbp1_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace zeku {
namespace {

// Leaf depth for every symbol, from the codes.
std::vector<int> codeLengths(const Jbp1Tree& tree) {
    std::vector<Jbp1Code> codes(tree.symbolCount);
    EXPECT_TRUE(jbp1CodesFromTree(tree, codes.data()));
    std::vector<int> lengths;
    for (const Jbp1Code& c : codes)
        lengths.push_back(c.length);
    return lengths;
}

// Follows a code from the root the way a decoder would.
int walk(const Jbp1Tree& tree, const Jbp1Code& code) {
    int node = tree.root;
    for (int i = code.length - 1; i >= 0; --i) {
        EXPECT_GE(node, tree.symbolCount);
        node = tree.child[node][(code.bits >> i) & 1];
    }
    return node;
}

TEST(Jbp1Tree, JoinsLightestWithTiesToLowestIndex) {
    // Counts 5, 1, 1, 3 and twelve zeros: all weight-0 nodes merge first,
    // pairwise in index order, before symbol 1 is touched.
    uint32_t counts[16] = {5, 1, 1, 3};
    Jbp1Tree tree;
    buildJbp1Tree(counts, 16, tree);
    const int expected[15][2] = {
        {4, 5},   {6, 7},   {8, 9},   {10, 11}, {12, 13}, {14, 15}, {16, 17}, {18, 19},
        {20, 21}, {22, 23}, {24, 25}, {26, 1},  {2, 27},  {28, 3},  {0, 29},
    };
    for (int n = 0; n < 15; ++n) {
        EXPECT_EQ(tree.child[16 + n][0], expected[n][0]) << 16 + n;
        EXPECT_EQ(tree.child[16 + n][1], expected[n][1]) << 16 + n;
    }
    // Node 27 (weight 1) ties symbol 2 and loses on index; symbol 0 ties
    // node 29 (weight 5) and wins.
    EXPECT_EQ(tree.root, 30);

    std::vector<Jbp1Code> codes(16);
    ASSERT_TRUE(jbp1CodesFromTree(tree, codes.data()));
    for (int s = 0; s < 16; ++s)
        EXPECT_EQ(walk(tree, codes[s]), s) << s;
}

TEST(Jbp1Tree, SmallExampleByHand) {
    // Three symbols with weights 2, 1, 1 (N = 3 is enough for the shape).
    uint32_t counts[3] = {2, 1, 1};
    Jbp1Tree tree;
    buildJbp1Tree(counts, 3, tree);
    // Lightest is symbol 1 (tie with 2, lower index), then symbol 2.
    EXPECT_EQ(tree.child[3][0], 1);
    EXPECT_EQ(tree.child[3][1], 2);
    // Then symbol 0 (weight 2, index 0) ties node 3 (weight 2) and wins.
    EXPECT_EQ(tree.child[4][0], 0);
    EXPECT_EQ(tree.child[4][1], 3);
    EXPECT_EQ(tree.root, 4);
    std::vector<Jbp1Code> codes(3);
    ASSERT_TRUE(jbp1CodesFromTree(tree, codes.data()));
    EXPECT_EQ(codes[0].length, 1);
    EXPECT_EQ(codes[0].bits, 0u);
    EXPECT_EQ(codes[1].length, 2);
    EXPECT_EQ(codes[1].bits, 2u);  // root -> 1 -> 0
    EXPECT_EQ(codes[2].bits, 3u);
}

TEST(Jbp1Tree, AllZeroCountsGiveCompleteTrees) {
    uint32_t counts[256] = {};
    for (int n : {16, 256}) {
        Jbp1Tree tree;
        buildJbp1Tree(counts, n, tree);
        EXPECT_EQ(tree.root, 2 * n - 2);
        const std::vector<int> lengths = codeLengths(tree);
        // Equal weights pair up level by level: a balanced tree.
        const int depth = n == 16 ? 4 : 8;
        for (int len : lengths)
            EXPECT_EQ(len, depth);
    }
}

TEST(Jbp1Tree, CodesSatisfyKraftAndFavourFrequentSymbols) {
    uint32_t counts[256];
    for (int i = 0; i < 256; ++i)
        counts[i] = static_cast<uint32_t>((i * 7919) % 1000);
    Jbp1Tree tree;
    buildJbp1Tree(counts, 256, tree);
    EXPECT_EQ(tree.root, 510);
    std::vector<Jbp1Code> codes(256);
    ASSERT_TRUE(jbp1CodesFromTree(tree, codes.data()));
    double kraft = 0;
    for (int s = 0; s < 256; ++s) {
        kraft += 1.0 / static_cast<double>(uint64_t{1} << codes[s].length);
        EXPECT_EQ(walk(tree, codes[s]), s);
    }
    EXPECT_DOUBLE_EQ(kraft, 1.0);
    // Symbol with count 0 (i = 0) never gets a shorter code than the most
    // frequent one.
    int mostFrequent = 0;
    for (int s = 0; s < 256; ++s)
        if (counts[s] > counts[mostFrequent]) mostFrequent = s;
    EXPECT_LE(codes[mostFrequent].length, codes[0].length);
}

TEST(Jbp1Tree, WeightCapKeepsHeavyNodesOut) {
    uint32_t counts[16] = {};
    // Just below the cap still joins; the sum with a zero stays below it.
    counts[3] = 2099999998;
    Jbp1Tree tree;
    buildJbp1Tree(counts, 16, tree);
    EXPECT_EQ(tree.root, 30);
    EXPECT_EQ(codeLengths(tree)[3], 1);

    // At the cap the symbol is never found: the other fifteen still form a
    // tree, but symbol 3 has no code and the codes are refused.
    counts[3] = 2099999999;
    buildJbp1Tree(counts, 16, tree);
    EXPECT_EQ(tree.root, 29);
    std::vector<Jbp1Code> codes(16);
    EXPECT_FALSE(jbp1CodesFromTree(tree, codes.data()));

    // Findable weights whose sum passes the cap: a last join is harmless,
    // but an earlier one strands its subtree.
    uint32_t heavy[16] = {};
    heavy[0] = 2000000000;
    heavy[1] = 2000000000;
    buildJbp1Tree(heavy, 16, tree);
    EXPECT_EQ(tree.root, 30);
    EXPECT_TRUE(jbp1CodesFromTree(tree, codes.data()));
    heavy[2] = 2000000000;
    buildJbp1Tree(heavy, 16, tree);
    EXPECT_EQ(tree.root, 29);
    EXPECT_EQ(tree.child[29][0], 1);
    EXPECT_EQ(tree.child[29][1], 2);
    EXPECT_FALSE(jbp1CodesFromTree(tree, codes.data()));

    // Counts beyond 32 bits of sum do not wrap into small weights.
    uint32_t huge[16];
    for (uint32_t& c : huge)
        c = 0xFFFFFFFFu;
    buildJbp1Tree(huge, 16, tree);
    EXPECT_LT(tree.root, 16);
    EXPECT_FALSE(jbp1CodesFromTree(tree, codes.data()));
}

// The tree as the rule reads: scan every live node for the lightest (ties
// to the lowest index), scan again for the next, join, repeat.
void scanBuiltTree(const uint32_t* counts, int n, Jbp1Tree& tree) {
    constexpr uint64_t kCap = 2099999999, kTaken = 2100000000;
    uint64_t weights[2 * kJbp1AcSymbols] = {};
    for (int i = 0; i < n; ++i)
        weights[i] = counts[i];
    tree.symbolCount = n;
    tree.root = 0;
    int next = n;
    for (;;) {
        int first = -1, second = -1;
        for (int i = 0; i < next; ++i)
            if (weights[i] < kCap && (first < 0 || weights[i] < weights[first])) first = i;
        for (int i = 0; i < next; ++i)
            if (i != first && weights[i] < kCap && (second < 0 || weights[i] < weights[second]))
                second = i;
        if (first < 0 || second < 0) break;
        weights[next] = weights[first] + weights[second];
        weights[first] = weights[second] = kTaken;
        tree.child[next][0] = static_cast<uint16_t>(first);
        tree.child[next][1] = static_cast<uint16_t>(second);
        tree.root = next++;
    }
}

TEST(Jbp1Tree, SameJoinsAsScanningEveryNode) {
    uint32_t seed = 12345;
    auto random = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    for (int round = 0; round < 3000; ++round) {
        const int n = round % 2 ? 256 : 16;
        uint32_t counts[kJbp1AcSymbols];
        const uint32_t kind = round % 5;
        for (int i = 0; i < n; ++i) {
            const uint32_t r = random();
            counts[i] = kind == 0   ? r % 4                   // many ties
                        : kind == 1 ? (r % 3 ? 0 : r % 1000)  // sparse
                        : kind == 2 ? r % 100000
                        : kind == 3 ? (r % 7 ? r % 50 : 2099999990 + r % 20)  // near the cap
                                    : r * 977u;                               // anything
        }
        Jbp1Tree fast, scanned;
        buildJbp1Tree(counts, n, fast);
        scanBuiltTree(counts, n, scanned);
        ASSERT_EQ(fast.root, scanned.root) << round;
        for (int node = n; node <= fast.root; ++node) {
            ASSERT_EQ(fast.child[node][0], scanned.child[node][0]) << round << " " << node;
            ASSERT_EQ(fast.child[node][1], scanned.child[node][1]) << round << " " << node;
        }
    }
}

TEST(Jbp1Tree, OverlongCodesAreRefused) {
    // Fibonacci weights make a chain: the deepest code has length N - 1.
    uint32_t counts[40] = {};
    uint32_t a = 1, b = 1;
    for (int i = 0; i < 40; ++i) {
        counts[i] = a;
        const uint32_t next = a + b;
        a = b;
        b = next;
    }
    Jbp1Tree tree;
    buildJbp1Tree(counts, 34, tree);  // depth 33
    std::vector<Jbp1Code> codes(34);
    EXPECT_FALSE(jbp1CodesFromTree(tree, codes.data()));
    buildJbp1Tree(counts, 33, tree);  // depth 32 fits
    EXPECT_TRUE(jbp1CodesFromTree(tree, codes.data()));
    EXPECT_EQ(codes[0].length, 32);
    EXPECT_EQ(walk(tree, codes[0]), 0);
}

TEST(Jbp1Categories, SizesAndExtraBits) {
    EXPECT_EQ(jbp1SizeCategory(0), 0);
    EXPECT_EQ(jbp1SizeCategory(1), 1);
    EXPECT_EQ(jbp1SizeCategory(-1), 1);
    EXPECT_EQ(jbp1SizeCategory(2), 2);
    EXPECT_EQ(jbp1SizeCategory(-3), 2);
    EXPECT_EQ(jbp1SizeCategory(4), 3);
    EXPECT_EQ(jbp1SizeCategory(16383), 14);
    EXPECT_EQ(jbp1SizeCategory(16384), 15);
    EXPECT_EQ(jbp1SizeCategory(32767), 15);
    EXPECT_EQ(jbp1SizeCategory(-32767), 15);

    EXPECT_EQ(jbp1ExtraBits(1, 1), 1u);
    EXPECT_EQ(jbp1ExtraBits(-1, 1), 0u);
    EXPECT_EQ(jbp1ExtraBits(-2, 2), 1u);
    EXPECT_EQ(jbp1ExtraBits(-3, 2), 0u);
    EXPECT_EQ(jbp1ExtraBits(5, 3), 5u);
    EXPECT_EQ(jbp1ExtraBits(-5, 3), 2u);
    EXPECT_EQ(jbp1ExtraBits(32767, 15), 0x7FFFu);
    EXPECT_EQ(jbp1ExtraBits(-32767, 15), 0u);
    EXPECT_EQ(jbp1ExtraBits(0, 0), 0u);

    EXPECT_EQ(jbp1ValueFromExtraBits(0, 0), 0);
    EXPECT_EQ(jbp1ValueFromExtraBits(0, 1), -1);
    EXPECT_EQ(jbp1ValueFromExtraBits(1, 2), -2);
    EXPECT_EQ(jbp1ValueFromExtraBits(0x7FFF, 15), 32767);
    EXPECT_EQ(jbp1ValueFromExtraBits(0, 15), -32767);
    EXPECT_EQ(jbp1ValueFromExtraBits(0x4000, 15), 16384);

    for (int v = -32767; v <= 32767; ++v) {
        const int s = jbp1SizeCategory(v);
        const uint32_t e = jbp1ExtraBits(v, s);
        ASSERT_LT(e, 1u << s) << v;
        ASSERT_EQ(jbp1ValueFromExtraBits(e, s), v) << v;
    }
}

TEST(Jbp1Zigzag, IsAPermutationWalkingDiagonals) {
    bool seen[64] = {};
    for (int k = 0; k < 64; ++k) {
        const int n = kJbp1ZigzagToNatural[k];
        ASSERT_LT(n, 64);
        EXPECT_FALSE(seen[n]);
        seen[n] = true;
        if (k > 0) {
            const int p = kJbp1ZigzagToNatural[k - 1];
            const int diag = n / 8 + n % 8, prevDiag = p / 8 + p % 8;
            EXPECT_TRUE(diag == prevDiag || diag == prevDiag + 1) << k;
        }
    }
    EXPECT_EQ(kJbp1ZigzagToNatural[2], 8);
    EXPECT_EQ(kJbp1ZigzagToNatural[63], 63);
}

struct Packed {
    std::vector<uint8_t> bytes;
    size_t length;
};

Packed pack(const uint32_t* counts) {
    Packed p{std::vector<uint8_t>(kJbp1PackedAcCountsMax, 0xEE), 0};
    p.length = packJbp1AcCounts(counts, p.bytes.data());
    return p;
}

TEST(Jbp1CountPacking, ZeroRunsAndLiterals) {
    uint32_t counts[256] = {};
    // All zero: 1024 bytes = four runs of 256.
    Packed p = pack(counts);
    ASSERT_EQ(p.length, 8u);
    const uint8_t allZero[8] = {0, 255, 0, 255, 0, 255, 0, 255};
    EXPECT_EQ(std::memcmp(p.bytes.data(), allZero, 8), 0);

    // Bytes 0 and 257 non-zero: a run of exactly 256 zeros between them,
    // then 766 trailing zeros (255 + 255 + 254 + 2 pairs).
    counts[0] = 0x07;
    counts[64] = 0x0900;  // byte 257
    p = pack(counts);
    const uint8_t twoFiftySix[] = {7, 0, 255, 9, 0, 255, 0, 255, 0, 253};
    ASSERT_EQ(p.length, sizeof twoFiftySix);
    EXPECT_EQ(std::memcmp(p.bytes.data(), twoFiftySix, p.length), 0);
    EXPECT_EQ(p.bytes[10], 0);  // padding to 12 written as zeros
    EXPECT_EQ(p.bytes[11], 0);

    // A run of 257 zeros splits into 256 + 1.
    counts[64] = 0;
    counts[64] = 0x090000;  // byte 258
    p = pack(counts);
    const uint8_t twoFiftySeven[] = {7, 0, 255, 0, 0, 9, 0, 255, 0, 255, 0, 252};
    ASSERT_EQ(p.length, sizeof twoFiftySeven);
    EXPECT_EQ(std::memcmp(p.bytes.data(), twoFiftySeven, p.length), 0);

    // A non-zero final byte leaves no trailing run.
    uint32_t last[256] = {};
    last[255] = 0xAB000000u;
    p = pack(last);
    const uint8_t endsLiteral[] = {0, 255, 0, 255, 0, 255, 0, 254, 0xAB};
    ASSERT_EQ(p.length, sizeof endsLiteral);
    EXPECT_EQ(std::memcmp(p.bytes.data(), endsLiteral, p.length), 0);
}

TEST(Jbp1CountPacking, WorstCaseFitsTheBound) {
    uint32_t counts[256];
    for (uint32_t& c : counts)
        c = 0x00010001u;  // every other byte zero, each run alone
    Packed p = pack(counts);
    EXPECT_EQ(p.length, kJbp1PackedAcCountsMax);
    uint32_t back[256];
    EXPECT_EQ(unpackJbp1AcCounts(p.bytes.data(), p.length, back), kJbp1PackedAcCountsMax);
    EXPECT_EQ(std::memcmp(back, counts, sizeof back), 0);
}

TEST(Jbp1CountPacking, RoundTripReturnsPaddedLength) {
    uint32_t counts[256];
    for (int i = 0; i < 256; ++i)
        counts[i] = i % 5 == 0 ? 0 : static_cast<uint32_t>(i * i * 37);
    Packed p = pack(counts);
    uint32_t back[256] = {};
    const size_t next = unpackJbp1AcCounts(p.bytes.data(), p.bytes.size(), back);
    EXPECT_EQ(next, (p.length + 3) / 4 * 4);
    EXPECT_EQ(std::memcmp(back, counts, sizeof back), 0);
}

TEST(Jbp1CountPacking, UnpackRefusesTruncatedAndOverrunningData) {
    uint32_t counts[256] = {};
    counts[10] = 0x12345678;
    Packed p = pack(counts);
    uint32_t back[256];
    for (size_t cut = 0; cut < p.length; ++cut)
        EXPECT_EQ(unpackJbp1AcCounts(p.bytes.data(), cut, back), 0u) << cut;
    EXPECT_NE(unpackJbp1AcCounts(p.bytes.data(), p.length, back), 0u);

    // 1023 literal bytes then a run of two zeros runs past the end.
    std::vector<uint8_t> over(1023, 1);
    over.push_back(0);
    over.push_back(1);
    EXPECT_EQ(unpackJbp1AcCounts(over.data(), over.size(), back), 0u);
    over.back() = 0;  // a run of one fits exactly
    EXPECT_EQ(unpackJbp1AcCounts(over.data(), over.size(), back), 1028u);

    // Five runs of 256 overrun on the fifth.
    const uint8_t fiveRuns[10] = {0, 255, 0, 255, 0, 255, 0, 255, 0, 255};
    EXPECT_EQ(unpackJbp1AcCounts(fiveRuns, 10, back), 8u);  // stops after four
    const uint8_t overrun[8] = {0, 255, 0, 255, 0, 255, 0, 0};
    EXPECT_EQ(unpackJbp1AcCounts(overrun, 8, back), 0u);  // 769 bytes, data ends
}

TEST(Jbp1Header, WriteThenReadAndRefusals) {
    Jbp1Header h;
    h.quality = 90;
    h.width = 641;
    h.height = 0x1234;
    h.dcLength = 0xA0B0C0D0;
    h.acLength = 12;
    uint8_t bytes[kJbp1HeaderLength];
    std::memset(bytes, 0xCC, sizeof bytes);
    writeJbp1Header(h, bytes);
    const uint8_t start[24] = {'J', 'B', 'P', '1', 44,   0, 0,    0,    1,  0, 0, 8,
                               90,  0,   0,   0,   0x81, 2, 0x34, 0x12, 24, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes, start, sizeof start), 0);
    const uint8_t tail[20] = {0, 0, 0, 0, 0xD0, 0xC0, 0xB0, 0xA0, 12, 0,
                              0, 0, 0, 0, 0,    0,    0,    0,    0,  0};
    EXPECT_EQ(std::memcmp(bytes + 24, tail, sizeof tail), 0);

    Jbp1Header r;
    ASSERT_TRUE(readJbp1Header(bytes, sizeof bytes, r));
    EXPECT_EQ(r.flags, kJbp1Flags);
    EXPECT_EQ(r.width, 641);
    EXPECT_EQ(r.height, 0x1234);
    EXPECT_EQ(r.dcLength, 0xA0B0C0D0u);
    EXPECT_EQ(r.acLength, 12u);
    EXPECT_FALSE(readJbp1Header(bytes, sizeof bytes - 1, r));
    bytes[3] = '2';
    EXPECT_FALSE(readJbp1Header(bytes, sizeof bytes, r));
}

}  // namespace
}  // namespace zeku
