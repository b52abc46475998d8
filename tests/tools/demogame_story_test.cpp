// The demo game's scripts and messages, checked by walking every path the
// story can take with the player's own line reader and command table:
// every command is one the interpreter knows, with an argument count the
// table allows; labels that jumps and calls name are found before "#END",
// every picture, sound, message file and message number they name exists,
// calls return, choices rejoin, and some path ends the program.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/text/sjis.h"
#include "platform/api/text_codec.h"
#include "player/script/command_table.h"
#include "player/script/expression.h"
#include "player/script/script_line.h"
#include "player/script/script_loader.h"
#include "tests/tools/demogame_test_support.h"
#include "tools/demogame/demo_game.h"

namespace zeku {
namespace {

using demo::DemoFile;
using demo::DemoGame;

const DemoGame& defaultGame() {
    static const DemoGame game = demo::buildDemoGame({});
    return game;
}

std::string upper(std::string text) {
    // Only ASCII letters fold; Shift-JIS lead bytes are above 0x80 and the
    // names compared here never hold a trail byte that is a letter.
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The line at `position` as the interpreter reads it; `position` moves on.
std::string nextLine(std::string_view text, size_t& position) {
    char line[kScriptLineCapacity];
    position = readScriptLine(text, position, line);
    return line;
}

std::vector<std::string> scriptLines(std::string_view text) {
    std::vector<std::string> lines;
    for (size_t position = 0; position < text.size();)
        lines.push_back(nextLine(text, position));
    return lines;
}

std::string quoted(const char* argument) {
    char text[kScriptLineCapacity];
    quotedText(argument, text, sizeof(text));
    return text;
}

// Message files are records, one a line, split at CR LF with spaces and
// tabs outside double quotes dropped. Their text may run past a script
// line's 255 bytes, so the script reader does not serve here.
std::vector<std::string> messageLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        std::string line;
        bool inQuotes = false;
        for (size_t i = at; i < end; ++i) {
            const char c = text[i];
            if (c == '"') inQuotes = !inQuotes;
            if (!inQuotes && (c == ' ' || c == '\t')) continue;
            line += c;
        }
        lines.push_back(line);
        at = end + 2;
    }
    return lines;
}

struct Message {
    std::string speaker;
    std::string text;
};

// One record per line: number, "speaker", "text".
std::map<int, Message> parseMessages(const std::string& file) {
    std::map<int, Message> messages;
    for (const std::string& line : messageLines(file)) {
        if (line.empty()) continue;
        const size_t comma = line.find(',');
        const size_t second = line.find(',', line.find('"', line.find('"', comma) + 1));
        const int number = std::stoi(line.substr(0, comma));
        Message message;
        message.speaker = quoted(line.substr(comma + 1).c_str());
        const size_t open = line.find('"', second);
        message.text = line.substr(open + 1, line.rfind('"') - open - 1);
        messages.emplace(number, message);
    }
    return messages;
}

// The name the player asks the package for: a picture's extension becomes
// ".rbp" (and "./st/hiyo01" is read as "./st/hiyo0101"), a sound's ".mp3".
std::string storedName(const std::string& name, const char* extension) {
    const char* dot = findLastChar(name.c_str(), '.');
    std::string stored = dot != nullptr && dot != name.c_str()
                             ? name.substr(0, static_cast<size_t>(dot - name.c_str()))
                             : name;
    stored += extension;
    if (textEquals(stored, "./st/hiyo01.rbp")) stored = "./st/hiyo0101.rbp";
    return stored;
}

class StoryWalk {
  public:
    explicit StoryWalk(const DemoGame& game) : merged_(test_support::mergedFiles(game)) {}

    // Follows every path from `label` in `file`; failures go to gtest.
    void run(const std::string& file, const std::string& label) {
        State start;
        start.file = file;
        start.position = findLabel(script(file), label.c_str());
        ASSERT_GT(start.position, 0u) << label << " not found in " << file;
        pending_.push_back(start);
        while (!pending_.empty()) {
            State state = pending_.back();
            pending_.pop_back();
            walk(state);
        }
    }

    bool endsProgram() const { return reachedBreak_; }
    const std::set<std::string>& visitedLabels() const { return visitedLabels_; }

  private:
    struct State {
        std::string file;
        size_t position = 0;
        std::vector<std::pair<std::string, size_t>> calls;
        std::string messageFile;
    };

    const DemoFile* find(const std::string& name) const {
        for (const DemoFile* file : merged_) {
            if (textEquals(file->name, name)) return file;
        }
        return nullptr;
    }

    // The stored text of a script, named as scripts name it; empty when the
    // game has no such file.
    const std::string& script(const std::string& name) {
        auto it = scripts_.find(name);
        if (it == scripts_.end()) {
            const DemoFile* file = find(name[0] == '.' ? name : "./" + name);
            std::string text;
            if (file != nullptr) text.assign(file->bytes.begin(), file->bytes.end());
            it = scripts_.emplace(name, text).first;
        }
        return it->second;
    }

    void jump(State state, const std::string& file, const std::string& label, const char* how) {
        const size_t position = findLabel(script(file), label.c_str());
        if (position == 0) {
            ADD_FAILURE() << how << " to " << label << " in " << file << ": label not found";
            return;
        }
        visitedLabels_.insert(label);
        state.file = file;
        state.position = position;
        pending_.push_back(state);
    }

    void call(State state, const std::string& file, const std::string& label) {
        if (state.calls.size() >= 3) {
            ADD_FAILURE() << "calls nested deeper than the four script levels at " << label;
            return;
        }
        state.calls.emplace_back(state.file, state.position);
        jump(state, file, label, "call");
    }

    const std::map<int, Message>* messages(const std::string& name) {
        auto it = messages_.find(name);
        if (it == messages_.end()) {
            const DemoFile* file = find(name);
            if (file == nullptr) return nullptr;
            it = messages_.emplace(name, parseMessages({file->bytes.begin(), file->bytes.end()}))
                     .first;
        }
        return &it->second;
    }

    const Message* message(const State& state, int number) {
        const std::map<int, Message>* table = messages(state.messageFile);
        if (table == nullptr) {
            ADD_FAILURE() << "message " << number << " shown with no message file loaded";
            return nullptr;
        }
        auto it = table->find(number);
        if (it == table->end()) {
            ADD_FAILURE() << "message " << number << " is not in " << state.messageFile;
            return nullptr;
        }
        return &it->second;
    }

    void expectStored(const std::string& name, const char* extension) {
        bool found = false;
        for (const DemoFile* file : merged_) {
            found |=
                textEquals(storedName(file->name, extension), storedName(name, extension)) == 1;
        }
        EXPECT_TRUE(found) << sjisToUtf8(name) << " is not in the game";
    }

    // The lines of the block after a list command, up to the first "}", as
    // the list commands read them: "{" lines are passed over.
    std::vector<std::string> block(const State& state) {
        std::vector<std::string> result;
        const std::string& text = script(state.file);
        for (size_t position = state.position; position < text.size();) {
            const std::string line = nextLine(text, position);
            const LineKind kind = classifyLine(line.c_str());
            if (kind == kLineBlockClose) return result;
            if (kind != kLineBlockOpen) result.push_back(line);
        }
        ADD_FAILURE() << "list without \"}\" in " << state.file;
        return result;
    }

    // Where a false #IF resumes: after the "}" that closes its block.
    static size_t afterBlock(std::string_view text, size_t position) {
        int depth = 0;
        while (position < text.size()) {
            const LineKind kind = classifyLine(nextLine(text, position).c_str());
            if (kind == kLineBlockOpen) ++depth;
            if (kind == kLineBlockClose && --depth <= 0) break;
        }
        return position;
    }

    int32_t number(const char* argument) { return evaluate(argument, variables_); }

    void walk(State state) {
        const std::string& text = script(state.file);
        while (true) {
            // A state is the position, where each call returns to and the
            // message file: the same subroutine called from two places is
            // two states.
            std::string key =
                state.file + ":" + std::to_string(state.position) + ":" + state.messageFile;
            for (const auto& [file, position] : state.calls)
                key += "<" + file + ":" + std::to_string(position);
            if (!seen_.insert(key).second) return;
            if (state.position >= text.size()) {
                ADD_FAILURE() << "execution runs off the end of " << state.file;
                return;
            }
            const std::string line = nextLine(text, state.position);
            if (classifyLine(line.c_str()) != kLineCommand) continue;
            splitCommand(line.c_str(), true, command_);
            const CommandInfo* info = findCommand(command_.name);
            if (info == nullptr) {
                ADD_FAILURE() << "unknown command " << command_.name << " in " << state.file;
                continue;
            }
            const int count = command_.argumentCount;
            EXPECT_TRUE(count >= info->minArguments && count <= info->maxArguments)
                << line << " in " << state.file << " gives " << count << " arguments";
            if (line.find(')') == std::string::npos) ADD_FAILURE() << "unclosed " << line;

            const std::string_view name = info->name;
            if (name == "#END") {
                ADD_FAILURE() << "execution reaches #END in " << state.file;
                return;
            } else if (name == "#BreakApp") {
                reachedBreak_ = true;
                return;
            } else if (name == "#GOTO") {
                const std::string file = count >= 2 ? quoted(command_.argument(2)) : state.file;
                jump(state, file, quoted(command_.argument(1)), "jump");
                return;
            } else if (name == "#Gosub") {
                call(state, quoted(command_.argument(2)), quoted(command_.argument(1)));
                return;
            } else if (name == "#Return") {
                if (state.calls.empty()) {
                    ADD_FAILURE() << "#Return at the main level in " << state.file;
                    return;
                }
                state.file = state.calls.back().first;
                state.position = state.calls.back().second;
                state.calls.pop_back();
                pending_.push_back(state);
                return;
            } else if (name == "#IF") {
                size_t after = state.position;
                EXPECT_EQ(nextLine(text, after), "{") << "#IF opens a block";
                // The block runs when the condition holds; otherwise it is skipped.
                State skipped = state;
                skipped.position = afterBlock(text, state.position);
                pending_.push_back(skipped);
            } else if (name == "#LoadTextf") {
                state.messageFile = quoted(command_.argument(1));
                EXPECT_NE(messages(state.messageFile), nullptr) << state.messageFile;
            } else if (name == "#PrintTextf") {
                int32_t shownNumber = number(command_.argument(1));
                if (shownNumber == 0 && count >= 2) shownNumber = number(command_.argument(2));
                const Message* shown = message(state, shownNumber);
                const size_t embedded =
                    shown == nullptr ? std::string::npos : shown->text.find("\\#(");
                if (embedded != std::string::npos) {
                    // The embedded command runs from its "#" to the first ")".
                    const size_t close = shown->text.find(')', embedded);
                    ASSERT_NE(close, std::string::npos) << shown->text;
                    ParsedCommand inner;
                    splitCommand(shown->text.substr(embedded + 1, close - embedded).c_str(), true,
                                 inner);
                    ASSERT_EQ(inner.argumentCount, 2) << shown->text;
                    call(state, quoted(inner.argument(2)), quoted(inner.argument(1)));
                    return;
                }
            } else if (name == "#LoadImage") {
                expectStored(quoted(command_.argument(2)), ".rbp");
            } else if (name == "#PlayWave") {
                expectStored(quoted(command_.argument(1)), ".mp3");
            } else if (name == "#SelectEx") {
                int choices = 0;
                for (const std::string& choiceLine : block(state)) {
                    if (classifyLine(choiceLine.c_str()) == kLineOther) continue;
                    ParsedCommand choice;
                    splitCommand(choiceLine.c_str(), true, choice);
                    ASSERT_EQ(choice.argumentCount, 4) << choiceLine;
                    const Message* shown = message(state, number(choice.argument(2)));
                    if (shown != nullptr) {
                        // Single-byte characters are dropped from choices.
                        for (size_t i = 0; i < shown->text.size(); i += 2) {
                            EXPECT_TRUE(isLeadByte(static_cast<unsigned char>(shown->text[i])))
                                << "choice text " << sjisToUtf8(shown->text);
                        }
                    }
                    jump(state, quoted(choice.argument(4)), quoted(choice.argument(3)), "choice");
                    ++choices;
                }
                EXPECT_TRUE(choices >= 2 && choices <= 4) << choices << " choices";
                return;
            } else if (name == "#MouseClickEventEX") {
                int areas = 0;
                for (const std::string& areaLine : block(state)) {
                    ParsedCommand area;
                    splitCommand(areaLine.c_str(), false, area);
                    if (area.argumentCount < 10) continue;
                    jump(state, quoted(area.argument(6)), quoted(area.argument(5)), "area");
                    ++areas;
                }
                EXPECT_TRUE(areas >= 1 && areas <= 32) << areas << " areas";
                return;
            }
        }
    }

    std::vector<const DemoFile*> merged_;
    std::map<std::string, std::string> scripts_;
    std::map<std::string, std::map<int, Message>> messages_;
    std::vector<State> pending_;
    std::set<std::string> seen_;
    std::set<std::string> visitedLabels_;
    ScriptVariables variables_;
    ParsedCommand command_;
    bool reachedBreak_ = false;
};

TEST(DemoStory, EveryPathFindsItsLabelsFilesAndMessagesAndOneEndsTheProgram) {
    StoryWalk walk(defaultGame());
    walk.run("./script.txt", "_Start");
    EXPECT_TRUE(walk.endsProgram()) << "no path reaches #BreakApp";
    // Both branches of the choice are taken and meet again.
    for (const char* label : {"_Heya", "_Oka", "_Night", "_Window", "_Bell", "_Chime", "_End"}) {
        EXPECT_TRUE(walk.visitedLabels().count(label)) << label;
    }
}

TEST(DemoStory, ScriptsAreShiftJisWithCrLfAndEndWithEnd) {
    bool sawStart = false;
    for (const DemoFile* file : test_support::mergedFiles(defaultGame())) {
        const std::string& name = file->name;
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".txt") != 0) continue;
        const std::string text(file->bytes.begin(), file->bytes.end());
        // Well-formed Shift-JIS: every lead byte has a trail byte, and
        // nothing decodes to the replacement character.
        for (size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (isLeadByte(c)) {
                ASSERT_LT(i + 1, text.size()) << name;
                const auto trail = static_cast<unsigned char>(text[i + 1]);
                EXPECT_TRUE(trail >= 0x40 && trail <= 0xFC && trail != 0x7F) << name << " at " << i;
                ++i;
            } else {
                EXPECT_TRUE(c < 0x80 || (c >= 0xA1 && c <= 0xDF)) << name << " byte " << i;
                if (c == '\n') {
                    EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << name << " lone LF at " << i;
                }
                if (c == '\r') {
                    EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << name;
                }
            }
        }
        EXPECT_EQ(sjisToUtf8(text).find("\xEF\xBF\xBD"), std::string::npos) << name;
        ASSERT_GE(text.size(), 2u);
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << name;

        if (name.find("/mes/") != std::string::npos) continue;
        const std::vector<std::string> lines = scriptLines(text);
        EXPECT_EQ(upper(lines.back()), "#END()") << name << " must end with #END()";
        int depth = 0;
        for (const std::string& line : lines) {
            depth += line == "{";
            depth -= line == "}";
            EXPECT_GE(depth, 0) << name;
            if (name == "./script.txt" && line == "|_Start:") sawStart = true;
        }
        EXPECT_EQ(depth, 0) << name << " has unbalanced blocks";
    }
    EXPECT_TRUE(sawStart) << "./script.txt has no _Start label";
}

TEST(DemoStory, MessageNumbersAreUniqueAndEveryMessageWaitsForAClick) {
    for (const char* name : {"./mes/mes01.txt", "./mes/mes02.txt"}) {
        for (const auto* archive : {&defaultGame().first, &defaultGame().second}) {
            for (const DemoFile& file : *archive) {
                if (file.name != name) continue;
                const std::string text(file.bytes.begin(), file.bytes.end());
                const std::map<int, Message> messages = parseMessages(text);
                EXPECT_EQ(messages.size(), messageLines(text).size())
                    << name << " repeats a number";
                for (const auto& [number, message] : messages) {
                    // Choice texts (20 and up, below 30) are lines, not messages.
                    if (number >= 20 && number < 30) continue;
                    const std::string& body = message.text;
                    EXPECT_EQ(body.substr(body.size() - 2), "\\m") << name << " " << number;
                }
            }
        }
    }
}

}  // namespace
}  // namespace zeku
