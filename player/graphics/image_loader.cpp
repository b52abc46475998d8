// The ".rbp" loader: name rules, package reads and copying decoded pixels
// into an image's rows.
#include "player/graphics/image_loader.h"

#include <algorithm>

#include "common/image/rbp_picture.h"
#include "common/text/sjis.h"
#include "player/data/pack_reader.h"

namespace zeku {
namespace {

// Position of the extension's "." in the file part of the name, or npos.
size_t extensionStart(const std::string& name) {
    const char* text = name.c_str();
    const char* dot = findLastChar(text, '.');
    if (dot == nullptr) return std::string::npos;
    // A "." before the last separator belongs to a folder ("./st/name").
    const char* slash = findLastChar(text, '/');
    const char* backslash = findLastChar(text, '\\');
    if ((slash != nullptr && slash > dot) || (backslash != nullptr && backslash > dot))
        return std::string::npos;
    return static_cast<size_t>(dot - text);
}

uint8_t storedAlpha(uint8_t a) {
    return a == 0 ? 0 : static_cast<uint8_t>(a | 3);
}

bool endsWithSeparator(const char* path) {
    const size_t length = textLength(path);
    if (length == 0) return true;
    // The separator test must not take a double-byte character's trail.
    const char* last = findLastChar(path, '\\');
    const char* slash = findLastChar(path, '/');
    return (last != nullptr && last == path + length - 1) ||
           (slash != nullptr && slash == path + length - 1);
}

}  // namespace

std::string withRbpExtension(std::string_view name) {
    std::string result(name);
    const size_t dot = extensionStart(result);
    if (dot != std::string::npos) result.resize(dot);
    result += ".rbp";
    return result;
}

std::string rbpNameForCommand(std::string_view name) {
    std::string result = withRbpExtension(name);
    // The game asks for a picture the converted package stores under another name.
    if (textEquals(result, "./st/hiyo01.rbp")) result = "./st/hiyo0101.rbp";
    return result;
}

bool putRbpIntoImage(const uint8_t* data, size_t size, Image& image, size_t roomBytes) {
    RbpPicture picture;
    if (!decodeRbpPicture(data, size, picture)) return false;
    const int width = picture.width;
    const int height = picture.height;
    if (width > image.stride || height > image.rows) {
        // Too large for the allocation: give the image room rather than
        // write past its rows, when there is room to give.
        if (imagePixelBytes(width, height) > roomBytes) return false;
        if (!createImage(image, width, height, roomBytes)) return false;
    }
    image.width = static_cast<uint32_t>(width);
    image.height = static_cast<uint32_t>(height);
    if (!picture.hasPixels) return true;
    for (int y = 0; y < height; ++y) {
        const uint16_t* colour = picture.color.get() + static_cast<size_t>(y) * width;
        const uint8_t* alpha = picture.alpha.get() + static_cast<size_t>(y) * width;
        uint8_t* out = image.pixel(0, y);
        for (int x = 0; x < width; ++x, out += k565aBytes) {
            store565(out, colour[x]);
            out[2] = storedAlpha(alpha[x]);
        }
    }
    return true;
}

bool loadImageFile(PackReader* reader, const char* packPath, std::string_view name, Image& image,
                   bool recordName, size_t roomBytes) {
    image.name[0] = '\0';
    if (name.size() >= kImageNameLimit || reader == nullptr || packPath == nullptr ||
        endsWithSeparator(packPath))
        return false;
    std::string fileName(name);
    const size_t dot = extensionStart(fileName);
    if (dot != std::string::npos && textEquals(fileName.c_str() + dot, ".rbp")) {
        fileName.replace(dot, std::string::npos, ".rbp");
    }
    const ByteBuffer file = reader->read(packPath, fileName);
    if (!file) return false;
    if (!putRbpIntoImage(file.data(), file.size(), image, roomBytes)) return false;
    if (recordName) setImageName(image, fileName.c_str());
    return true;
}

int loadImageForCommand(ImageSlots& slots, int slot, std::string_view name, PackReader* reader,
                        const char* packPath, int screenWidth, int screenHeight,
                        uint32_t& errorWord) {
    const std::string fileName = rbpNameForCommand(name);
    Image* image = imageForCommand(slots, slot, screenWidth, screenHeight, errorWord);
    if (image == nullptr) return 0;
    if (textEquals(std::string_view(image->name), fileName)) return -1;
    return loadImageFile(reader, packPath, fileName, *image, true,
                         imageRoomBytes(slots, *image, screenWidth, screenHeight))
               ? 1
               : 0;
}

bool loadSystemImage(PackReader* reader, const char* packPath, int screenWidth, int screenHeight,
                     Image& image) {
    if (!createImage(image, screenWidth * 640 / 800, screenHeight * 480 / 600)) return false;
    if (!loadImageFile(reader, packPath, withRbpExtension(kSystemImageName), image, false))
        return false;
    rebuildSystemMask(image, screenWidth, screenHeight);
    return true;
}

void rebuildSystemMask(Image& image, int screenWidth, int screenHeight) {
    if (!image.hasPixels()) return;
    const int rows = std::min(screenHeight * 32 / 600, static_cast<int>(image.height));
    const int count = screenWidth * 32 / 800;
    const int maskColumn = screenWidth * 64 / 800;
    const int sourceColumn = screenWidth * 96 / 800;
    const int width = static_cast<int>(image.width);
    for (int y = 0; y < rows; ++y) {
        for (int j = 0; j < count; ++j) {
            if (sourceColumn + j >= width || maskColumn + j >= width) break;
            const uint8_t high = image.pixel(sourceColumn + j, y)[1];
            image.pixel(maskColumn + j, y)[2] = high == 0 ? 255 : static_cast<uint8_t>(~(high | 3));
        }
    }
}

}  // namespace zeku
