// The executable's folder, read from /proc/self/exe so it does not depend on
// the working directory or on how the program was started.
#include <unistd.h>

#include <string>

#include "platform/api/program_folder.h"

namespace zeku {

std::string programFolder() {
    // readlink does not say whether it truncated, so grow until the result
    // is shorter than the buffer.
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) return "./";
        if (static_cast<size_t>(length) < path.size()) {
            path.resize(static_cast<size_t>(length));
            break;
        }
        if (path.size() >= 65536) return "./";
        path.resize(path.size() * 2);
    }
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "./";
    path.resize(slash + 1);
    return path;
}

}  // namespace zeku
