// PNG pictures as 8-bit rows, top-down: screenshots written by the player,
// pictures read and written by the tools, the converter's source pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/png_encoder.h"

namespace zeku {

// Writes through a temporary name and renames, so a failed write leaves no
// partial file. The texts go into text chunks (see encodePngRgb). False
// with `error` set on failure.
bool writePngRgb(const std::string& path, int width, int height, const uint8_t* rgb,
                 std::string& error, const std::vector<PngText>& texts = {});
bool writePngRgba(const std::string& path, int width, int height, const uint8_t* rgba,
                  std::string& error, const std::vector<PngText>& texts = {});

struct PngPicture {
    int width = 0;
    int height = 0;
    int channels = 3;  // 3: RGB, 4: RGBA (straight, not premultiplied)
    std::vector<uint8_t> pixels;
    // The text chunks that come before the image data, in file order
    // (those after it are not read).
    std::vector<PngText> texts;
};

// Any PNG (palette, grey, 16-bit, with or without transparency) as 8-bit
// RGB, or RGBA when it has alpha, samples as stored (no gamma handling;
// 16-bit samples keep their high byte). Pictures over kReadPngMaxPixels are
// refused. False with `error` set on failure.
inline constexpr size_t kReadPngMaxPixels = size_t{1} << 26;
bool readPng(const std::string& path, PngPicture& picture, std::string& error);
bool readPngMemory(const uint8_t* bytes, size_t size, PngPicture& picture, std::string& error);

// A PNG as the converter stores pictures: 8-bit blue-green-red rows
// (channels 3) or blue-green-red-alpha rows (channels 4), top-down, no
// padding, alpha inverted (0 opaque, 255 clear).
struct PngBgrPicture {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<uint8_t> pixels;
    std::vector<PngText> texts;  // as in PngPicture
};

// Reads a PNG from memory with sample values left as stored: no gamma or
// colour-space handling, unlike readPngMemory. Palettes are expanded,
// grey becomes three equal channels, 16-bit samples keep their high byte
// and a transparency chunk becomes alpha. Pictures with more than
// `maxPixels` pixels or a side above 65535 are refused before their rows
// are allocated. False with `error` set on failure.
bool readPngBgrInvertedAlpha(const uint8_t* bytes, size_t size, size_t maxPixels,
                             PngBgrPicture& picture, std::string& error);

}  // namespace zeku
