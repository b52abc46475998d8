// Hashed sets of names under the system's one name comparison (textEquals),
// for the places that must find the first of several equal names quickly:
// the archive merge, the package writer and the package tool.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "common/text/sjis.h"

namespace zeku {

// A hash that agrees with textEquals: ASCII letters folded, double-byte
// pairs taken as they are (their trail bytes may look like letters).
struct TextNameHash {
    size_t operator()(std::string_view name) const;
};

struct TextNameEquals {
    bool operator()(std::string_view a, std::string_view b) const { return textEquals(a, b) == 1; }
};

// Owning its names; sets of views are declared the same way where the
// names outlive the set.
using TextNameSet = std::unordered_set<std::string, TextNameHash, TextNameEquals>;
template <typename T>
using TextNameMap = std::unordered_map<std::string, T, TextNameHash, TextNameEquals>;

}  // namespace zeku
