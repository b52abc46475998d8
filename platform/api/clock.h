// Milliseconds and sleeping, as the frame loop needs them. The real clock is
// monotonic; the virtual one makes headless runs deterministic.
#pragma once

#include <cstdint>

namespace zeku {

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since some fixed start; wraps like a 32-bit tick count.
    virtual uint32_t nowMs() = 0;
    virtual void sleepMs(uint32_t ms) = 0;
};

}  // namespace zeku
