// The demo game's scripts and messages, checked by walking every path the
// story can take: labels that jumps and calls name are found before
// "#END", every picture, sound, message file and message number they name
// exists, calls return, choices rejoin, and some path ends the program.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/text/sjis.h"
#include "platform/api/text_codec.h"
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

// Lines split at CR LF, with spaces and tabs outside double quotes dropped.
std::vector<std::string> scriptLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        std::string line;
        bool quoted = false;
        for (size_t i = at; i < end; ++i) {
            const char c = text[i];
            if (c == '"') quoted = !quoted;
            if (!quoted && (c == ' ' || c == '\t')) continue;
            line += c;
        }
        lines.push_back(line);
        at = end + 2;
    }
    return lines;
}

struct Command {
    std::string name;
    std::vector<std::string> arguments;
};

// "name(a,b)" or, without a name, "a,b". Parenthesised runs such as
// RGB(1,2,3) stay in one argument.
Command splitCommand(const std::string& line, bool withName) {
    Command command;
    size_t at = 0;
    if (withName) {
        const size_t open = line.find('(');
        command.name = line.substr(0, open);
        if (open == std::string::npos) return command;
        at = open + 1;
    }
    std::string current;
    bool quoted = false;
    int depth = 0;
    for (; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') quoted = !quoted;
        if (!quoted && c == '(') ++depth;
        if (!quoted && c == ')' && depth > 0) {
            --depth;
        } else if (!quoted && c == ')' && withName) {
            break;
        } else if (!quoted && depth == 0 && c == ',') {
            command.arguments.push_back(current);
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.empty() || !command.arguments.empty()) command.arguments.push_back(current);
    return command;
}

std::string quotedText(const std::string& argument) {
    const size_t open = argument.find('"');
    const size_t close = argument.find('"', open + 1);
    if (open == std::string::npos || close == std::string::npos) return {};
    return argument.substr(open + 1, close - open - 1);
}

struct Message {
    std::string speaker;
    std::string text;
};

// One record per line: number, "speaker", "text".
std::map<int, Message> parseMessages(const std::string& file) {
    std::map<int, Message> messages;
    for (const std::string& line : scriptLines(file)) {
        if (line.empty()) continue;
        const size_t comma = line.find(',');
        const size_t second = line.find(',', line.find('"', line.find('"', comma) + 1));
        const int number = std::stoi(line.substr(0, comma));
        Message message;
        message.speaker = quotedText(line.substr(comma + 1));
        const size_t open = line.find('"', second);
        message.text = line.substr(open + 1, line.rfind('"') - open - 1);
        messages.emplace(number, message);
    }
    return messages;
}

// Argument counts the command table allows.
const std::map<std::string, std::pair<int, int>>& commandTable() {
    static const std::map<std::string, std::pair<int, int>> table = {
        {"#END", {0, 0}},
        {"#WAIT", {1, 1}},
        {"#BREAKAPP", {0, 0}},
        {"#CREATEIMAGE", {4, 4}},
        {"#LOADIMAGE", {2, 3}},
        {"#FILLCLR", {2, 2}},
        {"#CLR", {1, 1}},
        {"#TRANSFILL", {6, 9}},
        {"#PAINT", {0, 0}},
        {"#MONOFILL", {6, 6}},
        {"#BLT", {4, 4}},
        {"#ALPHABLT", {4, 4}},
        {"#TRANSFADE", {9, 9}},
        {"#WIPE", {4, 4}},
        {"#IF", {1, 1}},
        {"#GOTO", {1, 2}},
        {"#GOSUB", {2, 2}},
        {"#RETURN", {0, 0}},
        {"#LOADTEXTF", {1, 1}},
        {"#PRINTTEXTF", {1, 2}},
        {"#CREATETEXTF", {2, 2}},
        {"#LOCATEF", {3, 3}},
        {"#SETMESSAGELENGTH", {2, 2}},
        {"#SETDEFAULTCOLOR", {2, 2}},
        {"#OPENPLAYMCICDDA", {3, 3}},
        {"#STOPMCICDDA", {0, 0}},
        {"#PLAYWAVE", {1, 2}},
        {"#MOUSECLICKEVENTEX", {0, 0}},
        {"#MOUSECLICKWAIT", {1, 1}},
        {"#SELECTEX", {0, 0}},
        {"#SYSTEMLOAD", {0, 0}},
        {"#STOPSAVE", {0, 0}},
        {"#RESUMESAVE", {0, 0}},
    };
    return table;
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
        start.line = labelLine(file, label);
        ASSERT_GE(start.line, 0) << label << " not found in " << file;
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
        int line = 0;
        std::vector<std::pair<std::string, int>> calls;
        std::string messageFile;
    };

    const DemoFile* find(const std::string& name) const {
        for (const DemoFile* file : merged_) {
            if (textEquals(file->name, name)) return file;
        }
        return nullptr;
    }

    const std::vector<std::string>& lines(const std::string& name) {
        auto it = lines_.find(name);
        if (it == lines_.end()) {
            const DemoFile* file = find(name[0] == '.' ? name : "./" + name);
            std::vector<std::string> split;
            if (file != nullptr) split = scriptLines({file->bytes.begin(), file->bytes.end()});
            it = lines_.emplace(name, split).first;
        }
        return it->second;
    }

    // The line after "|label:", searched until the first "#END" line; -1
    // when the label is not there.
    int labelLine(const std::string& file, const std::string& label) {
        const std::vector<std::string>& text = lines(file);
        for (size_t i = 0; i < text.size(); ++i) {
            if (upper(text[i]) == std::string("|").append(upper(label)).append(":"))
                return static_cast<int>(i) + 1;
            if (upper(text[i]).rfind("#END(", 0) == 0) break;
        }
        return -1;
    }

    void jump(State state, const std::string& file, const std::string& label, const char* how) {
        const int line = labelLine(file, label);
        if (line < 0) {
            ADD_FAILURE() << how << " to " << label << " in " << file << ": label not found";
            return;
        }
        visitedLabels_.insert(label);
        state.file = file;
        state.line = line;
        pending_.push_back(state);
    }

    void call(State state, const std::string& file, const std::string& label) {
        if (state.calls.size() >= 3) {
            ADD_FAILURE() << "calls nested deeper than the four script levels at " << label;
            return;
        }
        state.calls.emplace_back(state.file, state.line);
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

    // Reads the block after a list command: lines up to the first "}".
    std::vector<std::string> block(const State& state) {
        std::vector<std::string> result;
        const std::vector<std::string>& text = lines(state.file);
        for (size_t i = static_cast<size_t>(state.line) + 1; i < text.size(); ++i) {
            if (text[i] == "}") return result;
            if (text[i] != "{") result.push_back(text[i]);
        }
        ADD_FAILURE() << "list without \"}\" in " << state.file;
        return result;
    }

    void walk(State state) {
        const std::vector<std::string>& text = lines(state.file);
        while (true) {
            // A state is the position, where each call returns to and the
            // message file: the same subroutine called from two places is
            // two states.
            std::string key =
                state.file + ":" + std::to_string(state.line) + ":" + state.messageFile;
            for (const auto& [file, line] : state.calls)
                key += "<" + file + ":" + std::to_string(line);
            if (!seen_.insert(key).second) return;
            if (state.line >= static_cast<int>(text.size())) {
                ADD_FAILURE() << "execution runs off the end of " << state.file;
                return;
            }
            const std::string& line = text[static_cast<size_t>(state.line)];
            ++state.line;
            if (line.empty() || line[0] != '#') continue;
            const Command command = splitCommand(line, true);
            const std::string name = upper(command.name);
            const auto entry = commandTable().find(name);
            if (entry == commandTable().end()) {
                ADD_FAILURE() << "unknown command " << command.name << " in " << state.file;
                continue;
            }
            const int count = static_cast<int>(command.arguments.size());
            EXPECT_TRUE(count >= entry->second.first && count <= entry->second.second)
                << line << " in " << state.file;
            if (line.find(')') == std::string::npos) ADD_FAILURE() << "unclosed " << line;

            if (name == "#END") {
                ADD_FAILURE() << "execution reaches #END in " << state.file;
                return;
            } else if (name == "#BREAKAPP") {
                reachedBreak_ = true;
                return;
            } else if (name == "#GOTO") {
                const std::string file = count == 2 ? quotedText(command.arguments[1]) : state.file;
                jump(state, file, quotedText(command.arguments[0]), "jump");
                return;
            } else if (name == "#GOSUB") {
                call(state, quotedText(command.arguments[1]), quotedText(command.arguments[0]));
                return;
            } else if (name == "#RETURN") {
                if (state.calls.empty()) {
                    ADD_FAILURE() << "#Return at the main level in " << state.file;
                    return;
                }
                state.file = state.calls.back().first;
                state.line = state.calls.back().second;
                state.calls.pop_back();
                pending_.push_back(state);
                return;
            } else if (name == "#IF") {
                EXPECT_EQ(text[static_cast<size_t>(state.line)], "{") << "#IF opens a block";
            } else if (name == "#LOADTEXTF") {
                state.messageFile = quotedText(command.arguments[0]);
                EXPECT_NE(messages(state.messageFile), nullptr) << state.messageFile;
            } else if (name == "#PRINTTEXTF") {
                const Message* shown = message(state, std::stoi(command.arguments.back()));
                const size_t embedded =
                    shown == nullptr ? std::string::npos : shown->text.find("\\#(");
                if (embedded != std::string::npos) {
                    const Command inner = splitCommand(shown->text.substr(embedded + 1), true);
                    ASSERT_EQ(inner.arguments.size(), 2u) << shown->text;
                    call(state, quotedText(inner.arguments[1]), quotedText(inner.arguments[0]));
                    return;
                }
            } else if (name == "#LOADIMAGE") {
                expectStored(quotedText(command.arguments[1]), ".rbp");
            } else if (name == "#PLAYWAVE") {
                expectStored(quotedText(command.arguments[0]), ".mp3");
            } else if (name == "#SELECTEX") {
                int choices = 0;
                for (const std::string& choiceLine : block(state)) {
                    if (choiceLine.empty() || choiceLine[0] != '#') continue;
                    const Command choice = splitCommand(choiceLine, true);
                    ASSERT_EQ(choice.arguments.size(), 4u) << choiceLine;
                    const Message* shown = message(state, std::stoi(choice.arguments[1]));
                    if (shown != nullptr) {
                        // Single-byte characters are dropped from choices.
                        for (size_t i = 0; i < shown->text.size(); i += 2) {
                            EXPECT_TRUE(isLeadByte(static_cast<unsigned char>(shown->text[i])))
                                << "choice text " << sjisToUtf8(shown->text);
                        }
                    }
                    jump(state, quotedText(choice.arguments[3]), quotedText(choice.arguments[2]),
                         "choice");
                    ++choices;
                }
                EXPECT_TRUE(choices >= 2 && choices <= 4) << choices << " choices";
                return;
            } else if (name == "#MOUSECLICKEVENTEX") {
                int areas = 0;
                for (const std::string& areaLine : block(state)) {
                    const Command area = splitCommand(areaLine, false);
                    if (area.arguments.size() < 10) continue;
                    jump(state, quotedText(area.arguments[5]), quotedText(area.arguments[4]),
                         "area");
                    ++areas;
                }
                EXPECT_TRUE(areas >= 1 && areas <= 32) << areas << " areas";
                return;
            }
        }
    }

    std::vector<const DemoFile*> merged_;
    std::map<std::string, std::vector<std::string>> lines_;
    std::map<std::string, std::map<int, Message>> messages_;
    std::vector<State> pending_;
    std::set<std::string> seen_;
    std::set<std::string> visitedLabels_;
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
                EXPECT_EQ(messages.size(), scriptLines(text).size()) << name << " repeats a number";
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
