// Files on POSIX: plain descriptors opened per call (nothing stays open
// between operations), mmap for read-only views, and temporary file plus
// fsync plus rename for replacing a file.
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/api/file_system.h"

namespace zeku {
namespace {

// Opens `path` only when it is a regular file. Without O_NONBLOCK the open
// of a FIFO waits for a writer and a device may wait for anything, so the
// descriptor is opened non-blocking, checked, and made blocking again.
int openRegular(const char* path, int flags) {
    const int fd = ::open(path, flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    struct stat info;
    const int status = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || status < 0 ||
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

int openForReading(const char* path) {
    return openRegular(path, O_RDONLY);
}

bool regularFileSize(const char* path, uint64_t& size) {
    struct stat info;
    if (::stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    size = static_cast<uint64_t>(info.st_size);
    return true;
}

// Moves to `offset` from `origin`; false when the position would be negative.
bool seekFrom(int fd, int origin, int64_t offset) {
    const int whence = origin == kFileEnd ? SEEK_END : SEEK_SET;
    return ::lseek(fd, static_cast<off_t>(offset), whence) >= 0;
}

size_t readFully(int fd, void* buffer, size_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd, out + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

size_t writeFully(int fd, const void* data, size_t count) {
    const auto* in = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, in + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

std::string temporaryNameFor(const std::string& path) {
    return path + ".tmp-" + std::to_string(::getpid());
}

// Makes a rename durable: the directory entry must reach the disk too.
void syncParentFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string describe(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

}  // namespace

uint32_t fileSize(const char* path) {
    uint64_t size = 0;
    if (!regularFileSize(path, size) || size >= kNoFileSize) return kNoFileSize;
    return static_cast<uint32_t>(size);
}

int fileExists(const char* path) {
    uint64_t size = 0;
    return regularFileSize(path, size) ? 1 : 0;
}

uint32_t readFileRange(const char* path, void* buffer, int origin, int64_t offset, uint32_t count) {
    const int fd = openForReading(path);
    if (fd < 0) return 0;
    uint32_t done = 0;
    if (seekFrom(fd, origin, offset)) done = static_cast<uint32_t>(readFully(fd, buffer, count));
    ::close(fd);
    return done;
}

uint32_t writeFileRange(const char* path, const void* data, int origin, int64_t offset,
                        uint32_t count, int mode) {
    if (mode == kWriteReplace) {
        // A fresh file: the origin can only count from its start.
        AtomicFileWriter writer;
        std::string error;
        if (!writer.open(path, error)) return 0;
        const uint64_t at = offset > 0 ? static_cast<uint64_t>(offset) : 0;
        if (!writer.writeAt(at, data, count) || !writer.commit(error)) return 0;
        return count;
    }
    const int fd = openRegular(path, O_WRONLY | O_CREAT);
    if (fd < 0) return 0;
    uint32_t done = 0;
    if (seekFrom(fd, origin, offset)) done = static_cast<uint32_t>(writeFully(fd, data, count));
    ::close(fd);
    return done;
}

ByteBuffer readWholeFile(const char* path) {
    const int fd = openForReading(path);
    if (fd < 0) return {};
    struct stat info;
    ByteBuffer buffer;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size < kNoFileSize) {
        buffer = ByteBuffer::allocate(static_cast<size_t>(info.st_size));
        if (buffer && readFully(fd, buffer.data(), buffer.size()) != buffer.size()) buffer = {};
    }
    ::close(fd);
    return buffer;
}

ReadOnlyFile ReadOnlyFile::open(const char* path) {
    ReadOnlyFile file;
    file.fd_ = openForReading(path);
    return file;
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

ReadOnlyFile::~ReadOnlyFile() {
    close();
}

uint64_t ReadOnlyFile::size() const {
    struct stat info;
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) return 0;
    return static_cast<uint64_t>(info.st_size);
}

size_t ReadOnlyFile::readAt(uint64_t offset, void* buffer, size_t count) const {
    if (fd_ < 0) return 0;
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

void ReadOnlyFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

MappedView MappedView::map(const char* path) {
    MappedView view;
    const int fd = openForReading(path);
    if (fd < 0) return view;
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size < kNoFileSize) {
        const size_t size = static_cast<size_t>(info.st_size);
        if (size == 0) {
            view.valid_ = true;
        } else {
            void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (data != MAP_FAILED) {
                view.data_ = static_cast<const uint8_t*>(data);
                view.size_ = size;
                view.valid_ = true;
            }
        }
    }
    ::close(fd);  // the mapping keeps the file's pages
    return view;
}

MappedView::MappedView(MappedView&& other) noexcept
    : data_(other.data_), size_(other.size_), valid_(other.valid_) {
    other.data_ = nullptr;
    other.size_ = 0;
    other.valid_ = false;
}

MappedView& MappedView::operator=(MappedView&& other) noexcept {
    if (this != &other) {
        unmap();
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(valid_, other.valid_);
    }
    return *this;
}

MappedView::~MappedView() {
    unmap();
}

void MappedView::unmap() {
    if (data_ != nullptr) ::munmap(const_cast<uint8_t*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
    valid_ = false;
}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

bool AtomicFileWriter::open(const std::string& path, std::string& error) {
    discard();
    path_ = path;
    temporary_ = temporaryNameFor(path);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error = describe("cannot write", path, errno);
        return false;
    }
    failedErrno_ = 0;
    return true;
}

bool AtomicFileWriter::write(const void* data, size_t size) {
    if (fd_ < 0 || failedErrno_ != 0) return false;
    if (writeFully(fd_, data, size) != size) {
        failedErrno_ = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

bool AtomicFileWriter::writeAt(uint64_t offset, const void* data, size_t size) {
    if (fd_ < 0 || failedErrno_ != 0) return false;
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) {
        failedErrno_ = errno;
        return false;
    }
    return write(data, size);
}

bool AtomicFileWriter::commit(std::string& error) {
    if (fd_ < 0) {
        error = "cannot write " + path_ + ": not open";
        return false;
    }
    if (failedErrno_ == 0 && ::fsync(fd_) != 0) failedErrno_ = errno;
    if (::close(fd_) != 0 && failedErrno_ == 0) failedErrno_ = errno;
    fd_ = -1;
    if (failedErrno_ == 0 && ::rename(temporary_.c_str(), path_.c_str()) != 0) {
        failedErrno_ = errno;
    }
    if (failedErrno_ != 0) {
        error = describe("cannot write", path_, failedErrno_);
        ::unlink(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    temporary_.clear();
    syncParentFolder(path_);
    return true;
}

void AtomicFileWriter::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

namespace {

bool listInto(const std::string& root, const std::string& prefix, std::vector<std::string>& out,
              std::string& error, int depth) {
    // Links can make a folder contain itself; real game folders are shallow.
    if (depth > 64) {
        error = "folders nested too deeply under " + root;
        return false;
    }
    const std::string folder = prefix.empty() ? root : root + "/" + prefix;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        error = describe("cannot read folder", folder, errno);
        return false;
    }
    bool ok = true;
    while (const dirent* item = ::readdir(dir)) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") continue;
        const std::string relative = prefix.empty() ? name : prefix + "/" + name;
        struct stat info;
        if (::stat((root + "/" + relative).c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode)) {
            if (!listInto(root, relative, out, error, depth + 1)) {
                ok = false;
                break;
            }
        } else if (S_ISREG(info.st_mode)) {
            out.push_back(relative);
        }
    }
    ::closedir(dir);
    return ok;
}

}  // namespace

bool listFilesRecursively(const std::string& root, std::vector<std::string>& relativePaths,
                          std::string& error) {
    relativePaths.clear();
    if (!listInto(root, "", relativePaths, error, 0)) return false;
    std::sort(relativePaths.begin(), relativePaths.end());
    return true;
}

namespace {

bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        const int fa = (ca >= 'A' && ca <= 'Z') ? ca - 'A' + 'a' : ca;
        const int fb = (cb >= 'A' && cb <= 'Z') ? cb - 'A' + 'a' : cb;
        if (fa != fb) return false;
    }
    return true;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

std::string findFileIgnoringCase(const std::string& folder, const std::string& name) {
    // A name with a separator would look outside the folder.
    if (name.empty() || name.find('/') != std::string::npos) return {};
    uint64_t size = 0;
    const std::string exact = joinPath(folder, name);
    if (regularFileSize(exact.c_str(), size)) return exact;

    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return {};
    std::string best;
    while (const dirent* item = ::readdir(dir)) {
        const std::string candidate = item->d_name;
        if (!equalsIgnoringAsciiCase(candidate, name)) continue;
        if (!regularFileSize(joinPath(folder, candidate).c_str(), size)) continue;
        // readdir's order is the file system's; pick one that does not depend on it.
        if (best.empty() || candidate < best) best = candidate;
    }
    ::closedir(dir);
    return best.empty() ? std::string() : joinPath(folder, best);
}

bool makeDirectories(const std::string& path, std::string& error) {
    std::string partial;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        partial = path.substr(0, slash);
        start = slash + 1;
        if (partial.empty()) continue;  // the root of an absolute path
        if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) {
            error = describe("cannot create folder", partial, errno);
            return false;
        }
        struct stat info;
        if (::stat(partial.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            error = "cannot create folder " + partial + ": a file is in the way";
            return false;
        }
    }
    return true;
}

}  // namespace zeku
