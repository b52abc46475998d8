// Fuzzes the package reader with arbitrary files: the directory checks, the
// name lookup and whole-entry reads (stored and compressed) must never read
// or write outside their buffers, whatever the directory claims.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "common/pack/pack_format.h"
#include "platform/api/file_system.h"
#include "player/data/pack_reader.h"

namespace {

std::string scratchPath() {
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/zeku-pack-fuzz-" + std::to_string(getpid()) + ".mlz";
}

// Removes the scratch file when the program ends, so replays in every test
// run leave nothing behind.
struct ScratchRemover {
    const std::string& path;
    ~ScratchRemover() { std::remove(path.c_str()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = scratchPath();
    static const ScratchRemover remover{path};
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    const zeku::Parsed<void> checked = zeku::checkPackDirectory(data, size, size);
    if (!checked && checked.error().offset() > size) __builtin_trap();

    // A fresh reader each time: the cache would otherwise answer from the
    // previous input.
    zeku::PackReader reader;
    if (reader.open(path.c_str(), true) == nullptr) return 0;
    const uint32_t count = reader.entryCount();
    for (uint32_t i = 0; i < count && i < 64; ++i) {
        zeku::PackEntry entry;
        if (!zeku::readPackEntry(data, size, i, entry)) break;
        const std::string name(zeku::packEntryName(entry));
        const zeku::ByteBuffer contents = reader.read(path.c_str(), name);
        if (contents && contents.size() != entry.unpackedSize && i == 0) __builtin_trap();
        uint32_t offset = 0, stored = 0;
        reader.locate(path.c_str(), name, offset, stored);
    }
    reader.read(path.c_str(), "./script.txt");
    return 0;
}
