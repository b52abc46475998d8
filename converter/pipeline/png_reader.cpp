// PNG pictures from memory: libpng (behind the platform layer) does the
// decoding; this side only takes over its rows as the intermediate picture.
#include "converter/pipeline/png_reader.h"

#include <utility>

#include "platform/api/png_file.h"

namespace zeku {

bool decodePng(const uint8_t* bytes, size_t size, ConverterPicture& out, std::string& error,
               size_t maxPixels) {
    out = ConverterPicture{};
    PngBgrPicture png;
    if (!readPngBgrInvertedAlpha(bytes, size, maxPixels, png, error)) return false;
    out.width = png.width;
    out.height = png.height;
    out.bitsPerPixel = png.channels * 8;
    out.stride = static_cast<size_t>(png.width) * static_cast<size_t>(png.channels);
    out.pixels = std::move(png.pixels);
    return true;
}

}  // namespace zeku
