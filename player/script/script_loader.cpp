// Script loading and label search. A jump re-reads the whole stored file
// and scans it from the top, as nothing is pre-compiled.
#include "player/script/script_loader.h"

#include <cstring>
#include <utility>

#include "common/text/sjis.h"
#include "player/script/script_line.h"

namespace zeku {

size_t findLabel(std::string_view text, const char* label) {
    if (label == nullptr) return 0;
    const size_t labelLength = std::strlen(label);
    if (labelLength > kLabelMaxLength) return 0;
    char target[kLabelMaxLength + 2];
    std::memcpy(target, label, labelLength);
    target[labelLength] = ':';
    target[labelLength + 1] = 0;

    char line[kScriptLineCapacity];
    ParsedCommand command;
    size_t position = 0;
    while (position < text.size()) {
        const size_t next = readScriptLine(text, position, line);
        const LineKind kind = classifyLine(line);
        if (kind == kLineLabel && textEquals(line + 1, target)) return next;
        if (kind == kLineCommand) {
            splitCommand(line, true, command);
            if (textEquals(command.name, "#END")) return 0;
        }
        position = next;
    }
    return 0;
}

void clearScriptLevel(ScriptLevel& level) {
    level = ScriptLevel{};
}

int enterScript(ScriptState& state, int level, PackReader& reader, const char* packagePath,
                const char* fileName, const char* label) {
    if (level < 0 || level >= kScriptLevelCount || fileName == nullptr) return 0;
    ScriptLevel& target = state.levels[static_cast<size_t>(level)];
    textCopy(target.fileName, kScriptFileNameCapacity, fileName);

    // Package names hold at most 63 bytes; a longer path cannot be stored.
    char path[kPackNameField + 2];
    const bool dotted = fileName[0] == '.';
    const size_t nameLength = std::strlen(fileName);
    const size_t pathLength = nameLength + (dotted ? 0 : 2);

    target.text = ByteBuffer();
    target.size = 0;
    target.position = 0;
    target.previousPosition = -1;
    target.repeatCount = 0;
    state.pendingChoices = 0;
    if (pathLength >= sizeof(path)) return 0;
    std::memcpy(path, "./", dotted ? 0 : 2);
    std::memcpy(path + (dotted ? 0 : 2), fileName, nameLength + 1);

    ByteBuffer text = reader.read(packagePath, std::string_view(path, pathLength));
    // Positions are signed 32-bit, so a text must stay below 2 GiB.
    if (!text || text.size() > 0x7FFFFFFFu) return 0;
    target.size = static_cast<uint32_t>(text.size());
    target.text = std::move(text);
    target.position = label != nullptr ? static_cast<int32_t>(findLabel(target.view(), label)) : 0;
    return 1;
}

}  // namespace zeku
