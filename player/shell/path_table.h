// The player's file locations, all under the program folder: the save and
// music folder "data/" and the package file for images, scripts and sounds.
#pragma once

#include <string>

namespace zeku {

struct PathTable {
    std::string saveFolder;
    std::string imagePackage;
    std::string scriptPackage;
    std::string soundPackage;
    std::string musicFolder;
};

// `programFolder` ends in "/" (one is added when missing).
PathTable makePathTable(std::string programFolder, const char* packageName);

}  // namespace zeku
