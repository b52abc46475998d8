// The settings file's syntax: how values are found and read, how writes
// land among the lines already there, and the bounds on lines and files.
#include "player/system/ini_line_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

constexpr char kPath[] = "mem/zeku.cfg";

IniLineList fileOf(std::string_view text) {
    IniLineList file;
    file.assign(kPath, text);
    return file;
}

std::string rendered(const IniLineList& file) {
    std::string out;
    EXPECT_TRUE(joinIniLines(file.lines(), out));
    return out;
}

TEST(IniLineList, IntegerLookups) {
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        int32_t expected;
    };
    const Case cases[] = {
        {"[music_config]\r\n pcm = 0 \r\n", "MUSIC_CONFIG", "PCM", 0},
        {"[ MUSIC _CONFIG\t]\r\nPCM=1\r\n", "MUSIC_CONFIG", "PCM", 1},
        {"[M]\r\nA=0x2\r\n", "M", "A", 2},
        {"[M]\r\nA=0XfF\r\n", "M", "A", 255},
        {"[M]\r\nA=-1\r\n", "M", "A", -1},
        {"[M]\r\nA=1-\r\n", "M", "A", -10},   // '-' anywhere, and a digit place of its own
        {"[M]\r\nA=80 \r\n", "M", "A", 800},  // a blank is a digit place worth 0
        {"[M]\r\nA=\"12\"\r\n", "M", "A", 12},
        {"[M]\r\nA=\r\n", "M", "A", -7},                 // empty: the caller's default
        {"[M]\r\nB=3\r\n", "M", "A", -7},                // missing key
        {"[M]\r\nA=1\r\nA=2\r\n", "M", "A", 1},          // the first key wins
        {"[M]\r\nB=1\r\n[M]\r\nA=7\r\n", "M", "A", -7},  // only the first such section
        {"[M]\r\nA=1\r\n[m]\r\nA=7\r\n", "m", "A", 1},
        {"A=4\r\n[M]\r\nA=5\r\n", "", "A", 4},     // lines before any section
        {"[M]\nA=12\nB=3\n", "M", "A", 12},        // LF alone ends a line too
        {"[M]\r\n; A=5\r\nA=6\r\n", "M", "A", 6},  // a comment is no key
        // A section name whose trail byte is ']' ("ゾ" is 0x83 0x5D).
        {"[\x83\x5D]\r\nA=9\r\n", "\x83\x5D", "A", 9},
        {"[M]\r\nA=99999999999\r\n", "M", "A", static_cast<int32_t>(99999999999LL & 0xFFFFFFFF)},
    };
    for (const Case& c : cases) {
        IniLineList file = fileOf(c.text);
        EXPECT_EQ(file.readInt(c.section, c.key, -7, kPath), c.expected) << c.text;
    }
}

TEST(IniLineList, TextLookups) {
    struct Case {
        const char* text;
        size_t maxLength;
        const char* expected;
    };
    const Case cases[] = {
        {"[M]\r\nA=Gothic\r\n", 127, "Gothic"},
        {"[M]\r\nA=\"  two words \"\r\n", 127, "  two words "},
        {"[M]\r\nA=\r\n", 127, "fallback"},
        {"[M]\r\nA=123456789012\r\n", 12, "123456789012"},
        {"[M]\r\nA=1234567890123\r\n", 12, "fallback"},  // too long keeps the default
    };
    for (const Case& c : cases) {
        IniLineList file = fileOf(c.text);
        std::string out = "junk";
        const size_t length = file.readText("M", "A", "fallback", out, c.maxLength, kPath);
        EXPECT_EQ(out, c.expected) << c.text;
        EXPECT_EQ(length, out.size());
    }
}

TEST(IniLineList, WritesLandAmongTheLinesThere) {
    struct Write {
        const char* section;
        const char* key;
        const char* value;
    };
    struct Case {
        const char* name;
        const char* before;
        std::vector<Write> writes;
        const char* after;
    };
    const Case cases[] = {
        {"a key line is replaced whole, everything else kept",
         "; made by hand\r\n[M]\r\nOTHER=1\r\n  a = 1 ; old\r\n\r\n[N]\r\nA=5\r\n",
         {{"M", "A", "9"}},
         "; made by hand\r\n[M]\r\nOTHER=1\r\nA=9\r\n\r\n[N]\r\nA=5\r\n"},
        {"new keys of a section go right under it, the last written first",
         "[M]\r\nOLD=1\r\n",
         {{"M", "A", "1"}, {"m", "B", "2"}},
         "[M]\r\nB=2\r\nA=1\r\nOLD=1\r\n"},
        {"a missing section is added at the end with its key",
         "[M]\r\nA=1\r\nunknown line\r\n",
         {{"N", "K", "x"}},
         "[M]\r\nA=1\r\nunknown line\r\n[N]\r\nK=x\r\n"},
        {"the key of another section is not touched",
         "[N]\r\nA=5\r\n[M]\r\n",
         {{"M", "A", "1"}},
         "[N]\r\nA=5\r\n[M]\r\nA=1\r\n"},
        {"a fresh file",
         "",
         {{"M", "A", "1"}, {"N", "B", "2"}, {"M", "C", "3"}},
         "[M]\r\nC=3\r\nA=1\r\n[N]\r\nB=2\r\n"},
        {"LF line ends come out as CR LF", "[M]\nA=1\n", {{"M", "A", "2"}}, "[M]\r\nA=2\r\n"},
    };
    for (const Case& c : cases) {
        IniLineList file = fileOf(c.before);
        for (const Write& w : c.writes)
            file.writeValue(w.section, w.key, w.value, kPath);
        EXPECT_EQ(rendered(file), c.after) << c.name;
    }
}

TEST(IniLineList, AnotherPathDropsTheHeldLines) {
    test_support::TempFolder folder;
    const std::string first = folder.file("first.cfg");
    const std::string second = folder.file("second.cfg");
    test_support::writeBytes(second, {'[', 'M', ']', '\n', 'A', '=', '2', '\n'});
    IniLineList file;
    file.writeValue("M", "A", "1", first);
    EXPECT_EQ(file.readInt("M", "A", 0, first), 1);
    EXPECT_EQ(file.readInt("M", "A", 0, second), 2);  // the unsaved write is gone
    EXPECT_EQ(file.readInt("M", "A", 0, first), 0);
}

TEST(IniLineList, LineAndFileBounds) {
    // A 600-character line is cut to 511; the next line is still its own.
    const std::string longLine = "[M]\r\nA=" + std::string(593, '7') + "\r\nB=1\r\n";
    IniLineList file = fileOf(longLine);
    ASSERT_EQ(file.lines().size(), 3u);
    EXPECT_EQ(file.lines()[1].size(), kMaxIniLineLength);
    EXPECT_EQ(file.readInt("M", "B", 0, kPath), 1);
    // A double-byte character is not split by the cut.
    const std::string wide(600, '\x82');
    EXPECT_EQ(splitIniLines(wide)[0].size(), kMaxIniLineLength - 1);

    std::string out;
    const std::vector<std::string> exact(kMaxIniFileBytes / 8, "123456");  // 8 bytes a line
    EXPECT_TRUE(joinIniLines(exact, out));
    EXPECT_EQ(out.size(), kMaxIniFileBytes);
    std::vector<std::string> over = exact;
    over.emplace_back();
    EXPECT_FALSE(joinIniLines(over, out));
    EXPECT_TRUE(out.empty());
}

TEST(IniLineList, FlushWritesOrLeavesTheOldFileWhole) {
    test_support::TempFolder folder;
    const std::string path = folder.file("zeku.cfg");
    test_support::writeBytes(path, {'[', 'M', ']', '\n', 'A', '=', '1', '\n'});

    IniLineList file;
    file.writeValue("M", "A", "2", path);
    EXPECT_TRUE(file.flush());
    EXPECT_FALSE(file.isOpen());
    const std::string written = "[M]\r\nA=2\r\n";
    EXPECT_EQ(test_support::readBytes(path), std::vector<uint8_t>(written.begin(), written.end()));

    // Too large: nothing is written and the previous file stays.
    file.writeValue("M", "B", std::string(kMaxIniFileBytes, 'x'), path);
    EXPECT_FALSE(file.flush());
    EXPECT_EQ(test_support::readBytes(path), std::vector<uint8_t>(written.begin(), written.end()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind

    // A per-user folder is made on the first write; a file in the way fails quietly.
    file.writeValue("M", "A", "3", folder.file("user/zeku/game/zeku.cfg"));
    EXPECT_FALSE(file.flush());  // only when asked
    EXPECT_FALSE(std::filesystem::exists(folder.file("user")));
    file.writeValue("M", "A", "3", folder.file("user/zeku/game/zeku.cfg"));
    EXPECT_TRUE(file.flush(true));
    EXPECT_TRUE(std::filesystem::exists(folder.file("user/zeku/game/zeku.cfg")));
    file.writeValue("M", "A", "3", path + "/inside.cfg");
    EXPECT_FALSE(file.flush(true));
    EXPECT_FALSE(IniLineList().flush());  // nothing held
}

TEST(IniLineList, AMissingFileStartsFromTheShippedCopy) {
    test_support::TempFolder folder;
    const std::string shipped = folder.file("zeku.cfg");
    const std::string user = folder.file("user.cfg");
    test_support::writeBytes(shipped, {'[', 'M', ']', '\n', 'A', '=', '4', '\n'});
    IniLineList file;
    file.open(user, shipped);
    EXPECT_EQ(file.readInt("M", "A", 0, user), 4);
    file.writeValue("M", "B", "1", user);
    EXPECT_TRUE(file.flush());
    EXPECT_EQ(test_support::readBytes(shipped).size(), 8u);  // the shipped copy is untouched

    file.open(user, shipped);  // the user's own file now wins
    EXPECT_EQ(file.readInt("M", "B", 0, user), 1);
}

}  // namespace
}  // namespace zeku
