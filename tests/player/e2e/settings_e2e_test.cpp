// The settings file through a whole run: a "zeku.cfg" in the game's folder
// rebinds the decide key and unbinds a pad button for the run, and at the
// end the file is rewritten with the changeable settings while every other
// line stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/player/e2e/tiny_game.h"
#include "tests/support/temp_folder.h"

namespace zeku::e2e {
namespace {

constexpr Rgb kSky{0xB7, 0x67, 0x2F};
constexpr Rgb kNight{0x1F, 0x27, 0x57};

class SettingsRun : public testing::TestWithParam<const Screen*> {
  protected:
    const Screen& screen() const { return *GetParam(); }
    test_support::TempFolder folder_{"zeku-e2e"};
    std::string root() const { return folder_.path().string(); }
};

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_P(SettingsRun, TheFileBindsKeysAndIsRewrittenAtExit) {
    TinyGame game;
    game.setScript(
        "|_Start:\n"
        "#CreateImage(0,0,800,600)\n"
        "#LoadImage(3,\"./bg/sky.png\")\n"
        "#Paint()\n"
        "#MouseClickEventEX()\n"
        "{\n"
        "0,0,800,600,\"_Night\",\"./script.txt\",0,0,0,RGB(0,0,0)\n"
        "}\n"
        "|_Night:\n"
        "#LoadImage(3,\"./bg/night.png\")\n"
        "#Paint()\n"
        "#Wait(60000)\n"
        "#END()\n");
    game.addFile("./bg/sky.png", pngFlat(800, 600, kSky));
    game.addFile("./bg/night.png", pngFlat(800, 600, kNight));
    ASSERT_TRUE(game.install(screen(), root()));
    const std::string settings = root() + "/zeku.cfg";
    std::ofstream(settings, std::ios::binary) << "; kept as written\n"
                                                 "[music_config]\n"
                                                 " pcm = 0 \n"
                                                 "MASTER_VOL=5\n"
                                                 "MUSIC_VOL=55\n"
                                                 "OWN_KEY=kept\n"
                                                 "[KEY_CONFIG]\n"
                                                 "KEY_C=44\n"
                                                 "[NAME_CONFIG]\n"
                                                 "NAME01=1234567890123\n"
                                                 "[PAD_CONFIG]\n"
                                                 "PAD_A=NONE\n";

    const std::string input =
        "10 key 0x28\n"   // down: the area is highlighted
        "15 key 0x43\n"   // C no longer decides
        "16 key 0xC3\n"   // nor does the pad's A, unbound
        "20 key 0x44\n";  // D, bound to C's role, does
    const PlayerRun run = runPlayer(screen(), root(), 40, {18, 30}, input);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.shots.size(), 2u);
    const int w = screen().width;
    const int h = screen().height;
    EXPECT_TRUE(samePicture(Picture(w, h, shown(kSky)), run.shots.at(18))) << "after C";
    EXPECT_TRUE(samePicture(Picture(w, h, shown(kNight)), run.shots.at(30))) << "after D";

    const std::string written = readText(settings);
    const std::string head =
        "; kept as written\r\n"
        "[music_config]\r\n"
        "PCM=0\r\n"
        "MASTER_VOL=100\r\n"
        "MUSIC_VOL=55\r\n"
        "OWN_KEY=kept\r\n"
        "[KEY_CONFIG]\r\n"
        "KEY_C=44\r\n"
        "[NAME_CONFIG]\r\n"
        "NAME01=1234567890123\r\n"
        "[PAD_CONFIG]\r\n"
        "PAD_A=NONE\r\n"
        "[SE_CONFIG]\r\n"
        "SE_VOL=100\r\n"
        "SE_PLAY=2\r\n"
        "[SYSTEM_CONFIG]\r\n"
        "KET_DOUBLE_CLICK=0\r\n"
        "KET_CUR_MODE=0\r\n"
        "KEY_CEN_CTRL=1\r\n"
        "DISP_FREE_MODE=0\r\n"
        "MESSAGE_FONT_NAME=";
    EXPECT_EQ(written.substr(0, head.size()), head) << written;
    const std::string tail =
        "[MESSAGE_CONFIG]\r\nLOCK_SKIP=0\r\nREAD_SKIP=0\r\nMESSAGE_AUTO_ONE=0\r\n"
        "MESSAGE_AUTO_BASE=0\r\nMESSAGE_AUTO=0\r\nMESSAGE_SADOW=0\r\nMESSAGE_SPEED=1\r\n"
        "TRANS_MODE=0\r\n";
    ASSERT_GE(written.size(), tail.size());
    EXPECT_EQ(written.substr(written.size() - tail.size()), tail) << written;
    for (const auto& entry : std::filesystem::directory_iterator(root())) {
        EXPECT_EQ(entry.path().filename().string().find("zeku.cfg."), std::string::npos)
            << "a temporary file was left: " << entry.path();
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, SettingsRun, testing::Values(&screenHpc(), &screenPpc()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace zeku::e2e
