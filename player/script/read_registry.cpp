// Read-mark lookups. Names compare like every name of the system: ASCII
// letters without case, double-byte characters as exact pairs.
#include "player/script/read_registry.h"

#include <algorithm>
#include <cstring>

#include "common/text/sjis.h"

namespace zeku {
namespace {

bool fits(std::string_view file) {
    return file.size() < ReadRegistry::kNameCapacity && file.find('\0') == std::string_view::npos;
}

}  // namespace

int ReadRegistry::indexOf(std::string_view file) const {
    for (size_t i = 0; i < files_.size(); ++i) {
        if (textEquals(std::string_view(files_[i].name), file)) return static_cast<int>(i);
    }
    return -1;
}

int ReadRegistry::isRead(std::string_view file, uint32_t key) const {
    if (!fits(file)) return 1;
    const std::span<const uint32_t> marks = keys(indexOf(file));
    return std::find(marks.begin(), marks.end(), key) != marks.end() ? 1 : 0;
}

void ReadRegistry::markRead(std::string_view file, uint32_t key) {
    if (!fits(file)) return;
    const int index = indexOf(file);
    if (index < 0) {
        if (fileCount() >= kMaxFiles) return;
        File& added = files_.emplace_back();
        if (!file.empty()) std::memcpy(added.name, file.data(), file.size());
        added.keys.push_back(key);
        return;
    }
    std::vector<uint32_t>& marks = files_[static_cast<size_t>(index)].keys;
    if (static_cast<int>(marks.size()) >= kMaxKeys) return;
    if (std::find(marks.begin(), marks.end(), key) != marks.end()) return;
    marks.push_back(key);
}

std::string_view ReadRegistry::fileName(int index) const {
    if (index < 0 || index >= fileCount()) return {};
    return files_[static_cast<size_t>(index)].name;
}

std::span<const uint32_t> ReadRegistry::keys(int index) const {
    if (index < 0 || index >= fileCount()) return {};
    return files_[static_cast<size_t>(index)].keys;
}

}  // namespace zeku
