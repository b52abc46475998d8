// Parsing of the archive index text "#name$offset*size+..." and of the
// numbers in it. The key is applied byte by byte while reading, so key
// detection can try every key on the scrambled file without copying it.
#include <cinttypes>
#include <cstdio>
#include <optional>

#include "converter/pipeline/source_index.h"
#include "platform/api/text_codec.h"

namespace zeku {

namespace {

int hexDigitValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool startsWith(const uint8_t* text, size_t size, uint8_t key, std::string_view prefix) {
    if (size < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if ((text[i] ^ key) != static_cast<uint8_t>(prefix[i])) return false;
    }
    return true;
}

uint32_t parseValue(const uint8_t* text, size_t size, uint8_t key) {
    if (startsWith(text, size, key, "TRUE") || startsWith(text, size, key, "true")) return 1;
    if (startsWith(text, size, key, "FALSE") || startsWith(text, size, key, "false")) return 0;
    uint32_t value = 0;
    if (startsWith(text, size, key, "0x")) {
        for (size_t i = 2; i < size; ++i) {
            const int digit = hexDigitValue(text[i] ^ key);
            value = value * 16u + static_cast<uint32_t>(digit < 0 ? 0 : digit);
        }
        return value;
    }
    for (size_t i = 0; i < size; ++i) {
        const uint8_t c = text[i] ^ key;
        value = value * 10u + static_cast<uint32_t>(c >= '0' && c <= '9' ? c - '0' : 0);
    }
    return value;
}

bool isControl(uint8_t c) {
    return c < 0x20 || c == 0x7F;
}

// Bytes that can stand alone in a Shift-JIS name: ASCII and half-width kana.
bool isSingleByteChar(uint8_t c) {
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA1 && c <= 0xDF);
}

bool isLead(uint8_t c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool isTrail(uint8_t c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

std::string decimal(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%" PRIu64, value);
    return text;
}

class IndexParser {
  public:
    IndexParser(const uint8_t* text, size_t size, int archive, const SourceIndexOptions& options)
        : text_(text), size_(size), archive_(archive), options_(options) {}

    Parsed<std::vector<SourceEntry>> run() {
        size_t pos = 0;
        if (skipPreamble(pos)) {
            while (pos < size_) {
                if (!readEntry(pos)) break;
            }
        }
        if (error_) return std::move(*error_);
        return std::move(entries_);
    }

  private:
    bool strict() const { return options_.mode == IndexParseMode::kStrict; }
    uint8_t at(size_t i) const { return text_[i] ^ options_.key; }

    // Fixed reasons stay literals: key detection fails most keys within a
    // few bytes, and those failures need no allocation.
    bool fail(const char* reason, size_t offset) {
        error_.emplace(reason, offset);
        return false;
    }
    bool fail(std::string reason, size_t offset) {
        error_.emplace(std::move(reason), offset);
        return false;
    }

    bool skipPreamble(size_t& pos) {
        while (pos < size_ && at(pos) != '#') {
            const uint8_t c = at(pos);
            if (strict() && isControl(c) && c != '\t' && c != '\r' && c != '\n') {
                return fail("control byte before the first '#'", pos);
            }
            ++pos;
        }
        // Entries must end right at the end of the text; checking the last
        // byte first turns almost every wrong key away at once.
        if (strict() && pos < size_ && at(size_ - 1) != '+') {
            return fail("the index does not end with '+'", size_ - 1);
        }
        return true;
    }

    // Position of `stop` at or after `pos`, or size_.
    size_t find(size_t pos, uint8_t stop) const {
        while (pos < size_ && at(pos) != stop)
            ++pos;
        return pos;
    }

    // The name from `pos` up to "$"; returns the position of the "$".
    bool readName(size_t pos, size_t& dollar) {
        const size_t start = pos;
        if (strict()) {
            // Stop at the first byte that cannot belong to a name; a name
            // never holds "$" (no Shift-JIS trail byte is that low).
            while (pos < size_ && at(pos) != '$') {
                const uint8_t c = at(pos);
                if (isLead(c)) {
                    if (pos + 1 >= size_ || !isTrail(at(pos + 1))) {
                        return fail("broken double-byte character in a name", pos);
                    }
                    pos += 2;
                } else if (isSingleByteChar(c)) {
                    ++pos;
                } else {
                    return fail("byte that cannot be part of a name", pos);
                }
                if (pos - start > kMaxSourceNameBytes) {
                    return fail("name longer than 127 bytes", start);
                }
            }
        } else {
            pos = find(pos, '$');
            for (size_t i = start; i < pos; ++i) {
                if (at(i) == 0) return fail("zero byte in a name", i);
            }
        }
        if (pos >= size_) {
            return fail("no '$' after the name (the index must end right after a '+')", start);
        }
        if (pos == start) return fail("empty name", start);
        if (pos - start > kMaxSourceNameBytes) return fail("name longer than 127 bytes", start);
        dollar = pos;
        return true;
    }

    // A number from `pos` up to `stop`; returns the position of `stop`.
    bool readNumber(size_t pos, uint8_t stop, const char* what, uint32_t& value, size_t& end) {
        if (!strict()) {
            end = find(pos, stop);
            if (end >= size_) {
                return fail(std::string("no '") + char(stop) + "' after the " + what, pos);
            }
            value = parseValue(text_ + pos, end - pos, options_.key);
            return true;
        }
        const size_t start = pos;
        const bool hex = pos + 1 < size_ && at(pos) == '0' && at(pos + 1) == 'x';
        if (hex) pos += 2;
        const size_t digitsStart = pos;
        uint64_t wide = 0;
        for (; pos < size_ && at(pos) != stop; ++pos) {
            const int digit = hexDigitValue(at(pos));
            if (digit < 0 || (!hex && digit > 9)) {
                return fail(std::string("not a digit in the ") + what, pos);
            }
            wide = wide * (hex ? 16u : 10u) + static_cast<uint64_t>(digit);
            if (wide > UINT32_MAX) return fail(std::string(what) + " beyond 32 bits", start);
        }
        if (pos >= size_)
            return fail(std::string("no '") + char(stop) + "' after the " + what, start);
        if (pos == digitsStart) return fail(std::string("empty ") + what, start);
        value = static_cast<uint32_t>(wide);
        end = pos;
        return true;
    }

    bool readEntry(size_t& pos) {
        const size_t entryStart = pos;
        if (entries_.size() == kMaxSourceEntries) {
            return fail("more than 8192 entries", entryStart);
        }
        if (at(pos) == '#') ++pos;  // entries may also follow each other without one
        SourceEntry entry;
        entry.archive = archive_;
        size_t dollar = 0, star = 0, plus = 0;
        if (!readName(pos, dollar)) return false;
        if (!readNumber(dollar + 1, '*', "offset", entry.offset, star)) return false;
        if (!readNumber(star + 1, '+', "size", entry.size, plus)) return false;
        entry.name.resize(dollar - pos);
        for (size_t i = pos; i < dollar; ++i)
            entry.name[i - pos] = static_cast<char>(at(i));

        const uint64_t end = uint64_t{entry.offset} + entry.size;
        if (end > options_.dataSize) {
            // Built by appending: GCC 12 at -O3 warns falsely on "literal" + string here.
            std::string message = "\"";
            message += sjisToUtf8(entry.name);
            message += "\" (offset " + decimal(entry.offset) + ", size " + decimal(entry.size) +
                       ") lies beyond the end of its " + decimal(options_.dataSize) +
                       "-byte data file";
            return fail(std::move(message), entryStart);
        }
        entries_.push_back(std::move(entry));
        pos = plus + 1;
        return true;
    }

    const uint8_t* text_;
    size_t size_;
    int archive_;
    const SourceIndexOptions& options_;
    std::vector<SourceEntry> entries_;
    std::optional<ParseError> error_;
};

}  // namespace

void scrambleBytes(uint8_t* bytes, size_t size, uint8_t key) {
    for (size_t i = 0; i < size; ++i)
        bytes[i] ^= key;
}

uint32_t parseConverterValue(std::string_view text) {
    return parseValue(reinterpret_cast<const uint8_t*>(text.data()), text.size(), 0);
}

Parsed<std::vector<SourceEntry>> parseSourceIndex(const uint8_t* text, size_t size, int archive,
                                                  const SourceIndexOptions& options) {
    return IndexParser(text, size, archive, options).run();
}

}  // namespace zeku
