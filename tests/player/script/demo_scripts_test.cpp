// The demo game's scripts as the player will read them: every line has a
// known kind, every command splits cleanly, and every jump finds its label.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/text/sjis.h"
#include "player/script/expression.h"
#include "player/script/script_line.h"
#include "player/script/script_loader.h"
#include "tools/demogame/effects_scene.h"
#include "tools/demogame/story.h"

namespace zeku {
namespace {

std::map<std::string, std::string> demoScripts() {
    const demo::StoryTexts story = demo::buildStoryTexts();
    return {{"./script.txt", story.mainScript},
            {"./scr/branch.txt", story.branchScript},
            {"./scr/sub.txt", story.subScript},
            {demo::kEffectsSceneFile, demo::effectsSceneScript()}};
}

std::string quoted(const char* argument) {
    char text[64];
    quotedText(argument, text, sizeof(text));
    return text;
}

TEST(DemoScripts, EveryLineIsReadAndEveryJumpLands) {
    const auto scripts = demoScripts();
    int commands = 0;
    int jumps = 0;
    for (const auto& [file, text] : scripts) {
        SCOPED_TRACE(file);
        ASSERT_FALSE(text.empty());
        bool sawEnd = false;
        bool inBlock = false;
        char line[kScriptLineCapacity];
        ParsedCommand command;
        for (size_t position = 0; position < text.size();) {
            const size_t next = readScriptLine(text, position, line);
            ASSERT_GT(next, position);
            const LineKind kind = classifyLine(line);
            if (kind == kLineBlockOpen) inBlock = true;
            if (kind == kLineBlockClose) inBlock = false;
            // Outside blocks only empty lines are of no kind; inside, the
            // area list lines of #MouseClickEventEX are.
            if (kind == kLineOther && !inBlock) {
                EXPECT_STREQ(line, "") << "at " << position;
            } else if (kind == kLineLabel) {
                const std::string label(line + 1);
                ASSERT_FALSE(label.empty());
                EXPECT_EQ(label.back(), ':');
                EXPECT_EQ(findLabel(text, label.substr(0, label.size() - 1).c_str()), next)
                    << label;
            } else if (kind == kLineCommand) {
                ++commands;
                splitCommand(line, true, command);
                EXPECT_NE(std::string(line).find('('), std::string::npos) << line;
                if (textEquals(command.name, "#END")) sawEnd = true;
                if (textEquals(command.name, "#GOTO") || textEquals(command.name, "#Gosub")) {
                    ++jumps;
                    const std::string label = quoted(command.argument(1));
                    const std::string target =
                        command.argumentCount >= 2 ? quoted(command.argument(2)) : file;
                    ASSERT_TRUE(scripts.count(target)) << line;
                    EXPECT_NE(findLabel(scripts.at(target), label.c_str()), 0u) << line;
                }
            }
            position = next;
        }
        EXPECT_TRUE(sawEnd);
    }
    EXPECT_GT(commands, 100);
    EXPECT_GE(jumps, 15);
}

TEST(DemoScripts, BlocksSplitAsTheirCommandsExpect) {
    const std::string text = demoScripts().at("./script.txt");
    char line[kScriptLineCapacity];
    ParsedCommand command;
    ScriptVariables variables;
    int choices = 0;
    int areas = 0;
    enum { kNone, kChoices, kAreas } block = kNone;
    for (size_t position = 0; position < text.size();) {
        position = readScriptLine(text, position, line);
        const LineKind kind = classifyLine(line);
        if (kind == kLineBlockClose) block = kNone;
        if (kind == kLineBlockOpen || kind == kLineBlockClose) continue;
        if (block == kChoices) {
            splitCommand(line, true, command);
            ASSERT_EQ(command.argumentCount, 4) << line;
            EXPECT_EQ(evaluate(command.argument(2), variables), 20 + choices);
            EXPECT_EQ(quoted(command.argument(4)), "./scr/branch.txt");
            ++choices;
        } else if (block == kAreas) {
            splitCommand(line, false, command);
            ASSERT_EQ(command.argumentCount, 10) << line;
            EXPECT_EQ(evaluate(command.argument(2), variables), 260);
            EXPECT_EQ(evaluate(command.argument(10), variables), 0x404040);
            ++areas;
        } else if (kind == kLineCommand) {
            splitCommand(line, true, command);
            if (textEquals(command.name, "#SelectEx")) block = kChoices;
            if (textEquals(command.name, "#MouseClickEventEX")) block = kAreas;
            if (textEquals(command.name, "#IF")) {
                variables.numbers[10] = 2;
                const int32_t expected = std::string(line) == "#IF(@10==2)" ? 1 : 0;
                EXPECT_EQ(evaluate(command.argument(1), variables), expected) << line;
            }
        } else if (kind == kLineExpression) {
            evaluate(line, variables);
            EXPECT_EQ(variables.numbers[10], 0) << line;
        }
    }
    EXPECT_EQ(choices, 3);
    EXPECT_EQ(areas, 2);
}

}  // namespace
}  // namespace zeku
