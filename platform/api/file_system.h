// Files as the engine sees them: whole-file and ranged reads and writes,
// read-only handles and mappings, and the crash-safe replacement of a file.
// Paths are the host's native byte strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/bytes/byte_buffer.h"

namespace zeku {

// Sizes are 32-bit: this is what a missing file (or one of 4 GiB or more,
// which the formats cannot address) reports.
inline constexpr uint32_t kNoFileSize = 0xFFFFFFFFu;

enum FileOrigin { kFileStart = 0, kFileCurrent = 1, kFileEnd = 2 };
enum FileWriteMode { kWriteInPlace = 0, kWriteReplace = 1 };

uint32_t fileSize(const char* path);
int fileExists(const char* path);  // 1 for a regular file, else 0

// Bytes read; 0 when the file cannot be opened. A fresh open starts at 0, so
// kFileCurrent counts from the start as well.
uint32_t readFileRange(const char* path, void* buffer, int origin, int64_t offset, uint32_t count);

// Bytes written; 0 when the file cannot be opened. kWriteReplace builds the
// new file under a temporary name and renames it over the old one, so a
// crash mid-write leaves the previous file whole. Other modes open or create
// the file and write in place.
uint32_t writeFileRange(const char* path, const void* data, int origin, int64_t offset,
                        uint32_t count, int mode);

// The whole file, or an empty buffer when it is missing or unreadable.
ByteBuffer readWholeFile(const char* path);

// A read-only file handle; closes itself.
class ReadOnlyFile {
  public:
    ReadOnlyFile() = default;
    static ReadOnlyFile open(const char* path);
    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile();

    explicit operator bool() const { return fd_ >= 0; }
    uint64_t size() const;
    // Bytes read at `offset` (short only at the end of the file or on error).
    size_t readAt(uint64_t offset, void* buffer, size_t count) const;
    void close();

  private:
    int fd_ = -1;
};

// A read-only mapping of a whole file; unmaps itself. An empty file maps to
// a valid view of size 0.
class MappedView {
  public:
    MappedView() = default;
    static MappedView map(const char* path);
    MappedView(MappedView&& other) noexcept;
    MappedView& operator=(MappedView&& other) noexcept;
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;
    ~MappedView();

    explicit operator bool() const { return valid_; }
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }
    void unmap();

  private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    bool valid_ = false;
};

// Writes a new file under a temporary name beside `path`; commit() flushes
// it to disk and renames it into place. Destroyed uncommitted, it removes
// the temporary file and the old file stays as it was.
class AtomicFileWriter {
  public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    bool open(const std::string& path, std::string& error);
    bool write(const void* data, size_t size);  // false once any write failed
    bool writeAt(uint64_t offset, const void* data, size_t size);
    bool commit(std::string& error);

  private:
    void discard();

    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    int failedErrno_ = 0;
};

// Relative paths ("a/b.png") of every regular file under `root`, sorted
// bytewise. False with `error` set when a folder cannot be read.
bool listFilesRecursively(const std::string& root, std::vector<std::string>& relativePaths,
                          std::string& error);

// Creates `path` and its missing parents.
bool makeDirectories(const std::string& path, std::string& error);

// Full path of the regular file in `folder` whose name equals `name` without
// regard to ASCII case ("LUMP.DAT" for "Lump.dat"), as folders copied from a
// Windows disc spell names either way. An exact match wins; among several
// other spellings the bytewise smallest is taken. Empty when there is none.
std::string findFileIgnoringCase(const std::string& folder, const std::string& name);

}  // namespace zeku
