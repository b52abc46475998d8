// The player's access to the package: reads the directory once per package,
// finds entries by name and hands out their whole (decompressed) contents.
// The application has one reader for pictures and scripts, the sound engine
// another for effects.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/bytes/byte_buffer.h"
#include "common/pack/pack_format.h"
#include "platform/api/file_system.h"

namespace zeku {

class PackReader {
  public:
    // The held header and directory for `path`, reading them when the
    // reader holds another package (or none) or `force` is set. Nullptr when
    // the file is missing, not a package, or its directory does not fit in
    // it; the previously held package then stays in use for its own path.
    const uint8_t* open(const char* path, bool force = false);

    // The entry's whole contents, decompressed, sized to its unpacked size;
    // an empty buffer when the package or entry is missing, the entry's
    // fields do not fit the file, or its data is damaged.
    ByteBuffer read(const char* path, std::string_view name);

    // For an entry stored uncompressed: a read-only handle of the package,
    // with the absolute file offset and the size of its bytes. For a
    // compressed entry the out values are set and the handle is closed; for
    // a missing entry they are left untouched.
    ReadOnlyFile locate(const char* path, std::string_view name, uint32_t& fileOffset,
                        uint32_t& storedSize);

    uint32_t entryCount() const;

  private:
    // The first entry of that name in the package at `path`, once its fields
    // have been checked against the file.
    bool findEntry(const char* path, std::string_view name, PackEntry& entry);

    std::string path_;
    ByteBuffer directory_;  // header and directory, as stored
    bool holding_ = false;
    uint64_t fileSize_ = 0;
};

}  // namespace zeku
