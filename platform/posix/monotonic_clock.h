// The real clock: CLOCK_MONOTONIC milliseconds, truncated so they wrap like
// a 32-bit tick count, and nanosleep that survives signals.
#pragma once

#include <cstdint>

#include "platform/api/clock.h"

namespace zeku {

class MonotonicClock final : public Clock {
  public:
    uint32_t nowMs() override;
    void sleepMs(uint32_t ms) override;
};

}  // namespace zeku
