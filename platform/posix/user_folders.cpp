// The XDG base folders and the write check. A relative XDG value is ignored,
// as the XDG rules say, and the home folder comes from $HOME or the password
// database.
#include "platform/api/user_folders.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace zeku {
namespace {

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

std::string baseFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') return withSlash(value);
    const std::string home = homeFolder();
    if (home.empty()) return {};
    return withSlash(home) + underHome;
}

}  // namespace

UserFolders userFolders() {
    return UserFolders{baseFolder("XDG_CONFIG_HOME", ".config/"),
                       baseFolder("XDG_DATA_HOME", ".local/share/")};
}

bool folderExists(const std::string& folder) {
    struct stat info;
    return !folder.empty() && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool folderWritable(const std::string& folder) {
    return folderExists(folder) &&
           ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace zeku
