// The real clock. Wall-clock time would jump with NTP or the user's changes;
// the monotonic one never does, which is what frame pacing needs.
#include <cerrno>
#include <ctime>

#include "platform/posix/monotonic_clock.h"

namespace zeku {

uint32_t MonotonicClock::nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Widen first: seconds * 1000 overflows 32 bits after seven weeks of uptime.
    const uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void MonotonicClock::sleepMs(uint32_t ms) {
    timespec request{};
    request.tv_sec = static_cast<time_t>(ms / 1000u);
    request.tv_nsec = static_cast<long>(ms % 1000u) * 1000000L;
    timespec remaining{};
    // A signal cuts the sleep short; carry on with what is left of it.
    while (nanosleep(&request, &remaining) != 0 && errno == EINTR) {
        request = remaining;
    }
}

}  // namespace zeku
