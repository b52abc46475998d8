// Reading the kernel's memory summary (/proc/meminfo) into the figures the
// menu's status line shows: memory still available and how much is in use.
#pragma once

#include <string_view>

#include "platform/api/device_status.h"

namespace zeku {

// From the text of /proc/meminfo: available bytes from "MemAvailable" (or,
// on kernels without it, "MemFree" + "Buffers" + "Cached") and the load as
// the rounded share of "MemTotal" not available. Missing or unreadable
// figures count as 0; a text without "MemTotal" gives load 0.
MemoryFacts parseMemInfo(std::string_view text);

}  // namespace zeku
