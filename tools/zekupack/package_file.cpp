// Opening and reading a package for the tool, with every field checked and
// every failure described with the place where the file went wrong.
#include "tools/zekupack/package_file.h"

#include "common/lzss/lzss.h"
#include "platform/api/path_problem.h"
#include "platform/api/text_codec.h"

namespace zeku {
namespace {

std::string at(const std::string& what, uint64_t offset) {
    return what + " (at byte " + std::to_string(offset) + ")";
}

}  // namespace

std::string cannotReadFile(const std::string& path) {
    const std::string problem = fileProblem(path);
    return path + ": cannot read the file" +
           (problem.empty() ? std::string() : " (" + problem + ")");
}

bool PackageFile::open(const std::string& path, std::string& error) {
    path_ = path;
    file_ = ReadOnlyFile::open(path.c_str());
    if (!file_) {
        error = cannotReadFile(path);
        return false;
    }
    const uint64_t size = file_.size();
    uint8_t start[kPackHeaderSize];
    PackHeader header;
    if (file_.readAt(0, start, sizeof start) != sizeof start ||
        !readPackHeader(start, sizeof start, header)) {
        error = path + ": not a package (no \"RLZ2\" or \"RLZ3\" header)";
        return false;
    }
    dataStart_ = packDirectoryEnd(header.entryCount);
    if (dataStart_ > size) {
        error = path + ": " +
                at("directory of " + std::to_string(header.entryCount) +
                       " entries is larger than the file",
                   4);
        return false;
    }
    std::vector<uint8_t> directory(static_cast<size_t>(dataStart_));
    if (file_.readAt(0, directory.data(), directory.size()) != directory.size()) {
        error = path + ": cannot read the directory";
        return false;
    }
    const Parsed<void> check = checkPackDirectory(directory.data(), directory.size(), size);
    if (!check) {
        error = path + ": " + at(check.error().reason(), check.error().offset());
        return false;
    }
    entries_.resize(header.entryCount);
    for (uint32_t i = 0; i < header.entryCount; ++i)
        readPackEntry(directory.data(), directory.size(), i, entries_[i]);
    return true;
}

bool PackageFile::contents(size_t index, ByteBuffer& out, std::string& error) const {
    const PackEntry& entry = entries_.at(index);
    const std::string name = sjisToUtf8(packEntryName(entry));
    ByteBuffer stored = ByteBuffer::allocate(entry.storedSize);
    if (!stored) {
        error = name + ": out of memory";
        return false;
    }
    if (file_.readAt(dataStart_ + entry.dataOffset, stored.data(), stored.size()) !=
        stored.size()) {
        error = name + ": cannot read its bytes from " + path_;
        return false;
    }
    if (entry.method != kPackLzss) {
        out = std::move(stored);
        return true;
    }
    out = ByteBuffer::allocate(entry.unpackedSize);
    if (!out) {
        error = name + ": out of memory";
        return false;
    }
    const Parsed<size_t> decoded = lzssDecode(out.data(), out.size(), stored.data(), stored.size());
    if (!decoded || *decoded != out.size()) {
        error = name + ": damaged data (unpacks to " +
                (!decoded ? std::string("more than ") : std::to_string(*decoded) + " bytes, not ") +
                std::to_string(entry.unpackedSize) + " bytes)";
        return false;
    }
    return true;
}

}  // namespace zeku
