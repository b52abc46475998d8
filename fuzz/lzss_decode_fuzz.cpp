// Fuzzes the LZSS decoder with arbitrary streams and capacities, checked against the plain ring
// decoder, and the encoder with arbitrary data: byte-exact with the plain transcription, and
// decoding back to the data.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "common/lzss/lzss.h"
#include "tests/common/lzss/reference_lzss_decoder.h"
#include "tests/common/lzss/reference_lzss_encoder.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const uint8_t* stream = data + 3;
    const size_t length = size - 3;
    // Up to 1 MiB, but no more than the stream could fill (17 bytes per 2-byte reference), so
    // both overflowing and fitting streams come up without huge buffers.
    size_t capacity = (data[0] | data[1] << 8 | data[2] << 16) & 0xFFFFF;
    if (capacity > 9 * length + 32) capacity = 9 * length + 32;

    // Its own heap block of exactly the capacity, so ASan sees any write past it.
    auto dest = std::make_unique<uint8_t[]>(capacity);
    const zeku::Parsed<size_t> got = zeku::lzssDecode(dest.get(), capacity, stream, length);
    const std::vector<uint8_t> want = zeku::referenceLzssDecode(stream, length);
    const size_t kept = want.size() < capacity ? want.size() : capacity;
    // An overflow fills the whole capacity and names a place inside the stream.
    check((got ? *got : capacity) == kept);
    check(!got == (want.size() > capacity));
    check(got || got.error().offset() < length);
    check(kept == 0 || std::memcmp(dest.get(), want.data(), kept) == 0);

    // The same bytes as data to compress.
    const std::vector<uint8_t> input(stream, stream + length);
    std::vector<uint8_t> packed(zeku::lzssMaxEncodedSize(length) + 1);
    const ptrdiff_t n = zeku::lzssEncode(packed.data(), packed.size(), input.data(), length);
    if (length == 0) {
        check(n == -1);
        return 0;
    }
    check(n > 0);
    packed.resize(static_cast<size_t>(n));
    check(packed == zeku::referenceLzssEncode(input));
    std::vector<uint8_t> back(length);
    const zeku::Parsed<size_t> r =
        zeku::lzssDecode(back.data(), length, packed.data(), packed.size());
    check(r && *r == length && back == input);
    return 0;
}
