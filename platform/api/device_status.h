// Facts about the device the menu's status line shows and a save's date
// records: the local time, the battery, memory and free storage.
#pragma once

#include <cstdint>
#include <string>

namespace zeku {

struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct MemoryFacts {
    uint64_t availableBytes = 0;  // physical memory still available
    int loadPercent = 0;          // 0..100: how much of it is in use
};

class DeviceStatus {
  public:
    virtual ~DeviceStatus() = default;
    virtual LocalDateTime localTime() = 0;
    // 0..100. A host without a battery reports what its power information
    // says (a desktop on mains power shows 100).
    virtual int batteryPercent() = 0;
    virtual MemoryFacts memory() = 0;
    // Free bytes on the storage holding `folder`; 0 when it cannot be asked.
    virtual uint64_t freeStorageBytes(const std::string& folder) = 0;
};

}  // namespace zeku
