// Fuzzes picture conversion: arbitrary bytes as a PNG or BMP entry through
// decoding, scaling and ".rbp" writing; every file written must read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/image/rbp_picture.h"
#include "converter/pipeline/picture_conversion.h"

namespace {

// Small enough that a JBP1 encode per input stays quick.
constexpr size_t kFuzzMaxSourcePixels = size_t{1} << 14;
constexpr int kPercents[4] = {40, 80, 100, 120};

}  // namespace

// The first byte picks the kind (bit 0), the quality item (bits 1-2) and
// the scale (bits 3-4); the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t choice = data[0];
    const auto kind = (choice & 1) != 0 ? zeku::PictureKind::kBmp : zeku::PictureKind::kPng;
    const int quality = (choice >> 1) & 3;
    const int percent = kPercents[(choice >> 3) & 3];
    std::vector<uint8_t> rbp;
    std::string error;
    if (!zeku::convertPicture(data + 1, size - 1, kind, percent, quality, rbp, error,
                              kFuzzMaxSourcePixels)) {
        if (error.empty() || !rbp.empty()) __builtin_trap();
        return 0;
    }
    zeku::RbpPicture picture;
    if (!zeku::decodeRbpPicture(rbp.data(), rbp.size(), picture) || !picture.hasPixels)
        __builtin_trap();
    return 0;
}
