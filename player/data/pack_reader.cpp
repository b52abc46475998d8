// Directory caching, lookup and whole-entry reads of the package. Every field
// of the directory is checked against the file before it is used.
#include "player/data/pack_reader.h"

#include <utility>

#include "common/lzss/lzss.h"
#include "common/pack/pack_format.h"
#include "common/text/sjis.h"

namespace zeku {
const uint8_t* PackReader::open(const char* path, bool force) {
    if (holding_ && !force && textEquals(path_, path)) return directory_.data();

    uint8_t start[kPackHeaderSize];
    PackHeader header;
    if (readFileRange(path, start, kFileStart, 0, sizeof start) != sizeof start ||
        !readPackHeader(start, sizeof start, header)) {
        return nullptr;
    }
    const uint32_t size = fileSize(path);
    const uint64_t directoryEnd = packDirectoryEnd(header.entryCount);
    if (size == kNoFileSize || directoryEnd > size) return nullptr;

    ByteBuffer directory = ByteBuffer::allocate(static_cast<size_t>(directoryEnd));
    if (!directory) return nullptr;
    const uint32_t length = static_cast<uint32_t>(directoryEnd);
    if (readFileRange(path, directory.data(), kFileStart, 0, length) != length) return nullptr;
    // The file may have changed between the two reads.
    if (!readPackHeader(directory.data(), directory.size(), header) ||
        packDirectoryEnd(header.entryCount) != directoryEnd) {
        return nullptr;
    }

    path_ = path;
    directory_ = std::move(directory);
    fileSize_ = size;
    holding_ = true;
    return directory_.data();
}

bool PackReader::findEntry(const char* path, std::string_view name, PackEntry& entry) {
    const uint8_t* directory = open(path);
    if (directory == nullptr) return false;
    const int index = findPackEntry(directory, directory_.size(), name);
    return index >= 0 &&
           readPackEntry(directory, directory_.size(), static_cast<uint32_t>(index), entry) &&
           checkPackEntry(entry, directory_.size(), fileSize_, packDirectoryEnd(index)).ok();
}

uint32_t PackReader::entryCount() const {
    PackHeader header;
    if (!holding_ || !readPackHeader(directory_.data(), directory_.size(), header)) return 0;
    return header.entryCount;
}

ByteBuffer PackReader::read(const char* path, std::string_view name) {
    PackEntry entry;
    if (!findEntry(path, name, entry)) return {};
    const uint64_t dataStart = directory_.size();

    ByteBuffer stored = ByteBuffer::allocate(entry.storedSize);
    if (!stored) return {};
    const int64_t at = static_cast<int64_t>(dataStart + entry.dataOffset);
    if (readFileRange(path, stored.data(), kFileStart, at, entry.storedSize) != entry.storedSize) {
        return {};
    }
    if (entry.method != kPackLzss) return stored;

    ByteBuffer unpacked = ByteBuffer::allocate(entry.unpackedSize);
    if (!unpacked) return {};
    const Parsed<size_t> decoded =
        lzssDecode(unpacked.data(), unpacked.size(), stored.data(), stored.size());
    // Too few or too many bytes both mean the entry is damaged; handing out
    // a partly filled buffer would pass garbage on as a picture or script.
    if (!decoded || *decoded != unpacked.size()) return {};
    return unpacked;
}

ReadOnlyFile PackReader::locate(const char* path, std::string_view name, uint32_t& fileOffset,
                                uint32_t& storedSize) {
    PackEntry entry;
    if (!findEntry(path, name, entry)) return {};
    const uint64_t dataStart = directory_.size();
    fileOffset = static_cast<uint32_t>(dataStart + entry.dataOffset);
    storedSize = entry.storedSize;
    if (entry.method == kPackLzss) return {};
    return ReadOnlyFile::open(path);
}

}  // namespace zeku
