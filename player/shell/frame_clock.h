// The 16 ms game tick. Late ticks are dropped, never replayed, so after a
// stall the game advances one frame, not several.
#pragma once

#include <cstdint>

namespace zeku {

struct FrameClock {
    uint32_t nowMs = 0;
    uint32_t nextTickMs = 0;
    uint32_t intervalMs = 16;
    uint32_t nextSecondMs = 0;
    uint32_t secondMs = 1000;
    int ticksThisSecond = 0;
    int framesPerSecond = 0;  // ticks counted in the previous whole second
    bool started = false;
};

void startFrameClock(FrameClock& clock, uint32_t nowMs, uint32_t intervalMs);

// True when at least one tick became due since the last poll.
bool pollFrameClock(FrameClock& clock, uint32_t nowMs);

// Milliseconds until the next tick (0 when one is due), for idle sleeping.
uint32_t msUntilNextTick(const FrameClock& clock, uint32_t nowMs);

}  // namespace zeku
