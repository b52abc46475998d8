// Calendar arithmetic by day numbers: the date is turned into days since
// 1970-01-01, the seconds are added, and the sum turned back.
#include "platform/headless/headless_device_status.h"

namespace zeku {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a Gregorian date, for any year.
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, LocalDateTime& t) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp + (mp < 10 ? 3 : -9);
    t.year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    t.month = static_cast<int>(m);
    t.day = static_cast<int>(d);
}

}  // namespace

LocalDateTime dateAfter(const LocalDateTime& start, uint64_t seconds) {
    const int64_t startSeconds =
        daysFromCivil(start.year, start.month, start.day) * kSecondsPerDay + start.hour * 3600 +
        start.minute * 60 + start.second;
    const int64_t total = startSeconds + static_cast<int64_t>(seconds);
    int64_t days = total / kSecondsPerDay;
    int64_t rest = total % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    LocalDateTime t;
    civilFromDays(days, t);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

HeadlessDeviceStatus::HeadlessDeviceStatus(Clock& clock, HeadlessDeviceFacts facts)
    : clock_(clock), facts_(facts), startMs_(clock.nowMs()) {}

LocalDateTime HeadlessDeviceStatus::localTime() {
    // Unsigned difference: right across the tick count's wrap.
    const uint32_t elapsedMs = clock_.nowMs() - startMs_;
    return dateAfter(facts_.start, elapsedMs / 1000);
}

}  // namespace zeku
