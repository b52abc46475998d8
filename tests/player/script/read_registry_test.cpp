// Read marks: lookups by name without letter case, the per-file and file
// count limits, and the order files are kept in.
#include "player/script/read_registry.h"

#include <gtest/gtest.h>

#include <string>

namespace zeku {
namespace {

TEST(ReadRegistry, MarksAreFoundByNameWithoutLetterCase) {
    ReadRegistry registry;
    EXPECT_EQ(registry.isRead("./script.txt", 120), 0);
    registry.markRead("./script.txt", 120);
    registry.markRead("./scr/sub.txt", 7);
    EXPECT_EQ(registry.isRead("./SCRIPT.TXT", 120), 1);
    EXPECT_EQ(registry.isRead("./script.txt", 121), 0);
    EXPECT_EQ(registry.isRead("./scr/sub.txt", 120), 0);
    registry.markRead("./Script.txt", 121);  // the same file
    ASSERT_EQ(registry.fileCount(), 2);
    EXPECT_EQ(registry.fileName(0), "./script.txt");
    EXPECT_EQ(registry.fileName(1), "./scr/sub.txt");
    ASSERT_EQ(registry.keys(0).size(), 2u);
    EXPECT_EQ(registry.keys(0)[1], 121u);

    // Double-byte names are exact: trail 0x61 is not 0x41.
    registry.markRead("\x83\x61.txt", 1);
    EXPECT_EQ(registry.isRead("\x83\x41.txt", 1), 0);

    registry.clearRead();
    EXPECT_TRUE(registry.empty());
    EXPECT_EQ(registry.isRead("./script.txt", 120), 0);
}

TEST(ReadRegistry, LongNamesCountAsReadAndAreNotRecorded) {
    ReadRegistry registry;
    const std::string name31(31, 'n');
    const std::string name32(32, 'n');
    EXPECT_EQ(registry.isRead(name32, 5), 1);
    registry.markRead(name32, 5);
    EXPECT_TRUE(registry.empty());
    registry.markRead(name31, 5);
    EXPECT_EQ(registry.isRead(name31, 5), 1);
    EXPECT_EQ(registry.fileName(0), name31);
}

TEST(ReadRegistry, LimitsKeysPerFileAndFiles) {
    ReadRegistry registry;
    for (uint32_t key = 0; key < 600; ++key) {
        registry.markRead("a.txt", key);
        registry.markRead("a.txt", key);  // duplicates are not added
    }
    ASSERT_EQ(registry.keys(0).size(), static_cast<size_t>(ReadRegistry::kMaxKeys));
    EXPECT_EQ(registry.isRead("a.txt", 510), 1);
    EXPECT_EQ(registry.isRead("a.txt", 511), 0);

    for (int i = 0; i < ReadRegistry::kMaxFiles + 10; ++i) {
        // Appended rather than "f" + to_string(i), which GCC 12 at -O3 warns
        // about falsely (-Wrestrict).
        std::string name = "f";
        name += std::to_string(i);
        registry.markRead(name, 1);
    }
    EXPECT_EQ(registry.fileCount(), ReadRegistry::kMaxFiles);
    EXPECT_EQ(registry.isRead("f748", 1), 1);
    EXPECT_EQ(registry.isRead("f749", 1), 0);  // the 751st file was refused
    EXPECT_EQ(registry.fileName(ReadRegistry::kMaxFiles), "");
}

}  // namespace
}  // namespace zeku
