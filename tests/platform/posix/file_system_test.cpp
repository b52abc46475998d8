// The host file layer: ranged reads and writes with their origins, the
// crash-safe replacement of a file, folders listed for packing.
#include "platform/api/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

using test_support::readBytes;
using test_support::TempFolder;
using test_support::writeBytes;

std::vector<uint8_t> sixteen() {
    std::vector<uint8_t> bytes(16);
    for (size_t i = 0; i < 16; ++i)
        bytes[i] = static_cast<uint8_t>('a' + i);
    return bytes;
}

size_t filesIn(const std::filesystem::path& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

TEST(FileSystem, RangedReadsTakeTheirOriginAndStopAtTheEnd) {
    TempFolder folder;
    const std::string path = folder.file("f.bin");
    writeBytes(path, sixteen());
    uint8_t buffer[100] = {};
    EXPECT_EQ(readFileRange(path.c_str(), buffer, kFileStart, 0, 100), 16u);
    EXPECT_EQ(readFileRange(path.c_str(), buffer, kFileStart, 10, 100), 6u);
    EXPECT_EQ(buffer[0], 'k');
    EXPECT_EQ(readFileRange(path.c_str(), buffer, kFileEnd, -4, 2), 2u);
    EXPECT_EQ(buffer[0], 'm');
    EXPECT_EQ(readFileRange(path.c_str(), buffer, kFileStart, -1, 2), 0u);
    EXPECT_EQ(readFileRange(folder.file("none").c_str(), buffer, kFileStart, 0, 2), 0u);

    EXPECT_EQ(fileSize(path.c_str()), 16u);
    EXPECT_EQ(fileSize(folder.file("none").c_str()), kNoFileSize);
    EXPECT_EQ(fileExists(path.c_str()), 1);
    EXPECT_EQ(fileExists(folder.path().c_str()), 0);  // a folder is not a file
    EXPECT_EQ(readWholeFile(path.c_str()).size(), 16u);
    EXPECT_FALSE(readWholeFile(folder.file("none").c_str()));
}

TEST(FileSystem, WritesReplaceWholeOrPatchInPlace) {
    TempFolder folder;
    const std::string path = folder.file("save001.dat");
    writeBytes(path, sixteen());
    EXPECT_EQ(writeFileRange(path.c_str(), "XY", kFileStart, 4, 2, kWriteInPlace), 2u);
    std::vector<uint8_t> expected = sixteen();
    expected[4] = 'X', expected[5] = 'Y';
    EXPECT_EQ(readBytes(path), expected);

    EXPECT_EQ(writeFileRange(path.c_str(), "new", kFileStart, 0, 3, kWriteReplace), 3u);
    EXPECT_EQ(readBytes(path), (std::vector<uint8_t>{'n', 'e', 'w'}));
    EXPECT_EQ(filesIn(folder.path()), 1u);  // no temporary left behind

    EXPECT_EQ(writeFileRange(folder.file("no/such/folder").c_str(), "x", 0, 0, 1, 1), 0u);
}

TEST(FileSystem, AnUncommittedReplacementLeavesTheOldFile) {
    TempFolder folder;
    const std::string path = folder.file("zeku.cfg");
    writeBytes(path, sixteen());
    {
        AtomicFileWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, error));
        ASSERT_TRUE(writer.write("half", 4));
        // Dropped here, as a crash or failure would leave it.
    }
    EXPECT_EQ(readBytes(path), sixteen());
    EXPECT_EQ(filesIn(folder.path()), 1u);

    AtomicFileWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(path, error));
    ASSERT_TRUE(writer.write("whole", 5));
    ASSERT_TRUE(writer.commit(error)) << error;
    EXPECT_EQ(readBytes(path), (std::vector<uint8_t>{'w', 'h', 'o', 'l', 'e'}));
}

TEST(FileSystem, ListsFilesSortedAndMakesFolders) {
    TempFolder folder;
    writeBytes(folder.file("b.txt"), {1});
    writeBytes(folder.file("a/z.png"), {1});
    writeBytes(folder.file("a/b/c.wav"), {1});
    std::vector<std::string> paths;
    std::string error;
    ASSERT_TRUE(listFilesRecursively(folder.path().string(), paths, error)) << error;
    EXPECT_EQ(paths, (std::vector<std::string>{"a/b/c.wav", "a/z.png", "b.txt"}));
    EXPECT_FALSE(listFilesRecursively(folder.file("none"), paths, error));
    EXPECT_FALSE(error.empty());

    ASSERT_TRUE(makeDirectories(folder.file("x/y/z"), error)) << error;
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("x/y/z")));
    EXPECT_FALSE(makeDirectories(folder.file("b.txt/sub"), error));
}

// A FIFO or a folder where a file is expected (a package, a picture, a
// settings file) must be refused at once: opening a FIFO to read waits for a
// writer, which would hang the player at start-up.
TEST(FileSystem, OnlyRegularFilesAreOpened) {
    TempFolder folder;
    const std::string fifo = folder.file("pack.mlz");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directories(folder.file("dir"));
    for (const std::string& path : {fifo, folder.file("dir")}) {
        // Run the opens on a thread, so that a regression fails instead of hanging.
        auto opens = std::async(std::launch::async, [&path] {
            uint8_t buffer[8];
            int opened = 0;
            opened += readFileRange(path.c_str(), buffer, kFileStart, 0, 8) != 0;
            opened += static_cast<bool>(readWholeFile(path.c_str()));
            opened += static_cast<bool>(ReadOnlyFile::open(path.c_str()));
            opened += static_cast<bool>(MappedView::map(path.c_str()));
            opened += writeFileRange(path.c_str(), "x", kFileStart, 0, 1, kWriteInPlace) != 0;
            opened += fileExists(path.c_str());
            opened += fileSize(path.c_str()) != kNoFileSize;
            return opened;
        });
        if (opens.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            ADD_FAILURE() << "opening " << path << " blocks";
            // Unblock the waiting opens (a reader and a writer end) and let them finish.
            const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
            const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            opens.wait();
            ::close(reader);
            ::close(writer);
            continue;
        }
        EXPECT_EQ(opens.get(), 0) << path;
    }
}

}  // namespace
}  // namespace zeku
