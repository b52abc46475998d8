// Command-line options and the scripted-input format.
#include <gtest/gtest.h>

#include "player/shell/run_options.h"
#include "player/shell/scripted_input.h"

namespace zeku {
namespace {

bool parse(std::vector<const char*> args, RunOptions& options, std::string& error) {
    args.insert(args.begin(), "player");
    return parseRunOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(RunOptions, NoneIsANormalStart) {
    RunOptions o;
    std::string error;
    ASSERT_TRUE(parse({}, o, error));
    EXPECT_FALSE(o.headless);
    EXPECT_EQ(o.frames, 0);
}

TEST(RunOptions, HeadlessOptionsAndTheirErrors) {
    RunOptions o;
    std::string error;
    ASSERT_TRUE(parse(
        {"--headless", "--frames", "120", "--root", "/g", "--screenshot", "1:a.png", "--screenshot",
         "120:dir/b:c.png", "--portrait", "--trace", "--audio-out", "out.wav"},
        o, error));
    EXPECT_TRUE(o.headless && o.portrait && o.trace);
    EXPECT_EQ(o.frames, 120);
    EXPECT_EQ(o.root, "/g");
    EXPECT_EQ(o.audioOutPath, "out.wav");
    ASSERT_EQ(o.screenshots.size(), 2u);
    EXPECT_EQ(o.screenshots[1].frame, 120);
    EXPECT_EQ(o.screenshots[1].path, "dir/b:c.png");

    for (std::vector<const char*> bad :
         std::vector<std::vector<const char*>>{{"--frames"},
                                               {"--frames", "12x"},
                                               {"--frames", "-1"},
                                               {"--frames", "100000001"},
                                               {"--screenshot", "2147483647:a.png"},
                                               {"--screenshot", "a.png"},
                                               {"--screenshot", "0:a.png"},
                                               {"--screenshot", "5:"},
                                               {"--audio-out"},
                                               {"--bogus"}}) {
        RunOptions r;
        error.clear();
        EXPECT_FALSE(parse(bad, r, error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(RunOptions, AHeadlessRunMustEndAndPortraitNeedsHeadless) {
    const struct {
        std::vector<const char*> args;
        bool inputCloses;
        bool ok;
    } cases[] = {
        {{}, false, true},                 // a window: the user closes it
        {{"--frames", "0"}, false, true},  // windowed, unlimited
        {{"--headless"}, false, false},    // nothing would ever end it
        {{"--headless", "--frames", "0"}, false, false},
        {{"--headless"}, true, true},  // the input file closes it
        {{"--headless", "--frames", "5"}, false, true},
        {{"--portrait"}, false, false},
        {{"--portrait", "--headless", "--frames", "1"}, false, true},
    };
    for (const auto& c : cases) {
        RunOptions o;
        std::string error;
        ASSERT_TRUE(parse(c.args, o, error)) << error;
        EXPECT_EQ(checkRunOptions(o, c.inputCloses, error), c.ok)
            << (c.args.empty() ? "" : c.args[0]) << " " << c.args.size();
        if (!c.ok) {
            EXPECT_FALSE(error.empty());
        }
    }
}

TEST(RunOptions, WindowChoices) {
    struct Case {
        std::vector<const char*> args;
        WindowMode mode;
        int scale;
    };
    const Case cases[] = {
        {{}, WindowMode::AsBuilt, 0},
        {{"--fullscreen"}, WindowMode::FullScreen, 0},
        {{"--window", "--scale", "3"}, WindowMode::Windowed, 3},
        {{"--fullscreen", "--window"}, WindowMode::Windowed, 0},  // the last one counts
        {{"--scale", "fit"}, WindowMode::AsBuilt, kScaleFit},
    };
    for (const Case& c : cases) {
        RunOptions o;
        std::string error;
        ASSERT_TRUE(parse(c.args, o, error)) << error;
        EXPECT_EQ(o.windowMode, c.mode);
        EXPECT_EQ(o.scale, c.scale);
    }

    for (std::vector<const char*> bad :
         std::vector<std::vector<const char*>>{{"--scale"},
                                               {"--scale", "0"},
                                               {"--scale", "17"},
                                               {"--scale", "2x"},
                                               {"--headless", "--fullscreen"},
                                               {"--scale", "2", "--headless"}}) {
        RunOptions r;
        std::string error;
        EXPECT_FALSE(parse(bad, r, error)) << bad[0] << " " << bad.back();
        EXPECT_FALSE(error.empty());
    }
}

TEST(ScriptedInput, EventsBecomeMessagesInFrameOrder) {
    std::vector<TimedMessage> events;
    std::string error;
    ASSERT_TRUE(
        parseScriptedInput("# a comment\n"
                           "5 tap 10 20\n"
                           "3 key z   # letters name their key\n"
                           "3 keydown 0x26\r\n"
                           "\n"
                           "9 close\n",
                           events, error))
        << error;
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].frame, 3);
    EXPECT_EQ(events[0].message.code, kWmKeyDown);
    EXPECT_EQ(events[0].message.wParam, 0x5Au);
    EXPECT_EQ(events[1].message.wParam, 0x26u);
    EXPECT_EQ(events[2].frame, 4);
    EXPECT_EQ(events[2].message.code, kWmKeyUp);
    EXPECT_EQ(events[3].message.code, kWmLButtonDown);
    EXPECT_EQ(pointX(events[3].message.lParam), 10);
    EXPECT_EQ(pointY(events[3].message.lParam), 20);
    EXPECT_EQ(events[4].frame, 6);
    EXPECT_EQ(events[5].message.code, kWmClose);
}

TEST(ScriptedInput, RightButtonEventsCarryNoPoint) {
    std::vector<TimedMessage> events;
    std::string error;
    ASSERT_TRUE(parseScriptedInput("2 rtap\n7 rdown\n9 rup\n", events, error)) << error;
    const struct {
        int frame;
        uint32_t code;
    } expected[] = {{2, kWmRButtonDown}, {3, kWmRButtonUp}, {7, kWmRButtonDown}, {9, kWmRButtonUp}};
    ASSERT_EQ(events.size(), 4u);
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].frame, expected[i].frame);
        EXPECT_EQ(events[i].message.code, expected[i].code);
    }
    EXPECT_FALSE(parseScriptedInput("1 rtap 5 5\n", events, error));
}

TEST(ScriptedInput, BadLinesAreNamed) {
    std::vector<TimedMessage> events;
    std::string error;
    EXPECT_FALSE(parseScriptedInput("1 key z\n2 jump\n", events, error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    EXPECT_FALSE(parseScriptedInput("0 key z\n", events, error));
    EXPECT_FALSE(parseScriptedInput("1 down 5\n", events, error));
    EXPECT_FALSE(parseScriptedInput("1 key 0x1FF\n", events, error));
    // Frames are bounded, so the release a frame later cannot overflow.
    EXPECT_FALSE(parseScriptedInput("2147483647 key z\n", events, error));
    EXPECT_FALSE(parseScriptedInput("100000001 tap 1 1\n", events, error));
    EXPECT_FALSE(parseScriptedInput("1 wheel 0\n", events, error));
    EXPECT_FALSE(parseScriptedInput("1 wheel 65\n", events, error));
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(parseScriptedInput("100000000 key z\n", events, error)) << error;
    EXPECT_EQ(events.back().frame, 100000001);
}

TEST(ScriptedInput, KeyCodesOneToNineAreWrittenWithTwoDigits) {
    std::vector<TimedMessage> events;
    std::string error;
    ASSERT_TRUE(parseScriptedInput("1 keydown 8\n1 keydown 0x08\n1 keydown 08\n", events, error));
    EXPECT_EQ(events[0].message.wParam, 0x38u);  // a single digit is the key that types it
    EXPECT_EQ(events[1].message.wParam, 8u);
    EXPECT_EQ(events[2].message.wParam, 8u);
    EXPECT_FALSE(closesRun(events));
    ASSERT_TRUE(parseScriptedInput("1 key z\n40 close\n", events, error));
    EXPECT_TRUE(closesRun(events));
    ASSERT_TRUE(parseScriptedInput("2 wheel -3\n", events, error)) << error;
    EXPECT_EQ(events[0].message.code, kWmMouseWheel);
    EXPECT_EQ(wheelDistance(events[0].message.wParam), -3 * kWheelDelta);
}

}  // namespace
}  // namespace zeku
