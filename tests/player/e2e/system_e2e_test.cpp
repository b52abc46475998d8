// The system layer in headless runs of the real players: a game saved from
// the menu in one run, the settings changed and the player quit through the
// menu, then loaded in the next run to the same screen and variables; and
// the open panel's frame, grooves, arrows, check marks and highlight band as
// predicted, the glyphs masked.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/player/e2e/tiny_game.h"
#include "tests/support/temp_folder.h"

namespace zeku::e2e {
namespace {

namespace fs = std::filesystem;

constexpr Rgb kSky{0x30, 0x60, 0x90};
constexpr Rgb kDawn{0xE0, 0x90, 0x60};
constexpr Rgb kNight{0x10, 0x20, 0x50};

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A tap anywhere goes to the dawn, which sets @5 and waits; only a game that
// holds @5 == 42 after the wait turns to night.
void installGame(const Screen& screen, const std::string& root) {
    TinyGame game;
    game.setScript(
        "|_Start:\n"
        "#CreateImage(0,0,800,600)\n"
        "#LoadImage(3,\"./bg/sky.png\")\n"
        "#Paint()\n"
        "#ResumeSave()\n"
        "#MouseClickEventEX()\n"
        "{\n"
        "0,0,800,600,\"_Dawn\",\"./script.txt\",0,0,0,RGB(0,0,0)\n"
        "}\n"
        "|_Dawn:\n"
        "@5=42\n"
        "#LoadImage(3,\"./bg/dawn.png\")\n"
        "#Paint()\n"
        "#Wait(5000)\n"
        "#IF(@5==42)\n"
        "{\n"
        "#LoadImage(3,\"./bg/night.png\")\n"
        "#Paint()\n"
        "}\n"
        "#Wait(60000)\n"
        "#END()\n");
    game.addFile("./bg/sky.png", pngFlat(800, 600, kSky));
    game.addFile("./bg/dawn.png", pngFlat(800, 600, kDawn));
    game.addFile("./bg/night.png", pngFlat(800, 600, kNight));
    ASSERT_TRUE(game.install(screen, root));
}

class SystemRun : public testing::TestWithParam<const Screen*> {
  protected:
    const Screen& screen() const { return *GetParam(); }
    test_support::TempFolder folder_{"zeku-e2e"};
    std::string root() const { return folder_.path().string(); }
};

// Top level: "ﾛｰﾄﾞ", "ｾｰﾌﾞ", the rewind (greyed until a choice), a separator,
// "設定", "ﾒｯｾｰｼﾞ", a separator, "ﾀｲﾄﾙに戻る", a separator, "終了".
TEST_P(SystemRun, ASaveFromTheMenuLoadsInTheNextRunWithTheSettingsKept) {
    installGame(screen(), root());
    if (HasFatalFailure()) return;
    const fs::path data = fs::path(root()) / "data";
    const size_t slotBytes = 11768 + 2 * size_t(screen().width) * size_t(screen().height) +
                             (screen().width >= 640 ? 38454 : 9654);

    // Run 1: to the dawn, save into the first slot, set the message speed
    // to "速い", quit through "終了".
    std::string first = "20 tap 10 10\n";
    first += "50 key x\n";                                           // B opens the menu
    first += keyPresses(54, {"0x28", "0x28", "0x27", "0x28", "c"});  // ｾｰﾌﾞ > SAVE_001
    first += "90 key x\n";
    first += keyPresses(94, {"0x28", "0x28", "0x28", "0x28", "0x27"});        // ﾒｯｾｰｼﾞ
    first += keyPresses(114, {"0x28", "0x28", "0x28", "0x27", "0x28", "c"});  // 表示速度 > 速い
    first += "150 key x\n";
    first += keyPresses(154, {"0x26", "c"});  // up wraps to 終了
    const PlayerRun saved = runPlayer(screen(), root(), 2000, {40}, first);
    ASSERT_EQ(saved.exitCode, 0) << saved.errors;
    ASSERT_EQ(saved.shots.count(40), 1u);
    EXPECT_EQ(fs::file_size(data / "save001.dat"), slotBytes);
    EXPECT_EQ(fs::file_size(data / "save000.dat"), 4592u);
    const std::string settings = readText(fs::path(root()) / "zeku.cfg");
    EXPECT_NE(settings.find("MESSAGE_SPEED=0\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("PCM=2\r\n"), std::string::npos) << settings;

    // Run 2: the sky of a new start; "ﾛｰﾄﾞ" > LOAD_001 brings back the dawn
    // and @5, so the night follows the wait.
    std::string second = "40 key x\n";
    second += keyPresses(44, {"0x28", "0x27", "0x28", "c"});
    const PlayerRun loaded = runPlayer(screen(), root(), 480, {30, 90, 470}, second);
    ASSERT_EQ(loaded.exitCode, 0) << loaded.errors;
    ASSERT_EQ(loaded.shots.size(), 3u);
    const int w = screen().width;
    const int h = screen().height;
    EXPECT_TRUE(samePicture(Picture(w, h, shown(kSky)), loaded.shots.at(30)));
    EXPECT_TRUE(samePicture(saved.shots.at(40), loaded.shots.at(90)));
    EXPECT_TRUE(samePicture(Picture(w, h, shown(kDawn)), loaded.shots.at(90)));
    EXPECT_TRUE(samePicture(Picture(w, h, shown(kNight)), loaded.shots.at(470)));
    const std::string kept = readText(fs::path(root()) / "zeku.cfg");
    EXPECT_NE(kept.find("MESSAGE_SPEED=0\r\n"), std::string::npos) << kept;
}

// The panel as drawn: 6 pixels per text byte, 13 per entry row.
struct PanelModel {
    int width = 0;
    int height = 0;
    Picture picture;
    std::vector<bool> masked;  // text boxes, whose glyph pixels are not predicted

    PanelModel(const Picture& base, int panelWidth, int entries)
        : width(panelWidth),
          height(13 * entries + 40),
          picture(base),
          masked(size_t(base.width) * size_t(base.height), false) {
        constexpr Rgb kFace{0xD4, 0xD0, 0xC8};
        picture.fill(0, 0, width, height, shown(kFace));
        fillRow(1, 1, width - 1, kWhite);
        fillColumn(1, 1, height - 1, kWhite);
        fillRow(height - 2, 1, width - 1, kShadow);
        fillColumn(width - 2, 1, height - 1, kShadow);
        fillRow(height - 1, 0, width, kBlack);
        fillColumn(width - 1, 0, height, kBlack);
        groove(29, 6, width - 12);
    }

    static constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};
    static constexpr Rgb kShadow{0x40, 0x40, 0x40};
    static constexpr Rgb kGrey{0x80, 0x80, 0x80};
    static constexpr Rgb kBlack{0, 0, 0};

    void fillRow(int y, int from, int to, Rgb c) { picture.fill(from, y, to, y + 1, shown(c)); }
    void fillColumn(int x, int from, int to, Rgb c) { picture.fill(x, from, x + 1, to, shown(c)); }
    void groove(int y, int x, int length) {
        fillRow(y, x, x + length, kGrey);
        fillRow(y + 1, x, x + length, kWhite);
    }
    void text(int x, int y, int bytes) {
        for (int yy = y; yy < y + 13 && yy < picture.height; ++yy)
            for (int xx = x; xx < x + 6 * bytes + 1 && xx < picture.width; ++xx)
                masked[size_t(yy) * size_t(picture.width) + size_t(xx)] = true;
    }
    // Rows of set columns, from row 3 of the 6 × 12 cell.
    void bitmap(int x, int y, const std::vector<std::vector<int>>& rows) {
        for (size_t r = 0; r < rows.size(); ++r)
            for (int column : rows[r])
                picture.at(x + column, y + 3 + int(r)) = shown(kBlack);
    }
    void arrow(int k) {
        bitmap(width - 10, 34 + 13 * k,
               {{1}, {1, 2}, {1, 2, 3}, {1, 2, 3, 4}, {1, 2, 3}, {1, 2}, {1}});
    }
    void check(int k) { bitmap(4, 34 + 13 * k, {{}, {4}, {1, 3, 4}, {1, 2, 3}, {2}}); }
    void highlight(int k) {
        picture.fill(11, 34 + 13 * k, width - 11, 47 + 13 * k, shown(Rgb{0, 0, 0x80}));
    }

    testing::AssertionResult matches(const Picture& shot) const {
        Picture expected = picture;
        Picture actual = shot;
        for (size_t i = 0; i < masked.size() && i < actual.pixels.size(); ++i) {
            if (masked[i]) expected.pixels[i] = actual.pixels[i] = Rgb{};
        }
        return samePicture(expected, actual);
    }
};

// The top level, then "設定" > "ﾐｭｰｼﾞｯｸ" with its path line, then the
// highlight on "音量"; B closes the menu and the game picture is whole again.
TEST(MenuPanelRun, TheOpenPanelAndASubmenuAreDrawnAsPredicted) {
    const Screen& screen = screenHpc();
    test_support::TempFolder folder("zeku-e2e");
    const std::string root = folder.path().string();
    installGame(screen, root);
    if (testing::Test::HasFatalFailure()) return;

    std::string input = "30 key x\n";
    input += keyPresses(40, {"0x28", "0x28", "0x28", "0x27", "0x28", "0x28", "0x27"});
    input += "80 key 0x28\n";
    input += "90 key x\n";
    const PlayerRun run = runPlayer(screen, root, 100, {35, 76, 84, 95}, input);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.shots.size(), 4u);
    const Picture sky(screen.width, screen.height, shown(kSky));

    // "ひとつ前の選択肢に戻る" (22 bytes) is the widest text: 6 × 22 + 24.
    PanelModel top(sky, 156, 10);
    top.text(6, 4, 23);  // "[2006-01-04 17:30][87%]"
    top.text(6, 16, 6);  // "[ﾄｯﾌﾟ]"
    const int textBytes[10] = {6, 6, 22, 0, 4, 10, 0, 14, 0, 4};
    for (int k = 0; k < 10; ++k) {
        if (textBytes[k] == 0) {
            top.groove(40 + 13 * k, 12, top.width - 24);
        } else {
            top.text(12, 34 + 13 * k, textBytes[k]);
        }
    }
    for (int k : {0, 1, 4, 5})
        top.arrow(k);
    EXPECT_TRUE(top.matches(run.shots.at(35))) << "the top level";

    // The path line "[ﾄｯﾌﾟ]->[設定]->[ﾐｭｰｼﾞｯｸ]" (25 bytes) sets the width.
    PanelModel music(sky, 162, 3);
    music.text(6, 4, 23);
    music.text(6, 16, 25);
    music.text(12, 34, 4);  // 音量
    music.groove(53, 12, music.width - 24);
    music.text(12, 60, 4);  // 再生, checked: the music is on
    music.arrow(0);
    music.check(2);
    EXPECT_TRUE(music.matches(run.shots.at(76))) << "設定 > ﾐｭｰｼﾞｯｸ";
    music.highlight(0);
    music.arrow(0);
    EXPECT_TRUE(music.matches(run.shots.at(84))) << "the highlight on 音量";
    EXPECT_TRUE(samePicture(sky, run.shots.at(95))) << "closed";
}

INSTANTIATE_TEST_SUITE_P(Screens, SystemRun, testing::Values(&screenHpc(), &screenPpc()),
                         [](const testing::TestParamInfo<const Screen*>& info) {
                             return std::string(info.param->name);
                         });

}  // namespace
}  // namespace zeku::e2e
