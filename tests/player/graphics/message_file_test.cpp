// Message file records: what ends a record, a field and the file, and which
// record of a number wins.
#include <gtest/gtest.h>

#include "player/graphics/message_file.h"

namespace zeku {
namespace {

struct Expected {
    int32_t number;
    const char* name;
    const char* text;
};

struct Case {
    const char* title;
    const char* file;
    std::vector<Expected> entries;
};

TEST(MessageFile, RecordsFieldsAndEnds) {
    const Case cases[] = {
        {"CR LF ends records; blanks outside quotes go",
         "1, \"Aki\", \"Hello there.\"\r\n 2 ,\"\",\"Two, with a comma\"\r\n",
         {{1, "Aki", "Hello there."}, {2, "", "Two, with a comma"}}},
        {"records share a line after a quote and ';'",
         "1,\"A\",\"one\";2,\"B\",\"two\";\r\n3,\"C\",\"three\"",
         {{1, "A", "one"}, {2, "B", "two"}, {3, "C", "three"}}},
        {"';' before CR does not split",
         "4,\"D\",\"four\";\r\n5,\"E\",\"five\"\r\n",
         {{4, "D", "four"}, {5, "E", "five"}}},
        {"\\e and !!! end the file",
         "1,\"A\",\"a\"\r\n\\e\r\n2,\"B\",\"b\"\r\n!!!\r\n",
         {{1, "A", "a"}}},
        {"!!! at a record start", "1,\"A\",\"a\"\r\n!!!2,\"B\",\"b\"", {{1, "A", "a"}}},
        {"an unquoted name is the whole field", "7,Mika Sato,\"x\"\r\n", {{7, "MikaSato", "x"}}},
        {"digits only from the number field", "No.1-2,\"A\",\"a\"\r\n", {{12, "A", "a"}}},
        {"quotes inside parentheses stay text",
         "1,\"A\",\"She said (\"no\") twice\"\r\n",
         {{1, "A", "She said (\"no\") twice"}}},
        {"a full-width parenthesis closes a run",
         "1,\"A\",\"(\x81\x6A\"\r\n2,\"B\",\"b\"\r\n",
         {{1, "A", "(\x81\x6A"}, {2, "B", "b"}}},
        {"an embedded call is copied whole",
         "1,\"A\",\"go \\#(_Sub,\"./s.txt\") on\"\r\n",
         {{1, "A", "go \\#(_Sub,\"./s.txt\") on"}}},
        {"double-byte characters keep their pairs, even a trail byte '\"'",
         "1,\"\x83\x22\",\"\x82\xa0\"\r\n",
         {{1, "\x83\x22", "\x82\xa0"}}},
        {"the first record of a number wins",
         "3,\"A\",\"first\"\r\n3,\"B\",\"second\"\r\n",
         {{3, "A", "first"}}},
        {"LF alone ends a record too",
         "1,\"A\",\"a\"\n2,\"B\",\"b\"\n",
         {{1, "A", "a"}, {2, "B", "b"}}},
        {"lines without a number are no messages",
         "\r\n;comment\r\n8,\"A\",\"a\"\r\n",
         {{8, "A", "a"}}},
        {"an unterminated quote ends with its line",
         "1,\"A\",\"open\r\n2,\"B\",\"b\"\r\n",
         {{1, "A", "open"}, {2, "B", "b"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const MessageTable table = parseMessages(c.file);
        ASSERT_EQ(table.entries.size(), c.entries.size());
        for (size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_EQ(table.entries[i].number, c.entries[i].number);
            EXPECT_EQ(table.entries[i].name, c.entries[i].name);
            EXPECT_EQ(table.entries[i].text, c.entries[i].text);
        }
    }
}

TEST(MessageFile, FindsByNumber) {
    const MessageTable table = parseMessages("10,\"A\",\"a\"\r\n-4,\"B\",\"b\"\r\n");
    ASSERT_NE(findMessage(table, 10), nullptr);
    EXPECT_EQ(findMessage(table, 10)->text, "a");
    EXPECT_EQ(findMessage(table, 4)->text, "b");  // the sign is no digit
    EXPECT_EQ(findMessage(table, 5), nullptr);
}

}  // namespace
}  // namespace zeku
