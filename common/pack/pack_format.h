// The package file: a 16-byte header, a directory of 84-byte entries, then
// every entry's stored bytes. The player reads it, the converter and the
// package tool write it; both sides use these records and checks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/bytes/byte_layout.h"
#include "common/result/parsed.h"

namespace zeku {

inline constexpr size_t kPackHeaderSize = 16;
inline constexpr size_t kPackEntrySize = 84;
inline constexpr size_t kPackNameField = 64;  // text of at most 63 bytes, zero-filled
inline constexpr uint32_t kPackStored = 0;
inline constexpr uint32_t kPackLzss = 1;

struct PackHeader {
    char magic[4] = {'R', 'L', 'Z', '2'};
    uint32_t entryCount = 0;
    uint32_t fileSize = 0;  // written for the record; the reader does not rely on it
};

struct PackEntry {
    char name[kPackNameField] = {};  // Shift-JIS, zero-terminated
    uint32_t storedSize = 0;
    uint32_t unpackedSize = 0;
    uint32_t method = kPackStored;
    uint32_t dataOffset = 0;  // from the end of the directory
};

// The 16 header bytes in file order, for reading and writing alike.
template <typename Io, RecordOf<PackHeader> Header>
void syncPackHeader(Io& io, Header& header) {
    io.bytes(header.magic);
    io.le32(header.entryCount);
    io.le32(header.fileSize);
    io.zeros(4);
}

// The 84 bytes of a directory entry.
template <typename Io, RecordOf<PackEntry> Entry>
void syncPackEntry(Io& io, Entry& entry) {
    io.text(entry.name);
    io.le32(entry.storedSize);
    io.le32(entry.unpackedSize);
    io.le32(entry.method);
    io.le32(entry.dataOffset);
    io.zeros(4);
}

// Both "RLZ2" and "RLZ3" are packages. Needs 16 bytes.
bool readPackHeader(const uint8_t* bytes, size_t size, PackHeader& header);
void writePackHeader(const PackHeader& header, uint8_t out[kPackHeaderSize]);

// Bytes of header plus directory for `entryCount` entries (64-bit: a damaged
// count must not wrap).
inline uint64_t packDirectoryEnd(uint32_t entryCount) {
    return kPackHeaderSize + static_cast<uint64_t>(kPackEntrySize) * entryCount;
}

// Reads entry `index` from a header+directory block of `size` bytes; false
// when the block does not hold it.
bool readPackEntry(const uint8_t* directory, size_t size, uint32_t index, PackEntry& entry);
void writePackEntry(const PackEntry& entry, uint8_t out[kPackEntrySize]);

// Sets the name from Shift-JIS text; false (name unchanged) when it has more
// than 63 bytes or holds a zero byte.
bool setPackEntryName(PackEntry& entry, std::string_view name);
std::string_view packEntryName(const PackEntry& entry);

// Checks one entry against the package's size: a terminated name, a known
// method, stored bytes inside the file, stored = unpacked when not
// compressed, and no more unpacked bytes than compressed data can yield. `entryFileOffset` is only
// used for the report: errors name the file offset of the offending field.
Parsed<void> checkPackEntry(const PackEntry& entry, uint64_t dataStart, uint64_t fileSize,
                            uint64_t entryFileOffset);

// Checks a whole header+directory block against the file size: the
// directory must fit, and so must every entry. A block that does not start
// with a package header fails as the wrong format.
Parsed<void> checkPackDirectory(const uint8_t* directory, size_t size, uint64_t fileSize);

// Index of the first entry whose name equals `name` (ASCII letters without
// regard to case, Shift-JIS pairs exactly), or -1.
int findPackEntry(const uint8_t* directory, size_t size, std::string_view name);

// The writing side: gives the entries back-to-back data offsets in their
// order and builds the header (with the total file size) and directory.
// False when the package would reach 4 GiB, which its fields cannot hold.
bool layOutPack(std::vector<PackEntry>& entries, std::vector<uint8_t>& headerAndDirectory);

}  // namespace zeku
