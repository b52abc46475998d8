// The package's records: layout written by one side and read by the other,
// the checks that keep a damaged directory from being trusted, and the name
// lookup rules.
#include "common/pack/pack_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/bytes/byte_buffer.h"

namespace zeku {
namespace {

PackEntry makeEntry(const char* name, uint32_t stored, uint32_t unpacked, uint32_t method) {
    PackEntry entry;
    EXPECT_TRUE(setPackEntryName(entry, name));
    entry.storedSize = stored;
    entry.unpackedSize = unpacked;
    entry.method = method;
    return entry;
}

std::vector<uint8_t> layOut(std::vector<PackEntry> entries) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(layOutPack(entries, bytes));
    return bytes;
}

TEST(PackFormat, LayoutIsHeaderDirectoryAndBackToBackOffsets) {
    const std::vector<uint8_t> bytes = layOut(
        {makeEntry("./script.txt", 10, 25, kPackLzss), makeEntry("./se/a.mp3", 7, 7, kPackStored)});
    ASSERT_EQ(bytes.size(), 16u + 2 * 84);
    EXPECT_EQ(std::memcmp(bytes.data(), "RLZ2", 4), 0);
    EXPECT_EQ(loadLe32(&bytes[4]), 2u);
    EXPECT_EQ(loadLe32(&bytes[8]), 16u + 2 * 84 + 10 + 7);  // whole file
    EXPECT_EQ(loadLe32(&bytes[12]), 0u);

    const uint8_t* second = &bytes[16 + 84];
    EXPECT_STREQ(reinterpret_cast<const char*>(second), "./se/a.mp3");
    for (int i = 10; i < 64; ++i)
        EXPECT_EQ(second[i], 0) << i;  // zero after the text
    EXPECT_EQ(loadLe32(second + 64), 7u);
    EXPECT_EQ(loadLe32(second + 68), 7u);
    EXPECT_EQ(loadLe32(second + 72), 0u);
    EXPECT_EQ(loadLe32(second + 76), 10u);  // after the first entry's bytes
    EXPECT_EQ(loadLe32(second + 80), 0u);

    PackEntry back;
    ASSERT_TRUE(readPackEntry(bytes.data(), bytes.size(), 0, back));
    EXPECT_EQ(packEntryName(back), "./script.txt");
    EXPECT_EQ(back.unpackedSize, 25u);
    EXPECT_EQ(back.method, kPackLzss);
    EXPECT_EQ(back.dataOffset, 0u);
    EXPECT_FALSE(readPackEntry(bytes.data(), bytes.size(), 2, back));
}

TEST(PackFormat, NamesHoldAtMost63Bytes) {
    PackEntry entry;
    EXPECT_TRUE(setPackEntryName(entry, std::string(63, 'a')));
    EXPECT_EQ(packEntryName(entry).size(), 63u);
    EXPECT_FALSE(setPackEntryName(entry, std::string(64, 'b')));
    EXPECT_EQ(packEntryName(entry), std::string(63, 'a'));
    EXPECT_FALSE(setPackEntryName(entry, std::string_view("a\0b", 3)));
}

TEST(PackFormat, BothMagicsAreAcceptedAndOthersNot) {
    std::vector<uint8_t> bytes = layOut({});
    PackHeader header;
    EXPECT_TRUE(readPackHeader(bytes.data(), bytes.size(), header));
    bytes[3] = '3';
    EXPECT_TRUE(readPackHeader(bytes.data(), bytes.size(), header));
    EXPECT_TRUE(checkPackDirectory(bytes.data(), bytes.size(), bytes.size()).ok());
    bytes[3] = '4';
    EXPECT_FALSE(readPackHeader(bytes.data(), bytes.size(), header));
    const Parsed<void> foreign = checkPackDirectory(bytes.data(), bytes.size(), bytes.size());
    ASSERT_FALSE(foreign.ok());
    EXPECT_EQ(foreign.error().kind(), ParseErrorKind::kWrongFormat);
    EXPECT_FALSE(readPackHeader(bytes.data(), 15, header));
}

TEST(PackFormat, DamagedDirectoriesAreRefusedWithTheirPlace) {
    const std::vector<uint8_t> good =
        layOut({makeEntry("./a.txt", 4, 9, kPackLzss), makeEntry("./b.txt", 5, 5, kPackStored)});
    const uint64_t fileSize = good.size() + 9;
    EXPECT_TRUE(checkPackDirectory(good.data(), good.size(), fileSize).ok());

    // The second entry's data ends one byte past the end of the file.
    Parsed<void> check = checkPackDirectory(good.data(), good.size(), fileSize - 1);
    ASSERT_FALSE(check.ok());
    EXPECT_EQ(check.error().offset(), 16u + 84 + 76);

    std::vector<uint8_t> bad = good;
    storeLe32(&bad[4], 0x30000000);  // a count whose directory cannot fit
    check = checkPackDirectory(bad.data(), bad.size(), fileSize);
    ASSERT_FALSE(check.ok());
    EXPECT_EQ(check.error().offset(), 4u);

    bad = good;
    storeLe32(&bad[16 + 72], 2);
    EXPECT_FALSE(checkPackDirectory(bad.data(), bad.size(), fileSize).ok());

    bad = good;
    std::memset(&bad[16 + 84], 'x', 64);  // name without its terminator
    EXPECT_FALSE(checkPackDirectory(bad.data(), bad.size(), fileSize).ok());

    bad = good;
    storeLe32(&bad[16 + 84 + 68], 6);  // a stored entry claiming another size
    EXPECT_FALSE(checkPackDirectory(bad.data(), bad.size(), fileSize).ok());

    // An offset near 4 GiB must not wrap around into the file.
    bad = good;
    storeLe32(&bad[16 + 84 + 76], 0xFFFFFFFF);
    EXPECT_FALSE(checkPackDirectory(bad.data(), bad.size(), fileSize).ok());

    // 4 compressed bytes cannot unpack to 4 GiB.
    bad = good;
    storeLe32(&bad[16 + 68], 0xFFFFFF00);
    EXPECT_FALSE(checkPackDirectory(bad.data(), bad.size(), fileSize).ok());

    // A directory cut short.
    EXPECT_FALSE(checkPackDirectory(good.data(), good.size() - 1, fileSize).ok());
}

TEST(PackFormat, LookupFoldsAsciiCaseButNotShiftJisTrailBytes) {
    // "ア" is 0x83 0x41: its trail byte looks like "A" and must not match "a".
    const std::vector<uint8_t> bytes =
        layOut({makeEntry("./St/Hiyo0101.rbp", 1, 1, 0), makeEntry("./\x83\x41.txt", 1, 1, 0),
                makeEntry("./st/hiyo0101.rbp", 1, 1, 0)});
    EXPECT_EQ(findPackEntry(bytes.data(), bytes.size(), "./st/hiyo0101.rbp"), 0);  // first wins
    EXPECT_EQ(findPackEntry(bytes.data(), bytes.size(), "./ST/HIYO0101.RBP"), 0);
    EXPECT_EQ(findPackEntry(bytes.data(), bytes.size(), "./\x83\x41.TXT"), 1);
    EXPECT_EQ(findPackEntry(bytes.data(), bytes.size(), "./\x83\x61.txt"), -1);
    EXPECT_EQ(findPackEntry(bytes.data(), bytes.size(), "./missing"), -1);

    const std::vector<uint8_t> empty = layOut({});
    EXPECT_EQ(empty.size(), 16u);
    EXPECT_EQ(findPackEntry(empty.data(), empty.size(), "./script.txt"), -1);
}

}  // namespace
}  // namespace zeku
