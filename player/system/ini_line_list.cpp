// The settings file's syntax: sections, key lines and the two value kinds,
// and the write-back that keeps every other line where it was. Names and
// separators are found Shift-JIS aware, so a trail byte that happens to be
// ']' or '=' never ends a name.
#include "player/system/ini_line_list.h"

#include "common/text/sjis.h"
#include "platform/api/file_system.h"

namespace zeku {
namespace {

// Position of the single-byte character `c`, skipping double-byte characters.
size_t findSingle(std::string_view text, char c) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == c) return i;
        if (isLeadByte(static_cast<unsigned char>(text[i]))) ++i;
    }
    return std::string_view::npos;
}

std::string withoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != ' ' && c != '\t') out += c;
    }
    return out;
}

bool isSectionLine(std::string_view line) {
    return !line.empty() && line[0] == '[';
}

std::string sectionName(std::string_view line) {
    std::string_view name = line.substr(1);
    name = name.substr(0, findSingle(name, ']'));
    return withoutBlanks(name);
}

bool sameName(std::string_view a, std::string_view b) {
    return textEquals(a, b) == 1;
}

// The key of a key line, or false for a line without '='.
bool keyOf(std::string_view line, std::string& key, std::string_view* value = nullptr) {
    const size_t equals = findSingle(line, '=');
    if (equals == std::string_view::npos) return false;
    key = withoutBlanks(line.substr(0, equals));
    if (value != nullptr) *value = line.substr(equals + 1);
    return true;
}

// The value as the caller sees it: quoted parts lose their quotes.
std::string unquoted(std::string_view value) {
    std::string out;
    for (char c : value) {
        if (c != '"') out += c;
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

std::string cutLine(std::string_view line) {
    if (line.size() <= kMaxIniLineLength) return std::string(line);
    // Keep a double-byte character whole or not at all.
    size_t end = 0;
    while (end < kMaxIniLineLength) {
        const size_t width = isLeadByte(static_cast<unsigned char>(line[end])) ? 2 : 1;
        if (end + width > kMaxIniLineLength) break;
        end += width;
    }
    return std::string(line.substr(0, end));
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::vector<std::string> splitIniLines(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(cutLine(line));
    }
    return lines;
}

bool joinIniLines(const std::vector<std::string>& lines, std::string& out) {
    out.clear();
    size_t total = 0;
    for (const std::string& line : lines) {
        total += line.size() + 2;
        if (total > kMaxIniFileBytes) return false;
    }
    out.reserve(total);
    for (const std::string& line : lines) {
        out += line;
        out += "\r\n";
    }
    return true;
}

int32_t parseIniInt(std::string_view value, int32_t fallback) {
    if (value.empty()) return fallback;
    // Unsigned arithmetic: an overlong value wraps instead of overflowing.
    uint32_t result = 0;
    if (value.size() >= 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        for (char c : value.substr(2))
            result = result * 16u + static_cast<uint32_t>(hexValue(c));
        return static_cast<int32_t>(result);
    }
    bool negative = false;
    for (char c : value) {
        if (c == '-') negative = true;
        const uint32_t digit = c >= '0' && c <= '9' ? static_cast<uint32_t>(c - '0') : 0u;
        result = result * 10u + digit;
    }
    return static_cast<int32_t>(negative ? 0u - result : result);
}

void IniLineList::open(const std::string& path, const std::string& seedPath) {
    ByteBuffer bytes = readWholeFile(path.c_str());
    if (!bytes && !seedPath.empty() && fileExists(path.c_str()) == 0) {
        bytes = readWholeFile(seedPath.c_str());
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    assign(path, text);
}

void IniLineList::assign(const std::string& path, std::string_view bytes) {
    lines_ = splitIniLines(bytes);
    path_ = path;
    open_ = true;
}

void IniLineList::drop() {
    lines_.clear();
    path_.clear();
    open_ = false;
}

void IniLineList::use(const std::string& path) {
    if (!open_ || path != path_) open(path);
}

const std::string* IniLineList::findLine(std::string_view section, std::string_view key) const {
    // Lines before the first section line form a section without a name.
    bool inSection = section.empty();
    std::string name;
    for (const std::string& line : lines_) {
        if (isSectionLine(line)) {
            if (inSection) return nullptr;  // only the first such section counts
            inSection = sameName(sectionName(line), section);
            continue;
        }
        if (inSection && keyOf(line, name) && sameName(name, key)) return &line;
    }
    return nullptr;
}

int32_t IniLineList::readInt(std::string_view section, std::string_view key, int32_t fallback,
                             const std::string& path) {
    use(path);
    const std::string* line = findLine(section, key);
    if (line == nullptr) return fallback;
    std::string name;
    std::string_view value;
    keyOf(*line, name, &value);
    return parseIniInt(unquoted(value), fallback);
}

size_t IniLineList::readText(std::string_view section, std::string_view key,
                             std::string_view fallback, std::string& out, size_t maxLength,
                             const std::string& path) {
    use(path);
    out.assign(fallback);
    const std::string* line = findLine(section, key);
    if (line == nullptr) return out.size();
    std::string name;
    std::string_view value;
    keyOf(*line, name, &value);
    std::string text = unquoted(value);
    if (!text.empty() && text.size() <= maxLength) out = std::move(text);
    return out.size();
}

void IniLineList::writeValue(std::string_view section, std::string_view key, std::string_view text,
                             const std::string& path) {
    use(path);
    std::string newLine;
    newLine.append(key).append("=").append(text);
    size_t at = 0;
    while (at < lines_.size() &&
           !(isSectionLine(lines_[at]) && sameName(sectionName(lines_[at]), section))) {
        ++at;
    }
    if (at == lines_.size()) {
        std::string sectionLine;
        sectionLine.append("[").append(section).append("]");
        lines_.push_back(std::move(sectionLine));
    }
    std::string name;
    for (size_t i = at + 1; i < lines_.size() && !isSectionLine(lines_[i]); ++i) {
        if (keyOf(lines_[i], name) && sameName(name, key)) {
            lines_[i] = std::move(newLine);
            return;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at + 1), std::move(newLine));
}

bool IniLineList::flush(bool makeFolder) {
    if (!open_) return false;
    std::string bytes;
    const bool fits = joinIniLines(lines_, bytes);
    const std::string path = path_;
    drop();
    if (!fits) return false;
    std::string error;
    const std::string folder = folderOf(path);
    if (makeFolder && !folder.empty() && !makeDirectories(folder, error)) return false;
    AtomicFileWriter writer;
    if (!writer.open(path, error)) return false;
    if (!writer.write(bytes.data(), bytes.size())) return false;
    return writer.commit(error);
}

}  // namespace zeku
