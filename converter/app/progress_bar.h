// The progress line drawn as a bar for a terminal.
#pragma once

#include <string>

namespace zeku {

// "[#########.........]  42% " followed by the progress line (UTF-8),
// `barWidth` cells wide; count 0 draws an empty bar.
std::string renderProgressBar(const std::string& lineUtf8, int done, int count, int barWidth);

}  // namespace zeku
