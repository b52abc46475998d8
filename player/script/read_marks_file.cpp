// Writing and reading the read marks' file, bounded by the file at every step.
#include "player/script/read_marks_file.h"

#include <cstring>
#include <string_view>

#include "common/bytes/byte_buffer.h"

namespace zeku {
namespace {

void putLe32(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t bytes[4];
    storeLe32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

}  // namespace

std::vector<uint8_t> encodeReadMarks(const ReadRegistry& registry) {
    size_t total = 4;
    for (int i = 0; i < registry.fileCount(); ++i)
        total += registry.fileName(i).size() + 1 + 4 + 4 * registry.keys(i).size();
    std::vector<uint8_t> out;
    out.reserve(total);
    putLe32(out, static_cast<uint32_t>(registry.fileCount()));
    for (int i = 0; i < registry.fileCount(); ++i) {
        const std::string_view name = registry.fileName(i);
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
        putLe32(out, static_cast<uint32_t>(registry.keys(i).size()));
        for (uint32_t key : registry.keys(i))
            putLe32(out, key);
    }
    return out;
}

Parsed<ReadRegistry> decodeReadMarks(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 4) return ParseError("read marks cut short", size);
    const uint32_t files = loadLe32(data);
    size_t at = 4;
    ReadRegistry registry;
    for (uint32_t f = 0; f < files; ++f) {
        const void* end = std::memchr(data + at, 0, size - at);
        if (end == nullptr) return ParseError("read mark file name not terminated", size);
        const size_t length = size_t(static_cast<const uint8_t*>(end) - (data + at));
        const std::string_view name(reinterpret_cast<const char*>(data + at), length);
        at += length + 1;
        if (size - at < 4) return ParseError("read mark count cut short", size);
        const uint32_t count = loadLe32(data + at);
        at += 4;
        if ((size - at) / 4 < count) return ParseError("read marks cut short", size);
        if (length < ReadRegistry::kNameCapacity) {
            for (uint32_t k = 0; k < count; ++k)
                registry.markRead(name, loadLe32(data + at + size_t(k) * 4));
        }
        at += size_t(count) * 4;
    }
    return registry;
}

}  // namespace zeku
