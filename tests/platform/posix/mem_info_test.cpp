// /proc/meminfo as kernels write it: the available figure, the older
// kernels' fallback, the load's rounding, and damaged or partial texts.
#include "platform/posix/mem_info.h"

#include <gtest/gtest.h>

#include "platform/posix/posix_device_facts.h"

namespace zeku {
namespace {

constexpr char kModern[] =
    "MemTotal:        8000000 kB\n"
    "MemFree:          500000 kB\n"
    "MemAvailable:    6000000 kB\n"
    "Buffers:          100000 kB\n"
    "Cached:          2000000 kB\n"
    "SwapCached:            0 kB\n"
    "HugePages_Total:       0\n";

// Before MemAvailable existed: free + buffers + cached.
constexpr char kOld[] =
    "MemTotal:        1000000 kB\n"
    "MemFree:          100000 kB\n"
    "Buffers:           50000 kB\n"
    "Cached:           200000 kB\n"
    "SwapCached:         1234 kB\n";

TEST(MemInfo, FiguresFromSampleTexts) {
    struct Case {
        const char* name;
        std::string text;
        uint64_t availableBytes;
        int loadPercent;
    } cases[] = {
        {"modern", kModern, 6000000ull * 1024, 25},
        {"old kernel", kOld, 350000ull * 1024, 65},
        // 1/3 in use rounds down, 2/3 rounds up.
        {"third", "MemTotal: 3000 kB\nMemAvailable: 2000 kB\n", 2000ull * 1024, 33},
        {"two thirds", "MemTotal: 3000 kB\nMemAvailable: 1000 kB\n", 1000ull * 1024, 67},
        {"all free", "MemTotal: 4096 kB\nMemAvailable: 4096 kB\n", 4096ull * 1024, 0},
        // More available than total (a racing read) counts as nothing in use.
        {"over", "MemTotal: 100 kB\nMemAvailable: 200 kB\n", 200ull * 1024, 0},
        {"no total", "MemAvailable: 2048 kB\n", 2048ull * 1024, 0},
        {"no trailing newline", "MemTotal: 1000 kB\nMemAvailable: 250 kB", 250ull * 1024, 75},
        {"CRLF and tabs", "MemTotal:\t1000 kB\r\nMemAvailable:\t500 kB\r\n", 500ull * 1024, 50},
        {"empty", "", 0, 0},
        {"junk", "no colon here\n:::\nMemAvailable: x kB\nMemTotal\n", 0, 0},
        {"prefix is not the name", "XMemAvailable: 9 kB\nMemAvailableX: 9 kB\n", 0, 0},
        // 2^64 bytes do not fit: the digits stop before the value overflows.
        {"huge", "MemTotal: 99999999999999999999999 kB\nMemAvailable: 0 kB\n", 0, 100},
    };
    for (const Case& c : cases) {
        const MemoryFacts facts = parseMemInfo(c.text);
        EXPECT_EQ(facts.availableBytes, c.availableBytes) << c.name;
        EXPECT_EQ(facts.loadPercent, c.loadPercent) << c.name;
    }
}

TEST(MemInfo, ThisMachineAnswers) {
    const MemoryFacts memory = memoryNow();
    EXPECT_GT(memory.availableBytes, 0u);
    EXPECT_GE(memory.loadPercent, 0);
    EXPECT_LE(memory.loadPercent, 100);
    EXPECT_GT(freeStorageAt("/tmp"), 0u);
    EXPECT_EQ(freeStorageAt("/nonexistent/folder"), 0u);
    const LocalDateTime now = localDateTimeNow();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
}

}  // namespace
}  // namespace zeku
