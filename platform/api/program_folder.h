// The folder of the running executable, the base of the player's paths.
#pragma once

#include <string>

namespace zeku {

// Native bytes, ending in "/"; "./" when it cannot be found.
std::string programFolder();

}  // namespace zeku
