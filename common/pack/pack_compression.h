// How a package stores a compressed file: the LZSS stream of its bytes.
// The converter, the package tool and the tests' package builder share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/lzss/lzss.h"

namespace zeku {

// The LZSS stream of `bytes` in `stored` (empty for an empty input, which
// unpacks to the empty file). False only if the encoder fails.
bool compressForPackage(LzssEncoder& lzss, const uint8_t* bytes, size_t size,
                        std::vector<uint8_t>& stored);

}  // namespace zeku
