// Variable presets and the bounded text operations of the script state.
#include "player/script/script_state.h"

#include <cstring>

#include "common/text/sjis.h"

namespace zeku {
namespace {

// The hero's default names, Shift-JIS: "くん", "高原", "悠真", "ユウ".
constexpr char kHonorific[] = "\x82\xAD\x82\xF1";
constexpr char kFamilyName[] = "\x8D\x82\x8C\xB4";
constexpr char kGivenName[] = "\x97\x49\x90\x5E";
constexpr char kNickname[] = "\x83\x86\x83\x45";

// Bytes of `bytes` that fit in `room`, cut before a double-byte character
// that would be split.
size_t fittingLength(std::string_view bytes, size_t room) {
    size_t n = 0;
    while (n < bytes.size()) {
        const size_t step =
            isLeadByte(static_cast<unsigned char>(bytes[n])) && n + 1 < bytes.size() ? 2 : 1;
        if (n + step > room) break;
        n += step;
    }
    return n;
}

}  // namespace

void TextAccumulator::append(std::string_view bytes) {
    const size_t n = fittingLength(bytes, kAccumulatorCapacity - 1 - length);
    if (n == 0) return;  // an empty view may have no data pointer at all
    std::memcpy(text + length, bytes.data(), n);
    length += n;
    text[length] = 0;
}

void ScriptVariables::reset() {
    numbers.fill(0);
    for (auto& s : strings)
        s.fill(0);
    setString(stringIndex('k'), kHonorific);
    setString(stringIndex('l'), kFamilyName);
    setString(stringIndex('m'), kGivenName);
    setString(stringIndex('n'), kNickname);
    setString(stringIndex('s'), kFamilyName);
    accumulator.clear();
}

int ScriptVariables::stringIndex(char letter) {
    if (letter >= 'a' && letter <= 'z') return letter - 'a';
    if (letter >= 'A' && letter <= 'Z') return letter - 'A';
    return -1;
}

bool ScriptVariables::setString(int index, std::string_view text) {
    if (index < 0 || index >= kStringVariableCount) return false;
    auto& target = strings[static_cast<size_t>(index)];
    const size_t end = text.find('\0');
    if (end != std::string_view::npos) text = text.substr(0, end);
    if (text.size() >= kStringVariableCapacity) text = {};
    if (!text.empty()) std::memcpy(target.data(), text.data(), text.size());
    target[text.size()] = 0;
    return true;
}

std::string_view ScriptVariables::string(int index) const {
    if (index < 0 || index >= kStringVariableCount) return {};
    // Bounded even when a loaded save left a variable unterminated.
    const auto& s = strings[static_cast<size_t>(index)];
    const void* nul = std::memchr(s.data(), 0, s.size());
    return std::string_view(
        s.data(), nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - s.data())
                                 : s.size() - 1);
}

void applyHeroNames(ScriptVariables& variables, std::string_view familyName,
                    std::string_view givenName, std::string_view nickname,
                    std::string_view honorific) {
    variables.setString(ScriptVariables::stringIndex('l'), familyName);
    variables.setString(ScriptVariables::stringIndex('s'), familyName);
    variables.setString(ScriptVariables::stringIndex('m'), givenName);
    variables.setString(ScriptVariables::stringIndex('n'), nickname);
    variables.setString(ScriptVariables::stringIndex('k'), honorific);
}

const char* ParsedCommand::argument(int number) const {
    if (number < 1 || number > kCommandArgumentCount) return "";
    return arguments[number - 1];
}

}  // namespace zeku
