// The battery rule of the desktop's device facts: a reported charge shows
// as it is, anything a desktop without a battery says shows a full charge.
#include "platform/sdl/sdl_device_status.h"

#include <gtest/gtest.h>

namespace zeku {
namespace {

TEST(SdlDeviceStatus, BatteryPercentFromPowerInfo) {
    struct Case {
        SDL_PowerState state;
        int percent;
        int expected;
    } cases[] = {
        {SDL_POWERSTATE_ON_BATTERY, 87, 87},   {SDL_POWERSTATE_ON_BATTERY, 0, 0},
        {SDL_POWERSTATE_CHARGING, 42, 42},     {SDL_POWERSTATE_CHARGED, 100, 100},
        {SDL_POWERSTATE_CHARGED, -1, 100},     {SDL_POWERSTATE_ON_BATTERY, -1, 100},
        {SDL_POWERSTATE_ON_BATTERY, 250, 100}, {SDL_POWERSTATE_NO_BATTERY, -1, 100},
        {SDL_POWERSTATE_NO_BATTERY, 30, 100},  {SDL_POWERSTATE_UNKNOWN, -1, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(batteryPercentOf(c.state, c.percent), c.expected) << c.state << " " << c.percent;

    SdlDeviceStatus device;
    const int now = device.batteryPercent();
    EXPECT_GE(now, 0);
    EXPECT_LE(now, 100);
}

}  // namespace
}  // namespace zeku
