// The 16 ms tick: late ticks are dropped, the per-second count follows, and
// the 32-bit tick count may wrap.
#include "player/shell/frame_clock.h"

#include <gtest/gtest.h>

namespace zeku {
namespace {

TEST(FrameClock, OneTickPerIntervalAndNoneEarly) {
    FrameClock clock;
    EXPECT_FALSE(pollFrameClock(clock, 0));  // not started
    startFrameClock(clock, 1000, 16);
    EXPECT_FALSE(pollFrameClock(clock, 1015));
    EXPECT_EQ(msUntilNextTick(clock, 1015), 1u);
    EXPECT_TRUE(pollFrameClock(clock, 1016));
    EXPECT_FALSE(pollFrameClock(clock, 1016));
    EXPECT_TRUE(pollFrameClock(clock, 1032));
}

TEST(FrameClock, AStallGivesOneTickNotSeveral) {
    FrameClock clock;
    startFrameClock(clock, 0, 16);
    EXPECT_TRUE(pollFrameClock(clock, 16));
    EXPECT_TRUE(pollFrameClock(clock, 116));  // 100 ms busy
    EXPECT_FALSE(pollFrameClock(clock, 116));
    EXPECT_FALSE(pollFrameClock(clock, 127));
    EXPECT_TRUE(pollFrameClock(clock, 128));  // back on the 16 ms grid
}

TEST(FrameClock, FramesPerSecondCountsTheDrop) {
    FrameClock clock;
    startFrameClock(clock, 0, 16);
    for (uint32_t t = 16; t < 1000; t += 16)
        pollFrameClock(clock, t);
    pollFrameClock(clock, 1000);
    EXPECT_EQ(clock.framesPerSecond, 62);
    // A second with a half-second stall in it.
    for (uint32_t t = 1008; t < 1500; t += 16)
        pollFrameClock(clock, t);
    pollFrameClock(clock, 2000);
    EXPECT_LT(clock.framesPerSecond, 40);
    // A stall over several seconds reports a second without frames.
    pollFrameClock(clock, 5500);
    EXPECT_EQ(clock.framesPerSecond, 0);
}

TEST(FrameClock, SurvivesTheTickCountWrapping) {
    FrameClock clock;
    startFrameClock(clock, 0xFFFFFFF0u, 16);
    EXPECT_FALSE(pollFrameClock(clock, 0xFFFFFFFFu));
    EXPECT_TRUE(pollFrameClock(clock, 0u));
    EXPECT_FALSE(pollFrameClock(clock, 5u));
    EXPECT_TRUE(pollFrameClock(clock, 16u));
}

}  // namespace
}  // namespace zeku
