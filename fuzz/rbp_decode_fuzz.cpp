// Fuzzes ".rbp" reading: arbitrary bytes as a whole file through the
// container checks and the picture decode, JBP1 streams included.
#include <cstddef>
#include <cstdint>

#include "common/image/rbp_picture.h"

namespace {

// Enough for every seed picture, small enough that a header asking for
// the maximum side is refused quickly instead of allocated.
constexpr size_t kFuzzMaxPixels = size_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zeku::RbpPicture picture;
    const zeku::Parsed<void> result = zeku::decodeRbpPicture(data, size, picture, kFuzzMaxPixels);
    if (!result) {
        // A failure always says why and points into (or just past) the file.
        if (*result.error().reason() == '\0' || result.error().offset() > size) __builtin_trap();
        return 0;
    }
    if (!picture.hasPixels) return 0;
    // Read every pixel so uninitialised or unallocated planes show up.
    const size_t count = static_cast<size_t>(picture.width) * picture.height;
    if (count > kFuzzMaxPixels) __builtin_trap();
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += picture.color[i] + picture.alpha[i];
    volatile uint32_t sink = sum;
    (void)sink;
    return 0;
}
