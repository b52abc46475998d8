// Builds the font list in two passes over the installed families: first the
// preferred ones, then the rest, stopping at 15.
#include "player/shell/font_list.h"

#include <algorithm>

#include "common/text/sjis.h"

namespace zeku {
namespace {

bool usable(const FontFamily& family) {
    // A family without kana and kanji would show the game's text as blanks.
    if (!family.scalable || !family.drawsJapanese || family.sjisName.empty()) return false;
    return family.sjisName[0] != '@' && family.sjisName[0] != '$';
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return textEquals(n, name) == 1; });
}

}  // namespace

std::vector<std::string> buildFontList(const std::vector<std::string>& preferred,
                                       const std::vector<FontFamily>& installed) {
    std::vector<std::string> list;
    for (const FontFamily& family : installed) {
        if (list.size() >= kMaxFonts) break;
        if (usable(family) && contains(preferred, family.sjisName) &&
            !contains(list, family.sjisName)) {
            list.push_back(family.sjisName);
        }
    }
    for (const FontFamily& family : installed) {
        if (list.size() >= kMaxFonts) break;
        if (usable(family) && !contains(list, family.sjisName)) list.push_back(family.sjisName);
    }
    if (list.empty()) list.emplace_back(kFallbackFontName);
    return list;
}

}  // namespace zeku
