// "mes.dat": the read marks kept across runs. A u32 file count, then for
// each file its NUL-terminated name, a u32 key count and the keys, in the
// registry's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/result/parsed.h"
#include "player/script/read_registry.h"

namespace zeku {

// Exactly the bytes the registry needs.
std::vector<uint8_t> encodeReadMarks(const ReadRegistry& registry);

// The marks of a whole file, checked before any is returned. An entry whose
// name has 32 or more bytes is read past and its keys left out, as the
// registry could not hold them.
Parsed<ReadRegistry> decodeReadMarks(const uint8_t* data, size_t size);

}  // namespace zeku
