// A line-by-line scan of "Name:   value kB"; anything else is skipped.
#include "platform/posix/mem_info.h"

#include <cstdint>

namespace zeku {
namespace {

struct Fields {
    uint64_t total = 0, available = 0, free = 0, buffers = 0, cached = 0;
    bool hasAvailable = false;
};

// The value of one line in bytes; the kernel gives kB. Digits beyond what
// 64 bits hold are ignored rather than wrapped.
uint64_t valueOf(std::string_view rest) {
    size_t i = 0;
    while (i < rest.size() && (rest[i] == ' ' || rest[i] == '\t'))
        ++i;
    uint64_t value = 0;
    for (; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i) {
        if (value > (UINT64_MAX >> 10) / 10) break;
        value = value * 10 + static_cast<uint64_t>(rest[i] - '0');
    }
    while (i < rest.size() && rest[i] == ' ')
        ++i;
    const bool kilobytes = rest.substr(i, 2) == "kB";
    return kilobytes ? value << 10 : value;
}

}  // namespace

MemoryFacts parseMemInfo(std::string_view text) {
    Fields f;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, colon);
        const uint64_t value = valueOf(line.substr(colon + 1));
        if (name == "MemTotal") {
            f.total = value;
        } else if (name == "MemAvailable") {
            f.available = value;
            f.hasAvailable = true;
        } else if (name == "MemFree") {
            f.free = value;
        } else if (name == "Buffers") {
            f.buffers = value;
        } else if (name == "Cached") {
            f.cached = value;
        }
    }
    MemoryFacts facts;
    facts.availableBytes = f.hasAvailable ? f.available : f.free + f.buffers + f.cached;
    if (f.total > 0) {
        const uint64_t available = facts.availableBytes < f.total ? facts.availableBytes : f.total;
        // Percent in whole units, rounded; kB figures keep the product in range.
        const uint64_t usedKb = (f.total - available) >> 10;
        const uint64_t totalKb = f.total >> 10;
        facts.loadPercent =
            totalKb > 0 ? static_cast<int>((usedKb * 100 + totalKb / 2) / totalKb) : 0;
    }
    return facts;
}

}  // namespace zeku
