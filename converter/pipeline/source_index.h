// The source game's archive index texts: the value parser for their numbers,
// the entry parser (lenient, and strict for key detection), the merge of the
// two archives' lists and the search for the scrambling key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/result/parsed.h"

namespace zeku {

struct SourceEntry {
    int archive = 0;   // 0: "Lump.dat", 1: "Lump2.dat"
    std::string name;  // Shift-JIS, 1 to 127 bytes, "/" between folders
    uint32_t offset = 0;
    uint32_t size = 0;
};

inline constexpr size_t kMaxSourceEntries = 8192;  // per list and merged
inline constexpr size_t kMaxSourceNameBytes = 127;
inline constexpr uint64_t kNoDataLimit = UINT64_MAX;

// XOR with a one-byte key; the same call scrambles and unscrambles.
void scrambleBytes(uint8_t* bytes, size_t size, uint8_t key);

// The converter's number reading: "TRUE"/"true" at the start give 1,
// "FALSE"/"false" give 0, "0x" starts hexadecimal (letters in either case),
// anything else is decimal. Every character after the prefix takes one
// place; a character that is no digit adds 0 there ("1a2" is 102). Wraps
// modulo 2^32 however long the text.
uint32_t parseConverterValue(std::string_view text);

enum class IndexParseMode {
    // Reads what the game's own tools accept: any bytes before the first
    // "#", numbers by parseConverterValue.
    kLenient,
    // Only what a correctly unscrambled index can look like, so a wrong key
    // fails within a few bytes: no control bytes before the first "#" other
    // than TAB, CR and LF; names of printable ASCII and well-formed
    // Shift-JIS; numbers of digits only or "0x" and hex digits, within 32 bits.
    kStrict,
};

struct SourceIndexOptions {
    IndexParseMode mode = IndexParseMode::kLenient;
    uint64_t dataSize = kNoDataLimit;  // every entry must end inside its data file
    uint8_t key = 0;                   // applied while reading: scrambled text needs no copy
};

// Parses one index text into entries of `archive`. Text without any "#"
// lists nothing. Refused: a "$", "*" or "+" missing (which includes text
// after the last "+"), an empty name or one over 127 bytes, a zero byte in a
// name, more than 8192 entries, an entry reaching past `dataSize`. A refusal
// names the byte of the text where the fault was found; its reason is
// English with names in UTF-8.
Parsed<std::vector<SourceEntry>> parseSourceIndex(const uint8_t* text, size_t size, int archive,
                                                  const SourceIndexOptions& options = {});

// The second archive's list in its order, then the first's names not yet
// listed; the first of several equal names is kept. Names compare with
// textEquals. The result may exceed kMaxSourceEntries; the caller checks.
std::vector<SourceEntry> mergeSourceIndexes(const std::vector<SourceEntry>& first,
                                            const std::vector<SourceEntry>& second);

struct ScrambledIndex {
    const uint8_t* text = nullptr;
    size_t size = 0;
    uint64_t dataSize = kNoDataLimit;
};

// The keys under which both indexes parse strictly and together list at
// least one file. An absent index is one of size 0. A listing index ends
// with "+", so its last byte leaves one candidate; two keys fit only when
// each index lists files under its own key and reads as bare text under
// the other's.
std::vector<uint8_t> findArchiveKeys(const ScrambledIndex& first, const ScrambledIndex& second);

}  // namespace zeku
