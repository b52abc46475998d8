// The checks run in the order a user would fix things: the file, then the
// package, then the entry, then its data.
#include "player/shell/start_problem.h"

#include "common/pack/pack_format.h"
#include "platform/api/file_system.h"

namespace zeku {

std::string describeStartProblem(PackReader& reader, const std::string& packagePath) {
    const char* path = packagePath.c_str();
    if (fileExists(path) == 0) {
        return "missing or not a regular file (convert the game into this folder with convZeku)";
    }
    const uint8_t* directory = reader.open(path, true);
    PackHeader header;
    if (directory == nullptr || !readPackHeader(directory, kPackHeaderSize, header)) {
        return "not a package (damaged, or another kind of file)";
    }
    const auto directorySize = static_cast<size_t>(packDirectoryEnd(header.entryCount));
    if (findPackEntry(directory, directorySize, kStartScriptName) < 0) {
        return std::string("holds no \"") + kStartScriptName + "\"";
    }
    if (!reader.read(path, kStartScriptName)) {
        return std::string("\"") + kStartScriptName + "\" is damaged";
    }
    return {};
}

}  // namespace zeku
