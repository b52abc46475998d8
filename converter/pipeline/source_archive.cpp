// Opening the game folder's archives (file lookup, key, both indexes, the
// merge) and reading single entries from the data files.
#include "converter/pipeline/source_archive.h"

#include <cinttypes>
#include <cstdio>
#include <utility>

#include "platform/api/file_system.h"
#include "platform/api/path_problem.h"
#include "platform/api/text_codec.h"

namespace zeku {

namespace {

std::string baseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string hexByte(uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

std::string decimal(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%" PRIu64, value);
    return text;
}

// "cannot open PATH: Permission denied".
std::string cannotOpen(const std::string& path) {
    const std::string problem = fileProblem(path);
    return "cannot open " + path + (problem.empty() ? std::string() : ": " + problem);
}

// What stands where the file `name` of `folder` should be, when something
// other than a readable file does ("PATH: a folder, not a file"); empty
// when nothing is there.
std::string obstacle(const std::string& folder, const std::string& name) {
    const std::string exact =
        (!folder.empty() && folder.back() == '/' ? folder : folder + "/") + name;
    if (!pathExists(exact)) return {};
    const std::string problem = fileProblem(exact);
    return problem.empty() ? std::string() : exact + ": " + problem;
}

std::string absentFile(const std::string& folder, const std::string& name) {
    const std::string why = obstacle(folder, name);
    return why.empty() ? "\"" + name + "\" is not in " + folder : why;
}

bool readIndexFile(const std::string& path, std::vector<uint8_t>& text, std::string& error) {
    const ReadOnlyFile file = ReadOnlyFile::open(path.c_str());
    if (!file) {
        error = cannotOpen(path);
        return false;
    }
    const uint64_t size = file.size();
    if (size > kMaxSourceIndexBytes) {
        error = path + " holds " + decimal(size) + " bytes, too many for an archive index";
        return false;
    }
    text.resize(static_cast<size_t>(size));
    if (file.readAt(0, text.data(), text.size()) != text.size()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

bool dataFileSize(const std::string& path, uint64_t& size, std::string& error) {
    const ReadOnlyFile file = ReadOnlyFile::open(path.c_str());
    if (!file) {
        error = cannotOpen(path);
        return false;
    }
    size = file.size();
    return true;
}

std::string keyList(const std::vector<uint8_t>& keys) {
    constexpr size_t kShown = 8;
    std::string list;
    for (size_t i = 0; i < keys.size() && i < kShown; ++i) {
        if (i > 0) list += ", ";
        list += hexByte(keys[i]);
    }
    if (keys.size() > kShown) list += " and " + decimal(keys.size() - kShown) + " more";
    return list;
}

// Why no key fits, told for the key that the first index's last byte
// suggests (a well-formed index ends with "+").
std::string noKeyHint(const SourceGame& game, const std::vector<uint8_t>& first,
                      const std::vector<uint8_t>& second) {
    const std::vector<uint8_t>& text = first.empty() ? second : first;
    if (text.empty()) return {};
    SourceIndexOptions options;
    options.mode = IndexParseMode::kStrict;
    options.key = static_cast<uint8_t>(text.back() ^ '+');
    const bool isFirst = !first.empty();
    options.dataSize = isFirst ? game.firstDataSize
                               : (game.secondDataPath.empty() ? kNoDataLimit : game.secondDataSize);
    Parsed<std::vector<SourceEntry>> result =
        parseSourceIndex(text.data(), text.size(), isFirst ? 0 : 1, options);
    std::string file = baseName(isFirst ? game.firstIndexPath : game.secondIndexPath);
    if (result && isFirst && !second.empty()) {
        options.dataSize = game.secondDataPath.empty() ? kNoDataLimit : game.secondDataSize;
        result = parseSourceIndex(second.data(), second.size(), 1, options);
        file = baseName(game.secondIndexPath);
    }
    if (result) return {};
    return " (with key " + hexByte(options.key) + " " + file + " has " + result.error().reason() +
           " at byte " + decimal(result.error().offset()) + ")";
}

bool chooseKey(const SourceGame& game, const std::vector<uint8_t>& first,
               const std::vector<uint8_t>& second, uint8_t& key, std::string& error) {
    ScrambledIndex a{first.data(), first.size(), game.firstDataSize};
    ScrambledIndex b{second.data(), second.size(),
                     game.secondDataPath.empty() ? kNoDataLimit : game.secondDataSize};
    const std::vector<uint8_t> keys = findArchiveKeys(a, b);
    if (keys.size() == 1) {
        key = keys[0];
        return true;
    }
    if (keys.empty()) {
        error = "no key decodes the archive index into valid entries" +
                noKeyHint(game, first, second) + "; give the key with --key";
    } else {
        error = "several keys decode the archive index (" + keyList(keys) +
                "); give the right one with --key";
    }
    return false;
}

bool parseIndex(const std::vector<uint8_t>& text, int archive, uint8_t key, uint64_t dataSize,
                const std::string& path, std::vector<SourceEntry>& entries, std::string& error) {
    SourceIndexOptions options;
    options.key = key;
    options.dataSize = dataSize;
    Parsed<std::vector<SourceEntry>> result =
        parseSourceIndex(text.data(), text.size(), archive, options);
    if (!result) {
        error = baseName(path) + " (key " + hexByte(key) + "): " + result.error().reason() +
                " at byte " + decimal(result.error().offset());
        return false;
    }
    entries = std::move(result).value();
    return true;
}

}  // namespace

bool openSourceGame(const std::string& folder, std::optional<uint8_t> key, SourceGame& game,
                    std::string& error) {
    SourceGame opened;
    opened.folder = folder;
    opened.firstIndexPath = findFileIgnoringCase(folder, "Lump.cpn");
    if (opened.firstIndexPath.empty()) {
        error = absentFile(folder, "Lump.cpn");
        return false;
    }
    std::vector<uint8_t> first, second;
    if (!readIndexFile(opened.firstIndexPath, first, error)) return false;
    opened.firstDataPath = findFileIgnoringCase(folder, "Lump.dat");
    if (opened.firstDataPath.empty()) {
        error = absentFile(folder, "Lump.dat");
        return false;
    }
    if (!dataFileSize(opened.firstDataPath, opened.firstDataSize, error)) return false;

    // The second pair is optional; its data only matters when its index
    // lists files. A second index that is there but is no file is an
    // error, not an absence: the run would quietly drop its files.
    opened.secondIndexPath = findFileIgnoringCase(folder, "Lump2.cpn");
    if (opened.secondIndexPath.empty()) {
        error = obstacle(folder, "Lump2.cpn");
        if (!error.empty()) return false;
    } else if (!readIndexFile(opened.secondIndexPath, second, error)) {
        return false;
    }
    opened.secondDataPath = findFileIgnoringCase(folder, "Lump2.dat");
    if (!opened.secondDataPath.empty() &&
        !dataFileSize(opened.secondDataPath, opened.secondDataSize, error)) {
        return false;
    }

    if (key) {
        opened.key = *key;
    } else if (!chooseKey(opened, first, second, opened.key, error)) {
        return false;
    }

    std::vector<SourceEntry> listA, listB;
    if (!parseIndex(first, 0, opened.key, opened.firstDataSize, opened.firstIndexPath, listA,
                    error)) {
        return false;
    }
    if (!opened.secondIndexPath.empty()) {
        const uint64_t limit = opened.secondDataPath.empty() ? kNoDataLimit : opened.secondDataSize;
        if (!parseIndex(second, 1, opened.key, limit, opened.secondIndexPath, listB, error)) {
            return false;
        }
        if (!listB.empty() && opened.secondDataPath.empty()) {
            const std::string listing =
                baseName(opened.secondIndexPath) + " lists " + decimal(listB.size()) + " files";
            const std::string why = obstacle(folder, "Lump2.dat");
            error = why.empty() ? listing + " but \"Lump2.dat\" is not in " + folder
                                : why + " (" + listing + ")";
            return false;
        }
    }
    opened.entries = mergeSourceIndexes(listA, listB);
    // Under a wrong key an index usually reads as bare text without entries;
    // an empty package would hide that.
    if (opened.entries.empty()) {
        error = "the archive indexes list no files under key " + hexByte(opened.key) +
                "; is the key right?";
        return false;
    }
    if (opened.entries.size() > kMaxSourceEntries) {
        error = "the two archives list " + decimal(opened.entries.size()) +
                " different files, more than 8192";
        return false;
    }
    game = std::move(opened);
    return true;
}

bool readSourceEntry(const SourceGame& game, size_t i, std::vector<uint8_t>& bytes,
                     std::string& error) {
    if (i >= game.entries.size()) {
        error = "entry " + decimal(i) + " is out of range (" + decimal(game.entries.size()) +
                " entries)";
        return false;
    }
    const SourceEntry& entry = game.entries[i];
    const std::string& path = entry.archive == 1 ? game.secondDataPath : game.firstDataPath;
    const ReadOnlyFile file = ReadOnlyFile::open(path.c_str());
    if (!file) {
        error = (path.empty() ? std::string("cannot open the data file") : cannotOpen(path)) +
                " to read \"" + sjisToUtf8(entry.name) + "\"";
        return false;
    }
    bytes.resize(entry.size);
    const size_t got = file.readAt(entry.offset, bytes.data(), bytes.size());
    if (got != bytes.size()) {
        error = "read only " + decimal(got) + " of " + decimal(entry.size) + " bytes of \"" +
                sjisToUtf8(entry.name) + "\" from " + path;
        bytes.clear();
        return false;
    }
    scrambleBytes(bytes.data(), bytes.size(), game.key);
    return true;
}

}  // namespace zeku
