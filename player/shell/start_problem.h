// Why the game cannot start from its package, in words a user can act on.
// The player still runs (an empty screen) when it cannot; it says why once.
#pragma once

#include <string>

#include "player/data/pack_reader.h"

namespace zeku {

inline constexpr char kStartScriptName[] = "./script.txt";

// Empty when the start script reads from the package at `packagePath`;
// else the cause, ASCII, without the path ("missing ...", "not a package
// ...", "holds no \"./script.txt\"", "\"./script.txt\" is damaged").
std::string describeStartProblem(PackReader& reader, const std::string& packagePath);

}  // namespace zeku
