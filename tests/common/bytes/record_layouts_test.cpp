// Every record layout run both ways: it covers exactly its record size,
// what it writes reads back to the same bytes, and any cut fails at the cut.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "common/bytes/byte_reader.h"
#include "common/bytes/byte_writer.h"
#include "common/image/jbp1_format.h"
#include "common/image/rbp_file.h"
#include "common/pack/pack_format.h"

namespace zeku {
namespace {

using Bytes = std::vector<uint8_t>;

// Every field holds a distinct non-zero value, so a field that one side
// skips or misplaces shows up in the bytes written again after reading.
template <typename Record, typename Sync>
void expectRoundTrip(const Record& record, size_t size, Sync sync) {
    Bytes out(size + 8);
    ByteWriter writer(out.data(), out.size());
    sync(writer, record);
    ASSERT_TRUE(writer.ok());
    ASSERT_EQ(writer.position(), size) << "the layout covers the whole record";
    out.resize(size);

    Record back{};
    ByteReader reader(out.data(), out.size());
    sync(reader, back);
    ASSERT_TRUE(reader.ok());
    Bytes again(size);
    ByteWriter rewriter(again.data(), again.size());
    sync(rewriter, std::as_const(back));
    EXPECT_EQ(again, out);

    for (size_t cut = 0; cut < size; ++cut) {
        ByteReader cutReader(out.data(), cut);
        sync(cutReader, back);
        EXPECT_FALSE(cutReader.ok()) << cut;
        EXPECT_EQ(cutReader.failureOffset(), cut);
    }
}

TEST(RecordLayouts, PackHeaderAndEntry) {
    PackHeader header;
    std::memcpy(header.magic, "RLZ3", 4);
    header.entryCount = 0x01020304;
    header.fileSize = 0x05060708;
    expectRoundTrip(header, kPackHeaderSize, [](auto& io, auto& r) { syncPackHeader(io, r); });

    PackEntry entry;
    ASSERT_TRUE(setPackEntryName(entry, "./st/\x83\x41.rbp"));
    entry.storedSize = 11;
    entry.unpackedSize = 0x00ABCDEF;
    entry.method = kPackLzss;
    entry.dataOffset = 0xFEDCBA98;
    expectRoundTrip(entry, kPackEntrySize, [](auto& io, auto& r) { syncPackEntry(io, r); });
}

TEST(RecordLayouts, Jbp1Header) {
    Jbp1Header header;
    header.quality = 80;
    header.width = 0x1122;
    header.height = 0x3344;
    header.bitsPerPixel = 32;
    header.dcLength = 0x55667788;
    header.acLength = 0x99AABBCC;
    expectRoundTrip(header, kJbp1HeaderLength, [](auto& io, auto& r) { syncJbp1Header(io, r); });
}

TEST(RecordLayouts, RbpHeaderWhoseMagicIsWrittenButNotRead) {
    for (uint32_t type : {kRbpRaw, kRbpJbp1WithAlpha}) {
        RbpHeader header;
        header.type = type;
        header.width = 0x00010203;
        header.height = 0x00040506;
        header.dataOffset = 40;
        header.sourceWidth = 0x0708;
        header.sourceHeight = 0x090A;
        header.streamLength = 0x0B0C0D0E;
        expectRoundTrip(header, kRbpHeaderLength, [](auto& io, auto& r) { syncRbpHeader(io, r); });
    }
    uint8_t bytes[kRbpHeaderLength] = {'?', '?', '?', '?', kRbpRawWithAlphaToo};
    RbpHeader back;
    ByteReader reader(bytes, sizeof bytes);
    syncRbpHeader(reader, back);
    EXPECT_TRUE(reader.ok());
    EXPECT_EQ(back.type, kRbpRawWithAlphaToo);
}

}  // namespace
}  // namespace zeku
