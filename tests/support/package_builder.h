// Packages built in memory for tests: each file stored as it is or
// compressed as the converter stores it, laid out by the writer's rules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/pack/pack_compression.h"
#include "common/pack/pack_format.h"

namespace zeku::test_support {

struct PackageItem {
    std::string name;  // Shift-JIS
    std::vector<uint8_t> contents;
    bool compress = true;
};

// The whole package file; `version` is the magic's last character. Empty
// when a name does not fit or the layout fails.
inline std::vector<uint8_t> buildPackage(const std::vector<PackageItem>& items,
                                         char version = '2') {
    std::vector<PackEntry> entries;
    std::vector<uint8_t> data;
    LzssEncoder lzss;
    for (const PackageItem& item : items) {
        PackEntry entry;
        if (!setPackEntryName(entry, item.name)) return {};
        entry.unpackedSize = static_cast<uint32_t>(item.contents.size());
        std::vector<uint8_t> stored = item.contents;
        if (item.compress) {
            if (!compressForPackage(lzss, item.contents.data(), item.contents.size(), stored))
                return {};
            entry.method = kPackLzss;
        }
        entry.storedSize = static_cast<uint32_t>(stored.size());
        data.insert(data.end(), stored.begin(), stored.end());
        entries.push_back(entry);
    }
    std::vector<uint8_t> bytes;
    if (!layOutPack(entries, bytes)) return {};
    bytes[3] = static_cast<uint8_t>(version);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

}  // namespace zeku::test_support
