// Fuzzes the JBP1 decoder with arbitrary stream bytes: no read or write
// outside the buffers, and the plain reference decoder agrees on the
// result, pixel for pixel or error for error.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/image/jbp1_decoder.h"
#include "tests/common/image/reference_jbp1_decoder.h"

namespace {

// Larger pictures only check that a one-pixel buffer is refused: their
// decode takes the same paths, only longer, and the big buffers would cut
// the fuzzer's pace to a crawl.
constexpr size_t kMaxPixels = size_t{512} * 512;

bool same(const zeku::Parsed<void>& a, const zeku::Parsed<void>& b) {
    if (a.ok() != b.ok()) return false;
    return a.ok() ||
           (std::strcmp(a.error().reason(), b.error().reason()) == 0 &&
            a.error().offset() == b.error().offset() && a.error().kind() == b.error().kind());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zeku::Jbp1Geometry geometry;
    size_t pixels = 0;
    if (zeku::jbp1ReadGeometry(data, size, geometry))
        pixels = static_cast<size_t>(geometry.paddedWidth) * geometry.paddedHeight;
    if (pixels > kMaxPixels) {
        uint16_t one;
        if (zeku::jbp1Decode(data, size, &one, 1)) __builtin_trap();
        return 0;
    }

    // Exactly the padded size, so that any write past it is caught.
    std::vector<uint16_t> best(pixels == 0 ? 1 : pixels);
    const zeku::Parsed<void> result = zeku::jbp1Decode(data, size, best.data(), pixels);
    if (!result && (*result.error().reason() == '\0' || result.error().offset() > size))
        __builtin_trap();

    zeku::test::ReferenceJbp1Picture reference;
    const zeku::Parsed<void> expected = zeku::test::referenceJbp1Decode(data, size, reference);
    if (!same(result, expected)) __builtin_trap();
    if (result && reference.pixels != best) __builtin_trap();
    return 0;
}
