// SDL answers the battery question on every host it runs on; the rest is
// POSIX.
#include "platform/sdl/sdl_device_status.h"

#include "platform/posix/posix_device_facts.h"
#include "platform/sdl/sdl_platform.h"

namespace zeku {

int batteryPercentOf(SDL_PowerState state, int percent) {
    const bool hasBattery = state == SDL_POWERSTATE_ON_BATTERY ||
                            state == SDL_POWERSTATE_CHARGING || state == SDL_POWERSTATE_CHARGED;
    if (!hasBattery || percent < 0 || percent > 100) return 100;
    return percent;
}

LocalDateTime SdlDeviceStatus::localTime() {
    return localDateTimeNow();
}

int SdlDeviceStatus::batteryPercent() {
    int percent = -1;
    const SDL_PowerState state = SDL_GetPowerInfo(nullptr, &percent);
    return batteryPercentOf(state, percent);
}

MemoryFacts SdlDeviceStatus::memory() {
    return memoryNow();
}

uint64_t SdlDeviceStatus::freeStorageBytes(const std::string& folder) {
    return freeStorageAt(folder);
}

std::unique_ptr<DeviceStatus> createSdlDeviceStatus() {
    return std::make_unique<SdlDeviceStatus>();
}

}  // namespace zeku
