// PNG pictures encoded into memory, for tools that build files to put into
// archives rather than onto disk (the demo game generator, test fixtures).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zeku {

// A text chunk ("tEXt"): a keyword of 1 to 79 printable ASCII characters
// and Latin-1 text without zero bytes. Tools keep facts about a picture
// here that its pixels cannot carry.
struct PngText {
    std::string keyword;
    std::string text;
};

// Pixels are 8-bit RGB or RGBA (straight alpha), rows top-down and packed
// (width * 3 or width * 4 bytes apart). `out` receives the whole file; the
// texts go before the image data, in their order. Equal inputs give equal
// bytes. False with `error` set on failure, including a bad keyword.
bool encodePngRgb(int width, int height, const uint8_t* rgb, std::vector<uint8_t>& out,
                  std::string& error, const std::vector<PngText>& texts = {});
bool encodePngRgba(int width, int height, const uint8_t* rgba, std::vector<uint8_t>& out,
                   std::string& error, const std::vector<PngText>& texts = {});

}  // namespace zeku
