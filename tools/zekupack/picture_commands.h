// The picture half of the package tool: ".rbp" files to PNG and back, so a
// user can look at a game's pictures and replace them.
#pragma once

#include <string>

namespace zeku {

// 0 on success; one line on stderr and non-zero on failure.
int rbpToPng(const std::string& rbpPath, const std::string& pngPath);
// `quality` is 0 (raw RGB565, lossless after the first conversion), or the
// JBP1 quality 100, 90 or 80.
int pngToRbp(const std::string& pngPath, const std::string& rbpPath, int quality);

// A --quality value: "0", "100", "90" or "80". False for anything else.
bool parsePictureQuality(const std::string& text, int& quality);

}  // namespace zeku
