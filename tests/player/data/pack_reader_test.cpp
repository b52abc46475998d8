// The package reader against real files: caching by path, compressed and
// stored entries, locate's three answers, and packages whose directory or
// data do not fit.
#include "player/data/pack_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/lzss/lzss.h"
#include "common/pack/pack_format.h"
#include "tests/support/package_builder.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

using test_support::TempFolder;
using test_support::writeBytes;

using Item = test_support::PackageItem;
using test_support::buildPackage;

std::vector<uint8_t> text(const std::string& s) {
    return {s.begin(), s.end()};
}

std::vector<uint8_t> contentsOf(const ByteBuffer& buffer) {
    return {buffer.data(), buffer.data() + buffer.size()};
}

class PackReaderTest : public ::testing::Test {
  protected:
    TempFolder folder_{"zeku-pack"};
    std::string path_ = folder_.file("pack.mlz");
    PackReader reader_;
};

TEST_F(PackReaderTest, ReadsCompressedAndStoredEntries) {
    std::vector<uint8_t> picture(5000);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<uint8_t>(i * 7 / 5);
    const std::vector<uint8_t> sound = text("ID3 not really an mp3");
    writeBytes(path_, buildPackage({{"./script.txt", text("#Start\r\n#END\r\n"), true},
                                    {"./bg/sky.rbp", picture, true},
                                    {"./se/ding.mp3", sound, false},
                                    {"./empty.txt", {}, true}}));

    EXPECT_EQ(contentsOf(reader_.read(path_.c_str(), "./script.txt")), text("#Start\r\n#END\r\n"));
    EXPECT_EQ(contentsOf(reader_.read(path_.c_str(), "./BG/Sky.RBP")), picture);
    EXPECT_EQ(contentsOf(reader_.read(path_.c_str(), "./se/ding.mp3")), sound);
    EXPECT_EQ(reader_.entryCount(), 4u);
    EXPECT_FALSE(reader_.read(path_.c_str(), "./missing.txt"));
}

TEST_F(PackReaderTest, LocateOpensOnlyStoredEntries) {
    const std::vector<uint8_t> sound = text("0123456789");
    const std::vector<uint8_t> bytes = buildPackage(
        {{"./a.txt", text("aaaaaaaaaaaaaaaaaaaa"), true}, {"./se/ding.mp3", sound, false}});
    writeBytes(path_, bytes);

    uint32_t offset = 1, size = 2;
    ReadOnlyFile file = reader_.locate(path_.c_str(), "./se/ding.mp3", offset, size);
    ASSERT_TRUE(file);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(offset, bytes.size() - 10);
    char got[10];
    EXPECT_EQ(file.readAt(offset, got, 10), 10u);
    EXPECT_EQ(std::memcmp(got, "0123456789", 10), 0);

    offset = 1, size = 2;
    EXPECT_FALSE(reader_.locate(path_.c_str(), "./a.txt", offset, size));
    EXPECT_EQ(offset, 16u + 2 * 84);  // set although nothing was opened
    EXPECT_NE(size, 2u);

    offset = 1, size = 2;
    EXPECT_FALSE(reader_.locate(path_.c_str(), "./b.txt", offset, size));
    EXPECT_EQ(offset, 1u);
    EXPECT_EQ(size, 2u);
}

TEST_F(PackReaderTest, EmptyPackageOpensButHasNothing) {
    writeBytes(path_, buildPackage({}, '3'));
    EXPECT_NE(reader_.open(path_.c_str()), nullptr);
    EXPECT_FALSE(reader_.read(path_.c_str(), "./script.txt"));
    uint32_t offset = 0, size = 0;
    EXPECT_FALSE(reader_.locate(path_.c_str(), "./script.txt", offset, size));
}

TEST_F(PackReaderTest, KeepsTheDirectoryUntilForcedOrReplacedByAValidPackage) {
    writeBytes(path_, buildPackage({{"./a.txt", text("first"), false}}));
    ASSERT_NE(reader_.open(path_.c_str()), nullptr);

    // The same path is answered from memory: a rewritten file is not seen.
    writeBytes(path_, buildPackage({{"./b.txt", text("other"), false}}));
    ASSERT_NE(reader_.open(path_.c_str()), nullptr);
    EXPECT_EQ(reader_.entryCount(), 1u);
    uint32_t offset = 0, size = 0;
    EXPECT_TRUE(reader_.locate(path_.c_str(), "./a.txt", offset, size));

    // Something that is not a package leaves the held one in place.
    const std::string junk = folder_.file("junk.mlz");
    writeBytes(junk, text("RIFF....WAVEfmt "));
    EXPECT_EQ(reader_.open(junk.c_str()), nullptr);
    EXPECT_EQ(reader_.open(folder_.file("none.mlz").c_str()), nullptr);
    EXPECT_NE(reader_.open(path_.c_str()), nullptr);
    EXPECT_TRUE(reader_.locate(path_.c_str(), "./a.txt", offset, size));

    ASSERT_NE(reader_.open(path_.c_str(), true), nullptr);
    EXPECT_EQ(contentsOf(reader_.read(path_.c_str(), "./b.txt")), text("other"));
}

TEST_F(PackReaderTest, RefusesWhatDoesNotFitTheFile) {
    std::vector<uint8_t> bytes = buildPackage(
        {{"./a.txt", text("aaaaaaaaaaaaaaaaaaaaaaaa"), true}, {"./b.txt", text("bbbb"), false}});

    // The last entry's bytes cut off: that entry fails, the other still reads.
    std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1);
    writeBytes(path_, cut);
    EXPECT_FALSE(reader_.read(path_.c_str(), "./b.txt"));
    EXPECT_TRUE(reader_.read(path_.c_str(), "./a.txt"));

    // A count that claims a directory larger than the file.
    std::vector<uint8_t> huge = bytes;
    storeLe32(&huge[4], 0x7FFFFFFF);
    const std::string hugePath = folder_.file("huge.mlz");
    writeBytes(hugePath, huge);
    EXPECT_EQ(reader_.open(hugePath.c_str()), nullptr);

    // Compressed bytes that decode to fewer or more bytes than recorded.
    for (const uint32_t claimed : {23u, 25u}) {
        std::vector<uint8_t> wrong = bytes;
        storeLe32(&wrong[16 + 68], claimed);
        const std::string wrongPath = folder_.file("wrong" + std::to_string(claimed) + ".mlz");
        writeBytes(wrongPath, wrong);
        EXPECT_FALSE(reader_.read(wrongPath.c_str(), "./a.txt")) << claimed;
    }
}

// Files that once made the reader misbehave under the fuzzer: each must be
// read entry by entry without a crash or a runaway allocation.
TEST_F(PackReaderTest, ReplaysFuzzerFindings) {
    const std::filesystem::path folder =
        std::filesystem::path(ZEKU_SOURCE_DIR) / "tests/data/fuzz/pack";
    int replayed = 0;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        const std::vector<uint8_t> bytes = test_support::readBytes(item.path().string());
        writeBytes(path_, bytes);
        PackReader reader;
        if (reader.open(path_.c_str()) == nullptr) continue;
        for (uint32_t i = 0; i < reader.entryCount(); ++i) {
            PackEntry entry;
            if (!readPackEntry(bytes.data(), bytes.size(), i, entry)) break;
            const ByteBuffer contents = reader.read(path_.c_str(), packEntryName(entry));
            if (contents) {
                EXPECT_LE(contents.size(), uint64_t{entry.storedSize} * 9);
            }
        }
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace zeku
