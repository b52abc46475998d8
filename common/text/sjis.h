// Shift-JIS aware character routines: lead-byte test, length/copy/append,
// last-character search and the one name comparison every lookup uses.
#pragma once

#include <cstddef>
#include <string_view>

namespace zeku {

// A lead byte and the byte after it form one double-byte character. Taking
// unsigned char lets plain (signed) char and int arguments convert as bytes.
constexpr bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Number of bytes before the terminator.
size_t textLength(const char* text);

// Unbounded copy and append for buffers the caller knows are large enough.
// Both return the address of the new terminator so calls can be chained.
char* textCopy(char* dest, const char* src);
char* textAppend(char* dest, const char* src);

// Bounded forms: destCapacity counts the terminator. Text that does not fit is
// cut at a character boundary (a double-byte pair is never split) and the
// result is always terminated. They return the address of the terminator;
// with destCapacity 0 nothing is written and dest is returned.
char* textCopy(char* dest, size_t destCapacity, const char* src);
char* textAppend(char* dest, size_t destCapacity, const char* src);

// Last occurrence of the single-byte character c, or nullptr. Trail bytes of
// double-byte characters never match, so a 0x5C trail is not a backslash.
const char* findLastChar(const char* text, char c);
char* findLastChar(char* text, char c);

// 1 when equal, else 0. ASCII letters compare without regard to case; a
// double-byte character must match as an exact byte pair.
int textEquals(const char* a, const char* b);
int textEquals(std::string_view a, std::string_view b);

}  // namespace zeku
