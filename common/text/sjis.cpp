// Shift-JIS aware character routines: lead-byte test, length/copy/append,
// last-character search and the one name comparison every lookup uses.
#include "common/text/sjis.h"

namespace zeku {

namespace {

unsigned char foldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Length of the character starting at text[0] (1 or 2); a lead byte whose
// trail is the terminator counts alone so no routine steps past the end.
size_t charLength(const char* text) {
    return (isLeadByte(text[0]) && text[1] != '\0') ? 2 : 1;
}

}  // namespace

size_t textLength(const char* text) {
    const char* p = text;
    while (*p != '\0')
        ++p;
    return static_cast<size_t>(p - text);
}

char* textCopy(char* dest, const char* src) {
    while ((*dest = *src) != '\0') {
        ++dest;
        ++src;
    }
    return dest;
}

char* textAppend(char* dest, const char* src) {
    return textCopy(dest + textLength(dest), src);
}

char* textCopy(char* dest, size_t destCapacity, const char* src) {
    if (destCapacity == 0) return dest;
    size_t pos = 0;
    const size_t limit = destCapacity - 1;
    while (src[0] != '\0') {
        const size_t n = charLength(src);
        if (pos + n > limit) break;
        for (size_t i = 0; i < n; ++i)
            dest[pos++] = src[i];
        src += n;
    }
    dest[pos] = '\0';
    return dest + pos;
}

char* textAppend(char* dest, size_t destCapacity, const char* src) {
    if (destCapacity == 0) return dest;
    size_t used = 0;
    while (used < destCapacity && dest[used] != '\0')
        ++used;
    if (used == destCapacity) {
        // No terminator inside the buffer: it is already full.
        dest[destCapacity - 1] = '\0';
        return dest + destCapacity - 1;
    }
    return textCopy(dest + used, destCapacity - used, src);
}

const char* findLastChar(const char* text, char c) {
    const char* found = nullptr;
    while (*text != '\0') {
        const size_t n = charLength(text);
        if (n == 1 && *text == c) found = text;
        text += n;
    }
    return found;
}

char* findLastChar(char* text, char c) {
    return const_cast<char*>(findLastChar(static_cast<const char*>(text), c));
}

int textEquals(const char* a, const char* b) {
    return textEquals(std::string_view(a), std::string_view(b));
}

int textEquals(std::string_view a, std::string_view b) {
    size_t i = 0;
    for (;;) {
        if (i == a.size()) return i == b.size() ? 1 : 0;
        if (i == b.size()) return 0;
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (isLeadByte(ca)) {
            if (ca != cb) return 0;
            const bool aHasTrail = i + 1 < a.size();
            const bool bHasTrail = i + 1 < b.size();
            if (!aHasTrail || !bHasTrail) return aHasTrail == bHasTrail ? 1 : 0;
            if (a[i + 1] != b[i + 1]) return 0;
            i += 2;
        } else {
            if (foldAscii(ca) != foldAscii(cb)) return 0;
            ++i;
        }
    }
}

}  // namespace zeku
