// Writes the game folder: the placeholder executable and the archive pairs,
// each index a "#name$offset*size+" list and each data file the stored
// files back to back, all XORed with the key.
#include <string_view>

#include "platform/api/file_system.h"
#include "tools/demogame/demo_game.h"

namespace zeku::demo {
namespace {

// The index and data offsets are read as 32-bit numbers.
constexpr uint64_t kLargestArchive = 0xFFFFFFFFull;
constexpr size_t kLongestName = 127;

const char kIndexComment[] = "zekudemo archive index\r\n";
const char kExecutable[] =
    "MZ zekudemo placeholder: the converter only checks that this file exists.\r\n";

// Names go between "#" and "$" and must not contain the index's own marks.
// Shift-JIS trail bytes are 0x40 and above, so they never match a mark.
bool checkName(const std::string& name, std::string& error) {
    if (name.empty() || name.size() > kLongestName) {
        error = "archive name \"" + name + "\" must have 1 to 127 bytes";
        return false;
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || c == '#' || c == '$' || c == '*' || c == '+') {
            error = "archive name \"" + name + "\" contains a character the index cannot hold";
            return false;
        }
    }
    return true;
}

void scramble(std::vector<uint8_t>& bytes, uint8_t key) {
    for (uint8_t& b : bytes)
        b ^= key;
}

bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes,
                    std::string& error) {
    AtomicFileWriter writer;
    if (!writer.open(path, error)) return false;
    // A failed write is remembered; commit() then reports it and keeps the
    // old file.
    writer.write(bytes.data(), bytes.size());
    return writer.commit(error);
}

bool writeArchive(const std::string& folder, const std::string& baseName,
                  const std::vector<DemoFile>& files, uint8_t key, std::string& error) {
    std::string index = kIndexComment;
    std::vector<uint8_t> data;
    uint64_t offset = 0;
    for (const DemoFile& file : files) {
        if (offset + file.bytes.size() > kLargestArchive) {
            error = baseName + ".dat would exceed 4 GiB";
            return false;
        }
        index += "#" + file.name + "$" + std::to_string(offset) + "*" +
                 std::to_string(file.bytes.size()) + "+";
        data.insert(data.end(), file.bytes.begin(), file.bytes.end());
        offset += file.bytes.size();
    }
    std::vector<uint8_t> indexBytes(index.begin(), index.end());
    scramble(indexBytes, key);
    scramble(data, key);
    return writeWholeFile(folder + "/" + baseName + ".dat", data, error) &&
           writeWholeFile(folder + "/" + baseName + ".cpn", indexBytes, error);
}

}  // namespace

bool writeSourceGame(const std::string& folder, const DemoGame& game, uint8_t key,
                     std::string& error) {
    // Every name is checked before anything is written.
    for (const auto* files : {&game.first, &game.second}) {
        for (const DemoFile& file : *files) {
            if (!checkName(file.name, error)) return false;
        }
    }
    if (!makeDirectories(folder, error)) return false;
    const std::string_view executable = kExecutable;
    if (!writeWholeFile(folder + "/kumo.exe", {executable.begin(), executable.end()}, error)) {
        return false;
    }
    if (!writeArchive(folder, "Lump", game.first, key, error)) return false;
    if (!game.second.empty() && !writeArchive(folder, "Lump2", game.second, key, error)) {
        return false;
    }
    return true;
}

}  // namespace zeku::demo
