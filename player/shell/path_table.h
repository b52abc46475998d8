// The player's file locations. Packages and music are always read from
// "data/" under the program folder. What the player writes (the save
// folder and "zeku.cfg") stays beside the program when it may write there;
// an installed copy that may not keeps them in the user's XDG folders, one
// folder per game named after the program folder.
#pragma once

#include <string>
#include <string_view>

#include "platform/api/user_folders.h"

namespace zeku {

inline constexpr char kSettingsFileName[] = "zeku.cfg";

struct PathTable {
    std::string saveFolder;
    std::string imagePackage;
    std::string scriptPackage;
    std::string soundPackage;
    std::string musicFolder;
    std::string settingsFile;
    // The "zeku.cfg" shipped beside the program, read while the per-user
    // one does not exist yet; empty when the settings file is that one.
    std::string settingsSeed;
};

// What the host says about the folders (hostPathFacts asks it).
struct PathFacts {
    bool programFolderWritable = true;
    bool saveFolderWritable = true;  // "data/", or the program folder while it is missing
    UserFolders user;
};

PathFacts hostPathFacts(const std::string& programFolder);

// `programFolder` ends in "/" (one is added when missing).
PathTable makePathTable(std::string programFolder, const char* packageName, const PathFacts& facts);
// As above, with the host's facts.
PathTable makePathTable(std::string programFolder, const char* packageName);

// The per-user folder's name for a program folder: its last component
// ("torune" for "/opt/torune/"), or "default" when it has none.
std::string gameFolderName(std::string_view programFolder);

}  // namespace zeku
