// One player per (window class, title): an flock'd file marks the running
// instance and a Unix socket beside it carries "come to the front" requests.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/single_instance.h"

namespace zeku {
namespace {

constexpr std::string_view kRaiseRequest = "raise\n";
// Longest readable part of the name; the hash keeps it unique regardless.
constexpr size_t kMaxReadableName = 40;
// Connections that have not yet sent their request. A client that connects
// and stalls must not block the ones after it, so the oldest is dropped.
constexpr size_t kMaxPending = 8;
constexpr size_t kMaxSocketPath = sizeof(sockaddr_un::sun_path) - 1;

uint64_t fnv1a(uint64_t hash, std::string_view bytes) {
    for (char c : bytes) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 0x100000001B3ull;
    }
    return hash;
}

void appendSanitized(std::string& out, std::string_view raw) {
    for (char c : raw) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '_' || c == '-';
        out += keep ? c : '_';
    }
}

// File-name-safe and bounded in length. Titles are Shift-JIS, so most of a
// Japanese title sanitizes away; the hash of the raw bytes keeps two such
// titles apart.
std::string instanceName(std::string_view className, std::string_view title) {
    std::string name;
    appendSanitized(name, className);
    name += '-';
    appendSanitized(name, title);
    if (name.size() > kMaxReadableName) name.resize(kMaxReadableName);

    uint64_t hash = fnv1a(0xCBF29CE484222325ull, className);
    hash = fnv1a(hash, std::string_view("\0", 1));  // "ab"+"c" differs from "a"+"bc"
    hash = fnv1a(hash, title);
    static constexpr char kHex[] = "0123456789abcdef";
    name += '-';
    for (int shift = 60; shift >= 0; shift -= 4)
        name += kHex[(hash >> shift) & 0xF];
    return name;
}

bool usableFolder(const char* path) {
    struct stat info {};
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode) && access(path, W_OK | X_OK) == 0;
}

// The per-user folder for the lock and socket, ending in "/", or empty when
// none can be had. `longestName` is what must still fit in a socket address.
std::string runtimeFolder(size_t longestName) {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg != nullptr && xdg[0] == '/' && usableFolder(xdg) &&
        std::strlen(xdg) + 1 + longestName <= kMaxSocketPath) {
        std::string folder = xdg;
        if (folder.back() != '/') folder += '/';
        return folder;
    }

    // /tmp is shared: the folder must be ours, a real directory, and private,
    // or another user could plant the lock or answer our requests.
    const uid_t uid = getuid();
    const std::string folder = "/tmp/zeku-" + std::to_string(uid);
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid) {
        return {};
    }
    if ((info.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0) return {};
    return folder + "/";
}

bool makeAddress(const std::string& path, sockaddr_un& address) {
    if (path.size() > kMaxSocketPath) return false;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

// Started without a usable folder: run alone, never hear from later starts.
class UnlockedInstance final : public InstanceLock {
  public:
    bool raiseRequested() override { return false; }
};

class SocketInstanceLock final : public InstanceLock {
  public:
    SocketInstanceLock(int lockFd, std::string socketPath)
        : lockFd_(lockFd), socketPath_(std::move(socketPath)) {
        startListening();
    }

    ~SocketInstanceLock() override {
        for (const Pending& p : pending_)
            close(p.fd);
        if (listenFd_ >= 0) {
            close(listenFd_);
            // Unlinked while the lock is still held, so this cannot remove
            // the socket of the instance that takes over.
            unlink(socketPath_.c_str());
        }
        close(lockFd_);
    }

    SocketInstanceLock(const SocketInstanceLock&) = delete;
    SocketInstanceLock& operator=(const SocketInstanceLock&) = delete;

    bool raiseRequested() override {
        if (listenFd_ < 0) return false;
        acceptWaiting();
        if (!pending_.empty()) readPending();
        if (raises_ == 0) return false;
        --raises_;
        return true;
    }

  private:
    struct Pending {
        int fd = -1;
        size_t length = 0;
        char bytes[8] = {};
    };

    void startListening() {
        sockaddr_un address{};
        if (!makeAddress(socketPath_, address)) return;
        // A socket left by a crashed instance would make bind fail; holding
        // the lock proves nobody listens on it any more.
        unlink(socketPath_.c_str());
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return;
        if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            close(fd);
            return;
        }
        if (::listen(fd, static_cast<int>(kMaxPending)) != 0) {
            close(fd);
            unlink(socketPath_.c_str());
            return;
        }
        listenFd_ = fd;
    }

    // Called every frame: with nobody waiting this is one failing accept.
    void acceptWaiting() {
        for (;;) {
            const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                if (errno == EINTR || errno == ECONNABORTED) continue;
                return;
            }
            if (pending_.size() == kMaxPending) {
                close(pending_.front().fd);
                pending_.erase(pending_.begin());
            }
            pending_.push_back(Pending{fd});
        }
    }

    // A client may be accepted before its request arrives, so a connection
    // stays pending until it has sent the request, something else, or closed.
    void readPending() {
        size_t kept = 0;
        for (Pending& p : pending_) {
            bool done = false;
            const ssize_t n = read(p.fd, p.bytes + p.length, sizeof p.bytes - p.length);
            if (n > 0) {
                p.length += static_cast<size_t>(n);
                const std::string_view got(p.bytes, p.length);
                if (got.starts_with(kRaiseRequest)) {
                    ++raises_;
                    done = true;
                } else if (!kRaiseRequest.starts_with(got)) {
                    done = true;  // not a request we know
                }
            } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                done = true;
            }
            if (done) {
                close(p.fd);
            } else {
                pending_[kept++] = p;
            }
        }
        pending_.resize(kept);
    }

    int lockFd_;
    int listenFd_ = -1;
    std::string socketPath_;
    std::vector<Pending> pending_;
    int raises_ = 0;
};

// Best effort: if the running instance cannot be reached (it is still
// starting, or is stuck with a full backlog) this start simply leaves.
void askToRaise(const std::string& socketPath) {
    sockaddr_un address{};
    if (!makeAddress(socketPath, address)) return;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        // MSG_NOSIGNAL: a listener that quits meanwhile must not kill us with SIGPIPE.
        [[maybe_unused]] const ssize_t sent =
            send(fd, kRaiseRequest.data(), kRaiseRequest.size(), MSG_NOSIGNAL);
    }
    close(fd);
}

}  // namespace

std::unique_ptr<InstanceLock> acquireInstance(std::string_view className,
                                              std::string_view sjisTitle) {
    const std::string name = instanceName(className, sjisTitle);
    const std::string folder = runtimeFolder(name.size() + std::strlen(".sock"));
    if (folder.empty()) return std::make_unique<UnlockedInstance>();

    const std::string lockPath = folder + name + ".lock";
    const int lockFd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd < 0) return std::make_unique<UnlockedInstance>();

    const std::string socketPath = folder + name + ".sock";
    int result;
    do {
        result = flock(lockFd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) return std::make_unique<SocketInstanceLock>(lockFd, socketPath);

    const bool heldElsewhere = errno == EWOULDBLOCK;
    close(lockFd);
    if (!heldElsewhere) return std::make_unique<UnlockedInstance>();  // e.g. no flock here
    askToRaise(socketPath);
    return nullptr;
}

}  // namespace zeku
