// Why a path cannot serve as a file to read or a folder, in words for a
// message. Lookups such as findFileIgnoringCase only see regular files;
// these say what stands in the way when they come back empty, since a
// folder or a pipe where a file belongs needs another fix than a missing
// file.
#pragma once

#include <string>

namespace zeku {

// Empty when `path` is a regular file that opens for reading; otherwise a
// few words to follow "path: ": "a folder, not a file", "a FIFO, not a
// file", or the system's reason ("No such file or directory",
// "Permission denied"). A FIFO is never opened, so this does not block.
std::string fileProblem(const std::string& path);

// The same for a folder that is to be listed: "a regular file, not a
// folder", the system's reason, or empty.
std::string folderProblem(const std::string& path);

// Whether anything at all is at `path`, links followed.
bool pathExists(const std::string& path);

}  // namespace zeku
