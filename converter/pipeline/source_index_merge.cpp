// Merging the two archives' lists into one, and finding the key under which
// the scrambled indexes read as well-formed entries.
#include <string_view>
#include <unordered_set>

#include "common/text/name_set.h"
#include "converter/pipeline/source_index.h"

namespace zeku {

std::vector<SourceEntry> mergeSourceIndexes(const std::vector<SourceEntry>& first,
                                            const std::vector<SourceEntry>& second) {
    std::vector<SourceEntry> merged;
    merged.reserve(first.size() + second.size());
    // Views into the lists, which outlive the set. Linear lookups would cost
    // 8192 x 16384 comparisons in the worst case.
    std::unordered_set<std::string_view, TextNameHash, TextNameEquals> seen;
    for (const auto* list : {&second, &first}) {
        for (const SourceEntry& entry : *list) {
            if (seen.insert(entry.name).second) merged.push_back(entry);
        }
    }
    return merged;
}

std::vector<uint8_t> findArchiveKeys(const ScrambledIndex& first, const ScrambledIndex& second) {
    std::vector<uint8_t> keys;
    for (int k = 0; k < 256; ++k) {
        const auto key = static_cast<uint8_t>(k);
        // An index that lists files ends with "+": at most two keys can
        // make one of them list anything, so the rest need no parse.
        const auto endsWithPlus = [key](const ScrambledIndex& index) {
            return index.size > 0 && (index.text[index.size - 1] ^ key) == '+';
        };
        if (!endsWithPlus(first) && !endsWithPlus(second)) continue;
        size_t files = 0;
        bool fits = true;
        int archive = 0;
        for (const ScrambledIndex* index : {&first, &second}) {
            SourceIndexOptions options;
            options.mode = IndexParseMode::kStrict;
            options.dataSize = index->dataSize;
            options.key = key;
            const Parsed<std::vector<SourceEntry>> entries =
                parseSourceIndex(index->text, index->size, archive++, options);
            if (!entries) {
                fits = false;
                break;
            }
            files += entries->size();
        }
        // Reading as text without entries proves nothing: most keys do that
        // for short or odd files.
        if (fits && files > 0) keys.push_back(key);
    }
    return keys;
}

}  // namespace zeku
