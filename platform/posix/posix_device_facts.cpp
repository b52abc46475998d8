// Host calls behind DeviceStatus, shared by the desktop's implementation.
#include "platform/posix/posix_device_facts.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <ctime>

#include "platform/posix/mem_info.h"

namespace zeku {

LocalDateTime localDateTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    LocalDateTime t;
    if (localtime_r(&now, &parts) == nullptr) return t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    return t;
}

MemoryFacts memoryNow() {
    const int fd = ::open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    // The file is a couple of kilobytes; what lies beyond this is not needed.
    char text[16384];
    size_t length = 0;
    while (length < sizeof(text)) {
        const ssize_t got = ::read(fd, text + length, sizeof(text) - length);
        if (got <= 0) break;
        length += static_cast<size_t>(got);
    }
    ::close(fd);
    return parseMemInfo(std::string_view(text, length));
}

uint64_t freeStorageAt(const std::string& folder) {
    struct statvfs info {};
    if (::statvfs(folder.empty() ? "." : folder.c_str(), &info) != 0) return 0;
    return static_cast<uint64_t>(info.f_bavail) * static_cast<uint64_t>(info.f_frsize);
}

}  // namespace zeku
