// Fuzzes the archive index parser and the key search with arbitrary index
// bytes: no reads outside the text, every accepted entry inside its bounds,
// and the strict form never accepting what the lenient form refuses.
#include <cstdint>
#include <cstring>
#include <vector>

#include "converter/pipeline/source_index.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

using ParsedIndex = zeku::Parsed<std::vector<zeku::SourceEntry>>;

// The entries of an accepted index, none for a refused one.
std::vector<zeku::SourceEntry> entriesOf(const ParsedIndex& parsed) {
    return parsed ? *parsed : std::vector<zeku::SourceEntry>();
}

void checkEntries(const ParsedIndex& result, uint64_t dataSize) {
    if (!result) return;
    check(result->size() <= zeku::kMaxSourceEntries);
    for (const zeku::SourceEntry& entry : *result) {
        check(!entry.name.empty() && entry.name.size() <= zeku::kMaxSourceNameBytes);
        check(std::memchr(entry.name.data(), 0, entry.name.size()) == nullptr);
        check(uint64_t{entry.offset} + entry.size <= dataSize);
    }
}

}  // namespace

// Layout: key, 3 bytes of data size, 2 bytes where the first index ends,
// then the text of both indexes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    const uint8_t key = data[0];
    const uint64_t dataSize = uint64_t{data[1]} | uint64_t{data[2]} << 8 | uint64_t{data[3]} << 16;
    const size_t split = size_t{data[4]} | size_t{data[5]} << 8;
    // A copy of exactly the text, so the sanitizer sees any read past it.
    const std::vector<uint8_t> text(data + 6, data + size);
    const size_t firstSize = split < text.size() ? split : text.size();

    zeku::SourceIndexOptions options;
    options.key = key;
    options.dataSize = dataSize;
    const ParsedIndex lenient = zeku::parseSourceIndex(text.data(), text.size(), 0, options);
    checkEntries(lenient, dataSize);
    options.mode = zeku::IndexParseMode::kStrict;
    const ParsedIndex strict = zeku::parseSourceIndex(text.data(), text.size(), 0, options);
    checkEntries(strict, dataSize);
    if (strict) {
        check(lenient && lenient->size() == strict->size());
        for (size_t i = 0; i < strict->size(); ++i) {
            check((*lenient)[i].name == (*strict)[i].name);
            check((*lenient)[i].offset == (*strict)[i].offset);
            check((*lenient)[i].size == (*strict)[i].size);
        }
    }
    if (!lenient) check(lenient.error().offset() <= text.size());

    const zeku::ScrambledIndex first{text.data(), firstSize, dataSize};
    const zeku::ScrambledIndex second{text.data() + firstSize, text.size() - firstSize, dataSize};
    for (const uint8_t found : zeku::findArchiveKeys(first, second)) {
        options.key = found;
        check(zeku::parseSourceIndex(first.text, first.size, 0, options).ok());
        check(zeku::parseSourceIndex(second.text, second.size, 1, options).ok());
    }

    const std::vector<zeku::SourceEntry> lenientEntries = entriesOf(lenient);
    const std::vector<zeku::SourceEntry> strictEntries = entriesOf(strict);
    const std::vector<zeku::SourceEntry> merged =
        zeku::mergeSourceIndexes(lenientEntries, strictEntries);
    check(merged.size() <= lenientEntries.size() + strictEntries.size());
    return 0;
}
