// One picture entry from the source game to its ".rbp" file: decode,
// scale to the target screen, then let the writer choose raw or JBP1.
#include "converter/pipeline/picture_conversion.h"

#include <utility>

#include "common/image/rbp_writer.h"

namespace zeku {

bool convertPicture(const uint8_t* bytes, size_t size, PictureKind kind, int scalePercent,
                    int qualityItem, std::vector<uint8_t>& rbp, std::string& error,
                    size_t maxSourcePixels) {
    rbp.clear();
    if (qualityItem < 0 || qualityItem >= kRbpQualityItems) {
        error = "picture quality item " + std::to_string(qualityItem) + " is not 0 to 3";
        return false;
    }
    if (scalePercent < 1) {
        error = "scale of " + std::to_string(scalePercent) + " % is not positive";
        return false;
    }
    ConverterPicture source;
    const bool decoded = kind == PictureKind::kPng
                             ? decodePng(bytes, size, source, error, maxSourcePixels)
                             : decodeBmp(bytes, size, source, error, maxSourcePixels);
    if (!decoded) return false;

    const int sourceWidth = source.width;
    const int sourceHeight = source.height;
    const int width = scaledSide(source.width, scalePercent);
    const int height = scaledSide(source.height, scalePercent);
    if (width > kConverterMaxSide || height > kConverterMaxSide ||
        static_cast<size_t>(width) * static_cast<size_t>(height) > kConverterMaxPixels) {
        error = "picture scaled to " + std::to_string(scalePercent) + " % would be too large";
        return false;
    }
    const ConverterPicture scaled =
        scalePercent == 100 ? std::move(source) : scalePicture(source, scalePercent);

    RbpSourcePicture picture;
    picture.pixels = scaled.pixels.data();
    picture.width = scaled.width;
    picture.height = scaled.height;
    picture.stride = scaled.stride;
    picture.bitsPerPixel = scaled.bitsPerPixel;
    picture.sourceWidth = sourceWidth;
    picture.sourceHeight = sourceHeight;
    if (!encodeRbpPicture(picture, qualityItem, rbp)) {
        error = "cannot write the .rbp file";
        rbp.clear();
        return false;
    }
    return true;
}

}  // namespace zeku
