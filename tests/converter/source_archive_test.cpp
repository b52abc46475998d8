// Opening a game folder's archives and reading entries: file lookup without
// regard to case, key detection, both archive pairs, and every refusal.
#include "converter/pipeline/source_archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/api/file_system.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

using test_support::TempFolder;
using test_support::writeBytes;

constexpr uint8_t kKey = 0x5A;

struct FixtureFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Writes one archive pair: the files back to back in the data file and
// their index, both scrambled with `key`.
void writeArchive(const TempFolder& folder, const std::string& indexName,
                  const std::string& dataName, const std::vector<FixtureFile>& files,
                  uint8_t key = kKey, const std::string& preamble = "") {
    std::string index = preamble;
    std::vector<uint8_t> data;
    for (const FixtureFile& file : files) {
        index += "#" + file.name + "$" + std::to_string(data.size()) + "*" +
                 std::to_string(file.bytes.size()) + "+";
        data.insert(data.end(), file.bytes.begin(), file.bytes.end());
    }
    std::vector<uint8_t> indexBytes(index.begin(), index.end());
    scrambleBytes(indexBytes.data(), indexBytes.size(), key);
    scrambleBytes(data.data(), data.size(), key);
    writeBytes(folder.file(indexName), indexBytes);
    if (!dataName.empty()) writeBytes(folder.file(dataName), data);
}

void writeScrambledIndex(const TempFolder& folder, const std::string& name, const std::string& text,
                         uint8_t key = kKey) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    scrambleBytes(bytes.data(), bytes.size(), key);
    writeBytes(folder.file(name), bytes);
}

std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string openError(const TempFolder& folder, std::optional<uint8_t> key = std::nullopt) {
    SourceGame game;
    std::string error;
    EXPECT_FALSE(openSourceGame(folder.path().string(), key, game, error));
    EXPECT_FALSE(error.empty());
    return error;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(FindFileIgnoringCase, MatchesAnyCaseAndPrefersTheExactName) {
    TempFolder folder;
    writeBytes(folder.file("LUMP.DAT"), {1});
    EXPECT_EQ(findFileIgnoringCase(folder.path().string(), "Lump.dat"), folder.file("LUMP.DAT"));
    EXPECT_EQ(findFileIgnoringCase(folder.path().string() + "/", "lump.DAT"),
              folder.file("LUMP.DAT"));
    EXPECT_EQ(findFileIgnoringCase(folder.path().string(), "Lump2.dat"), "");
    EXPECT_EQ(findFileIgnoringCase(folder.path().string(), "Lump.da"), "");

    writeBytes(folder.file("Lump.dat"), {2});
    EXPECT_EQ(findFileIgnoringCase(folder.path().string(), "Lump.dat"), folder.file("Lump.dat"));
    EXPECT_EQ(findFileIgnoringCase(folder.path().string(), "LUMP.DAT"), folder.file("LUMP.DAT"));
    EXPECT_EQ(findFileIgnoringCase(folder.path().string(), "lump.dat"), folder.file("LUMP.DAT"));

    // Folders do not count, nor do missing folders.
    std::filesystem::create_directory(folder.file("kumo.exe"));
    EXPECT_EQ(findFileIgnoringCase(folder.path().string(), "KUMO.EXE"), "");
    EXPECT_EQ(findFileIgnoringCase(folder.file("nowhere"), "Lump.dat"), "");
}

TEST(SourceGame, OpensBothArchivesAndDetectsTheKey) {
    TempFolder folder;
    writeArchive(folder, "Lump.cpn", "Lump.dat",
                 {{"script.txt", bytesOf("#Start")},
                  {"bg/a.png", bytesOf("old picture")},
                  {"se/hit.wav", bytesOf("RIFF")}},
                 kKey, "index\r\n");
    writeArchive(folder, "Lump2.cpn", "Lump2.dat",
                 {{"BG/A.PNG", bytesOf("new picture")}, {"extra.txt", {}}});

    SourceGame game;
    std::string error;
    ASSERT_TRUE(openSourceGame(folder.path().string(), std::nullopt, game, error)) << error;
    EXPECT_EQ(game.key, kKey);
    EXPECT_EQ(game.firstIndexPath, folder.file("Lump.cpn"));
    EXPECT_EQ(game.secondDataPath, folder.file("Lump2.dat"));
    ASSERT_EQ(game.entries.size(), 4u);
    EXPECT_EQ(game.entries[0].name, "BG/A.PNG");
    EXPECT_EQ(game.entries[1].name, "extra.txt");
    EXPECT_EQ(game.entries[2].name, "script.txt");
    EXPECT_EQ(game.entries[3].name, "se/hit.wav");

    const std::vector<std::string> expected = {"new picture", "", "#Start", "RIFF"};
    for (size_t i = 0; i < expected.size(); ++i) {
        std::vector<uint8_t> bytes = {9, 9};
        ASSERT_TRUE(readSourceEntry(game, i, bytes, error)) << error;
        EXPECT_EQ(bytes, bytesOf(expected[i])) << i;
    }
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(readSourceEntry(game, 4, bytes, error));
    EXPECT_TRUE(contains(error, "out of range")) << error;
}

TEST(SourceGame, FilesSpelledInAnyCase) {
    TempFolder folder;
    writeArchive(folder, "LUMP.CPN", "lump.dat", {{"a.txt", bytesOf("one")}});
    writeArchive(folder, "lump2.CPN", "LUMP2.DAT", {{"b.txt", bytesOf("two")}});
    SourceGame game;
    std::string error;
    ASSERT_TRUE(openSourceGame(folder.path().string(), kKey, game, error)) << error;
    ASSERT_EQ(game.entries.size(), 2u);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readSourceEntry(game, 0, bytes, error)) << error;
    EXPECT_EQ(bytes, bytesOf("two"));
    ASSERT_TRUE(readSourceEntry(game, 1, bytes, error)) << error;
    EXPECT_EQ(bytes, bytesOf("one"));
}

TEST(SourceGame, SecondPairIsOptionalUntilItsIndexListsFiles) {
    TempFolder folder;
    writeArchive(folder, "Lump.cpn", "Lump.dat", {{"a.txt", bytesOf("one")}});
    SourceGame game;
    std::string error;
    ASSERT_TRUE(openSourceGame(folder.path().string(), std::nullopt, game, error)) << error;
    EXPECT_EQ(game.entries.size(), 1u);
    EXPECT_TRUE(game.secondIndexPath.empty());

    writeScrambledIndex(folder, "Lump2.cpn", "");  // an empty second index needs no data
    ASSERT_TRUE(openSourceGame(folder.path().string(), std::nullopt, game, error)) << error;
    EXPECT_EQ(game.entries.size(), 1u);

    writeArchive(folder, "Lump2.cpn", "", {{"b.txt", bytesOf("two")}});
    EXPECT_TRUE(contains(openError(folder), "Lump2.dat")) << openError(folder);
    EXPECT_TRUE(contains(openError(folder, kKey), "Lump2.dat"));
}

TEST(SourceGame, RefusesMissingOrUnusableFiles) {
    TempFolder folder;
    EXPECT_TRUE(contains(openError(folder), "Lump.cpn"));

    writeArchive(folder, "Lump.cpn", "", {{"a.txt", bytesOf("one")}});
    EXPECT_TRUE(contains(openError(folder), "Lump.dat"));

    // An index file far too large to be one is refused before it is read.
    writeBytes(folder.file("Lump.dat"), {});
    std::filesystem::resize_file(folder.file("Lump.cpn"), kMaxSourceIndexBytes + 1);
    EXPECT_TRUE(contains(openError(folder), "too many")) << openError(folder);
}

TEST(SourceGame, SaysWhatStandsWhereAnArchiveFileShouldBe) {
    // Each archive file in turn is a folder or a FIFO while the others are
    // fine; the message names the path and what is there.
    for (const char* name : {"Lump.cpn", "Lump.dat", "Lump2.cpn", "Lump2.dat"}) {
        for (const bool fifo : {false, true}) {
            TempFolder folder;
            writeArchive(folder, "Lump.cpn", "Lump.dat", {{"a.txt", bytesOf("one")}});
            writeArchive(folder, "Lump2.cpn", "Lump2.dat", {{"b.txt", bytesOf("two")}});
            const std::string path = folder.file(name);
            std::filesystem::remove(path);
            if (fifo) {
                ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
            } else {
                std::filesystem::create_directory(path);
            }
            const std::string error = openError(folder, kKey);
            EXPECT_TRUE(
                contains(error, path + ": " + (fifo ? "a FIFO" : "a folder") + ", not a file"))
                << error;
        }
    }
}

TEST(SourceGame, RefusesIndexesThatDoNotFitTheirData) {
    TempFolder folder;
    writeArchive(folder, "Lump.cpn", "Lump.dat", {{"a.txt", bytesOf("12345")}});
    writeBytes(folder.file("Lump.dat"), {1, 2, 3});  // shorter than the entry
    const std::string detected = openError(folder);
    EXPECT_TRUE(contains(detected, "no key decodes")) << detected;
    EXPECT_TRUE(contains(detected, "0x5A")) << detected;  // the hint names the likely key
    const std::string given = openError(folder, kKey);
    EXPECT_TRUE(contains(given, "\"a.txt\"")) << given;

    // A Shift-JIS name is shown in UTF-8.
    writeScrambledIndex(folder, "Lump.cpn", "#\x83\x41.png$0*9+");
    EXPECT_TRUE(contains(openError(folder, kKey), "\"\xE3\x82\xA2.png\""));
}

TEST(SourceGame, GivenKeyParsesLenientlyButKeepsTheBounds) {
    TempFolder folder;
    writeArchive(folder, "Lump.cpn", "Lump.dat", {{"a.txt", bytesOf("0123456789")}});
    writeScrambledIndex(folder, "Lump.cpn", "\x01#a.txt$2x*3+");  // "2x" reads as 20
    SourceGame game;
    std::string error;
    EXPECT_FALSE(openSourceGame(folder.path().string(), std::nullopt, game, error));
    EXPECT_FALSE(openSourceGame(folder.path().string(), kKey, game, error));  // 20 + 3 > 10
    EXPECT_TRUE(contains(error, "beyond")) << error;

    writeScrambledIndex(folder, "Lump.cpn", "\x01#a.txt$0x2*3+");
    ASSERT_TRUE(openSourceGame(folder.path().string(), kKey, game, error)) << error;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readSourceEntry(game, 0, bytes, error));
    EXPECT_EQ(bytes, bytesOf("234"));

    // The wrong key (the index then reads as bare text), and text after the last entry.
    EXPECT_FALSE(openSourceGame(folder.path().string(), uint8_t{0x33}, game, error));
    EXPECT_TRUE(contains(error, "no files")) << error;
    writeScrambledIndex(folder, "Lump.cpn", "#a.txt$0*3+\r\n");
    EXPECT_FALSE(openSourceGame(folder.path().string(), kKey, game, error));
    EXPECT_TRUE(contains(error, "byte 11")) << error;
}

TEST(SourceGame, DetectionNeedsExactlyOneKey) {
    TempFolder folder;
    // Each index lists its file under its own key and reads as bare text
    // under the other's, so both keys fit.
    writeArchive(folder, "Lump.cpn", "Lump.dat", {{"a", bytesOf("x")}}, 0x00);
    writeArchive(folder, "Lump2.cpn", "Lump2.dat", {{"b", bytesOf("y")}}, 0x40);
    const std::string several = openError(folder);
    EXPECT_TRUE(contains(several, "0x00, 0x40")) << several;
    EXPECT_TRUE(contains(several, "--key")) << several;

    writeScrambledIndex(folder, "Lump.cpn", "just a comment");
    writeScrambledIndex(folder, "Lump2.cpn", "");
    EXPECT_TRUE(contains(openError(folder), "no key decodes"));
    EXPECT_TRUE(contains(openError(folder, kKey), "no files"));
}

TEST(SourceGame, AtMost8192DifferentFilesTogether) {
    TempFolder folder;
    std::vector<FixtureFile> first, second, overlapping;
    for (int i = 0; i < 5000; ++i) {
        first.push_back({std::string("a").append(std::to_string(i)), {}});
        second.push_back({std::string("b").append(std::to_string(i)), {}});
        overlapping.push_back({std::string("A").append(std::to_string(i)), {}});
    }
    writeArchive(folder, "Lump.cpn", "Lump.dat", first);
    writeArchive(folder, "Lump2.cpn", "Lump2.dat", overlapping);
    SourceGame game;
    std::string error;
    ASSERT_TRUE(openSourceGame(folder.path().string(), std::nullopt, game, error)) << error;
    EXPECT_EQ(game.entries.size(), 5000u);
    EXPECT_EQ(game.entries[0].archive, 1);

    writeArchive(folder, "Lump2.cpn", "Lump2.dat", second);
    EXPECT_TRUE(contains(openError(folder), "8192")) << openError(folder);
}

TEST(SourceGame, EntriesReadFromSeveralThreadsAtOnce) {
    TempFolder folder;
    std::vector<FixtureFile> files;
    for (int i = 0; i < 200; ++i) {
        std::vector<uint8_t> bytes(100 + i * 37);
        for (size_t j = 0; j < bytes.size(); ++j)
            bytes[j] = static_cast<uint8_t>(i * 7 + j);
        files.push_back({std::string("f").append(std::to_string(i)).append(".bin"), bytes});
    }
    writeArchive(folder, "Lump.cpn", "Lump.dat", files);
    SourceGame game;
    std::string error;
    ASSERT_TRUE(openSourceGame(folder.path().string(), std::nullopt, game, error)) << error;

    std::vector<int> mismatches(2, 0);
    auto reader = [&](int thread) {
        for (int round = 0; round < 3; ++round) {
            for (size_t i = 0; i < files.size(); ++i) {
                const size_t k = thread == 0 ? i : files.size() - 1 - i;
                std::vector<uint8_t> bytes;
                std::string readError;
                if (!readSourceEntry(game, k, bytes, readError) || bytes != files[k].bytes) {
                    ++mismatches[thread];
                }
            }
        }
    };
    std::thread a(reader, 0), b(reader, 1);
    a.join();
    b.join();
    EXPECT_EQ(mismatches, (std::vector<int>{0, 0}));
}

TEST(SourceGame, DataFileShortenedAfterOpeningIsAnError) {
    TempFolder folder;
    writeArchive(folder, "Lump.cpn", "Lump.dat", {{"a", bytesOf("abc")}, {"b", bytesOf("defg")}});
    SourceGame game;
    std::string error;
    ASSERT_TRUE(openSourceGame(folder.path().string(), std::nullopt, game, error)) << error;
    std::filesystem::resize_file(folder.file("Lump.dat"), 5);
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readSourceEntry(game, 0, bytes, error));
    EXPECT_FALSE(readSourceEntry(game, 1, bytes, error));
    EXPECT_TRUE(contains(error, "2 of 4")) << error;
    std::filesystem::remove(folder.file("Lump.dat"));
    EXPECT_FALSE(readSourceEntry(game, 0, bytes, error));
}

}  // namespace
}  // namespace zeku
