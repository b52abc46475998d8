// The package half of the package tool: list, extract and create.
#pragma once

#include <string>
#include <vector>

namespace zeku {

// Each returns 0 on success; on failure it prints one line to stderr and
// returns non-zero. Nothing is written half-way.
int listPackage(const std::string& packagePath);
int extractPackage(const std::string& packagePath, const std::string& folder,
                   const std::vector<std::string>& names);
int createPackage(const std::string& packagePath, const std::string& folder);

}  // namespace zeku
