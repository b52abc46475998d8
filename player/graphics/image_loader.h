// Loading ".rbp" pictures from the package into images: the name rules of
// the image-loading command, the loader itself and the system image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "player/graphics/image.h"
#include "player/graphics/image_slots.h"

namespace zeku {

class PackReader;

// Loader names must be shorter than this.
inline constexpr size_t kImageNameLimit = 64;
inline constexpr const char* kSystemImageName = "./sysetc.rbp";

// `name` with its extension (from the last "." of the file part) replaced
// by ".rbp", or ".rbp" appended when it has none.
std::string withRbpExtension(std::string_view name);
// The command's file name: withRbpExtension, and the one picture the game
// names differently in the package.
std::string rbpNameForCommand(std::string_view name);

// Puts a whole ".rbp" file into the image: the size becomes the file's
// (the pixels are reallocated only when the picture does not fit, and
// then only within `roomBytes`), stored alpha that is non-zero gets its two
// low bits set, and a type this format does not know sets the size and
// copies nothing. False for a damaged file, a picture past the room (the
// pixels are kept then) or when memory runs out; the name is not touched.
bool putRbpIntoImage(const uint8_t* data, size_t size, Image& image, size_t roomBytes = SIZE_MAX);

// Reads `name` from the package at `packPath` and puts it into the image,
// recording the name when asked. Fails for a name of 64 bytes or more, a
// package path ending in a separator (no package file), a missing reader,
// a missing or damaged file, or a picture past `roomBytes`; the image then
// keeps its pixels and its recorded name is cleared. An extension ".rbp"
// in any case is lowered.
bool loadImageFile(PackReader* reader, const char* packPath, std::string_view name, Image& image,
                   bool recordName = true, size_t roomBytes = SIZE_MAX);

// The image-loading command: 1 loaded, 0 failed (or the slot is out of
// range, which raises kErrorBadImageSlot), -1 when the slot already holds
// that file and nothing was loaded. An empty slot first gets an image of
// the default size; a larger picture gets room within the slots' budget.
int loadImageForCommand(ImageSlots& slots, int slot, std::string_view name, PackReader* reader,
                        const char* packPath, int screenWidth, int screenHeight,
                        uint32_t& errorWord);

// Creates the system image (640 × 480 script units scaled to the screen),
// loads kSystemImageName into it without recording the name and rebuilds
// its mask. False when creation or loading fails.
bool loadSystemImage(PackReader* reader, const char* packPath, int screenWidth, int screenHeight,
                     Image& image);
// The mask: in the top rows, the alpha of each pixel of one strip comes from
// the high colour byte of the pixel a fixed distance to its right.
void rebuildSystemMask(Image& image, int screenWidth, int screenHeight);

}  // namespace zeku
