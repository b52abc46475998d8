// Fuzzes the scripted-input parser: any text either parses or is refused
// with a message, and never crashes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "player/shell/scripted_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<zeku::TimedMessage> events;
    std::string error;
    if (!zeku::parseScriptedInput(text, events, error) && error.empty()) __builtin_trap();
    return 0;
}
