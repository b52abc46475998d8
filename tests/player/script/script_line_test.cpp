// Reading, classifying and splitting script lines, including Shift-JIS
// characters whose trail bytes look like syntax characters.
#include "player/script/script_line.h"

#include <gtest/gtest.h>

#include <string>

namespace zeku {
namespace {

struct Read {
    std::string line;
    size_t next;
};

Read readAt(std::string_view text, size_t position) {
    char line[kScriptLineCapacity];
    const size_t next = readScriptLine(text, position, line);
    return {line, next};
}

ParsedCommand split(const std::string& line, bool withName = true) {
    ParsedCommand command;
    splitCommand(line.c_str(), withName, command);
    return command;
}

TEST(ScriptLine, DropsBlanksOutsideQuotesAndEndsOnlyAtCrLf) {
    const std::string text = "#Wait ( 100 )\r\n\t#LoadImage(0, \"a  b\t\")\r\nx\ry\nz\r\n";
    Read r = readAt(text, 0);
    EXPECT_EQ(r.line, "#Wait(100)");
    r = readAt(text, r.next);
    EXPECT_EQ(r.line, "#LoadImage(0,\"a  b\t\")");
    r = readAt(text, r.next);
    EXPECT_EQ(r.line, "x\ry\nz");  // a lone CR or LF is an ordinary byte
    EXPECT_EQ(r.next, text.size());
}

TEST(ScriptLine, StopsAtTheEndOfATextWithoutFinalCrLf) {
    const std::string text = "#Clr(1)\r\n#END()";
    Read r = readAt(text, 0);
    r = readAt(text, r.next);
    EXPECT_EQ(r.line, "#END()");
    EXPECT_EQ(r.next, text.size());
    r = readAt(text, r.next);  // at the end: empty, stays at the end
    EXPECT_EQ(r.line, "");
    EXPECT_EQ(r.next, text.size());
    EXPECT_EQ(readAt(text, text.size() + 100).next, text.size());
    EXPECT_EQ(readAt("#A()\r", 0).line, "#A()\r");  // CR without LF at the very end
}

TEST(ScriptLine, UnclosedQuoteEndsWithTheLine) {
    const std::string text = "@a=\"x y\r\n#Next( )\r\n";
    Read r = readAt(text, 0);
    EXPECT_EQ(r.line, "@a=\"x y");
    EXPECT_EQ(readAt(text, r.next).line, "#Next()");  // quoting does not carry over
}

TEST(ScriptLine, OverLongLineIsCutAtACharacterBoundaryAndSkipped) {
    // 254 bytes, then a double-byte character that would end at byte 256.
    const std::string text = std::string(254, 'a') + "\x83\x5C" + "tail\r\n#END()\r\n";
    Read r = readAt(text, 0);
    EXPECT_EQ(r.line, std::string(254, 'a'));
    EXPECT_EQ(readAt(text, r.next).line, "#END()");

    const std::string exact = std::string(253, 'b') + "\x83\x5C" + "c\r\n";
    EXPECT_EQ(readAt(exact, 0).line, std::string(253, 'b') + "\x83\x5C");
}

TEST(ScriptLine, ShiftJisTrailBytesPassUnchanged) {
    // "ソ" is 0x83 0x5C and "表" 0x95 0x5C: the trail is a backslash.
    const std::string text = "#PlayWave(\"./se/\x83\x5C\x83\x88\x95\x97.wav\")\r\n|_\x95\x5C:\r\n";
    Read r = readAt(text, 0);
    EXPECT_EQ(r.line, "#PlayWave(\"./se/\x83\x5C\x83\x88\x95\x97.wav\")");
    EXPECT_EQ(readAt(text, r.next).line, "|_\x95\x5C:");
}

TEST(ScriptLine, ClassifiesByFirstBytes) {
    EXPECT_EQ(classifyLine("//comment"), kLineComment);
    EXPECT_EQ(classifyLine("/x"), kLineOther);
    EXPECT_EQ(classifyLine("/"), kLineOther);
    EXPECT_EQ(classifyLine("|_Start:"), kLineLabel);
    EXPECT_EQ(classifyLine("#Wait(1)"), kLineCommand);
    EXPECT_EQ(classifyLine("@5=1"), kLineExpression);
    EXPECT_EQ(classifyLine("{"), kLineBlockOpen);
    EXPECT_EQ(classifyLine("}"), kLineBlockClose);
    EXPECT_EQ(classifyLine(""), kLineOther);
    EXPECT_EQ(classifyLine("0,0,10,10"), kLineOther);
    EXPECT_EQ(classifyLine("\x81\x40#Wait(1)"), kLineOther);  // full-width space first

    // Indentation is gone after reading, so an indented command is a command.
    EXPECT_EQ(classifyLine(readAt(" \t#Wait(1)\r\n", 0).line.c_str()), kLineCommand);
}

TEST(SplitCommand, CountsArgumentsAndTheSemicolon) {
    ParsedCommand c = split("#Clr()");
    EXPECT_STREQ(c.name, "#Clr");
    EXPECT_EQ(c.argumentCount, 0);
    EXPECT_EQ(c.endsWithSemicolon, 0);

    c = split("#Return();");
    EXPECT_EQ(c.argumentCount, 0);
    EXPECT_EQ(c.endsWithSemicolon, 1);

    c = split("#LoadImage(0,\"bg\")");
    EXPECT_STREQ(c.name, "#LoadImage");
    ASSERT_EQ(c.argumentCount, 2);
    EXPECT_STREQ(c.argument(1), "0;");
    EXPECT_STREQ(c.argument(2), "\"bg\";");
    EXPECT_STREQ(c.argument(3), "");  // absent

    c = split("#Wait(100);");
    EXPECT_EQ(c.argumentCount, 1);
    EXPECT_EQ(c.endsWithSemicolon, 1);
    EXPECT_STREQ(c.argument(1), "100;");

    c = split("#IF(@5==1){");
    EXPECT_EQ(c.argumentCount, 1);
    EXPECT_EQ(c.endsWithSemicolon, 0);
    EXPECT_STREQ(c.argument(1), "@5==1;");

    c = split("#F(1,)");
    ASSERT_EQ(c.argumentCount, 2);
    EXPECT_STREQ(c.argument(2), ";");
}

TEST(SplitCommand, ParenthesesInsideAnArgumentKeepItWhole) {
    ParsedCommand c = split("#SetDefaultColor(0,RGB(255,255,255))");
    ASSERT_EQ(c.argumentCount, 2);
    EXPECT_STREQ(c.argument(2), "RGB(255,255,255);");

    // A ")" not followed by ";", "{" or the end belongs to the argument, and
    // nothing after the closing ")" is kept.
    c = split("#F(a)b,c)x)");
    ASSERT_EQ(c.argumentCount, 2);
    EXPECT_STREQ(c.argument(1), "a)b;");
    EXPECT_STREQ(c.argument(2), "c)x;");
    c = split("#F(a);junk,more");
    EXPECT_EQ(c.argumentCount, 1);
    EXPECT_EQ(c.endsWithSemicolon, 1);

    // Quotes stay, commas inside them still separate.
    c = split("#G(\"a,b\")");
    ASSERT_EQ(c.argumentCount, 2);
    EXPECT_STREQ(c.argument(1), "\"a;");
}

TEST(SplitCommand, ArgumentListLinesWithoutName) {
    ParsedCommand c = split("0,0,400,300,\"_Start\",\"./script.txt\",0,0,0,RGB(64,64,64)", false);
    EXPECT_STREQ(c.name, "");
    ASSERT_EQ(c.argumentCount, 10);
    EXPECT_STREQ(c.argument(5), "\"_Start\";");
    EXPECT_STREQ(c.argument(10), "RGB(64,64,64);");
    EXPECT_EQ(split("", false).argumentCount, 0);
    EXPECT_EQ(split("7", false).argumentCount, 1);
}

TEST(SplitCommand, RefusesWhatDoesNotFit) {
    // No "(": the whole line is the name, no arguments.
    ParsedCommand c = split("#END");
    EXPECT_STREQ(c.name, "#END");
    EXPECT_EQ(c.argumentCount, 0);

    // An unclosed list ends with the line.
    c = split("#F(1,2");
    EXPECT_EQ(c.argumentCount, 2);
    EXPECT_EQ(split("#F(").argumentCount, 0);

    // More than ten arguments: ten are kept, the list end is still found.
    c = split("#F(1,2,3,4,5,6,7,8,9,10,11,12);");
    EXPECT_EQ(c.argumentCount, kCommandArgumentCount);
    EXPECT_STREQ(c.argument(10), "10;");
    EXPECT_EQ(c.endsWithSemicolon, 1);

    // A 70-byte name is cut to 63 bytes without splitting a character.
    const std::string longName = "#" + std::string(61, 'N') + "\x95\x5C" + "xyz";
    c = split(longName + "(1)");
    EXPECT_EQ(std::string(c.name), "#" + std::string(61, 'N'));
    EXPECT_EQ(c.argumentCount, 1);
}

TEST(SplitCommand, ShiftJisCharactersStayWhole) {
    // "ボ" is 0x83 0x7B ("{" as trail), "マ" 0x83 0x7D ("}"), "表" 0x95 0x5C.
    ParsedCommand c = split("#Name(\x83\x7B,\x95\x5C\x83\x7D)");
    ASSERT_EQ(c.argumentCount, 2);
    EXPECT_STREQ(c.argument(1), "\x83\x7B;");
    EXPECT_STREQ(c.argument(2), "\x95\x5C\x83\x7D;");
    c = split("#\x95\x5C(1)");
    EXPECT_STREQ(c.name, "#\x95\x5C");
}

TEST(QuotedText, TakesTheBytesBetweenTheFirstTwoQuotes) {
    char out[64];
    EXPECT_EQ(quotedText("\"_Start\";", out, sizeof(out)), 6u);
    EXPECT_STREQ(out, "_Start");
    quotedText("x\"./bg/\x95\x5C.png\"\"y\"", out, sizeof(out));
    EXPECT_STREQ(out, "./bg/\x95\x5C.png");
    EXPECT_EQ(quotedText("12;", out, sizeof(out)), 0u);
    EXPECT_STREQ(out, "");
    quotedText("\"open", out, sizeof(out));
    EXPECT_STREQ(out, "open");
    char small[4];
    quotedText("\"ab\x95\x5C\"", small, sizeof(small));
    EXPECT_STREQ(small, "ab");  // the pair does not fit after "ab"
}

}  // namespace
}  // namespace zeku
