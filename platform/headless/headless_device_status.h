// The device facts of a headless run: a fixed start date that moves with
// the run's clock, and fixed battery, memory and storage figures, so
// screenshots and save dates come out the same on every machine.
#pragma once

#include <cstdint>

#include "platform/api/clock.h"
#include "platform/api/device_status.h"

namespace zeku {

struct HeadlessDeviceFacts {
    LocalDateTime start{2006, 1, 4, 17, 30, 0};
    int batteryPercent = 87;
    MemoryFacts memory{40ull << 20, 38};
    uint64_t freeStorageBytes = 256ull << 20;
};

// `dateAfter(start, seconds)`: the calendar date and time that many seconds
// later (proleptic Gregorian, no time zone changes).
LocalDateTime dateAfter(const LocalDateTime& start, uint64_t seconds);

class HeadlessDeviceStatus final : public DeviceStatus {
  public:
    // The start date is the clock's time now; `clock` must outlive this.
    explicit HeadlessDeviceStatus(Clock& clock, HeadlessDeviceFacts facts = {});

    LocalDateTime localTime() override;
    int batteryPercent() override { return facts_.batteryPercent; }
    MemoryFacts memory() override { return facts_.memory; }
    uint64_t freeStorageBytes(const std::string&) override { return facts_.freeStorageBytes; }

  private:
    Clock& clock_;
    HeadlessDeviceFacts facts_;
    uint32_t startMs_;
};

}  // namespace zeku
