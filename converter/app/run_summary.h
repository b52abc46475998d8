// The few lines a front end shows when a run has ended: where the package
// went, what went in and out, how long it took, and what was left out.
#pragma once

#include <string>

#include "converter/pipeline/pack_writer.h"

namespace zeku {

// The longest warning list a summary spells out; the rest are counted.
inline constexpr int kSummaryWarningsShown = 10;

// English, UTF-8 (paths as the host spells them). A failed run gives its
// error in place of the figures.
std::string runSummary(const PackWriterReport& report, double seconds);

}  // namespace zeku
