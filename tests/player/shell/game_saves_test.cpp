// Saving and loading on a real game context over a small package: what a
// load brings back and what it leaves, refused files, the slot list and its
// newest slot, the choice rewind, failed writes, the files that outlive a
// run, and slot files kept from this version.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "player/script/command_handlers.h"
#include "player/shell/game_saves.h"
#include "player/system/menu_ids.h"
#include "tests/player/script/script_rig.h"
#include "tests/support/file_size_limit.h"

namespace zeku {
namespace {

namespace fs = std::filesystem;
using test_support::readBytes;
using test_support::writeBytes;

constexpr char kEmptySlot[] = "---- \x96\xA2\x92\xE8\x8B\x60 ----";  // ---- 未定義 ----
constexpr LocalDateTime kNoon{2026, 12, 8, 12, 0, 5};

const char kScript[] =
    "|_Start:\n#CreateTextf(2,0)\n@1=1\n#Wait(100000)\n"
    "|_Next:\n@2=2\n#Wait(100000)\n"
    "|_Choice:\n#SelectEx()\n{\n#Select(0,10,\"_A\",\"./script.txt\")\n"
    "#Select(0,11,\"_Next\",\"./script.txt\")\n}\n"
    "|_A:\n@1=6\n#Wait(100000)\n#END()\n";
const char kMessages[] = "10,\"\",\"\x82\xA0\"\r\n11,\"\",\"\x82\xA2\"\r\n";

struct SaveRig : test_support::ScriptRig {
    SaveRig() {
        fs::create_directories(folder.path() / "data");
        EXPECT_TRUE(load({{"./script.txt", kScript}, {"./mes.txt", kMessages}}));
        MenuTree& tree = game.menu.tree();
        int loads = 0, saves = 0;
        tree.addPopup(0, 1, "LOAD", &loads);
        tree.addPopup(0, 2, "SAVE", &saves);
        for (uint32_t i = 0; i < menu_id::kSlotCount; ++i) {
            tree.addCommand(loads, menu_id::kLoadFirst + i, "slot");
            tree.addCommand(saves, menu_id::kSaveFirst + i, "slot");
        }
        tree.addCommand(0, menu_id::kRewindChoice, "rewind");
        tree.setEnabled(menu_id::kRewindChoice, false);
    }
    std::string data(const std::string& name) const { return folder.file("data/" + name); }
    const MenuEntry& loadEntry(int slot) {
        return *game.menu.tree().entry(menu_id::kLoadFirst + uint32_t(slot));
    }
    const MenuEntry& saveEntry(int slot) {
        return *game.menu.tree().entry(menu_id::kSaveFirst + uint32_t(slot));
    }
    std::string_view string(int index) const { return engine.state.variables.string(index); }
    Image* slot0() { return imageInSlot(images, 0); }
};

uint8_t patternByte(size_t i) {
    return uint8_t(i * 13 + (i >> 7));
}

// A game in progress: variables on both sides of @900, text settings, a
// message file, music, a picture in slot 0 and something on the screen.
void playSome(SaveRig& rig) {
    rig.step();
    auto& numbers = rig.engine.state.variables.numbers;
    numbers[5] = 11;
    numbers[899] = 7;
    numbers[900] = 33;
    numbers[2047] = 44;
    rig.engine.state.variables.setString(1, "abc");
    rig.engine.textSettings = {
        0xFFFF00, 0xFFFFFF, 40, 20, 40, 300,
    };
    std::strcpy(rig.engine.messageFileName, "./mes.txt");
    rig.engine.musicFirstTrack = 3;
    rig.engine.musicSecondTrack = 4;
    rig.engine.musicLoop = 1;
    rig.game.cdda.play("track_03.mp3", "", 100, 1, rig.nowMs);
    Image* image =
        imageForCommand(rig.images, 0, rig.screenWidth, rig.screenHeight, rig.engine.errorWord);
    ASSERT_NE(image, nullptr);
    for (size_t i = 0; i < size_t(rig.screenWidth) * size_t(rig.screenHeight); ++i) {
        image->pixels[i * 3] = patternByte(i);
        image->pixels[i * 3 + 1] = patternByte(i + 1);
        image->pixels[i * 3 + 2] = 0x40;
    }
    for (size_t i = 0; i < size_t(rig.game.screen.rowBytes()) * size_t(rig.screenHeight); ++i)
        rig.game.screen.pixels()[i] = patternByte(i * 5);
}

// Everything a refused load must leave as it was.
struct Snapshot {
    int32_t v5, v900, position, level, track;
    std::string file, message;
    std::array<int32_t, kTextSettingCount> text;
    bool playing, saving;
    Image* picture;
    uint8_t firstPixel;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(SaveRig& rig) {
    const ScriptState& s = rig.engine.state;
    return {s.variables.numbers[5],
            s.variables.numbers[900],
            s.levels[0].position,
            s.currentLevel,
            rig.engine.musicFirstTrack,
            s.levels[0].fileName,
            rig.engine.messageFileName,
            rig.engine.textSettings,
            rig.game.cdda.playing(),
            rig.engine.savingEnabled,
            rig.slot0(),
            rig.slot0() ? rig.slot0()->pixels[0] : uint8_t(0)};
}

TEST(GameSaves, SaveThenLoadBringsTheGameBackButNotTheSharedVariables) {
    SaveRig rig;
    playSome(rig);
    const int32_t savedAt = rig.level().position;
    ASSERT_TRUE(saveGame(rig.game, 3, kNoon));
    EXPECT_EQ(fs::file_size(rig.data("save004.dat")), 175022u);
    EXPECT_EQ(fs::file_size(rig.data("save000.dat")), 4592u);
    EXPECT_EQ(rig.loadEntry(3).text, "2026-12-08 12:00:05 ");
    EXPECT_TRUE(rig.loadEntry(3).enabled());
    EXPECT_TRUE(rig.loadEntry(3).checked());
    EXPECT_EQ(rig.saveEntry(3).thumbnail.width, 80);

    // The game goes on and changes everything.
    auto& numbers = rig.engine.state.variables.numbers;
    numbers[5] = 99;
    numbers[899] = 0;
    numbers[900] = 77;
    numbers[2047] = 45;
    rig.engine.state.variables.setString(1, "zzz");
    rig.engine.textSettings = {};
    rig.engine.messageFileName[0] = 0;
    rig.game.messageWindows = {};
    releaseImageSlot(rig.images, 0);
    rig.game.cdda.play("track_09.mp3", "", 100, 1, rig.nowMs);
    rig.engine.musicFirstTrack = 9;
    rig.engine.savingEnabled = false;
    ASSERT_TRUE(createRectObject(rig.game.objects, 7, 0, 0, 800, 600, 0xFF0000));
    ASSERT_TRUE(rig.enter("./script.txt", "_Next"));
    rig.dirty.clear();

    ASSERT_TRUE(loadGame(rig.game, 3));
    // The running game's objects go; the saved picture is what shows.
    EXPECT_EQ(objectInSlot(rig.game.objects, 7), nullptr);
    ASSERT_NE(objectInSlot(rig.game.objects, 0), nullptr);
    EXPECT_EQ(numbers[5], 11);
    EXPECT_EQ(numbers[899], 7);
    EXPECT_EQ(numbers[900], 77);  // the shared variables keep their newer values
    EXPECT_EQ(numbers[2047], 45);
    EXPECT_EQ(rig.string(1), "abc");
    EXPECT_STREQ(rig.level().fileName, "./script.txt");
    EXPECT_EQ(rig.level().position, savedAt);
    EXPECT_EQ(rig.currentLine(), "#Wait(100000)");
    EXPECT_STREQ(rig.engine.messageFileName, "./mes.txt");
    EXPECT_NE(findMessage(rig.game.messages, 10), nullptr);
    EXPECT_EQ(rig.engine.textSettings,
              (std::array<int32_t, 6>{0xFFFF00, 0xFFFFFF, 40, 20, 40, 300}));
    for (const MessageWindow& window : rig.game.messageWindows)
        EXPECT_TRUE(window.created);
    EXPECT_EQ(rig.game.messageWindows[1].originX, 20);  // (40 + 10) × 320 / 800
    EXPECT_EQ(rig.game.messageWindows[1].originY, 120);
    EXPECT_EQ(rig.game.messageWindows[1].defaultColour, 0xFFFFFFu);
    EXPECT_EQ(rig.engine.musicFirstTrack, 3);
    EXPECT_EQ(rig.game.cdda.trackName(), "track_03.mp3");
    EXPECT_TRUE(rig.engine.savingEnabled);
    ASSERT_NE(rig.slot0(), nullptr);
    size_t wrong = 0;
    for (size_t i = 0; i < size_t(rig.screenWidth) * size_t(rig.screenHeight); ++i) {
        const uint8_t* p = &rig.slot0()->pixels[i * 3];
        wrong += p[0] != patternByte(i) || p[1] != patternByte(i + 1) || p[2] != 255;
    }
    EXPECT_EQ(wrong, 0u);
    ASSERT_FALSE(rig.dirty.empty());
    EXPECT_EQ(rig.dirty.rects().front(), (ScreenRect{0, 0, 320, 240}));
    // The script goes on from the saved line.
    rig.step();
    EXPECT_EQ(rig.currentLine(), "#Wait(100000)");
    EXPECT_EQ(rig.var(2), 0);
}

TEST(GameSaves, LoadingASaveWithoutMusicStopsTheMusic) {
    SaveRig rig;
    rig.step();
    ASSERT_TRUE(saveGame(rig.game, 0, kNoon));
    EXPECT_EQ(loadLe32(readBytes(rig.data("save001.dat")).data() + 236), 0u);
    rig.game.cdda.play("track_05.mp3", "", 100, 1, rig.nowMs);
    rig.engine.musicFirstTrack = 5;
    ASSERT_TRUE(loadGame(rig.game, 0));
    EXPECT_FALSE(rig.game.cdda.playing());
    EXPECT_EQ(rig.engine.musicFirstTrack, 0);
}

TEST(GameSaves, ReturnToTitleStartsOverAndKeepsTheSharedData) {
    SaveRig rig;
    playSome(rig);
    ASSERT_TRUE(rig.enter("./script.txt", "_Next"));
    rig.engine.readMarks.markRead("./script.txt", 4);
    returnToTitle(rig.game);
    EXPECT_FALSE(rig.game.cdda.playing());
    EXPECT_EQ(rig.engine.musicFirstTrack, 0);
    EXPECT_EQ(rig.slot0(), nullptr);
    EXPECT_FALSE(rig.game.messageWindows[1].created);
    EXPECT_EQ(rig.engine.messageFileName[0], 0);
    EXPECT_EQ(rig.var(5), 11);  // variables are the game's, not the title's
    EXPECT_TRUE(fs::exists(rig.data("save000.dat")));
    EXPECT_TRUE(fs::exists(rig.data("mes.dat")));
    rig.step();
    EXPECT_EQ(rig.var(1), 1);  // "_Start" ran again
    EXPECT_EQ(rig.currentLine(), "#Wait(100000)");
}

TEST(GameSaves, BadSlotFilesAreRefusedWithTheGameUnchanged) {
    SaveRig rig;
    playSome(rig);
    ASSERT_TRUE(saveGame(rig.game, 0, kNoon));
    const std::vector<uint8_t> good = readBytes(rig.data("save001.dat"));
    struct Case {
        const char* name;
        size_t keep;  // bytes of the good file kept; 0: no file
        size_t at;
        size_t length;  // bytes from `at` set to `value`
        uint8_t value;
    };
    const Case cases[] = {
        {"missing", 0, 0, 0, 0},
        {"short", 1000, 0, 0, 0},
        {"picture cut", 11768 + 1000, 0, 0, 0},
        {"foreign magic", good.size(), 0, 1, 'X'},
        {"foreign picture offset", good.size(), 4, 1, 0},
        {"script name not terminated", good.size(), 80, 64, 'x'},
        {"script not in the package", good.size(), 82, 1, 'q'},
        {"position past the script", good.size(), 211, 1, 0x7F},
    };
    rig.nowMs += 1000;
    rig.engine.state.variables.numbers[5] = 12;
    rig.engine.state.variables.numbers[900] = 34;
    const Snapshot before = snapshot(rig);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(rig.data("save001.dat"));
        if (c.keep != 0) {
            std::vector<uint8_t> bad(good.begin(), good.begin() + ptrdiff_t(c.keep));
            for (size_t i = c.at; i < c.at + c.length; ++i)
                bad[i] = c.value;
            writeBytes(rig.data("save001.dat"), bad);
        }
        EXPECT_FALSE(loadGame(rig.game, 0));
        EXPECT_TRUE(snapshot(rig) == before);
    }
    // The game still runs.
    EXPECT_GT(rig.step(), 0);
}

TEST(GameSaves, NewestSlotIsTheLatestDateThenTheLowerSlot) {
    struct Save {
        int slot;
        LocalDateTime at;
    };
    struct Case {
        const char* name;
        std::vector<Save> saves;
        int newestListed;
    };
    const LocalDateTime later{2026, 12, 8, 12, 0, 6};
    const LocalDateTime dayBefore{2026, 12, 7, 23, 59, 59};
    const Case cases[] = {
        {"equal dates, lower slot first", {{2, kNoon}, {4, kNoon}}, 2},
        {"equal dates, lower slot last", {{4, kNoon}, {2, kNoon}}, 2},
        {"the later second wins", {{4, kNoon}, {2, kNoon}, {6, later}}, 6},
        {"by date, not by slot", {{1, kNoon}, {0, dayBefore}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SaveRig rig;
        rig.step();
        for (const Save& s : c.saves) {
            ASSERT_TRUE(saveGame(rig.game, s.slot, s.at));
            // Just saved: this slot carries the check mark.
            EXPECT_TRUE(rig.loadEntry(s.slot).checked());
        }
        listSlots(rig.game);  // as at the next start
        EXPECT_EQ(rig.game.saveSlots.newest, c.newestListed);
        for (int slot = 0; slot < menu_id::kSlotCount; ++slot) {
            SCOPED_TRACE(slot);
            const bool used = rig.game.saveSlots.used[size_t(slot)];
            EXPECT_EQ(rig.loadEntry(slot).checked(), slot == c.newestListed);
            EXPECT_EQ(rig.saveEntry(slot).checked(), slot == c.newestListed);
            EXPECT_EQ(rig.loadEntry(slot).enabled(), used);
            EXPECT_TRUE(rig.saveEntry(slot).enabled());
            EXPECT_EQ(rig.loadEntry(slot).hasThumbnail(), used);
            if (!used) {
                EXPECT_EQ(rig.saveEntry(slot).text, kEmptySlot);
            }
        }
    }
}

TEST(GameSaves, ChoiceRewindSavesBeforeTheChoiceAndGoesBackOnce) {
    SaveRig rig;
    ASSERT_TRUE(rig.enter("./script.txt", "_Choice"));
    std::strcpy(rig.engine.messageFileName, "./mes.txt");
    rig.engine.state.variables.numbers[1] = 5;
    rig.step();
    ASSERT_EQ(rig.engine.saveRequest, SaveRequest::ChoiceSave);
    carryOutSaveRequest(rig.game, kNoon);
    EXPECT_EQ(rig.engine.saveRequest, SaveRequest::None);
    EXPECT_TRUE(fs::exists(rig.data("save601.dat")));
    EXPECT_TRUE(rig.game.saveSlots.rewindAvailable);
    EXPECT_TRUE(rig.game.menu.tree().entry(menu_id::kRewindChoice)->enabled());
    // Not one of the menu's slots.
    EXPECT_EQ(rig.loadEntry(0).text, "slot");
    EXPECT_EQ(rig.game.saveSlots.newest, -1);

    ASSERT_TRUE(rig.enter("./script.txt", "_A"));
    rig.step();
    EXPECT_EQ(rig.var(1), 6);
    rewindChoice(rig.game);
    EXPECT_EQ(rig.var(1), 5);
    EXPECT_EQ(rig.currentLine(), "#SelectEx()");
    EXPECT_FALSE(rig.game.saveSlots.rewindAvailable);
    EXPECT_FALSE(rig.game.menu.tree().entry(menu_id::kRewindChoice)->enabled());
    rig.engine.state.variables.numbers[1] = 8;
    rewindChoice(rig.game);  // only once
    EXPECT_EQ(rig.var(1), 8);
    // The choice comes again, and with it a new rewind save.
    rig.step();
    EXPECT_EQ(rig.engine.saveRequest, SaveRequest::ChoiceSave);
}

// Saves into slot 0 where the save folder may not be written. Permissions
// do not bind the superuser, so under it the save runs in a child process
// that has given its rights up; the child reports whether the save failed
// and its game went on.
bool saveFailsInReadOnlyFolder(SaveRig& rig) {
    fs::permissions(rig.folder.path(), fs::perms(0755));
    chmod(rig.folder.file("data").c_str(), 0555);
    bool failedAndRunning = false;
    if (geteuid() != 0) {
        failedAndRunning = !saveGame(rig.game, 0, kNoon) && rig.step() > 0;
    } else {
        const pid_t child = fork();
        if (child == 0) {
            const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
            _exit(dropped && !saveGame(rig.game, 0, kNoon) && rig.step() > 0 ? 0 : 1);
        }
        int status = 0;
        failedAndRunning = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                           WEXITSTATUS(status) == 0;
    }
    chmod(rig.folder.file("data").c_str(), 0755);
    return failedAndRunning;
}

TEST(GameSaves, AFailedWriteLeavesThePreviousSaveWhole) {
    for (const bool readOnlyFolder : {true, false}) {
        SCOPED_TRACE(readOnlyFolder ? "read-only folder" : "disk full");
        SaveRig rig;
        playSome(rig);
        ASSERT_TRUE(saveGame(rig.game, 0, kNoon));
        const std::vector<uint8_t> before = readBytes(rig.data("save001.dat"));
        rig.engine.state.variables.numbers[5] = 50;
        if (readOnlyFolder) {
            EXPECT_TRUE(saveFailsInReadOnlyFolder(rig));
        } else {
            const test_support::FileSizeLimit limit(100000);
            EXPECT_FALSE(saveGame(rig.game, 0, kNoon));
        }
        EXPECT_EQ(readBytes(rig.data("save001.dat")), before);
        int files = 0;
        for (const auto& entry : fs::directory_iterator(rig.folder.path() / "data"))
            files += entry.path().filename().string().rfind("save001.dat", 0) == 0;
        EXPECT_EQ(files, 1);  // no temporary left behind
        EXPECT_EQ(rig.var(5), 50);
        EXPECT_GT(rig.step(), 0);
        ASSERT_TRUE(loadGame(rig.game, 0));
        EXPECT_EQ(rig.var(5), 11);
    }
}

TEST(GameSaves, AnInterruptedWriteLeavesTheOldFileOrTheNewNeverAMix) {
    SaveRig rig;
    playSome(rig);
    ASSERT_TRUE(saveGame(rig.game, 1, kNoon));
    const std::vector<uint8_t> oldFile = readBytes(rig.data("save002.dat"));
    rig.engine.state.variables.numbers[5] = 60;
    ASSERT_TRUE(saveGame(rig.game, 2, kNoon));
    const std::vector<uint8_t> newFile = readBytes(rig.data("save003.dat"));
    ASSERT_NE(oldFile, newFile);
    for (size_t stopAt : {size_t{0}, size_t{11768}, newFile.size() / 2, newFile.size()}) {
        SCOPED_TRACE(stopAt);
        {
            AtomicFileWriter writer;
            std::string error;
            ASSERT_TRUE(writer.open(rig.data("save002.dat"), error));
            ASSERT_TRUE(writer.write(newFile.data(), stopAt));
        }  // gone before its commit, as in a crash between the steps
        EXPECT_EQ(readBytes(rig.data("save002.dat")), oldFile);
        ASSERT_TRUE(loadGame(rig.game, 1));
        EXPECT_EQ(rig.var(5), 11);
    }
}

TEST(GameSaves, SharedVariablesReadMarksAndNamesOutliveTheRun) {
    SaveRig first;
    auto& numbers = first.engine.state.variables.numbers;
    for (int i = 0; i < 4096; ++i)
        numbers[size_t(i)] = i * 3 + 1;
    first.engine.readMarks.markRead("./script.txt", 10);
    first.engine.readMarks.markRead("./script.txt", 20);
    first.engine.readMarks.markRead("./sub.txt", 7);
    writePersistent(first.game);
    EXPECT_EQ(fs::file_size(first.data("mes.dat")), 4u + 13 + 4 + 8 + 10 + 4 + 4);

    GameContext next(kSigmarionBuild, first.folder.path().string(), GXKeyList{});
    next.heroNames.family = "Aoi";
    next.heroNames.honorific = "san";
    next.script.state.variables.numbers[899] = -1;
    readPersistent(next);
    const auto& read = next.script.state.variables.numbers;
    EXPECT_EQ(read[899], -1);  // below the shared range: untouched
    EXPECT_EQ(read[900], 900 * 3 + 1);
    EXPECT_EQ(read[2047], 2047 * 3 + 1);
    EXPECT_EQ(read[2048], 0);
    const ScriptVariables& v = next.script.state.variables;
    EXPECT_EQ(v.string(ScriptVariables::stringIndex('l')), "Aoi");
    EXPECT_EQ(v.string(ScriptVariables::stringIndex('s')), "Aoi");
    EXPECT_EQ(v.string(ScriptVariables::stringIndex('k')), "san");
    EXPECT_EQ(v.string(ScriptVariables::stringIndex('m')), next.heroNames.given);
    const ReadRegistry& marks = next.script.readMarks;
    ASSERT_EQ(marks.fileCount(), 2);
    EXPECT_EQ(marks.fileName(0), "./script.txt");
    EXPECT_EQ(std::vector<uint32_t>(marks.keys(0).begin(), marks.keys(0).end()),
              (std::vector<uint32_t>{10, 20}));
    EXPECT_EQ(marks.isRead("./sub.txt", 7), 1);

    // A registry already filled is not read over, and an empty one leaves the file.
    readPersistent(next);
    EXPECT_EQ(next.script.readMarks.fileCount(), 2);
    GameContext empty(kSigmarionBuild, first.folder.path().string(), GXKeyList{});
    writePersistent(empty);
    EXPECT_EQ(fs::file_size(first.data("mes.dat")), 47u);

    // A name of 32 bytes or more is read past with its keys.
    std::vector<uint8_t> file = {3, 0, 0, 0};
    auto entry = [&](const std::string& name, std::vector<uint32_t> keys) {
        file.insert(file.end(), name.begin(), name.end());
        file.push_back(0);
        file.push_back(uint8_t(keys.size()));
        file.insert(file.end(), {0, 0, 0});
        for (uint32_t k : keys)
            file.insert(file.end(), {uint8_t(k), 0, 0, 0});
    };
    entry("./a.txt", {1});
    entry(std::string(32, 'n'), {2, 3});
    entry("./b.txt", {4});
    writeBytes(first.data("mes.dat"), file);
    GameContext third(kSigmarionBuild, first.folder.path().string(), GXKeyList{});
    readPersistent(third);
    ASSERT_EQ(third.script.readMarks.fileCount(), 2);
    EXPECT_EQ(third.script.readMarks.fileName(1), "./b.txt");
    // A file cut inside an entry adds nothing.
    file.pop_back();
    writeBytes(first.data("mes.dat"), file);
    GameContext fourth(kSigmarionBuild, first.folder.path().string(), GXKeyList{});
    readPersistent(fourth);
    EXPECT_TRUE(fourth.script.readMarks.empty());
}

// Slot files this version wrote, kept so that a change which breaks old
// saves fails here. ZEKU_WRITE_SAVE_FIXTURE=1 writes them afresh.
TEST(GameSaves, SlotFilesKeptFromThisVersionStillLoad) {
    const std::string kept = std::string(ZEKU_SOURCE_DIR) + "/tests/data/saves/save001_320x240.dat";
    SaveRig rig;
    if (std::getenv("ZEKU_WRITE_SAVE_FIXTURE") != nullptr) {
        playSome(rig);
        ASSERT_TRUE(saveGame(rig.game, 0, kNoon));
        fs::copy_file(rig.data("save001.dat"), kept, fs::copy_options::overwrite_existing);
        GTEST_SKIP() << "wrote " << kept;
    }
    ASSERT_TRUE(fs::exists(kept));
    fs::copy_file(kept, rig.data("save001.dat"));
    listSlots(rig.game);
    EXPECT_EQ(rig.loadEntry(0).text, "2026-12-08 12:00:05 ");
    EXPECT_EQ(rig.loadEntry(0).thumbnail.width, 80);
    EXPECT_EQ(rig.game.saveSlots.newest, 0);
    ASSERT_TRUE(loadGame(rig.game, 0));
    EXPECT_EQ(rig.var(5), 11);
    EXPECT_EQ(rig.var(899), 7);
    EXPECT_EQ(rig.string(1), "abc");
    EXPECT_EQ(rig.currentLine(), "#Wait(100000)");
    EXPECT_EQ(rig.engine.musicFirstTrack, 3);
    EXPECT_EQ(rig.game.messageWindows[1].originY, 120);
    ASSERT_NE(rig.slot0(), nullptr);
    EXPECT_EQ(rig.slot0()->pixels[3 * 1000], patternByte(1000));
}

}  // namespace
}  // namespace zeku
