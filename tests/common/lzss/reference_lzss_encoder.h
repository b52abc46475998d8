// The package encoder written out plainly, one step per line of the algorithm, kept by the
// tests (and the benchmark) as the yardstick the fast encoder must match byte for byte.
#pragma once

#include <cstdint>
#include <vector>

namespace zeku {

// The stream for `data`; empty for empty input.
std::vector<uint8_t> referenceLzssEncode(const std::vector<uint8_t>& data);

}  // namespace zeku
