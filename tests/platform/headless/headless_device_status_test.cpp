// The headless device facts: the fixed date moving with the virtual clock
// across day, month, leap-day and year ends, and the fixed figures.
#include "platform/headless/headless_device_status.h"

#include <gtest/gtest.h>

#include "platform/headless/virtual_clock.h"

namespace zeku {
namespace {

bool sameMoment(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

TEST(HeadlessDeviceStatus, DatesAfterASpan) {
    struct Case {
        LocalDateTime start;
        uint64_t seconds;
        LocalDateTime expected;
    } cases[] = {
        {{2006, 1, 4, 17, 30, 0}, 0, {2006, 1, 4, 17, 30, 0}},
        {{2006, 1, 4, 17, 30, 0}, 59, {2006, 1, 4, 17, 30, 59}},
        {{2006, 1, 4, 17, 30, 0}, 6 * 3600 + 30 * 60, {2006, 1, 5, 0, 0, 0}},
        {{2006, 1, 31, 23, 59, 59}, 1, {2006, 2, 1, 0, 0, 0}},
        {{2006, 2, 28, 12, 0, 0}, 86400, {2006, 3, 1, 12, 0, 0}},
        {{2008, 2, 28, 12, 0, 0}, 86400, {2008, 2, 29, 12, 0, 0}},  // leap year
        {{2100, 2, 28, 0, 0, 0}, 86400, {2100, 3, 1, 0, 0, 0}},     // century, no leap day
        {{2000, 2, 28, 0, 0, 0}, 86400, {2000, 2, 29, 0, 0, 0}},    // every 400 years
        {{2006, 12, 31, 23, 0, 0}, 3600, {2007, 1, 1, 0, 0, 0}},
        {{2006, 1, 1, 0, 0, 0}, 365ull * 86400, {2007, 1, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const LocalDateTime got = dateAfter(c.start, c.seconds);
        EXPECT_TRUE(sameMoment(got, c.expected))
            << c.seconds << "s -> " << got.year << "-" << got.month << "-" << got.day << " "
            << got.hour << ":" << got.minute << ":" << got.second;
    }
}

TEST(HeadlessDeviceStatus, FixedFactsMoveOnlyWithTheClock) {
    VirtualClock clock(5000);
    HeadlessDeviceStatus device(clock);
    EXPECT_TRUE(sameMoment(device.localTime(), {2006, 1, 4, 17, 30, 0}));
    clock.advance(999);
    EXPECT_TRUE(sameMoment(device.localTime(), {2006, 1, 4, 17, 30, 0}));
    clock.sleepMs(90 * 1000 + 1);
    EXPECT_TRUE(sameMoment(device.localTime(), {2006, 1, 4, 17, 31, 31}));
    EXPECT_EQ(device.batteryPercent(), 87);
    EXPECT_EQ(device.memory().availableBytes, 40ull << 20);
    EXPECT_EQ(device.memory().loadPercent, 38);
    EXPECT_EQ(device.freeStorageBytes("/anywhere"), 256ull << 20);

    // The tick count wraps; the elapsed time does not.
    VirtualClock late(0xFFFFFF00u);
    HeadlessDeviceStatus wrapped(late);
    late.advance(0x200 + 2000);
    EXPECT_TRUE(sameMoment(wrapped.localTime(), {2006, 1, 4, 17, 30, 2}));
}

}  // namespace
}  // namespace zeku
