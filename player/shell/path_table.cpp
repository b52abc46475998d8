// Builds the path table from the program folder and where the host lets
// the player write.
#include "player/shell/path_table.h"

namespace zeku {
namespace {

std::string withSlash(std::string folder) {
    if (folder.empty()) folder = "./";
    if (folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

std::string gameFolderName(std::string_view programFolder) {
    while (!programFolder.empty() && programFolder.back() == '/')
        programFolder.remove_suffix(1);
    const size_t slash = programFolder.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? programFolder : programFolder.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return "default";
    return std::string(name);
}

PathFacts hostPathFacts(const std::string& programFolder) {
    const std::string folder = withSlash(programFolder);
    PathFacts facts;
    // A program folder that is not there (a mistyped --root, a test) has
    // nothing to keep, and must not send its files to the user's folders.
    facts.programFolderWritable = !folderExists(folder) || folderWritable(folder);
    const std::string data = folder + "data/";
    // A missing "data/" would be made in the program folder.
    facts.saveFolderWritable =
        folderExists(data) ? folderWritable(data) : facts.programFolderWritable;
    if (!facts.programFolderWritable || !facts.saveFolderWritable) facts.user = userFolders();
    return facts;
}

PathTable makePathTable(std::string programFolder, const char* packageName,
                        const PathFacts& facts) {
    programFolder = withSlash(std::move(programFolder));
    PathTable paths;
    paths.musicFolder = programFolder + "data/";
    paths.imagePackage = programFolder + packageName;
    paths.scriptPackage = paths.imagePackage;
    paths.soundPackage = paths.imagePackage;

    const std::string game = gameFolderName(programFolder) + "/";
    const std::string besideProgram = programFolder + kSettingsFileName;
    if (facts.programFolderWritable || facts.user.configHome.empty()) {
        paths.settingsFile = besideProgram;
    } else {
        paths.settingsFile = facts.user.configHome + "zeku/" + game + kSettingsFileName;
        paths.settingsSeed = besideProgram;
    }
    if (facts.saveFolderWritable || facts.user.dataHome.empty()) {
        paths.saveFolder = paths.musicFolder;
    } else {
        paths.saveFolder = facts.user.dataHome + "zeku/" + game;
    }
    return paths;
}

PathTable makePathTable(std::string programFolder, const char* packageName) {
    const PathFacts facts = hostPathFacts(programFolder);
    return makePathTable(std::move(programFolder), packageName, facts);
}

}  // namespace zeku
