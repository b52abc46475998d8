// The demo game's folder as the converter meets it: scrambled archive pairs
// whose index and data read back exactly, the second archive's overrides,
// refused names, and the zekudemo program's command line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/text/sjis.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/demogame_test_support.h"
#include "tools/demogame/demo_game.h"

namespace zeku {
namespace {

namespace fs = std::filesystem;
using demo::DemoFile;
using demo::DemoGame;
using test_support::readArchive;
using test_support::ReadArchive;
using test_support::readBytes;
using test_support::TempFolder;

// Building the game takes a moment; every test here reads the same one.
const DemoGame& defaultGame() {
    static const DemoGame game = demo::buildDemoGame({});
    return game;
}

void expectArchiveHolds(const std::string& folder, const std::string& base, uint8_t key,
                        const std::vector<DemoFile>& files) {
    ReadArchive archive;
    ASSERT_TRUE(readArchive(folder, base, key, archive)) << base << " index is malformed";
    EXPECT_TRUE(archive.endsAfterPlus) << "the index must end right after the last \"+\"";
    EXPECT_EQ(archive.comment.find('#'), std::string::npos);
    ASSERT_EQ(archive.entries.size(), files.size());
    uint64_t expectedOffset = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const test_support::ArchiveEntry& entry = archive.entries[i];
        EXPECT_EQ(entry.name, files[i].name);
        EXPECT_EQ(entry.offset, expectedOffset) << entry.name;
        ASSERT_EQ(entry.size, files[i].bytes.size()) << entry.name;
        ASSERT_LE(entry.offset + entry.size, archive.data.size());
        const std::vector<uint8_t> stored(
            archive.data.begin() + static_cast<long>(entry.offset),
            archive.data.begin() + static_cast<long>(entry.offset + entry.size));
        EXPECT_TRUE(stored == files[i].bytes) << entry.name << " did not round-trip";
        expectedOffset += entry.size;
    }
    EXPECT_EQ(expectedOffset, archive.data.size()) << "no bytes between or after the files";
}

TEST(DemoArchives, BothPairsReadBackWithTheKey) {
    TempFolder folder{"zeku-demogame"};
    const std::string game = folder.file("game");
    std::string error;
    ASSERT_TRUE(demo::writeSourceGame(game, defaultGame(), demo::kDemoGameKey, error)) << error;
    EXPECT_FALSE(readBytes(game + "/kumo.exe").empty());
    expectArchiveHolds(game, "Lump", demo::kDemoGameKey, defaultGame().first);
    expectArchiveHolds(game, "Lump2", demo::kDemoGameKey, defaultGame().second);

    // The data really is scrambled: the script's first bytes are not plain.
    const std::vector<uint8_t> raw = readBytes(game + "/Lump.dat");
    ASSERT_GE(raw.size(), 2u);
    EXPECT_NE(raw[0], '/');
    EXPECT_EQ(raw[0] ^ demo::kDemoGameKey, '/');
}

TEST(DemoArchives, AnotherKeyScramblesDifferentlyAndReadsBackTheSame) {
    TempFolder folder{"zeku-demogame"};
    DemoGame small;
    small.first = {{"./a.txt", {'a', 'b', 'c'}}, {"./b.txt", {}}, {"./c.txt", {0, 0xA7, 0xFF}}};
    std::string error;
    ASSERT_TRUE(demo::writeSourceGame(folder.file("k1"), small, 0x01, error)) << error;
    ASSERT_TRUE(demo::writeSourceGame(folder.file("k2"), small, 0x5A, error)) << error;
    EXPECT_NE(readBytes(folder.file("k1/Lump.cpn")), readBytes(folder.file("k2/Lump.cpn")));
    expectArchiveHolds(folder.file("k1"), "Lump", 0x01, small.first);
    expectArchiveHolds(folder.file("k2"), "Lump", 0x5A, small.first);
    // No second archive without second files.
    EXPECT_FALSE(fs::exists(folder.file("k1/Lump2.cpn")));
    EXPECT_FALSE(fs::exists(folder.file("k1/Lump2.dat")));
}

TEST(DemoArchives, NamesTheIndexCannotHoldAreRefused) {
    TempFolder folder{"zeku-demogame"};
    const std::string tooLong = "./" + std::string(126, 'a');
    for (const std::string& name :
         {std::string(), std::string("./a$b.txt"), std::string("#x"), std::string("./a+b"),
          std::string("./a*b"), std::string("./a\nb"), tooLong}) {
        DemoGame game;
        game.first = {{"./fine.txt", {1}}, {name, {2}}};
        std::string error;
        EXPECT_FALSE(demo::writeSourceGame(folder.file("g"), game, 0x33, error)) << name;
        EXPECT_NE(error.find("archive name"), std::string::npos) << error;
    }
    EXPECT_FALSE(fs::exists(folder.file("g"))) << "names are checked before anything is written";
    // 127 bytes still fit, and so do Shift-JIS names whose trail bytes look
    // like ASCII ("ソ" is 0x83 0x5C).
    DemoGame game;
    game.first = {{"./" + std::string(125, 'a'), {1}}, {"./\x83\x5C.wav", {2}}};
    std::string error;
    EXPECT_TRUE(demo::writeSourceGame(folder.file("ok"), game, 0x33, error)) << error;
    expectArchiveHolds(folder.file("ok"), "Lump", 0x33, game.first);
}

TEST(DemoArchives, AFileInTheWayIsReported) {
    TempFolder folder{"zeku-demogame"};
    test_support::writeBytes(folder.file("blocker"), {1, 2, 3});
    std::string error;
    EXPECT_FALSE(demo::writeSourceGame(folder.file("blocker/game"), defaultGame(), 0x10, error));
    EXPECT_FALSE(error.empty());
}

TEST(DemoArchives, SecondArchiveReplacesAddsAndDiffersInCase) {
    const DemoGame& game = defaultGame();
    int sameName = 0;
    int caseOnly = 0;
    int added = 0;
    for (const DemoFile& late : game.second) {
        const DemoFile* early = nullptr;
        for (const DemoFile& file : game.first) {
            if (textEquals(file.name, late.name)) early = &file;
        }
        if (early == nullptr) {
            ++added;
            continue;
        }
        EXPECT_NE(early->bytes, late.bytes) << late.name << " must change what it replaces";
        if (early->name == late.name) {
            ++sameName;
        } else {
            ++caseOnly;
        }
    }
    EXPECT_GE(sameName, 1);
    EXPECT_GE(caseOnly, 1);
    EXPECT_GE(added, 1);
    // Within one archive each name appears once, and every name fits the
    // package's 63 bytes (".png" and ".bmp" become ".rbp", ".wav" ".mp3").
    for (const auto* archive : {&game.first, &game.second}) {
        for (size_t i = 0; i < archive->size(); ++i) {
            EXPECT_LE((*archive)[i].name.size(), 63u);
            for (size_t j = i + 1; j < archive->size(); ++j) {
                EXPECT_FALSE(textEquals((*archive)[i].name, (*archive)[j].name))
                    << (*archive)[i].name;
            }
        }
    }
}

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ToolRun zekudemo(const TempFolder& folder, const std::string& arguments) {
    const std::string out = folder.file("stdout.txt");
    const std::string err = folder.file("stderr.txt");
    const std::string command = std::string(ZEKUDEMO) + " " + arguments + " >" + out + " 2>" + err;
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const std::vector<uint8_t> o = readBytes(out);
    const std::vector<uint8_t> e = readBytes(err);
    run.out.assign(o.begin(), o.end());
    run.err.assign(e.begin(), e.end());
    return run;
}

TEST(Zekudemo, WritesTheGameAndReportsOneLine) {
    TempFolder folder{"zeku-zekudemo"};
    const ToolRun run = zekudemo(folder, "--out " + folder.file("game") + " --key 0x3c");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty());
    const size_t files = defaultGame().first.size() + defaultGame().second.size();
    EXPECT_NE(run.out.find(std::to_string(files) + " files"), std::string::npos) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
    expectArchiveHolds(folder.file("game"), "Lump", 0x3C, defaultGame().first);
    expectArchiveHolds(folder.file("game"), "Lump2", 0x3C, defaultGame().second);
}

TEST(Zekudemo, BadCommandLinesAndFailuresExitDifferently) {
    TempFolder folder{"zeku-zekudemo"};
    for (const std::string& arguments :
         {std::string(), std::string("--large"), std::string("--out"),
          "--out " + folder.file("g") + " --key 0", "--out " + folder.file("g") + " --key 256",
          "--out " + folder.file("g") + " --key zz", "--out " + folder.file("g") + " --what"}) {
        const ToolRun run = zekudemo(folder, arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_NE(run.err.find("usage"), std::string::npos) << arguments;
    }
    EXPECT_FALSE(fs::exists(folder.file("g")));

    test_support::writeBytes(folder.file("blocker"), {1});
    const ToolRun run = zekudemo(folder, "--out " + folder.file("blocker/game"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("zekudemo: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
}

}  // namespace
}  // namespace zeku
