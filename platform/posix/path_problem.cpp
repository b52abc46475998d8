// What lies at a path, told from stat() and a trial open().
#include "platform/api/path_problem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zeku {
namespace {

// "a folder, not a file" and the like.
std::string kindInstead(mode_t mode, const char* wanted) {
    const char* kind = "something else";
    if (S_ISREG(mode)) kind = "a regular file";
    if (S_ISDIR(mode)) kind = "a folder";
    if (S_ISFIFO(mode)) kind = "a FIFO";
    if (S_ISSOCK(mode)) kind = "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) kind = "a device";
    return std::string(kind) + ", not " + wanted;
}

// Opens and closes at once: the open's errno is the reason, if any.
std::string openProblem(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    return {};
}

}  // namespace

std::string fileProblem(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return std::strerror(errno);
    // Checked before opening: opening a FIFO would wait for a writer.
    if (!S_ISREG(info.st_mode)) return kindInstead(info.st_mode, "a file");
    return openProblem(path, O_RDONLY);
}

std::string folderProblem(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return std::strerror(errno);
    if (!S_ISDIR(info.st_mode)) return kindInstead(info.st_mode, "a folder");
    return openProblem(path, O_RDONLY | O_DIRECTORY);
}

bool pathExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace zeku
