// The player spine on the headless back ends: start-up, the frame loop on a
// virtual clock, input reaching the latch, and every way to shut down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/pack/pack_format.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/memory_display.h"
#include "platform/headless/virtual_clock.h"
#include "player/shell/player_app.h"
#include "player/shell/player_entry.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

struct RecordingBoxes final : MessageBoxes {
    std::vector<std::string> texts;
    void show(std::string_view text, std::string_view caption) override {
        texts.push_back(std::string(caption) + "|" + std::string(text));
    }
};

struct ClosingObserver final : FrameObserver {
    HostWindow& window;
    int closeAfter;
    int frames = 0;
    ClosingObserver(HostWindow& w, int n) : window(w), closeAfter(n) {}
    void frameDone(int frame) override {
        frames = frame;
        if (frame == closeAfter) window.postMessage(Message{kWmClose, 0, 0});
    }
};

struct RaiseOnce final : InstanceLock {
    bool pending = true;
    bool raiseRequested() override { return std::exchange(pending, false); }
};

struct Rig {
    HeadlessWindow window;
    MemoryGdiDisplay display;
    VirtualClock clock;
    RecordingBoxes boxes;
    PlatformServices services{window, display, clock, boxes, nullptr};
};

// Brings a PlayerApp up the way the entry does, without entering the loop.
void startUp(PlayerApp& app, Rig& rig) {
    ASSERT_TRUE(app.createWindow());
    ASSERT_TRUE(rig.display.open(rig.window.clientWidth(), rig.window.clientHeight()));
    app.attachDisplay(rig.display.properties(), rig.display.traits());
    app.startFrameClock();
}

// Dispatches messages and runs idle passes until `frame` frames are done.
// A fault that stops the frames fails the test instead of hanging it.
void runToFrame(PlayerApp& app, Rig& rig, int frame) {
    Message m;
    for (int passes = 0; app.framesDone() < frame; ++passes) {
        ASSERT_LT(passes, 100000) << "frame " << frame << " never came";
        if (rig.window.peekMessage(m)) {
            app.dispatch(m);
        } else {
            app.frameStep();
        }
    }
}

// Writes a package holding "./script.txt" (lines joined with CR LF) into
// the program folder's data folder.
void writeStartScript(const test_support::TempFolder& folder, const std::string& lines) {
    std::string text;
    for (char c : lines) {
        if (c == '\n') text += '\r';
        text += c;
    }
    PackEntry entry;
    ASSERT_TRUE(setPackEntryName(entry, "./script.txt"));
    entry.unpackedSize = entry.storedSize = static_cast<uint32_t>(text.size());
    std::vector<PackEntry> entries{entry};
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(layOutPack(entries, bytes));
    bytes.insert(bytes.end(), text.begin(), text.end());
    test_support::writeBytes(folder.file("data/pack.mlz"), bytes);
}

TEST(PlayerApp, HeadlessRunEndsAfterItsFramesThroughTheNormalShutdown) {
    Rig rig;
    RaiseOnce raise;
    rig.services.instance = &raise;
    ClosingObserver observer(rig.window, 120);
    PlayerRunOptions options{"/nonexistent/", &observer};
    const uint32_t start = rig.clock.nowMs();
    EXPECT_EQ(runPlayer(kSigmarionBuild, rig.services, options), 0);
    EXPECT_EQ(observer.frames, 120);
    EXPECT_FALSE(rig.window.exists());
    // The build's title; without a package the title also says what is missing.
    EXPECT_EQ(rig.window.titleUtf8().rfind("Torune for sigmarion3", 0), 0u);
    EXPECT_EQ(rig.window.clientWidth(), 320);
    EXPECT_EQ(rig.window.raiseCount(), 2);  // once at start-up, once for the later start
    // 120 ticks of 16 ms, give or take the last one.
    EXPECT_NEAR(static_cast<double>(rig.clock.nowMs() - start), 120 * 16.0, 17.0);
    EXPECT_TRUE(rig.boxes.texts.empty());
}

TEST(PlayerApp, PocketPcBuildRunsOnALandscapePanel) {
    HeadlessWindow window;
    MemoryPanelDisplay panel(640, 480);
    VirtualClock clock;
    RecordingBoxes boxes;
    PlatformServices services{window, panel, clock, boxes, nullptr};
    ClosingObserver observer(window, 30);
    EXPECT_EQ(runPlayer(kPocketPcBuild, services, {"./", &observer}), 0);
    EXPECT_EQ(observer.frames, 30);
    EXPECT_EQ(window.titleUtf8().rfind("Torune - data/pack_v.mlz", 0), 0u);
}

TEST(PlayerApp, DisplayFailureIsReportedOnceAndEndsTheRun) {
    struct BrokenDisplay final : DisplayBackEnd {
        bool open(int, int) override { return false; }
        void close() override {}
        bool openInput() override { return true; }
        void closeInput() override {}
        GXKeyList defaultKeys() const override { return {}; }
        GXDisplayProperties properties() const override { return {}; }
        DeviceTraits traits() const override { return {}; }
        uint8_t* beginDraw() override { return nullptr; }
        void showRect(const ScreenRect*) override {}
        void endDraw() override {}
    } broken;
    HeadlessWindow window;
    VirtualClock clock;
    RecordingBoxes boxes;
    PlatformServices services{window, broken, clock, boxes, nullptr};
    EXPECT_EQ(runPlayer(kSigmarionBuild, services, {"./", nullptr}), kStartupFailedExitCode);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].rfind("Error|GAPI", 0), 0u);
}

TEST(PlayerApp, ATapReachesTheGameAsOneClickAtTheMappedPoint) {
    Rig rig;
    PlayerApp app(kSigmarionBuild, rig.services, "./", nullptr);
    startUp(app, rig);
    // Down and up between two frames: the click must still be seen.
    rig.window.postMessage(Message{kWmLButtonDown, 0, packPoint(100, 50)});
    rig.window.postMessage(Message{kWmLButtonUp, 0, packPoint(100, 50)});
    runToFrame(app, rig, 1);
    EXPECT_EQ(app.game().input.clickEdge, 1);
    EXPECT_EQ(app.game().input.releaseEdge, 1);
    EXPECT_EQ(app.game().input.pointerX, 100);
    EXPECT_EQ(app.game().input.pointerY, 50);
    runToFrame(app, rig, 2);
    EXPECT_EQ(app.game().input.clickEdge, 0);

    rig.window.postMessage(Message{kWmKeyDown, 0x5A, 0});  // Z plays A
    rig.window.postMessage(Message{kWmKeyDown, kIgnoredVirtualKey, 0});
    runToFrame(app, rig, 3);
    EXPECT_EQ(app.game().input.keys[KeyRole::A], 1);
}

TEST(PlayerApp, AScriptErrorClosesThePlayerThroughDestroy) {
    Rig rig;
    PlayerApp app(kSigmarionBuild, rig.services, "./", nullptr);
    startUp(app, rig);
    runToFrame(app, rig, 1);
    app.game().script.errorWord = 0x800000;
    runToFrame(app, rig, 2);
    EXPECT_FALSE(rig.window.exists());
    Message m;
    ASSERT_TRUE(rig.window.peekMessage(m));
    EXPECT_EQ(m.code, kWmQuit);
    EXPECT_EQ(m.wParam, 0u);
}

TEST(PlayerApp, OnlyChangedRectanglesAreShownAndShakeShowsEverything) {
    Rig rig;
    PlayerApp app(kSigmarionBuild, rig.services, "./", nullptr);
    startUp(app, rig);
    runToFrame(app, rig, 1);
    rig.display.forgetShownRects();
    runToFrame(app, rig, 2);
    EXPECT_TRUE(rig.display.shownRects().empty());  // nothing changed, nothing shown

    uint8_t* px = app.game().screen.pixel(5, 5);
    px[0] = px[1] = px[2] = 255;
    // Unflagged, so the redraw leaves the poked pixel alone and only the
    // present shows it. The frame step empties the list after presenting,
    // so add it during the frame.
    Message m;
    while (app.framesDone() < 3) {
        if (rig.window.peekMessage(m)) {
            app.dispatch(m);
            continue;
        }
        if (app.game().updateList.empty())
            app.game().updateList.addDirty(ScreenRect{4, 4, 8, 8}, false);
        app.frameStep();
    }
    ASSERT_EQ(rig.display.shownRects().size(), 1u);
    EXPECT_EQ(rig.display.windowPixel(5, 5), 0xFFFF);

    rig.display.forgetShownRects();
    app.game().shake.offsetX = 2;  // as a #Wipe would
    runToFrame(app, rig, 4);
    ASSERT_EQ(rig.display.shownRects().size(), 1u);
    EXPECT_EQ(rig.display.shownRects()[0].right, 320);
    EXPECT_EQ(rig.display.windowPixel(3, 5), 0xFFFF);  // source (5, 5) shifted left by 2
}

TEST(PlayerApp, TheStartScriptsBreakAppClosesThroughTheNormalShutdown) {
    test_support::TempFolder folder;
    writeStartScript(folder, "|_Start:\n#Wait(100)\n#BreakApp()\n");
    Rig rig;
    ClosingObserver observer(rig.window, 1000);
    PlayerRunOptions options{folder.path().string() + "/", &observer};
    EXPECT_EQ(runPlayer(kSigmarionBuild, rig.services, options), 0);
    EXPECT_GT(observer.frames, 5);  // the wait ran first
    EXPECT_LT(observer.frames, 20);
    EXPECT_FALSE(rig.window.exists());
}

TEST(PlayerApp, ABadImageSlotInTheScriptEndsTheProgram) {
    test_support::TempFolder folder;
    writeStartScript(folder, "#Clr(40)\n#Wait(-1)\n");
    Rig rig;
    PlayerApp app(kSigmarionBuild, rig.services, folder.path().string(), nullptr);
    startUp(app, rig);
    EXPECT_TRUE(app.enterStartScript());
    runToFrame(app, rig, 1);
    EXPECT_FALSE(rig.window.exists());
    EXPECT_EQ(app.game().script.errorWord, kErrorBadImageSlot);
}

TEST(PlayerApp, WhatTheScriptShowsIsDrawnBeforeThePresent) {
    test_support::TempFolder folder;
    writeStartScript(folder,
                     "#MouseClickEventEX()\n{\n0,0,400,300,\"_A\",\"./script.txt\",0,0,0,255\n}\n");
    Rig rig;
    PlayerApp app(kSigmarionBuild, rig.services, folder.path().string(), nullptr);
    startUp(app, rig);
    EXPECT_TRUE(app.enterStartScript());
    runToFrame(app, rig, 2);
    EXPECT_EQ(app.game().screen.pixel(10, 10)[0], 0);
    rig.window.postMessage(Message{kWmKeyDown, app.game().keyMap.code(KeyRole::Down), 0});
    runToFrame(app, rig, 4);
    EXPECT_EQ(app.game().screen.pixel(10, 10)[0], 255);  // the highlight adds blue
    EXPECT_EQ(app.game().screen.pixel(200, 10)[0], 0);
}

TEST(PlayerApp, AMissingPackageLeavesTheScriptIdleAndSaysSoOnce) {
    struct RecordingNotices final : Notices {
        std::vector<std::string> lines;
        void notice(std::string_view line) override { lines.emplace_back(line); }
    } notices;
    Rig rig;
    rig.services.notices = &notices;
    PlayerApp app(kSigmarionBuild, rig.services, "/nonexistent/", nullptr);
    startUp(app, rig);
    EXPECT_FALSE(app.enterStartScript());
    runToFrame(app, rig, 5);
    EXPECT_TRUE(rig.window.exists());
    EXPECT_EQ(app.game().script.errorWord, 0u);
    ASSERT_EQ(notices.lines.size(), 1u);
    EXPECT_EQ(notices.lines[0].rfind("/nonexistent/data/pack.mlz: missing", 0), 0u)
        << notices.lines[0];
    EXPECT_EQ(rig.window.titleUtf8().rfind("Torune for sigmarion3 - data/pack.mlz: missing", 0), 0u)
        << rig.window.titleUtf8();
}

}  // namespace
}  // namespace zeku
