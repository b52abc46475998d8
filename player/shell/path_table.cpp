// Builds the path table from the program folder.
#include "player/shell/path_table.h"

namespace zeku {

PathTable makePathTable(std::string programFolder, const char* packageName) {
    if (programFolder.empty()) programFolder = "./";
    if (programFolder.back() != '/') programFolder += '/';
    PathTable paths;
    paths.saveFolder = programFolder + "data/";
    paths.musicFolder = paths.saveFolder;
    paths.imagePackage = programFolder + packageName;
    paths.scriptPackage = paths.imagePackage;
    paths.soundPackage = paths.imagePackage;
    return paths;
}

}  // namespace zeku
