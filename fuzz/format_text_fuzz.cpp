// Fuzzes the formatter and the text routines with arbitrary format strings,
// arguments and destination sizes: nothing may be written past the buffer.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/text/format_text.h"
#include "common/text/full_width.h"
#include "common/text/numbers.h"
#include "common/text/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t capacity = data[0];
    const uint8_t argSeed = data[1];
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    const char* format = text.c_str();

    // The destination lives in its own heap block, so ASan sees any overrun.
    std::vector<char> dest(capacity == 0 ? 1 : capacity);
    std::memset(dest.data(), 'x', dest.size());
    dest.back() = '\0';
    const zeku::FormatArg args[] = {
        zeku::FormatArg(static_cast<int32_t>(argSeed * 0x01010101u)),
        zeku::FormatArg(-12.5 * argSeed),
        zeku::FormatArg(format),
        zeku::FormatArg(static_cast<uint64_t>(argSeed) << 40),
        zeku::FormatArg(static_cast<uint32_t>(argSeed)),
    };
    zeku::formatText(dest.data(), capacity, format, std::span<const zeku::FormatArg>(args));

    std::vector<char> wide(capacity == 0 ? 1 : capacity);
    zeku::toFullWidth(wide.data(), capacity, format);

    int32_t value = 0;
    zeku::parseNumber(format, value);
    zeku::digitsValue(format);
    zeku::findLastChar(format, '\\');
    zeku::textEquals(format, format + text.size() / 2);
    return 0;
}
