// A package opened by the tool: its whole directory checked against the
// file, and the entries' contents read and unpacked on request.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/bytes/byte_buffer.h"
#include "common/pack/pack_format.h"
#include "platform/api/file_system.h"

namespace zeku {

class PackageFile {
  public:
    // False with a one-line `error` when the file is missing, not a package,
    // or any directory field does not fit the file.
    bool open(const std::string& path, std::string& error);

    const std::vector<PackEntry>& entries() const { return entries_; }
    uint64_t dataStart() const { return dataStart_; }

    // The unpacked contents of entry `index`; false with `error` when the
    // bytes cannot be read or do not unpack to the recorded size.
    bool contents(size_t index, ByteBuffer& out, std::string& error) const;

  private:
    std::string path_;
    ReadOnlyFile file_;
    std::vector<PackEntry> entries_;
    uint64_t dataStart_ = 0;
};

// "PATH: cannot read the file (a folder, not a file)": the message for a
// file the tool was pointed at and could not read.
std::string cannotReadFile(const std::string& path);

}  // namespace zeku
