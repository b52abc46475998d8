// The desktop's DeviceStatus: local time, memory and storage from POSIX,
// the battery from SDL's power information.
#pragma once

#include <SDL.h>

#include "platform/api/device_status.h"

namespace zeku {

// A reported charge (0..100) of a machine with a battery shows as it is;
// no battery, an unknown state or an unknown charge show 100, the way a
// device on its cradle's power shows a full charge.
int batteryPercentOf(SDL_PowerState state, int percent);

class SdlDeviceStatus final : public DeviceStatus {
  public:
    LocalDateTime localTime() override;
    int batteryPercent() override;
    MemoryFacts memory() override;
    uint64_t freeStorageBytes(const std::string& folder) override;
};

}  // namespace zeku
