// The menu's commands on a whole game context: each settings command's value
// and marks, what must follow at once (the playing track's volume, the
// redraw, the cursor arms, the font), music switched off and on again, and
// quitting. Sound plays on the headless device by a virtual clock.
#include "player/shell/menu_commands.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/api/frame_buffer_layouts.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/virtual_clock.h"
#include "player/system/menu_build.h"
#include "player/system/menu_ids.h"
#include "player/system/menu_marks.h"
#include "tests/support/temp_folder.h"
#include "tools/demogame/wav_writer.h"

namespace zeku {
namespace {

namespace id = menu_id;

struct CommandRig {
    test_support::TempFolder folder{"zeku-menu"};
    // The device outlives the game's sound engine, which closes it.
    VirtualClock clock;
    HeadlessAudioDevice audio{clock};
    HeadlessWindow window;
    GameContext game{kSigmarionBuild, folder.path().string() + "/", defaultKeyList(true)};

    CommandRig() {
        game.fontList = {"Alpha", "Beta"};
        buildSystemMenu(game.menu.tree(), game.fontList);
        markMenu(game.menu.tree(), game.settings, true);
    }
    void run(uint32_t identifier) { runMenuCommand(game, identifier, window, nullptr); }
    bool checked(uint32_t identifier) const {
        return game.menu.tree().entry(identifier)->checked();
    }

    // A looping one-second tone as the track "track.wav", played as the
    // script would play it.
    void playTrack() {
        std::vector<int16_t> tone(22050);
        for (size_t i = 0; i < tone.size(); ++i)
            tone[i] = static_cast<int16_t>(8000 * std::sin(0.1 * static_cast<double>(i)));
        test_support::writeBytes(game.paths.musicFolder + "track.wav",
                                 demo::encodeWav(demo::WavFormat{}, tone.data(), tone.size()));
        game.sound.create(&audio, 12288, nullptr);
        game.cdda.setEnabled(game.sound, game.settings.pcm != 0);
        game.cdda.play("track.wav", game.paths.musicFolder.c_str(), musicTrackVolume(game.settings),
                       1, game.nowMs);
    }
    const SoundSlot* music() const { return game.sound.slot(kMusicSlot); }
    void playFor(uint32_t ms) {
        clock.advance(ms);
        audio.pump();
    }
};

TEST(MenuCommands, SettingsCommandsStoreTheirValueAndMoveTheMark) {
    struct Case {
        uint32_t identifier;
        int32_t SystemSettings::*field;
        int32_t value;
        uint32_t markedAlso;  // 0: the command's own entry
    } cases[] = {
        {40041, &SystemSettings::transMode, 0, 0},
        {40044, &SystemSettings::transMode, 3, 0},
        {40046, &SystemSettings::messageSpeed, 0, 0},
        {40048, &SystemSettings::messageSpeed, 2, 0},
        {40065, &SystemSettings::musicVolume, 100, 0},
        {40074, &SystemSettings::musicVolume, 10, 0},
        {40126, &SystemSettings::masterVolume, 100, 0},
        {40133, &SystemSettings::masterVolume, 30, 0},
        {40136, &SystemSettings::cursorMode, 0, 0},
        {40140, &SystemSettings::cursorMode, 4, 0},
        {40163, &SystemSettings::keyCenterAction, 0, 0},
        {40168, &SystemSettings::keyCenterAction, 5, 0},
        {40170, &SystemSettings::fontIndex, 1, 0},
        {40185, &SystemSettings::seVolume, 100, 0},
        {40194, &SystemSettings::seVolume, 10, 0},
        {40196, &SystemSettings::displayFreeMode, 1, 0},
        {40216, &SystemSettings::messageAutoBase, 0, 0},
        {40225, &SystemSettings::messageAutoBase, 9, 0},
        {40226, &SystemSettings::messageAutoOne, 0, 0},
        {40235, &SystemSettings::messageAutoOne, 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        CommandRig rig;
        rig.run(c.identifier);
        EXPECT_EQ(rig.game.settings.*c.field, c.value);
        EXPECT_TRUE(rig.checked(c.identifier));
        // Its neighbours in the group lose their marks.
        const MenuLocation where = rig.game.menu.tree().find(c.identifier);
        int marks = 0;
        for (const MenuEntry& e : rig.game.menu.tree().level(where.level).entries)
            marks += e.kind == MenuEntryKind::Command && e.checked() ? 1 : 0;
        // The anti-alias level also holds the shadow toggle, the centre-key
        // level the double-press toggle (both off here).
        EXPECT_EQ(marks, 1);
    }
}

TEST(MenuCommands, TogglesSwitchBetweenOffAndOnFromAnyStoredValue) {
    struct Case {
        uint32_t identifier;
        int32_t SystemSettings::*field;
    } cases[] = {
        {id::kReadSkipStop, &SystemSettings::readSkip},
        {id::kEffectsPlay, &SystemSettings::sePlay},
        {id::kMusicPlay, &SystemSettings::pcm},
        {id::kShadowText, &SystemSettings::messageShadow},
        {id::kSkipLock, &SystemSettings::lockSkip},
        {id::kDoublePress, &SystemSettings::doublePress},
        {id::kAutoAdvance, &SystemSettings::messageAuto},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        CommandRig rig;
        rig.game.settings.*c.field = 2;  // as a fresh settings file gives music and effects
        for (int32_t expected : {0, 1, 0}) {
            rig.run(c.identifier);
            EXPECT_EQ(rig.game.settings.*c.field, expected);
            EXPECT_EQ(rig.checked(c.identifier), expected != 0);
        }
    }
}

TEST(MenuCommands, AntiAliasShadowAndFontRedrawTheWholeScreenWithTheNewStyle) {
    const struct {
        uint32_t identifier;
        int antiAlias;
        bool shadow;
        const char* face;
    } cases[] = {
        {40043, 3, false, ""},
        {id::kShadowText, 1, true, ""},
        {40170, 1, false, "Beta"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.identifier);
        CommandRig rig;
        MessageWindow& text = rig.game.messageWindows[kTextWindow];
        text.glyphCount = 1;
        text.glyphs[0].active = true;
        rig.run(c.identifier);
        const TextStyle style = messageTextStyle(rig.game);
        EXPECT_EQ(style.antiAlias, c.antiAlias);
        EXPECT_EQ(style.shadow, c.shadow);
        EXPECT_EQ(rig.game.messageFont, c.face);
        EXPECT_TRUE(text.glyphs[0].changed);  // drawn again in the new style
        ASSERT_FALSE(rig.game.updateList.rects().empty());
        const ScreenRect& whole = rig.game.updateList.rects().back();
        EXPECT_EQ(whole.right - whole.left, 320);
        EXPECT_EQ(whole.bottom - whole.top, 240);
    }
}

TEST(MenuCommands, CursorModeChosenInTheMenuRulesTheNextKeyPresses) {
    CommandRig rig;
    PressCounters& keys = rig.game.input.keys;
    const uint16_t down = rig.game.keyMap.code(KeyRole::Down);
    const uint16_t up = rig.game.keyMap.code(KeyRole::Up);
    const uint16_t start = rig.game.keyMap.code(KeyRole::Start);
    auto press = [&](uint16_t vk, KeyRole role) {
        keyEvent(rig.game.keyMap, rig.game.settings, keys, vk, true);
        const int32_t counted = keys[role];
        keyEvent(rig.game.keyMap, rig.game.settings, keys, vk, false);
        keys.settleDeferredReleases();
        keys.settleDeferredReleases();
        return counted;
    };
    keys.armDown = true;  // armed before the change: the command disarms it
    rig.run(40140);       // 完全抑制
    EXPECT_FALSE(keys.armDown);
    EXPECT_EQ(press(down, KeyRole::Down), 0);
    EXPECT_EQ(press(down, KeyRole::Down), 1);
    EXPECT_EQ(press(up, KeyRole::Up), 0);  // a change of direction starts over
    EXPECT_EQ(press(down, KeyRole::Down), 0);
    // Choosing the same mode again still clears the arms.
    keys.armDown = true;
    rig.run(40140);
    EXPECT_EQ(press(down, KeyRole::Down), 0);
    rig.run(40136);  // 通常
    EXPECT_EQ(press(down, KeyRole::Down), 1);

    rig.run(id::kDoublePress);
    EXPECT_EQ(press(start, KeyRole::Start), 0);
    EXPECT_EQ(press(start, KeyRole::Start), 1);  // two presses count once
    EXPECT_EQ(press(down, KeyRole::Down), 1);
    EXPECT_EQ(press(start, KeyRole::Start), 0);  // a cursor key cancelled the first
    rig.run(id::kDoublePress);
    EXPECT_EQ(press(start, KeyRole::Start), 1);
}

TEST(MenuCommands, MasterVolumeReachesThePlayingTrackAtOnceMusicVolumeOnlyTheNext) {
    CommandRig rig;
    rig.game.settings.musicVolume = 80;
    rig.playTrack();
    ASSERT_NE(rig.music(), nullptr);
    EXPECT_EQ(rig.music()->volume.load(), 80);
    rig.run(40131);  // 基準音量 50%
    EXPECT_EQ(rig.game.settings.masterVolume, 50);
    EXPECT_EQ(rig.music()->volume.load(), 40);
    rig.run(40070);  // ﾐｭｰｼﾞｯｸ 音量 50%
    EXPECT_EQ(rig.game.settings.musicVolume, 50);
    EXPECT_EQ(rig.music()->volume.load(), 40);
    rig.playTrack();  // the next track
    EXPECT_EQ(rig.music()->volume.load(), 25);
}

TEST(MenuCommands, MusicOffAndOnAgainPlaysTheRememberedTrackFromItsStart) {
    CommandRig rig;
    rig.game.settings.masterVolume = 60;
    rig.playTrack();
    rig.playFor(1500);
    ASSERT_NE(rig.music(), nullptr);
    EXPECT_GT(rig.game.sound.positionMs(kMusicSlot), 500);

    rig.run(id::kMusicPlay);
    EXPECT_EQ(rig.game.settings.pcm, 0);
    EXPECT_FALSE(rig.game.cdda.enabled());
    rig.playFor(100);
    EXPECT_EQ(rig.music(), nullptr);
    EXPECT_EQ(rig.game.cdda.trackName(), "track.wav");

    rig.run(id::kMusicPlay);
    EXPECT_EQ(rig.game.settings.pcm, 1);
    ASSERT_NE(rig.music(), nullptr);
    EXPECT_EQ(rig.game.cdda.trackName(), "track.wav");
    EXPECT_LT(rig.game.sound.positionMs(kMusicSlot), 100);
    EXPECT_EQ(rig.music()->volume.load(), 60);
    rig.playFor(2500);
    EXPECT_NE(rig.music(), nullptr);  // still looping

    // With no track remembered, switching on plays nothing.
    rig.game.cdda.stop();
    rig.run(id::kMusicPlay);
    rig.run(id::kMusicPlay);
    EXPECT_EQ(rig.music(), nullptr);
}

TEST(MenuCommands, QuitStopsEverySoundAndAsksTheWindowToClose) {
    CommandRig rig;
    rig.playTrack();
    ASSERT_NE(rig.music(), nullptr);
    rig.run(id::kQuit);
    rig.playFor(100);
    EXPECT_EQ(rig.music(), nullptr);
    EXPECT_FALSE(rig.game.cdda.playing());
    Message m;
    ASSERT_TRUE(rig.window.peekMessage(m));
    EXPECT_EQ(m.code, kWmClose);
    EXPECT_FALSE(rig.window.peekMessage(m));
}

TEST(MenuCommands, EveryCommandRefreshesTheSavePermission) {
    CommandRig rig;
    rig.game.script.savingEnabled = false;
    rig.run(id::kSpeedFirst);
    EXPECT_FALSE(rig.game.menu.tree().entry(id::kSavePopup)->enabled());
    rig.game.script.savingEnabled = true;
    rig.run(0xFFFF);  // no such command: nothing but the marks
    EXPECT_TRUE(rig.game.menu.tree().entry(id::kSavePopup)->enabled());
    EXPECT_EQ(rig.game.settings.messageSpeed, 0);
}

}  // namespace
}  // namespace zeku
