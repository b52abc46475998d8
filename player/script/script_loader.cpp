// Script loading. The decompressed texts of the files the call levels run
// are kept and shared, so a jump inside them costs a label lookup, not a
// package read and a scan of the whole file.
#include "player/script/script_loader.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "common/text/sjis.h"

namespace zeku {
namespace {

std::shared_ptr<const ScriptText> heldText(const ScriptState& state, std::string_view packagePath,
                                           std::string_view storedName) {
    for (const ScriptLevel& level : state.levels) {
        if (level.hasText() && level.text->isFile(packagePath, storedName)) return level.text;
    }
    return nullptr;
}

}  // namespace

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
    const bool pathFits = pathLength < sizeof(path) && packagePath != nullptr;
    if (pathFits) {
        std::memcpy(path, "./", dotted ? 0 : 2);
        std::memcpy(path + (dotted ? 0 : 2), fileName, nameLength + 1);
    }
    const std::string_view storedName(path, pathFits ? pathLength : 0);

    // Taken before the level lets go of its own text, which may be this file.
    std::shared_ptr<const ScriptText> text =
        pathFits ? heldText(state, packagePath, storedName) : nullptr;
    target.text.reset();
    target.size = 0;
    target.position = 0;
    target.previousPosition = -1;
    target.repeatCount = 0;
    state.pendingChoices = 0;
    if (!pathFits) return 0;
    if (!text) {
        ++state.scriptReads;
        text = ScriptText::make(packagePath, storedName, reader.read(packagePath, storedName));
        if (!text) return 0;
    }
    target.size = static_cast<uint32_t>(text->view().size());
    target.position = label != nullptr ? static_cast<int32_t>(text->labelOffset(label)) : 0;
    target.text = std::move(text);
    return 1;
}

}  // namespace zeku
