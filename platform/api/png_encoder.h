// PNG pictures encoded into memory, for tools that build files to put into
// archives rather than onto disk (the demo game generator, test fixtures).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zeku {

// Pixels are 8-bit RGB or RGBA (straight alpha), rows top-down and packed
// (width * 3 or width * 4 bytes apart). `out` receives the whole file.
// Equal inputs give equal bytes. False with `error` set on failure.
bool encodePngRgb(int width, int height, const uint8_t* rgb, std::vector<uint8_t>& out,
                  std::string& error);
bool encodePngRgba(int width, int height, const uint8_t* rgba, std::vector<uint8_t>& out,
                   std::string& error);

}  // namespace zeku
