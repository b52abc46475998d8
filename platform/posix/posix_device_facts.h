// The facts about this machine the menu's status line and a save's date
// need, as POSIX tells them: local time, memory and free storage.
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/device_status.h"

namespace zeku {

// The local time (localtime_r of the wall clock).
LocalDateTime localDateTimeNow();
// From /proc/meminfo; zeros when it cannot be read.
MemoryFacts memoryNow();
// Bytes an unprivileged writer may still use on the file system holding
// `folder` (statvfs); 0 when it cannot be asked.
uint64_t freeStorageAt(const std::string& folder);

}  // namespace zeku
