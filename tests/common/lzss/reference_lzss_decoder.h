// The package decoder written out plainly with its 2048-byte ring, for checking the fast
// decoder on arbitrary (also damaged) streams: it has no capacity and returns every byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeku {

std::vector<uint8_t> referenceLzssDecode(const uint8_t* src, size_t srcLength);

}  // namespace zeku
