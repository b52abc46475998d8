// A clock that moves only when the player sleeps, so a headless run takes
// the same frames for the same input every time, as fast as the CPU allows.
#pragma once

#include "platform/api/clock.h"

namespace zeku {

class VirtualClock final : public Clock {
  public:
    explicit VirtualClock(uint32_t startMs = 1000) : nowMs_(startMs) {}
    uint32_t nowMs() override { return nowMs_; }
    void sleepMs(uint32_t ms) override { nowMs_ += ms; }
    void advance(uint32_t ms) { nowMs_ += ms; }

  private:
    uint32_t nowMs_;
};

}  // namespace zeku
