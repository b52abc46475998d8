// Shift-JIS <-> UTF-8 through iconv's CP932 table, which keeps 0x5C and 0x7E
// as ASCII and knows the Windows extensions, as the game data expects.
#include <errno.h>
#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/api/text_codec.h"

namespace zeku {
namespace {

constexpr const char* kSjisName = "CP932";
constexpr const char* kUtf8Name = "UTF-8";
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kSjisReplacement = "?";

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One descriptor per direction per thread: iconv_t carries state, so it must
// not be shared, and opening one per call costs more than the conversion.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != kNoConverter) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

bool isSjisLead(uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isSjisTrail(uint8_t b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// How many bytes one undecodable Shift-JIS character takes. A lead byte
// followed by a proper trail byte is one unmapped character; otherwise only
// the lead goes, so an ASCII byte after it survives.
size_t sjisBadLength(const char* p, size_t left) {
    const auto lead = static_cast<uint8_t>(p[0]);
    if (left >= 2 && isSjisLead(lead) && isSjisTrail(static_cast<uint8_t>(p[1]))) return 2;
    return 1;
}

// How many bytes one rejected UTF-8 character takes: a well-formed sequence
// that CP932 cannot hold becomes one '?'; otherwise each byte that cannot
// start or continue a character is one '?', as Unicode recommends.
size_t utf8BadLength(const char* p, size_t left) {
    const auto lead = static_cast<uint8_t>(p[0]);
    size_t length = 1;
    uint8_t low = 0x80;   // allowed range of the second byte, which rules
    uint8_t high = 0xBF;  // out overlong forms, surrogates and > U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    }
    if (length > left) return 1;
    for (size_t i = 1; i < length; ++i) {
        const auto b = static_cast<uint8_t>(p[i]);
        if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF)) return 1;
    }
    return length;
}

using BadLength = size_t (*)(const char*, size_t);

// Without the converter (no gconv modules installed) ASCII still passes, so
// at least file names and messages in plain letters stay readable.
std::string asciiOnly(std::string_view in, std::string_view replacement) {
    std::string out;
    out.reserve(in.size());
    for (char c : in) {
        if (static_cast<uint8_t>(c) < 0x80) {
            out += c;
        } else {
            out += replacement;
        }
    }
    return out;
}

std::string convert(iconv_t cd, std::string_view in, std::string_view replacement,
                    BadLength badLength, size_t outPerInByte) {
    if (cd == kNoConverter) return asciiOnly(in, replacement);
    // Start from the initial state whatever the last call left behind.
    iconv(cd, nullptr, nullptr, nullptr, nullptr);

    std::string out(in.size() * outPerInByte + 8, '\0');
    size_t used = 0;
    // iconv takes a non-const input pointer but never writes through it.
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    auto append = [&](std::string_view bytes) {
        if (out.size() - used < bytes.size()) out.resize(out.size() * 2 + bytes.size());
        out.replace(used, bytes.size(), bytes);
        used += bytes.size();
    };

    while (srcLeft > 0) {
        char* dst = out.data() + used;
        size_t dstLeft = out.size() - used;
        const size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        used = static_cast<size_t>(dst - out.data());
        if (result != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else if (errno == EILSEQ) {
            append(replacement);
            const size_t skip = badLength(src, srcLeft);
            src += skip;
            srcLeft -= skip;
        } else {
            // EINVAL: the input ends inside a character. Anything else would
            // repeat forever, so it ends the conversion the same way.
            append(replacement);
            break;
        }
    }
    for (;;) {
        char* dst = out.data() + used;
        size_t dstLeft = out.size() - used;
        const size_t result = iconv(cd, nullptr, nullptr, &dst, &dstLeft);
        used = static_cast<size_t>(dst - out.data());
        if (result != static_cast<size_t>(-1) || errno != E2BIG) break;
        out.resize(out.size() * 2);
    }
    out.resize(used);
    return out;
}

}  // namespace

std::string sjisToUtf8(std::string_view sjis) {
    thread_local Converter converter(kUtf8Name, kSjisName);
    // A half-width katakana byte becomes three UTF-8 bytes, as does U+FFFD.
    return convert(converter.get(), sjis, kUtf8Replacement, sjisBadLength, 3);
}

std::string utf8ToSjis(std::string_view utf8) {
    thread_local Converter converter(kSjisName, kUtf8Name);
    return convert(converter.get(), utf8, kSjisReplacement, utf8BadLength, 1);
}

}  // namespace zeku
