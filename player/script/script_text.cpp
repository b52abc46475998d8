// The label search and the label index of a shared script text. Both walk
// the text the same way, so a label the index knows is the one a search
// from the top would find.
#include "player/script/script_text.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "common/text/sjis.h"
#include "player/script/script_line.h"

namespace zeku {
namespace {

// Calls `visit(label, next)` for each label line before the first "#END"
// command line, in file order, with the text after "|" and the offset after
// the line; stops early when `visit` returns true.
template <typename Visit>
void forEachLabelLine(std::string_view text, Visit&& visit) {
    char line[kScriptLineCapacity];
    ParsedCommand command;
    size_t position = 0;
    while (position < text.size()) {
        const size_t next = readScriptLine(text, position, line);
        const LineKind kind = classifyLine(line);
        if (kind == kLineLabel && visit(std::string_view(line + 1), next)) return;
        if (kind == kLineCommand) {
            splitCommand(line, true, command);
            if (textEquals(command.name, "#END")) return;
        }
        position = next;
    }
}

// The label and its colon, which a label line must match whole; false for
// a label too long to be found.
bool labelTarget(const char* label, char (&target)[kLabelMaxLength + 2]) {
    if (label == nullptr) return false;
    const size_t length = std::strlen(label);
    if (length > kLabelMaxLength) return false;
    std::memcpy(target, label, length);
    target[length] = ':';
    target[length + 1] = 0;
    return true;
}

// A key under which texts that textEquals calls equal are equal bytes:
// ASCII letters upper-cased, double-byte pairs kept exactly (their trail
// may look like a letter).
std::string foldedKey(std::string_view text) {
    std::string key(text);
    for (size_t i = 0; i < key.size(); ++i) {
        const auto c = static_cast<unsigned char>(key[i]);
        if (isLeadByte(c)) {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            key[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return key;
}

}  // namespace

size_t findLabel(std::string_view text, const char* label) {
    char target[kLabelMaxLength + 2];
    if (!labelTarget(label, target)) return 0;
    size_t found = 0;
    forEachLabelLine(text, [&](std::string_view line, size_t next) {
        if (!textEquals(line, target)) return false;
        found = next;
        return true;
    });
    return found;
}

std::shared_ptr<const ScriptText> ScriptText::make(std::string_view packagePath,
                                                   std::string_view storedName, ByteBuffer bytes) {
    // Positions are signed 32-bit, so a text must stay below 2 GiB.
    if (!bytes || bytes.size() > 0x7FFFFFFFu) return nullptr;
    std::shared_ptr<ScriptText> text(new (std::nothrow) ScriptText);
    if (!text) return nullptr;
    text->packagePath_ = packagePath;
    text->storedName_ = storedName;
    text->bytes_ = std::move(bytes);
    std::vector<Label>& labels = text->labels_;
    forEachLabelLine(text->view(), [&](std::string_view line, size_t next) {
        labels.push_back(Label{foldedKey(line), static_cast<uint32_t>(next)});
        return false;
    });
    // A search from the top stops at the first of equal labels.
    std::stable_sort(labels.begin(), labels.end(),
                     [](const Label& a, const Label& b) { return a.key < b.key; });
    labels.erase(std::unique(labels.begin(), labels.end(),
                             [](const Label& a, const Label& b) { return a.key == b.key; }),
                 labels.end());
    labels.shrink_to_fit();
    return text;
}

bool ScriptText::isFile(std::string_view packagePath, std::string_view storedName) const {
    return packagePath == packagePath_ && textEquals(storedName, storedName_) == 1;
}

size_t ScriptText::labelOffset(const char* label) const {
    char target[kLabelMaxLength + 2];
    if (!labelTarget(label, target)) return 0;
    const std::string key = foldedKey(target);
    const auto found =
        std::lower_bound(labels_.begin(), labels_.end(), key,
                         [](const Label& entry, const std::string& k) { return entry.key < k; });
    return found != labels_.end() && found->key == key ? found->offset : 0;
}

}  // namespace zeku
