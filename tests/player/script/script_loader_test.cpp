// Entering scripts from a real package file and finding labels, including
// texts that lack "#END" or a final CR LF.
#include "player/script/script_loader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/pack/pack_format.h"
#include "player/script/script_line.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

using test_support::TempFolder;
using test_support::writeBytes;

std::string crlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string lineAt(std::string_view text, size_t position) {
    char line[kScriptLineCapacity];
    readScriptLine(text, position, line);
    return line;
}

// A package of uncompressed entries.
std::vector<uint8_t> buildPackage(const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<PackEntry> entries;
    std::vector<uint8_t> data;
    for (const auto& [name, contents] : files) {
        PackEntry entry;
        EXPECT_TRUE(setPackEntryName(entry, name));
        entry.unpackedSize = entry.storedSize = static_cast<uint32_t>(contents.size());
        data.insert(data.end(), contents.begin(), contents.end());
        entries.push_back(entry);
    }
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(layOutPack(entries, bytes));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

TEST(FindLabel, FindsTheLineAfterTheLabelWithoutRegardToCase) {
    const std::string text = crlf("//x\n|_start:\n#Wait(1)\n| _Two :\n@1=1\n#END()\n");
    EXPECT_EQ(lineAt(text, findLabel(text, "_Start")), "#Wait(1)");
    EXPECT_EQ(lineAt(text, findLabel(text, "_START")), "#Wait(1)");
    EXPECT_EQ(lineAt(text, findLabel(text, "_two")), "@1=1");
    EXPECT_EQ(findLabel(text, "_Missing"), 0u);
    EXPECT_EQ(findLabel(text, "_Star"), 0u);  // the colon is part of the target
    EXPECT_EQ(findLabel(text, nullptr), 0u);
}

TEST(FindLabel, StopsAtTheEndCommand) {
    const std::string text = crlf("|_A:\n#End()\n|_After:\n#Wait(1)\n");
    EXPECT_NE(findLabel(text, "_A"), 0u);
    EXPECT_EQ(findLabel(text, "_After"), 0u);
    // "#END" without parentheses ends the search as well; "#ENDX" does not.
    EXPECT_EQ(findLabel(crlf("#END\n|_B:\n"), "_B"), 0u);
    EXPECT_NE(findLabel(crlf("#ENDX()\n|_B:\n"), "_B"), 0u);
}

TEST(FindLabel, StopsAtTheEndOfATextWithoutEnd) {
    EXPECT_EQ(findLabel(crlf("#Wait(1)\n|_A:\n#Wait(2)"), "_Z"), 0u);
    const std::string lastLine = crlf("#Wait(1)\n|_Last:");
    EXPECT_EQ(findLabel(lastLine, "_Last"), lastLine.size());
    EXPECT_EQ(findLabel("", "_A"), 0u);
}

TEST(FindLabel, ComparesDoubleByteCharactersExactly) {
    // Trail bytes 0x61 ("a") and 0x41 ("A") must not fold into each other;
    // "ポ" ends in 0x7C, the label mark.
    const std::string text = crlf("|_\x83\x61:\n#A()\n|_\x83\x41:\n#B()\n|_\x83\x7C:\n#C()\n");
    EXPECT_EQ(lineAt(text, findLabel(text, "_\x83\x41")), "#B()");
    EXPECT_EQ(lineAt(text, findLabel(text, "_\x83\x61")), "#A()");
    EXPECT_EQ(lineAt(text, findLabel(text, "_\x83\x7C")), "#C()");
}

TEST(FindLabel, RefusesOverLongLabels) {
    const std::string label62(62, 'L');
    const std::string label63(63, 'L');
    const std::string text = crlf("|" + label62 + ":\n#A()\n|" + label63 + ":\n#B()\n");
    EXPECT_EQ(lineAt(text, findLabel(text, label62.c_str())), "#A()");
    EXPECT_EQ(findLabel(text, label63.c_str()), 0u);
}

ByteBuffer bytesOf(const std::string& text) {
    ByteBuffer bytes = ByteBuffer::allocate(text.size());
    if (!text.empty()) std::memcpy(bytes.data(), text.data(), text.size());
    return bytes;
}

// The index that jumps use answers exactly what a search from the top does.
TEST(ScriptText, LabelIndexAgreesWithTheSearchFromTheTop) {
    const std::string label62(62, 'L');
    const std::string label63(63, 'L');
    const std::vector<std::string> texts = {
        crlf("//x\n|_start:\n#A()\n| _Two :\n#B()\n|_START:\n#C()\n|_NoColon\n#D()\n"
             "|_\x83\x61:\n#E()\n|_\x83\x41:\n#F()\n|_\x83\x7C:\n#G()\n|_Odd:x\n#H()\n"
             "#End()\n|_After:\n#I()\n"),
        crlf("|" + label62 + ":\n#A()\n|" + label63 + ":\n#B()\n#ENDX()\n|_Last:"),
        crlf("#END\n|_start:\n"),
        "",
    };
    const std::vector<std::string> labels = {
        "_Start",    "_start",    "_Two",  "_two",  "_NoColon", "_\x83\x61",
        "_\x83\x41", "_\x83\x7C", "_\x83", "_Odd",  "_Odd:x",   "_After",
        "_Star",     "",          label62, label63, "_Last",    "_Missing"};
    for (const std::string& text : texts) {
        const auto indexed = ScriptText::make("pack.mlz", "./s.txt", bytesOf(text));
        ASSERT_NE(indexed, nullptr);
        EXPECT_EQ(indexed->view(), text);
        for (const std::string& label : labels)
            EXPECT_EQ(indexed->labelOffset(label.c_str()), findLabel(text, label.c_str()))
                << "label \"" << label << "\" in \"" << text << "\"";
        EXPECT_EQ(indexed->labelOffset(nullptr), 0u);
    }
}

class EnterScript : public ::testing::Test {
  protected:
    void SetUp() override {
        writeBytes(path_, buildPackage({
                              {"./script.txt", crlf("|_Start:\n#Wait(1)\n|_Next:\n@1=1\n#END()\n")},
                              {"./scr/sub.txt", crlf("|_Sub:\n#Return()\n#END()\n")},
                          }));
    }

    TempFolder folder_{"zeku-script"};
    std::string path_ = folder_.file("pack.mlz");
    PackReader reader_;
    ScriptState state_;
};

TEST_F(EnterScript, LoadsAndPositionsALevel) {
    ASSERT_EQ(enterScript(state_, 0, reader_, path_.c_str(), "./script.txt", "_Next"), 1);
    const ScriptLevel& level = state_.levels[0];
    EXPECT_STREQ(level.fileName, "./script.txt");
    ASSERT_TRUE(level.hasText());
    EXPECT_EQ(lineAt(level.view(), static_cast<size_t>(level.position)), "@1=1");
    EXPECT_EQ(level.previousPosition, -1);
    EXPECT_EQ(level.repeatCount, 0u);

    // "./" is added to a bare name but not stored in the level's name.
    state_.pendingChoices = 3;
    state_.levels[1].repeatCount = 5;
    ASSERT_EQ(enterScript(state_, 1, reader_, path_.c_str(), "scr/sub.txt", "_sub"), 1);
    EXPECT_STREQ(state_.levels[1].fileName, "scr/sub.txt");
    EXPECT_EQ(lineAt(state_.levels[1].view(), static_cast<size_t>(state_.levels[1].position)),
              "#Return()");
    EXPECT_EQ(state_.levels[1].repeatCount, 0u);
    EXPECT_EQ(state_.pendingChoices, 0);

    // No label, or a missing one: the start of the file.
    ASSERT_EQ(enterScript(state_, 2, reader_, path_.c_str(), "script.txt", nullptr), 1);
    EXPECT_EQ(state_.levels[2].position, 0);
    ASSERT_EQ(enterScript(state_, 2, reader_, path_.c_str(), "script.txt", "_Nowhere"), 1);
    EXPECT_EQ(state_.levels[2].position, 0);
}

// Once a level runs a file, entering it again (on any level, under any
// spelling of its name) shares that text instead of reading the package,
// and the text lives as long as one level holds it.
TEST_F(EnterScript, AFileALevelHoldsIsSharedNotReadAgain) {
    ASSERT_EQ(enterScript(state_, 0, reader_, path_.c_str(), "./script.txt", "_Start"), 1);
    EXPECT_EQ(state_.scriptReads, 1u);
    std::filesystem::remove(path_);

    ASSERT_EQ(enterScript(state_, 1, reader_, path_.c_str(), "SCRIPT.TXT", "_Next"), 1);
    EXPECT_EQ(state_.levels[1].text, state_.levels[0].text);
    EXPECT_EQ(lineAt(state_.levels[1].view(), static_cast<size_t>(state_.levels[1].position)),
              "@1=1");
    ASSERT_EQ(enterScript(state_, 0, reader_, path_.c_str(), "./script.txt", "_Next"), 1);
    clearScriptLevel(state_.levels[1]);
    EXPECT_EQ(lineAt(state_.levels[0].view(), static_cast<size_t>(state_.levels[0].position)),
              "@1=1");
    EXPECT_EQ(state_.scriptReads, 1u);

    // Another file, or the same name in another package, is read.
    EXPECT_EQ(enterScript(state_, 1, reader_, path_.c_str(), "scr/sub.txt", "_Sub"), 0);
    EXPECT_EQ(
        enterScript(state_, 1, reader_, folder_.file("other.mlz").c_str(), "script.txt", "_Start"),
        0);
    EXPECT_EQ(state_.scriptReads, 3u);
}

TEST_F(EnterScript, FailureLeavesTheLevelWithoutText) {
    ASSERT_EQ(enterScript(state_, 0, reader_, path_.c_str(), "./script.txt", "_Start"), 1);
    EXPECT_EQ(enterScript(state_, 0, reader_, path_.c_str(), "./missing.txt", "_Start"), 0);
    EXPECT_FALSE(state_.levels[0].hasText());
    EXPECT_EQ(state_.levels[0].size, 0u);
    EXPECT_STREQ(state_.levels[0].fileName, "./missing.txt");

    EXPECT_EQ(
        enterScript(state_, 0, reader_, folder_.file("none.mlz").c_str(), "script.txt", nullptr),
        0);
    EXPECT_EQ(enterScript(state_, -1, reader_, path_.c_str(), "script.txt", nullptr), 0);
    EXPECT_EQ(enterScript(state_, kScriptLevelCount, reader_, path_.c_str(), "script.txt", nullptr),
              0);

    // A name that no package entry can hold, and one cut to fit the level.
    const std::string longName(200, 'n');
    EXPECT_EQ(enterScript(state_, 1, reader_, path_.c_str(), longName.c_str(), nullptr), 0);
    EXPECT_EQ(std::string(state_.levels[1].fileName), std::string(63, 'n'));
}

}  // namespace
}  // namespace zeku
