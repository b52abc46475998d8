// The progress line drawn as a bar for a terminal.
#include "converter/app/progress_bar.h"

#include <algorithm>

namespace zeku {

std::string renderProgressBar(const std::string& lineUtf8, int done, int count, int barWidth) {
    barWidth = std::max(barWidth, 1);
    const long long total = std::max(count, 0);
    const long long finished = std::clamp<long long>(done, 0, total);
    const long long filled = total == 0 ? 0 : finished * barWidth / total;
    const long long percent = total == 0 ? 0 : finished * 100 / total;
    std::string bar = "[";
    bar.append(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(barWidth - filled), '.');
    bar += "] ";
    const std::string digits = std::to_string(percent);
    bar.append(3 - std::min<size_t>(3, digits.size()), ' ');
    bar += digits + "% " + lineUtf8;
    return bar;
}

}  // namespace zeku
