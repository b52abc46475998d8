// A headless run of the player application with the centre key set to
// quick save and then to quick load: saving is held off until the script
// allows it, a save during a message keeps the game, and a load brings back
// the variables and the screen while the shared variables stay as played.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/image/rbp_writer.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/memory_display.h"
#include "platform/headless/virtual_clock.h"
#include "player/shell/game_saves.h"
#include "player/shell/player_app.h"
#include "tests/support/package_builder.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

namespace fs = std::filesystem;

constexpr uint16_t kEnter = 0x0D;

struct NoBoxes final : MessageBoxes {
    void show(std::string_view, std::string_view) override {}
};

struct FixedClock final : DeviceStatus {
    LocalDateTime localTime() override { return {2026, 12, 8, 13, 45, 9}; }
    int batteryPercent() override { return 100; }
    MemoryFacts memory() override { return {}; }
    uint64_t freeStorageBytes(const std::string&) override { return 0; }
};

std::vector<uint8_t> flatPicture(int width, int height, uint8_t blue, uint8_t green, uint8_t red) {
    std::vector<uint8_t> bgr;
    for (int i = 0; i < width * height; ++i)
        bgr.insert(bgr.end(), {blue, green, red});
    RbpSourcePicture source{bgr.data(), width, height, size_t(width) * 3, 24, width, height};
    std::vector<uint8_t> file;
    EXPECT_TRUE(encodeRbpPicture(source, 0, file));
    return file;
}

std::vector<uint8_t> lines(const std::string& text) {
    std::vector<uint8_t> out;
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(uint8_t(c));
    }
    return out;
}

const char kScript[] =
    "|_Start:\n#CreateTextf(2,0)\n#LoadTextf(\"./mes.txt\")\n"
    "#LoadImage(3,\"./bg/red.png\")\n#Paint()\n"
    "#PrintTextf(1)\n"  // saving not allowed yet
    "#ResumeSave()\n@5=1\n@950=1\n"
    "#PrintTextf(2)\n"  // quick save here
    "@5=2\n@950=2\n#LoadImage(3,\"./bg/blue.png\")\n#Paint()\n"
    "#PrintTextf(3)\n"  // quick load here
    "@5=3\n#Wait(100000)\n#END()\n";

class QuickSave : public testing::Test {
  protected:
    void SetUp() override {
        const std::vector<uint8_t> package = test_support::buildPackage(
            {{"./script.txt", lines(kScript), false},
             {"./mes.txt",
              lines("1,\"\",\"\x82\xA0\\m\"\n2,\"\",\"\x82\xA2\\m\"\n"
                    "3,\"\",\"\x82\xA4\\m\"\n"),
              false},
             {"./bg/red.rbp", flatPicture(320, 240, 0, 0, 255), false},
             {"./bg/blue.rbp", flatPicture(320, 240, 255, 0, 0), false}});
        ASSERT_FALSE(package.empty());
        test_support::writeBytes(folder_.file("data/pack.mlz"), package);
        ASSERT_TRUE(app_.createWindow());
        ASSERT_TRUE(display_.open(window_.clientWidth(), window_.clientHeight()));
        app_.attachDisplay(display_.properties(), display_.traits());
        app_.startFrameClock();
        // The sigmarion3 has no centre key of its own: bound to Enter, as a
        // KEY_START line of the settings would.
        game().keyMap.codes[static_cast<size_t>(KeyRole::Start)] = kEnter;
        startSaveData(app_.game());  // as the entry does before the start script
        ASSERT_TRUE(app_.enterStartScript());
    }

    GameContext& game() { return app_.game(); }
    int32_t var(int i) { return game().script.state.variables.numbers[size_t(i)]; }
    std::string slotFile() const { return folder_.file("data/save001.dat"); }

    void runFrames(int count) {
        const int until = app_.framesDone() + count;
        Message m;
        for (int passes = 0; app_.framesDone() < until; ++passes) {
            ASSERT_LT(passes, 100000);
            if (window_.peekMessage(m)) {
                app_.dispatch(m);
            } else {
                app_.frameStep();
            }
        }
    }
    void pressCentre(int action) {
        game().settings.keyCenterAction = action;
        window_.postMessage(Message{kWmKeyDown, kEnter, 0});
        window_.postMessage(Message{kWmKeyUp, kEnter, 0});
        runFrames(2);
    }
    void tap() {
        window_.postMessage(Message{kWmLButtonDown, 0, packPoint(160, 120)});
        window_.postMessage(Message{kWmLButtonUp, 0, packPoint(160, 120)});
        runFrames(30);
    }
    // A corner no message text reaches.
    const uint8_t* corner() { return game().screen.pixel(318, 238); }
    std::string currentLine() {
        const ScriptLevel& level = game().script.state.current();
        const std::string_view rest = level.view().substr(size_t(level.position));
        return std::string(rest.substr(0, rest.find('\r')));
    }

    test_support::TempFolder folder_{"zeku-quick-save"};
    HeadlessWindow window_;
    MemoryGdiDisplay display_;
    VirtualClock clock_;
    NoBoxes boxes_;
    FixedClock device_;
    PlatformServices services_{window_, display_, clock_,  boxes_,  nullptr,
                               nullptr, nullptr,  nullptr, nullptr, &device_};
    PlayerApp app_{kSigmarionBuild, services_, folder_.path().string(), nullptr};
};

TEST_F(QuickSave, CentreKeySavesAndLoadsTheGameInSlotZero) {
    runFrames(30);
    ASSERT_EQ(currentLine(), "#PrintTextf(1)");
    EXPECT_FALSE(game().script.savingEnabled);
    pressCentre(4);
    EXPECT_FALSE(fs::exists(slotFile()));  // not before the script allows saving
    EXPECT_EQ(currentLine(), "#PrintTextf(1)");

    tap();
    ASSERT_EQ(currentLine(), "#PrintTextf(2)");
    pressCentre(4);
    ASSERT_TRUE(fs::exists(slotFile()));
    EXPECT_EQ(fs::file_size(slotFile()), 175022u);
    EXPECT_EQ(game().menu.tree().levelCount(), 1);  // no menu built here: nothing to list into
    EXPECT_EQ(game().saveSlots.newest, 0);
    EXPECT_EQ(currentLine(), "#PrintTextf(2)");  // the press is spent; the message still waits
    EXPECT_EQ(corner()[2], 0xF8);                // red

    tap();
    ASSERT_EQ(currentLine(), "#PrintTextf(3)");
    EXPECT_EQ(var(5), 2);
    EXPECT_EQ(corner()[0], 0xF8);  // blue
    EXPECT_EQ(corner()[2], 0);

    pressCentre(5);
    EXPECT_EQ(currentLine(), "#PrintTextf(2)");
    EXPECT_EQ(var(5), 1);
    EXPECT_EQ(var(950), 2);  // shared: as played, not as saved
    EXPECT_TRUE(game().script.savingEnabled);
    EXPECT_EQ(corner()[2], 0xF8);  // the saved picture is on the screen again
    EXPECT_EQ(corner()[0], 0);

    // The loaded game plays on.
    runFrames(30);
    tap();
    EXPECT_EQ(currentLine(), "#PrintTextf(3)");
    EXPECT_EQ(var(5), 2);
    tap();
    EXPECT_EQ(var(5), 3);
}

}  // namespace
}  // namespace zeku
