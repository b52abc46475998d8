// Writing a screenshot as a PNG file (8-bit RGB rows, top-down).
#pragma once

#include <cstdint>
#include <string>

namespace zeku {

// Writes through a temporary name and renames, so a failed write leaves no
// partial file. False with `error` set on failure.
bool writePngRgb(const std::string& path, int width, int height, const uint8_t* rgb,
                 std::string& error);

}  // namespace zeku
