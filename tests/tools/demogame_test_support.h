// Small independent readers for the demo game's tests: the archive pair as
// the converter will read it, RIFF chunks, and the merged list of names.
#pragma once

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "common/bytes/byte_buffer.h"
#include "common/text/sjis.h"
#include "tests/support/temp_folder.h"
#include "tools/demogame/demo_game.h"

namespace zeku::test_support {

struct ArchiveEntry {
    std::string name;
    uint64_t offset = 0;
    uint64_t size = 0;
};

struct ReadArchive {
    std::string comment;  // text before the first "#"
    std::vector<ArchiveEntry> entries;
    std::vector<uint8_t> data;  // unscrambled
    bool endsAfterPlus = false;
};

inline std::vector<uint8_t> unscrambled(std::vector<uint8_t> bytes, uint8_t key) {
    for (uint8_t& b : bytes)
        b ^= key;
    return bytes;
}

// Parses "#name$offset*size+" entries with decimal numbers; false on any
// other shape.
inline bool readArchive(const std::string& folder, const std::string& base, uint8_t key,
                        ReadArchive& archive) {
    const std::vector<uint8_t> index = unscrambled(readBytes(folder + "/" + base + ".cpn"), key);
    archive.data = unscrambled(readBytes(folder + "/" + base + ".dat"), key);
    const std::string text(index.begin(), index.end());
    size_t at = text.find('#');
    if (at == std::string::npos) return false;
    archive.comment = text.substr(0, at);
    while (at < text.size()) {
        if (text[at] != '#') return false;
        const size_t dollar = text.find('$', at);
        const size_t star = text.find('*', at);
        const size_t plus = text.find('+', at);
        if (dollar == std::string::npos || star == std::string::npos || plus == std::string::npos ||
            !(dollar < star && star < plus)) {
            return false;
        }
        ArchiveEntry entry;
        entry.name = text.substr(at + 1, dollar - at - 1);
        const std::string offset = text.substr(dollar + 1, star - dollar - 1);
        const std::string size = text.substr(star + 1, plus - star - 1);
        for (const std::string* number : {&offset, &size}) {
            if (number->empty()) return false;
            for (char c : *number) {
                if (!std::isdigit(static_cast<unsigned char>(c))) return false;
            }
        }
        entry.offset = std::stoull(offset);
        entry.size = std::stoull(size);
        archive.entries.push_back(entry);
        at = plus + 1;
    }
    archive.endsAfterPlus = !text.empty() && text.back() == '+';
    return true;
}

// The game as the converter sees it: the second archive's files, then the
// first archive's files whose names the second does not have.
inline std::vector<const demo::DemoFile*> mergedFiles(const demo::DemoGame& game) {
    std::vector<const demo::DemoFile*> merged;
    for (const demo::DemoFile& file : game.second)
        merged.push_back(&file);
    for (const demo::DemoFile& file : game.first) {
        bool present = false;
        for (const demo::DemoFile* other : merged)
            present |= textEquals(file.name, other->name) == 1;
        if (!present) merged.push_back(&file);
    }
    return merged;
}

struct RiffChunk {
    std::string id;
    size_t dataOffset = 0;
    uint32_t size = 0;
};

// The chunks after "RIFF" size "WAVE", each padded to an even size; false
// when a chunk runs past the file or the sizes do not add up exactly.
inline bool walkRiff(const std::vector<uint8_t>& file, std::vector<RiffChunk>& chunks) {
    if (file.size() < 12 || std::string(file.begin(), file.begin() + 4) != "RIFF" ||
        std::string(file.begin() + 8, file.begin() + 12) != "WAVE") {
        return false;
    }
    const uint64_t riffEnd = 8 + static_cast<uint64_t>(loadLe32(file.data() + 4));
    if (riffEnd != file.size()) return false;
    size_t at = 12;
    while (at < riffEnd) {
        if (at + 8 > riffEnd) return false;
        RiffChunk chunk;
        chunk.id.assign(file.begin() + static_cast<long>(at),
                        file.begin() + static_cast<long>(at) + 4);
        chunk.size = loadLe32(file.data() + at + 4);
        chunk.dataOffset = at + 8;
        const uint64_t next =
            chunk.dataOffset + static_cast<uint64_t>(chunk.size) + (chunk.size & 1);
        if (next > riffEnd) return false;
        chunks.push_back(chunk);
        at = static_cast<size_t>(next);
    }
    return true;
}

inline const RiffChunk* findChunk(const std::vector<RiffChunk>& chunks, const std::string& id) {
    for (const RiffChunk& chunk : chunks) {
        if (chunk.id == id) return &chunk;
    }
    return nullptr;
}

}  // namespace zeku::test_support
