// Conversion of single-byte ASCII and half-width katakana to the matching
// full-width Shift-JIS characters, used by the formatter's capital directives.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zeku {

// The double-byte Shift-JIS code (lead byte in the high half) of the full-width
// form of c, or 0 for bytes without one (control codes, 0x7F, lead bytes, ...).
uint16_t fullWidthCode(unsigned char c);

// Converts src into dest: double-byte characters and bytes without a
// full-width form are copied unchanged, everything else is replaced by its
// full-width pair. destCapacity counts the terminator; the result is always
// terminated (when destCapacity > 0) and never ends in half a pair.
// Returns the number of source characters converted, or -1 when the text
// was cut to fit.
int toFullWidth(char* dest, size_t destCapacity, const char* src);

template <size_t N>
int toFullWidth(char (&dest)[N], const char* src) {
    return toFullWidth(dest, N, src);
}

}  // namespace zeku
