// The menu inside the running player: the right button and B open and close
// it, the game stands still while it is open (input is still latched and
// frame ticks still count), and a choice made with the keys arrives as a
// command message that the application carries out.
#include <gtest/gtest.h>

#include "platform/headless/headless_window.h"
#include "platform/headless/memory_display.h"
#include "platform/headless/virtual_clock.h"
#include "player/shell/player_app.h"
#include "player/system/menu_build.h"
#include "player/system/menu_ids.h"
#include "tests/support/package_builder.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

struct SilentBoxes final : MessageBoxes {
    void show(std::string_view, std::string_view) override {}
};

struct MenuRig {
    test_support::TempFolder folder{"zeku-menu-shell"};
    HeadlessWindow window;
    MemoryGdiDisplay display;
    VirtualClock clock;
    SilentBoxes boxes;
    PlatformServices services{window, display, clock, boxes, nullptr};
    std::unique_ptr<PlayerApp> app;
    int quitCode = -1;  // the quit message's code once it came

    // The start script waits 100 ms and then closes the player.
    MenuRig() {
        std::string script = "|_Start:\r\n#Wait(100)\r\n#BreakApp()\r\n";
        test_support::writeBytes(
            folder.file("data/pack.mlz"),
            test_support::buildPackage({{"./script.txt", {script.begin(), script.end()}, false}}));
        app = std::make_unique<PlayerApp>(kSigmarionBuild, services, folder.path().string() + "/",
                                          nullptr);
        EXPECT_TRUE(app->createWindow());
        EXPECT_TRUE(display.open(window.clientWidth(), window.clientHeight()));
        app->attachDisplay(display.properties(), display.traits());
        buildSystemMenu(game().menu.tree(), {});
        app->startFrameClock();
        EXPECT_TRUE(app->enterStartScript());
    }
    GameContext& game() { return app->game(); }
    bool menuOpen() { return game().menu.isOpen(); }

    // Runs until `count` more frame ticks have passed.
    void frames(int count) {
        const int until = app->framesDone() + count;
        Message m;
        for (int passes = 0; app->framesDone() < until; ++passes) {
            ASSERT_LT(passes, 100000) << "the frames stopped";
            if (window.peekMessage(m)) {
                if (m.code == kWmQuit) {
                    quitCode = static_cast<int>(m.wParam);
                    return;
                }
                app->dispatch(m);
            } else {
                app->frameStep();
            }
        }
    }
    void post(uint32_t code, uintptr_t wParam = 0, intptr_t lParam = 0) {
        window.postMessage(Message{code, wParam, lParam});
    }
    // A key pressed and let go before the next frame.
    void key(KeyRole role) {
        post(kWmKeyDown, game().keyMap.code(role));
        post(kWmKeyUp, game().keyMap.code(role));
        frames(1);
    }
};

TEST(MenuShell, TheRightButtonOpensAndClosesTheMenuWhileTheGameStandsStill) {
    MenuRig rig;
    rig.frames(1);
    rig.post(kWmRButtonDown);
    rig.frames(1);
    ASSERT_TRUE(rig.menuOpen());
    EXPECT_EQ(rig.game().input.keys[KeyRole::B], 0);  // taken by the opening
    rig.post(kWmRButtonUp);
    // Far past the script's 100 ms: it has not gone on to close the player.
    rig.frames(30);
    EXPECT_TRUE(rig.window.exists());
    EXPECT_TRUE(rig.menuOpen());
    // Input is still latched each pass: a tap is seen as a click edge.
    rig.post(kWmLButtonDown, 0, packPoint(310, 230));
    rig.frames(1);
    EXPECT_FALSE(rig.game().input.buttonDownEvent);  // taken by a latch
    EXPECT_TRUE(rig.menuOpen());                     // pressing alone does not close it
    rig.post(kWmLButtonUp, 0, packPoint(310, 230));
    rig.frames(1);
    EXPECT_FALSE(rig.menuOpen());  // let go outside the panel

    rig.post(kWmRButtonDown);
    rig.post(kWmRButtonUp);
    rig.frames(1);
    ASSERT_TRUE(rig.menuOpen());
    rig.post(kWmRButtonDown);
    rig.frames(1);
    EXPECT_FALSE(rig.menuOpen());
    rig.post(kWmRButtonUp);
    rig.frames(20);  // now the script goes on and closes the player
    EXPECT_FALSE(rig.window.exists());
}

TEST(MenuShell, AChoiceMadeWithTheKeysIsCarriedOutAndQuitEndsTheRun) {
    MenuRig rig;
    rig.frames(1);
    using R = KeyRole;
    // B opens; up from nothing wraps to the last entry, "終了", and three
    // more ups skip the separators to "設定".
    for (R role : {R::B, R::Up, R::Up, R::Up, R::Up, R::Right, R::Down, R::Right})
        rig.key(role);
    ASSERT_TRUE(rig.menuOpen());
    EXPECT_EQ(rig.game().menu.cursor().depth(), 2);
    for (int i = 0; i < 6; ++i)
        rig.key(R::Down);
    rig.key(R::C);  // "50%"
    EXPECT_FALSE(rig.menuOpen());
    EXPECT_EQ(rig.game().settings.masterVolume, 50);
    EXPECT_TRUE(rig.game().menu.tree().entry(menu_id::kMasterVolumeFirst + 5)->checked());
    EXPECT_TRUE(rig.window.exists());

    for (R role : {R::B, R::Up, R::C})
        rig.key(role);
    EXPECT_FALSE(rig.window.exists());
    EXPECT_EQ(rig.quitCode, 0);
}

}  // namespace
}  // namespace zeku
