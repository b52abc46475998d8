// Decoder tests: hand-written streams, truncated and overflowing streams, and agreement with
// the plain ring-buffer decoder on random streams at every capacity.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/lzss/lzss.h"
#include "tests/common/lzss/lzss_sample_data.h"
#include "tests/common/lzss/reference_lzss_decoder.h"

namespace zeku {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint8_t kCanary = 0xCD;

// Decodes into `capacity` bytes followed by canaries that must survive.
Bytes decode(const Bytes& stream, size_t capacity, bool* overflowed = nullptr) {
    Bytes dest(capacity + 64, kCanary);
    const Parsed<size_t> r = lzssDecode(dest.data(), capacity, stream.data(), stream.size());
    // An overflow leaves the whole capacity filled.
    const size_t written = r ? *r : capacity;
    EXPECT_LE(written, capacity);
    for (size_t i = capacity; i < dest.size(); ++i) {
        EXPECT_EQ(dest[i], kCanary) << "written past the capacity at " << i;
    }
    if (overflowed) *overflowed = !r;
    dest.resize(written);
    return dest;
}

// The decoder keeps what fits and flags the rest, exactly like the ring decoder cut short.
void expectLikeReference(const Bytes& stream, size_t capacity) {
    const Bytes full = referenceLzssDecode(stream.data(), stream.size());
    bool overflowed = false;
    const Bytes got = decode(stream, capacity, &overflowed);
    ASSERT_EQ(overflowed, full.size() > capacity) << "capacity " << capacity;
    ASSERT_TRUE(std::equal(got.begin(), got.end(), full.begin(),
                           full.begin() + std::min(full.size(), capacity)) &&
                got.size() == std::min(full.size(), capacity))
        << "capacity " << capacity;
}

// Three literals, a reference back to them, and a reference into the zero preset.
const Bytes kAbc = {0x07, 'a', 'b', 'c', 0xEF, 0x71, 0x00, 0x00};

TEST(LzssDecoder, HandWrittenStreams) {
    EXPECT_EQ(decode(kAbc, 100), (Bytes{'a', 'b', 'c', 'a', 'b', 'c', 0, 0}));
    // Position 2031 copied onto 2032: a run from one byte back.
    EXPECT_EQ(decode({0x01, 'A', 0xEF, 0x73}, 100), Bytes(6, 'A'));
    // The top bit of the 12-bit position is dropped: 4079 is 2031.
    EXPECT_EQ(decode({0x01, 'A', 0xEF, 0xF3}, 100), Bytes(6, 'A'));
    // The very first item may reference the preset, or slots not written yet; both read zero.
    EXPECT_EQ(decode({0x00, 0x00, 0x0F}, 100), Bytes(17, 0));
    EXPECT_EQ(decode({0x00, 0xF0, 0x72}, 100), Bytes(4, 0));
    EXPECT_TRUE(decode({}, 100).empty());
}

TEST(LzssDecoder, ReferenceSpanningTheWindowEnd) {
    // 16 literals fill 2031..2046; then 2045..2048 wraps to slot 0 and copies its own output.
    Bytes stream = {0xFF, 1,  2,  3,  4,  5,  6,  7,    8,    0xFF, 9,
                    10,   11, 12, 13, 14, 15, 16, 0x00, 0xFD, 0x72};
    Bytes want;
    for (uint8_t i = 1; i <= 16; ++i)
        want.push_back(i);
    for (uint8_t b : {15, 16, 15, 16})
        want.push_back(b);
    EXPECT_EQ(decode(stream, 100), want);
}

TEST(LzssDecoder, TruncatedStreamsKeepTheWholeItems) {
    const Bytes abc = {'a', 'b', 'c', 'a', 'b', 'c', 0, 0};
    // Cut after the flag byte, after each literal, and inside each reference.
    const size_t keep[] = {0, 0, 1, 2, 3, 3, 6, 6, 8};
    for (size_t cut = 0; cut <= kAbc.size(); ++cut) {
        const Bytes part(kAbc.begin(), kAbc.begin() + static_cast<ptrdiff_t>(cut));
        EXPECT_EQ(decode(part, 100), Bytes(abc.begin(), abc.begin() + keep[cut])) << cut;
    }
    // Long streams cut anywhere, also past the fast path's reach.
    Bytes data = sampleMix(3000, 11);
    Bytes stream(lzssMaxEncodedSize(data.size()));
    stream.resize(
        static_cast<size_t>(lzssEncode(stream.data(), stream.size(), data.data(), data.size())));
    for (size_t cut = 0; cut <= stream.size(); cut += 7) {
        expectLikeReference(Bytes(stream.begin(), stream.begin() + static_cast<ptrdiff_t>(cut)),
                            data.size());
    }
}

TEST(LzssDecoder, StopsAtTheCapacity) {
    bool overflowed = true;
    EXPECT_EQ(decode(kAbc, 8, &overflowed).size(), 8u);
    EXPECT_FALSE(overflowed);
    // A trailing flag byte with no items adds nothing, so it does not overflow either.
    Bytes withFlag = kAbc;
    withFlag.push_back(0x00);
    EXPECT_EQ(decode(withFlag, 8, &overflowed).size(), 8u);
    EXPECT_FALSE(overflowed);
    for (size_t capacity = 0; capacity < 8; ++capacity)
        expectLikeReference(kAbc, capacity);

    const Bytes runs = sampleRuns(20000, 12);
    Bytes stream(lzssMaxEncodedSize(runs.size()));
    stream.resize(
        static_cast<size_t>(lzssEncode(stream.data(), stream.size(), runs.data(), runs.size())));
    for (size_t capacity = 0; capacity <= runs.size() + 50; capacity += 97) {
        expectLikeReference(stream, capacity);
    }
    expectLikeReference(stream, runs.size());
}

TEST(LzssDecoder, OverflowNamesTheItemThatDidNotFit) {
    // kAbc's items: literals at bytes 1, 2 and 3, a 3-byte reference at 4, a 2-byte one at 6.
    const size_t itemAt[8] = {1, 2, 3, 4, 4, 4, 6, 6};
    for (size_t capacity = 0; capacity < 8; ++capacity) {
        Bytes dest(8);
        const Parsed<size_t> r = lzssDecode(dest.data(), capacity, kAbc.data(), kAbc.size());
        ASSERT_FALSE(r.ok()) << capacity;
        EXPECT_EQ(r.error().offset(), itemAt[capacity]) << capacity;
    }
}

// Random streams whose references favour short distances (runs), the window's far end, and
// the zero preset near the start; lengths and literal/reference mixes are random.
Bytes randomStream(SampleRandom& rng, size_t items) {
    Bytes stream;
    size_t written = 0;
    size_t flagAt = 0;
    for (size_t i = 0; i < items; ++i) {
        if (i % 8 == 0) {
            flagAt = stream.size();
            stream.push_back(0);
        }
        if (rng.below(3) == 0) {
            stream[flagAt] |= static_cast<uint8_t>(1 << (i % 8));
            stream.push_back(static_cast<uint8_t>(rng.next()));
            ++written;
            continue;
        }
        size_t distance;
        switch (rng.below(4)) {
            case 0:
                distance = 1 + rng.below(18);
                break;
            case 1:
                distance = 2030 + rng.below(19);
                break;
            default:
                distance = 1 + rng.below(2048);
                break;
        }
        const unsigned length = 2 + rng.below(16);
        const unsigned position =
            static_cast<unsigned>((2031 + written - distance) % 2048 + 2048 * rng.below(2));
        stream.push_back(static_cast<uint8_t>(position));
        stream.push_back(static_cast<uint8_t>((position >> 4 & 0xF0) | (length - 2)));
        written += length;
    }
    return stream;
}

TEST(LzssDecoder, MatchesTheRingDecoderOnRandomStreams) {
    SampleRandom rng(13);
    for (int round = 0; round < 200; ++round) {
        const Bytes stream = randomStream(rng, 1 + rng.below(round < 100 ? 40 : 2000));
        const size_t full = referenceLzssDecode(stream.data(), stream.size()).size();
        expectLikeReference(stream, full);
        expectLikeReference(stream, rng.below(static_cast<uint32_t>(full + 1)));
    }
    // Plain noise as a stream: references anywhere, lengths anywhere.
    for (int round = 0; round < 50; ++round) {
        const Bytes stream = sampleNoise(1 + rng.below(5000), rng.next());
        expectLikeReference(stream, 1 << 16);
        expectLikeReference(stream, rng.below(1000));
    }
}

}  // namespace
}  // namespace zeku
