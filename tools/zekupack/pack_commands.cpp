// list, extract and create: packages shown, unpacked into a folder, and
// built from a folder in exactly the layout the player reads.
#include "tools/zekupack/pack_commands.h"

#include <cinttypes>
#include <cstdio>
#include <string_view>

#include "common/lzss/lzss.h"
#include "common/pack/pack_compression.h"
#include "common/pack/pack_format.h"
#include "common/text/name_set.h"
#include "common/text/sjis.h"
#include "platform/api/file_system.h"
#include "platform/api/text_codec.h"
#include "tools/zekupack/package_file.h"

namespace zeku {
namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "zekupack: %s\n", message.c_str());
    return 1;
}

void warn(const std::string& message) {
    std::fprintf(stderr, "zekupack: warning: %s\n", message.c_str());
}

// The path under the output folder for an entry name, or empty when the name
// could climb out of it ("..", an absolute path) or names nothing.
std::string safeRelativePath(const std::string& utf8Name) {
    std::string_view rest = utf8Name;
    while (rest.substr(0, 2) == "./")
        rest.remove_prefix(2);
    if (rest.empty() || rest.front() == '/') return {};
    size_t start = 0;
    while (start <= rest.size()) {
        size_t slash = rest.find('/', start);
        if (slash == std::string_view::npos) slash = rest.size();
        const std::string_view part = rest.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..") return {};
        start = slash + 1;
    }
    return std::string(rest);
}

bool endsWithIgnoringCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && textEquals(text.substr(text.size() - tail.size()), tail);
}

}  // namespace

int listPackage(const std::string& packagePath) {
    PackageFile package;
    std::string error;
    if (!package.open(packagePath, error)) return fail(error);
    std::printf("%-6s %10s %10s %10s  %s\n", "method", "stored", "unpacked", "offset", "name");
    uint64_t stored = 0, unpacked = 0;
    for (const PackEntry& entry : package.entries()) {
        std::printf("%-6s %10" PRIu32 " %10" PRIu32 " %10" PRIu32 "  %s\n",
                    entry.method == kPackLzss ? "lzss" : "stored", entry.storedSize,
                    entry.unpackedSize, entry.dataOffset, sjisToUtf8(packEntryName(entry)).c_str());
        stored += entry.storedSize;
        unpacked += entry.unpackedSize;
    }
    std::printf("%zu entries, %" PRIu64 " bytes stored, %" PRIu64 " bytes unpacked\n",
                package.entries().size(), stored, unpacked);
    return 0;
}

int extractPackage(const std::string& packagePath, const std::string& folder,
                   const std::vector<std::string>& names) {
    PackageFile package;
    std::string error;
    if (!package.open(packagePath, error)) return fail(error);

    // Which entries: the named ones (first match, as the player looks them
    // up), or all of them.
    std::vector<size_t> chosen;
    for (const std::string& wanted : names) {
        const std::string sjis = utf8ToSjis(wanted);
        size_t index = 0;
        while (index < package.entries().size() &&
               !textEquals(packEntryName(package.entries()[index]), sjis)) {
            ++index;
        }
        if (index == package.entries().size()) return fail(wanted + ": no such entry");
        chosen.push_back(index);
    }
    if (names.empty()) {
        // A later entry of a name already taken is one the player never
        // reads; written out, it would replace the one it does read.
        TextNameMap<size_t> first;
        for (size_t i = 0; i < package.entries().size(); ++i) {
            const std::string name(packEntryName(package.entries()[i]));
            const auto [owner, added] = first.emplace(name, i);
            if (added) {
                chosen.push_back(i);
            } else {
                warn(sjisToUtf8(name) + ": entry " + std::to_string(i) + " has the name of entry " +
                     std::to_string(owner->second) + ", which the player reads; not extracted");
            }
        }
    }

    for (const size_t index : chosen) {
        const std::string name = sjisToUtf8(packEntryName(package.entries()[index]));
        const std::string relative = safeRelativePath(name);
        if (relative.empty()) return fail(name + ": entry name is not a safe relative path");
        ByteBuffer contents;
        if (!package.contents(index, contents, error)) return fail(error);
        const std::string path = folder + "/" + relative;
        const size_t slash = path.rfind('/');
        if (!makeDirectories(path.substr(0, slash), error)) return fail(error);
        AtomicFileWriter writer;
        if (!writer.open(path, error)) return fail(error);
        writer.write(contents.data(), contents.size());  // a failure surfaces in commit()
        if (!writer.commit(error)) return fail(error);
    }
    return 0;
}

int createPackage(const std::string& packagePath, const std::string& folder) {
    std::vector<std::string> files;
    std::string error;
    if (!listFilesRecursively(folder, files, error)) return fail(error);

    std::vector<PackEntry> entries;
    std::vector<std::vector<uint8_t>> stored;
    LzssEncoder encoder;
    TextNameMap<std::string> taken;  // name -> the file that has it
    for (const std::string& relative : files) {
        const std::string utf8Name = "./" + relative;
        const std::string name = utf8ToSjis(utf8Name);
        if (sjisToUtf8(name) != utf8Name)
            return fail(utf8Name + ": name cannot be written in Shift-JIS");
        PackEntry entry;
        if (!setPackEntryName(entry, name))
            return fail(utf8Name + ": name is longer than 63 bytes in Shift-JIS");
        // Names differing only in letter case are one name to the player,
        // which would only ever read the first.
        const auto [owner, added] = taken.emplace(name, utf8Name);
        if (!added) {
            warn(utf8Name + ": the player cannot tell it from " + owner->second + "; not packed");
            continue;
        }

        const std::string path = folder + "/" + relative;
        ByteBuffer contents = readWholeFile(path.c_str());
        if (!contents) return fail(cannotReadFile(path));
        entry.unpackedSize = static_cast<uint32_t>(contents.size());
        if (endsWithIgnoringCase(name, ".mp3")) {
            // Sounds are streamed straight from the package, so they stay as they are.
            entry.method = kPackStored;
            entry.storedSize = entry.unpackedSize;
            stored.emplace_back(contents.data(), contents.data() + contents.size());
        } else {
            std::vector<uint8_t> packed;
            if (!compressForPackage(encoder, contents.data(), contents.size(), packed))
                return fail(path + ": cannot compress");
            entry.method = kPackLzss;
            entry.storedSize = static_cast<uint32_t>(packed.size());
            stored.push_back(std::move(packed));
        }
        entries.push_back(entry);
    }

    std::vector<uint8_t> directory;
    if (!layOutPack(entries, directory)) return fail(packagePath + ": package would reach 4 GiB");
    AtomicFileWriter writer;
    if (!writer.open(packagePath, error)) return fail(error);
    // A failed write is kept by the writer and reported, with its reason, by commit().
    writer.write(directory.data(), directory.size());
    for (const std::vector<uint8_t>& bytes : stored)
        writer.write(bytes.data(), bytes.size());
    if (!writer.commit(error)) return fail(error);
    return 0;
}

}  // namespace zeku
