// "save000.dat": the numeric variables @900..@2047 that every saved game
// shares, 1148 little-endian i32 and nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/result/parsed.h"

namespace zeku {

inline constexpr int kGlobalVarCount = 1148;
inline constexpr size_t kGlobalVarsFileBytes = kGlobalVarCount * 4;  // 4592

// `values` holds kGlobalVarCount numbers; `out` kGlobalVarsFileBytes.
void writeGlobalVars(std::span<const int32_t> values, uint8_t* out);
// Fills `values` only when the whole block is there (bytes after it are
// ignored); a short file changes nothing.
Parsed<void> readGlobalVars(const uint8_t* data, size_t size, std::span<int32_t> values);

}  // namespace zeku
