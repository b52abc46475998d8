// Reading and writing the player's settings: the documented worked cases,
// which keys are written back and where, and the key and pad bindings.
#include "player/system/settings_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/api/frame_buffer_layouts.h"

namespace zeku {
namespace {

constexpr char kPath[] = "mem/zeku.cfg";

struct Loaded {
    SystemSettings settings;
    std::string messageFont;
    HeroNames names;
    KeyMap keys = makeKeyMap(defaultKeyList(true));
    PadMap pads = makePadMap(keys);
    IniLineList file;
    std::vector<std::string> fonts{"Alpha", "Beta", "Gamma"};

    explicit Loaded(std::string_view text) {
        file.assign(kPath, text);
        loadSettings(file, kPath, fonts, SettingsTargets{settings, messageFont, names, keys, pads});
    }
    std::string stored() {
        storeSettings(file, kPath, settings, fonts);
        std::string out;
        EXPECT_TRUE(joinIniLines(file.lines(), out));
        return out;
    }
};

TEST(SettingsStore, ValuesAsStored) {
    // The syntax cases are the line list's; here what loading does with them.
    struct Case {
        const char* text;
        std::function<int32_t(const Loaded&)> field;
        int32_t expected;
    };
    auto master = [](const Loaded& l) { return l.settings.masterVolume; };
    const Case cases[] = {
        {"[MUSIC_CONFIG]\r\nMASTER_VOL=5\r\n", master, 100},
        {"[MUSIC_CONFIG]\r\nMASTER_VOL=150\r\n", master, 100},
        {"[MUSIC_CONFIG]\r\nMASTER_VOL=80 \r\n", master, 100},  // reads as 800
        {"[MUSIC_CONFIG]\r\nMASTER_VOL=10\r\n", master, 10},
        {"[MUSIC_CONFIG]\r\nMUSIC_VOL=55\r\n",
         [](const Loaded& l) { return l.settings.musicVolume; }, 55},
        {"[SE_CONFIG]\r\nSE_VOL=9\r\n", [](const Loaded& l) { return l.settings.seVolume; }, 100},
        {"[music_config]\r\n pcm = 0 \r\n", [](const Loaded& l) { return l.settings.pcm; }, 0},
        {"[MESSAGE_CONFIG]\r\nMESSAGE_SPEED=-1\r\n",
         [](const Loaded& l) { return l.settings.messageSpeed; }, -1},
        {"[MESSAGE_CONFIG]\r\nMESSAGE_SADOW=3\r\n",
         [](const Loaded& l) { return l.settings.messageShadow; }, 1},
        {"[MESSAGE_CONFIG]\r\nWINDOW_COLOR=0x102030\r\n",
         [](const Loaded& l) { return l.settings.windowColour; }, 0x102030},
        {"[SYSTEM_CONFIG]\r\nKET_CUR_MODE=7\r\n",
         [](const Loaded& l) { return l.settings.cursorMode; }, 7},  // stored as read
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.field(Loaded(c.text)), c.expected) << c.text;
}

TEST(SettingsStore, NamesKeepTheDefaultWhenTooLong) {
    const Loaded l(
        "[NAME_CONFIG]\r\nNAME01=1234567890123\r\nNAME02=123456789012\r\n"
        "NAME03=123456789\r\nNAME04=\x82\xb3\x82\xf1\r\n");  // さん
    EXPECT_EQ(l.names.family, HeroNames().family);
    EXPECT_EQ(l.names.given, "123456789012");
    EXPECT_EQ(l.names.nickname, HeroNames().nickname);
    EXPECT_EQ(l.names.honorific, "\x82\xb3\x82\xf1");
}

TEST(SettingsStore, FontsByName) {
    IniLineList file;
    file.assign(kPath,
                "[FONT_LIST_CONFIG]\r\nPUT_LIST_00=Beta\r\nPUT_LIST_01=\"Mono Sans\"\r\n"
                "PUT_LIST_03=Lost\r\n");
    EXPECT_EQ(readPreferredFonts(file, kPath), (std::vector<std::string>{"Beta", "Mono Sans"}));

    Loaded known("[SYSTEM_CONFIG]\r\nMESSAGE_FONT_NAME=gamma\r\n");
    EXPECT_EQ(known.settings.fontIndex, 2);
    EXPECT_EQ(known.messageFont, "gamma");
    EXPECT_NE(known.stored().find("MESSAGE_FONT_NAME=Gamma\r\n"), std::string::npos);

    const Loaded unknown("[SYSTEM_CONFIG]\r\nMESSAGE_FONT_NAME=Elsewhere\r\n");
    EXPECT_EQ(unknown.settings.fontIndex, 0);
    EXPECT_EQ(unknown.messageFont, "Elsewhere");
}

TEST(SettingsStore, AFreshFileHoldsTheWrittenKeysInWritingOrder) {
    Loaded l("");
    // Each section's new keys stack up under it, the last written on top.
    EXPECT_EQ(l.stored(),
              "[MUSIC_CONFIG]\r\nMUSIC_VOL=100\r\nMASTER_VOL=100\r\nPCM=2\r\n"
              "[SE_CONFIG]\r\nSE_VOL=100\r\nSE_PLAY=2\r\n"
              "[SYSTEM_CONFIG]\r\nKET_DOUBLE_CLICK=0\r\nKET_CUR_MODE=0\r\nKEY_CEN_CTRL=1\r\n"
              "DISP_FREE_MODE=0\r\nMESSAGE_FONT_NAME=Alpha\r\n"
              "[MESSAGE_CONFIG]\r\nLOCK_SKIP=0\r\nREAD_SKIP=0\r\nMESSAGE_AUTO_ONE=0\r\n"
              "MESSAGE_AUTO_BASE=0\r\nMESSAGE_AUTO=0\r\nMESSAGE_SADOW=0\r\nMESSAGE_SPEED=1\r\n"
              "TRANS_MODE=0\r\n");
}

TEST(SettingsStore, AWriteBackKeepsWhatThePlayerDoesNotWrite) {
    Loaded l(
        "; my settings\n[MUSIC_CONFIG]\nPCM=1\nMASTER_VOL=150\nMEM_STREAM=1\nFUTURE=x\n"
        "[NAME_CONFIG]\nNAME01=A\n[MESSAGE_CONFIG]\nWINDOW_COLOR=0x123456\n"
        "[PAD_CONFIG]\nPAD_Y=KEY_D\n");
    l.settings.pcm = 0;
    l.settings.readSkip = 1;
    const std::string out = l.stored();
    for (const char* kept :
         {"; my settings\r\n", "MEM_STREAM=1\r\n", "FUTURE=x\r\n", "[NAME_CONFIG]\r\nNAME01=A\r\n",
          "WINDOW_COLOR=0x123456\r\n", "[PAD_CONFIG]\r\nPAD_Y=KEY_D\r\n", "PCM=0\r\n",
          "MASTER_VOL=100\r\n", "READ_SKIP=1\r\n"}) {
        EXPECT_NE(out.find(kept), std::string::npos) << kept;
    }
    for (const char* absent : {"FONT_LIST_CONFIG", "KEY_CONFIG", "NAME02", "PAD_A"}) {
        EXPECT_EQ(out.find(absent), std::string::npos) << absent;
    }
}

TEST(SettingsStore, KeyAndPadBindings) {
    const Loaded l(
        "[KEY_CONFIG]\r\nKEY_A=1b\r\nKEY_B=\r\nKEY_D=key_c\r\nKEY_UP="
        "0123456789012345678901234567890"
        "\r\n[PAD_CONFIG]\r\nPAD_B=KEY_E\r\npad_lt = start\r\n");
    EXPECT_EQ(l.keys.code(KeyRole::A), 0x1B);
    EXPECT_EQ(l.keys.code(KeyRole::B), 0x58);  // empty: the built-in binding stays
    EXPECT_EQ(l.keys.code(KeyRole::D), 0x43);
    EXPECT_EQ(l.keys.code(KeyRole::Up), 0x26);  // over 30 characters: not applied
    EXPECT_EQ(l.pads.role(vk::kGamepadB), KeyRole::E);
    EXPECT_EQ(l.pads.role(vk::kGamepadLeftTrigger), KeyRole::Start);
    EXPECT_EQ(l.pads.role(vk::kGamepadA), KeyRole::C);
}

}  // namespace
}  // namespace zeku
