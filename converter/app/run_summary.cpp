// The end-of-run summary shown by the window front end.
#include "converter/app/run_summary.h"

#include <cstdio>

namespace zeku {

namespace {

std::string megabytes(uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

}  // namespace

std::string runSummary(const PackWriterReport& report, double seconds) {
    std::string text;
    if (report.ok) {
        char figures[160];
        std::snprintf(figures, sizeof figures, "%d entries", report.entries);
        text = report.packagePath + "\n" + figures;
        if (report.tracks > 0) text += ", " + std::to_string(report.tracks) + " CD tracks";
        std::snprintf(figures, sizeof figures, ", %.2f s (key 0x%02X)", seconds, report.key);
        text += ", " + megabytes(report.bytesIn) + " in, " + megabytes(report.bytesOut) + " out" +
                figures;
    } else {
        text = report.error;
    }
    const int count = static_cast<int>(report.warnings.size());
    if (count == 0) return text;
    text += "\n" + std::to_string(count) + (count == 1 ? " warning:" : " warnings:");
    for (int i = 0; i < count && i < kSummaryWarningsShown; ++i)
        text += "\n" + report.warnings[static_cast<size_t>(i)];
    if (count > kSummaryWarningsShown)
        text += "\n... and " + std::to_string(count - kSummaryWarningsShown) + " more";
    return text;
}

}  // namespace zeku
