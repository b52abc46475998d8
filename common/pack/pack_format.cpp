// Reading, writing and checking the package's header and directory records.
#include "common/pack/pack_format.h"

#include <cstring>

#include "common/bytes/byte_reader.h"
#include "common/bytes/byte_writer.h"
#include "common/text/sjis.h"

namespace zeku {

bool readPackHeader(const uint8_t* bytes, size_t size, PackHeader& header) {
    PackHeader read;
    ByteReader reader(bytes, size);
    syncPackHeader(reader, read);
    if (!reader.ok()) return false;
    if (std::memcmp(read.magic, "RLZ2", 4) != 0 && std::memcmp(read.magic, "RLZ3", 4) != 0)
        return false;
    header = read;
    return true;
}

void writePackHeader(const PackHeader& header, uint8_t out[kPackHeaderSize]) {
    ByteWriter writer(out, kPackHeaderSize);
    syncPackHeader(writer, header);
}

bool readPackEntry(const uint8_t* directory, size_t size, uint32_t index, PackEntry& entry) {
    const uint64_t at = packDirectoryEnd(index);
    if (at > size) return false;
    PackEntry read;
    ByteReader reader(directory + at, size - static_cast<size_t>(at), at);
    syncPackEntry(reader, read);
    if (!reader.ok()) return false;
    entry = read;
    return true;
}

void writePackEntry(const PackEntry& entry, uint8_t out[kPackEntrySize]) {
    ByteWriter writer(out, kPackEntrySize);
    syncPackEntry(writer, entry);
}

bool setPackEntryName(PackEntry& entry, std::string_view name) {
    if (name.size() >= kPackNameField || name.find('\0') != std::string_view::npos) return false;
    std::memset(entry.name, 0, kPackNameField);
    std::memcpy(entry.name, name.data(), name.size());
    return true;
}

std::string_view packEntryName(const PackEntry& entry) {
    const void* end = std::memchr(entry.name, 0, kPackNameField);
    const size_t length =
        end ? static_cast<size_t>(static_cast<const char*>(end) - entry.name) : kPackNameField;
    return {entry.name, length};
}

Parsed<void> checkPackEntry(const PackEntry& entry, uint64_t dataStart, uint64_t fileSize,
                            uint64_t entryFileOffset) {
    if (std::memchr(entry.name, 0, kPackNameField) == nullptr)
        return ParseError("entry name is not terminated", entryFileOffset);
    if (entry.method != kPackStored && entry.method != kPackLzss)
        return ParseError("unknown compression method", entryFileOffset + 72);
    const uint64_t end = dataStart + entry.dataOffset + entry.storedSize;
    if (end > fileSize)
        return ParseError("entry data lies beyond the end of the file", entryFileOffset + 76);
    if (entry.method == kPackStored && entry.unpackedSize != entry.storedSize)
        return ParseError("stored entry has a different unpacked size", entryFileOffset + 68);
    // Two stream bytes give at most 17 output bytes; a larger claim is damage
    // and must not make the reader allocate gigabytes.
    if (entry.method == kPackLzss && entry.unpackedSize > uint64_t{entry.storedSize} * 17 / 2 + 17)
        return ParseError("compressed entry claims more bytes than its data can give",
                          entryFileOffset + 68);
    return {};
}

Parsed<void> checkPackDirectory(const uint8_t* directory, size_t size, uint64_t fileSize) {
    PackHeader header;
    if (!readPackHeader(directory, size, header))
        return ParseError("not a package", 0, ParseErrorKind::kWrongFormat);
    const uint64_t dataStart = packDirectoryEnd(header.entryCount);
    if (dataStart > fileSize) return ParseError("directory is larger than the file", 4);
    if (dataStart > size) return ParseError("directory is incomplete", size);
    for (uint32_t i = 0; i < header.entryCount; ++i) {
        PackEntry entry;
        readPackEntry(directory, size, i, entry);
        Parsed<void> check = checkPackEntry(entry, dataStart, fileSize, packDirectoryEnd(i));
        if (!check) return check;
    }
    return {};
}

int findPackEntry(const uint8_t* directory, size_t size, std::string_view name) {
    PackHeader header;
    if (!readPackHeader(directory, size, header)) return -1;
    for (uint32_t i = 0; i < header.entryCount; ++i) {
        PackEntry entry;
        if (!readPackEntry(directory, size, i, entry)) return -1;
        if (textEquals(packEntryName(entry), name)) return static_cast<int>(i);
    }
    return -1;
}

bool layOutPack(std::vector<PackEntry>& entries, std::vector<uint8_t>& headerAndDirectory) {
    if (entries.size() >= (uint64_t{1} << 32) / kPackEntrySize) return false;
    const uint32_t count = static_cast<uint32_t>(entries.size());
    uint64_t total = packDirectoryEnd(count);
    uint64_t offset = 0;
    for (PackEntry& entry : entries) {
        entry.dataOffset = static_cast<uint32_t>(offset);
        offset += entry.storedSize;
        if (total + offset >= (uint64_t{1} << 32)) return false;
    }
    total += offset;

    headerAndDirectory.assign(static_cast<size_t>(packDirectoryEnd(count)), 0);
    PackHeader header;
    header.entryCount = count;
    header.fileSize = static_cast<uint32_t>(total);
    writePackHeader(header, headerAndDirectory.data());
    for (uint32_t i = 0; i < count; ++i)
        writePackEntry(entries[i], headerAndDirectory.data() + packDirectoryEnd(i));
    return true;
}

}  // namespace zeku
