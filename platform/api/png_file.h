// PNG pictures as 8-bit RGB or RGBA rows, top-down: screenshots written by
// the player, pictures read and written by the tools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zeku {

// Writes through a temporary name and renames, so a failed write leaves no
// partial file. False with `error` set on failure.
bool writePngRgb(const std::string& path, int width, int height, const uint8_t* rgb,
                 std::string& error);
bool writePngRgba(const std::string& path, int width, int height, const uint8_t* rgba,
                  std::string& error);

struct PngPicture {
    int width = 0;
    int height = 0;
    int channels = 3;  // 3: RGB, 4: RGBA (straight, not premultiplied)
    std::vector<uint8_t> pixels;
};

// Any PNG (palette, grey, 16-bit, with or without transparency) as 8-bit
// RGB, or RGBA when it has alpha. False with `error` set on failure.
bool readPng(const std::string& path, PngPicture& picture, std::string& error);
bool readPngMemory(const uint8_t* bytes, size_t size, PngPicture& picture, std::string& error);

}  // namespace zeku
