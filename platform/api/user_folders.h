// The host's answers for where a player keeps what it writes: whether a
// folder can be written, and the user's own configuration and data folders
// for a copy installed where it cannot write beside itself.
#pragma once

#include <string>

namespace zeku {

struct UserFolders {
    // Each ends in "/"; empty when the host does not say (no home folder).
    std::string configHome;  // $XDG_CONFIG_HOME, else ~/.config/
    std::string dataHome;    // $XDG_DATA_HOME, else ~/.local/share/
};

UserFolders userFolders();

bool folderExists(const std::string& folder);
// True when `folder` exists and this process may create files in it.
bool folderWritable(const std::string& folder);

}  // namespace zeku
