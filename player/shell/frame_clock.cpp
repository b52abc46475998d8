// Tick bookkeeping. Times are 32-bit tick counts, so every comparison is made
// on the signed difference and survives the counter wrapping.
#include "player/shell/frame_clock.h"

namespace zeku {
namespace {

bool reached(uint32_t now, uint32_t when) {
    return static_cast<int32_t>(now - when) >= 0;
}

}  // namespace

void startFrameClock(FrameClock& clock, uint32_t nowMs, uint32_t intervalMs) {
    clock.nowMs = nowMs;
    clock.intervalMs = intervalMs == 0 ? 1 : intervalMs;
    clock.nextTickMs = nowMs + clock.intervalMs;
    clock.nextSecondMs = nowMs + clock.secondMs;
    clock.ticksThisSecond = 0;
    clock.framesPerSecond = 0;
    clock.started = true;
}

bool pollFrameClock(FrameClock& clock, uint32_t nowMs) {
    if (!clock.started) return false;
    clock.nowMs = nowMs;
    if (reached(nowMs, clock.nextSecondMs)) {
        // Whole seconds without a poll count as seconds without frames.
        const uint32_t seconds = (nowMs - clock.nextSecondMs) / clock.secondMs;
        clock.framesPerSecond = seconds == 0 ? clock.ticksThisSecond : 0;
        clock.ticksThisSecond = 0;
        clock.nextSecondMs += (seconds + 1) * clock.secondMs;
    }
    if (!reached(nowMs, clock.nextTickMs)) return false;
    // Step past every tick that is already late in one go, then count one.
    const uint32_t late = (nowMs - clock.nextTickMs) / clock.intervalMs;
    clock.nextTickMs += (late + 1) * clock.intervalMs;
    ++clock.ticksThisSecond;
    return true;
}

uint32_t msUntilNextTick(const FrameClock& clock, uint32_t nowMs) {
    if (!clock.started || reached(nowMs, clock.nextTickMs)) return 0;
    return clock.nextTickMs - nowMs;
}

}  // namespace zeku
