// CD tracks: the file name of a track, music off still counting time, a
// missing track, and the emulator driving the engine's music slot.
#include "player/sound/cdda_emulator.h"

#include <gtest/gtest.h>

#include <fstream>

#include "player/sound/sound_engine.h"
#include "tests/player/sound/sound_test_support.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

TEST(CddaEmulator, TrackNumbersBecomeZeroPaddedMp3Names) {
    EXPECT_EQ(trackFileName(3), "track_03.mp3");
    EXPECT_EQ(trackFileName(12), "track_12.mp3");
    EXPECT_EQ(trackFileName(0), "track_00.mp3");
}

TEST(CddaEmulator, MusicOffPlaysNothingButCountsAHundredPerSecond) {
    SoundEngine engine;
    engine.create(nullptr, 8192, nullptr);
    CddaEmulator cdda;
    cdda.setEnabled(engine, false);
    EXPECT_EQ(cdda.play("track_02.mp3", "/nonexistent/", 100, 1, 5000), 1);
    EXPECT_TRUE(cdda.playing());
    EXPECT_EQ(cdda.position(5000), 0);
    EXPECT_EQ(cdda.position(6000), 100);
    EXPECT_EQ(cdda.position(8500), 350);
    EXPECT_EQ(engine.slot(kMusicSlot), nullptr);
    cdda.stop();
    EXPECT_FALSE(cdda.playing());
    EXPECT_EQ(cdda.trackName(), "");
}

TEST(CddaEmulator, AMissingTrackStillCountsAsPlayingWithPositionMinusOne) {
    sound_test::ManualAudioDevice device;
    SoundEngine engine;
    engine.create(&device, 8192, &sound_test::builtOverlay());
    CddaEmulator cdda;
    cdda.setEnabled(engine, true);
    EXPECT_EQ(cdda.play("track_05.mp3", "/nonexistent/", 100, 1, 0), 1);
    EXPECT_TRUE(cdda.playing());
    EXPECT_EQ(cdda.trackName(), "track_05.mp3");
    EXPECT_EQ(cdda.position(0), -1);
}

TEST(CddaEmulator, APlayingTrackReportsTheMusicSlotInTensOfMilliseconds) {
    test_support::TempFolder folder;
    const std::string dir = folder.path().string() + "/";
    const auto mp3 = sound_test::mp3File(sound_test::sine(22050 * 2, 2, 440, 22050), 22050, 2, 64);
    std::ofstream(dir + "track_03.mp3", std::ios::binary)
        .write(reinterpret_cast<const char*>(mp3.data()), std::streamsize(mp3.size()));
    sound_test::ManualAudioDevice device;
    SoundEngine engine;
    engine.create(&device, 8192, &sound_test::builtOverlay());
    CddaEmulator cdda;
    cdda.setEnabled(engine, true);
    cdda.play(trackFileName(3).c_str(), dir.c_str(), 70, 1, 0);
    EXPECT_EQ(engine.slot(kMusicSlot)->volume.load(), 70);
    for (int i = 0; i < 4; ++i)
        device.pass();
    device.position += 88200;
    EXPECT_EQ(cdda.position(0), 100);
    cdda.setVolume(20);
    EXPECT_EQ(engine.slot(kMusicSlot)->volume.load(), 20);
    // Switching music off stops the slot and keeps the remembered name.
    cdda.setEnabled(engine, false);
    EXPECT_EQ(engine.slot(kMusicSlot), nullptr);
    EXPECT_EQ(cdda.trackName(), "track_03.mp3");
}

}  // namespace
}  // namespace zeku
