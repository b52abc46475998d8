// The game's scripts and message files: a short original story in a few
// scenes, as Shift-JIS text with CR LF line ends.
#pragma once

#include <string>

namespace zeku::demo {

struct StoryTexts {
    std::string mainScript;     // "./script.txt"
    std::string branchScript;   // "./scr/branch.txt"
    std::string subScript;      // "./scr/sub.txt"
    std::string firstMessages;  // "./mes/mes01.txt", final
    std::string draftMessages;  // "./mes/mes01.txt" as the first archive still has it
    std::string nightMessages;  // "./mes/mes02.txt"
};

StoryTexts buildStoryTexts();

// UTF-8 text with LF line ends to Shift-JIS with CR LF.
std::string toGameText(const std::string& utf8);

}  // namespace zeku::demo
