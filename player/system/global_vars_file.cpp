// The global variables' file.
#include "player/system/global_vars_file.h"

#include "common/bytes/byte_buffer.h"

namespace zeku {

void writeGlobalVars(std::span<const int32_t> values, uint8_t* out) {
    for (size_t i = 0; i < kGlobalVarCount && i < values.size(); ++i)
        storeLe32(out + i * 4, static_cast<uint32_t>(values[i]));
}

Parsed<void> readGlobalVars(const uint8_t* data, size_t size, std::span<int32_t> values) {
    if (data == nullptr || size < kGlobalVarsFileBytes)
        return ParseError("global data cut short", size);
    if (values.size() < kGlobalVarCount) return ParseError("no room for the global data", 0);
    for (size_t i = 0; i < kGlobalVarCount; ++i)
        values[i] = static_cast<int32_t>(loadLe32(data + i * 4));
    return {};
}

}  // namespace zeku
