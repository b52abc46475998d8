// The reader and writer that record layouts run over: byte order, bounds,
// the offset of the first failure, and text fields written without junk.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "common/bytes/byte_layout.h"
#include "common/bytes/byte_reader.h"
#include "common/bytes/byte_writer.h"

namespace zeku {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kTag[2] = {'Z', 'K'};
constexpr char kVersion[1] = {'1'};

// One field of every kind: 2 + 1 + 4 + 2 + 4 + 3 + 1 = 17 bytes.
struct Sample {
    uint32_t count = 0;
    uint16_t width = 0;
    char name[4] = {};
    uint8_t flags[1] = {};
};
constexpr size_t kSampleSize = 17;

template <typename Io, RecordOf<Sample> Record>
void syncSample(Io& io, Record& s) {
    io.magic(kTag);
    io.constant(kVersion);
    io.le32(s.count);
    io.le16(s.width);
    io.text(s.name);
    io.zeros(3);
    io.bytes(s.flags);
}

Bytes written() {
    Sample s;
    s.count = 0x04030201;
    s.width = 0xBEEF;
    std::memcpy(s.name, "ab\0x", 4);  // junk after the terminator
    s.flags[0] = 0x80;
    Bytes out(kSampleSize);
    ByteWriter writer(out.data(), out.size());
    syncSample(writer, std::as_const(s));
    EXPECT_TRUE(writer.ok());
    EXPECT_EQ(writer.position(), kSampleSize);
    return out;
}

TEST(ByteIo, FieldsAreLittleEndianInOrderAndTextIsZeroFilled) {
    EXPECT_EQ(written(),
              (Bytes{'Z', 'K', '1', 1, 2, 3, 4, 0xEF, 0xBE, 'a', 'b', 0, 0, 0, 0, 0, 0x80}));
}

TEST(ByteIo, ACutBlockFailsAtItsEndAndLeavesTheRestAlone) {
    const Bytes bytes = written();
    for (size_t cut = 0; cut < kSampleSize; ++cut) {
        Sample back;
        back.flags[0] = 7;
        ByteReader reader(bytes.data(), cut, 1000);
        syncSample(reader, back);
        EXPECT_FALSE(reader.ok()) << cut;
        EXPECT_EQ(reader.failureOffset(), 1000 + cut);
        EXPECT_LE(reader.position(), cut);
        EXPECT_EQ(back.flags[0], 7) << cut;
    }
    ByteReader nothing(nullptr, 16);
    Sample back;
    syncSample(nothing, back);
    EXPECT_FALSE(nothing.ok());
    EXPECT_EQ(nothing.failureOffset(), 0u);
}

TEST(ByteIo, AWrongTagFailsAtTheTagAndTheFirstFailureStays) {
    Bytes bytes = written();
    bytes[1] = 'X';
    ByteReader reader(bytes.data(), bytes.size() - 1, 50);  // also cut short later
    Sample back;
    syncSample(reader, back);
    const ParseError error = reader.error("not a sample", ParseErrorKind::kWrongFormat);
    EXPECT_FALSE(reader.ok());
    EXPECT_EQ(error.offset(), 50u);
    EXPECT_EQ(error.kind(), ParseErrorKind::kWrongFormat);
    EXPECT_EQ(back.count, 0u);

    // A constant is written but never checked.
    bytes = written();
    bytes[2] = '9';
    ByteReader lenient(bytes.data(), bytes.size());
    syncSample(lenient, back);
    EXPECT_TRUE(lenient.ok());
    EXPECT_EQ(back.count, 0x04030201u);
}

TEST(ByteIo, WriterNeverPassesItsCapacity) {
    const Sample s;
    for (size_t capacity = 0; capacity < kSampleSize; ++capacity) {
        Bytes out(kSampleSize, 0xCD);
        ByteWriter writer(out.data(), capacity);
        syncSample(writer, s);
        EXPECT_FALSE(writer.ok()) << capacity;
        for (size_t i = capacity; i < out.size(); ++i)
            EXPECT_EQ(out[i], 0xCD) << "capacity " << capacity << ", byte " << i;
    }
}

}  // namespace
}  // namespace zeku
