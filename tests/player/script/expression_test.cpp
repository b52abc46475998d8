// The evaluator's rules on worked examples: colours, assignment, the
// last-operand rule, comparison chains, text concatenation and the limits.
#include "player/script/expression.h"

#include <gtest/gtest.h>

#include <string>

namespace zeku {
namespace {

// Shift-JIS presets: "くん" and "高原".
const std::string kHonorific = "\x82\xAD\x82\xF1";
const std::string kFamilyName = "\x8D\x82\x8C\xB4";

class Evaluate : public ::testing::Test {
  protected:
    int32_t run(const std::string& text) { return evaluate(text, vars_); }
    int32_t& var(int i) { return vars_.numbers[static_cast<size_t>(i)]; }
    std::string str(char letter) {
        return std::string(vars_.string(ScriptVariables::stringIndex(letter)));
    }
    std::string accumulated() { return vars_.accumulator.text; }

    ScriptVariables vars_;
};

TEST_F(Evaluate, Colours) {
    EXPECT_EQ(run("RGB(255,0,0);"), 16711680);
    EXPECT_EQ(run("RGB(0x10,0,0)"), 1048576);
    EXPECT_EQ(run("RGB(1.2.3)"), 65536 + 2 * 256 + 3);
    EXPECT_EQ(run("RGB(64,64,64;"), 0x404040);
    EXPECT_EQ(run("RGB(7)"), 7 * 65536);  // missing components read as 0
    run("@1=RGB(255,255,255)");
    EXPECT_EQ(var(1), 0xFFFFFF);
}

TEST_F(Evaluate, SignsAndKeywords) {
    EXPECT_EQ(run("-5"), -5);
    var(1) = 7;
    EXPECT_EQ(run("-@1"), -7);
    EXPECT_EQ(run("-@1+@1"), -7);  // the sign is not reset by a variable
    EXPECT_EQ(run("-3+4"), 4);     // but it is by a number
    EXPECT_EQ(run("TRUE"), 1);
    EXPECT_EQ(run("TRUEX"), 1);  // prefix test
    EXPECT_EQ(run("false"), 0);
    EXPECT_EQ(run("IDNO"), 2);
    EXPECT_EQ(run("LEFT"), 1);
    EXPECT_EQ(run("RIGHT"), 2);
    var(2) = INT32_MIN;
    EXPECT_EQ(run("-@2"), INT32_MIN);  // wraps, no overflow
}

TEST_F(Evaluate, AssignmentAndTheLastOperand) {
    run("@5=1");
    EXPECT_EQ(var(5), 1);
    run("@5++");
    EXPECT_EQ(var(5), 2);
    EXPECT_EQ(run("@5++"), 2);  // the value read before the increment
    EXPECT_EQ(var(5), 3);

    var(5) = 0;
    run("@5=@5+1");
    EXPECT_EQ(var(5), 1);
    var(5) = 7;
    run("@5=@5+1");
    EXPECT_EQ(var(5), 1);  // no arithmetic: the last operand wins
    run("@6=@5");
    EXPECT_EQ(var(6), 1);

    run("@4095=9");
    EXPECT_EQ(var(4095), 9);
    run("@7==3");  // "==" is not an assignment mark
    EXPECT_EQ(var(7), 0);
}

TEST_F(Evaluate, ComparisonsAndChains) {
    var(4) = 2;
    run("@3=@4==2");
    EXPECT_EQ(var(3), 1);
    var(4) = 5;
    run("@3=@4==2");
    EXPECT_EQ(var(3), 0);

    for (int a = 0; a <= 2; ++a) {
        for (int b = -1; b <= 1; ++b) {
            var(5) = a;
            var(6) = b;
            EXPECT_EQ(run("@5==1&&@6<>0"), (a == 1 && b != 0) ? 1 : 0) << a << " " << b;
            EXPECT_EQ(run("@5==1||@6<>0"), (a == 1 || b != 0) ? 1 : 0) << a << " " << b;
        }
    }

    // Strictly left to right: (1 || 0) && 0, not 1 || (0 && 0).
    var(1) = 1;
    var(2) = 0;
    var(3) = 0;
    EXPECT_EQ(run("@1==1||@2==1&&@3==1"), 0);
    EXPECT_EQ(run("@2==1&&@3==1||@1==1"), 1);

    // A variable on the right side.
    var(8) = 5;
    var(9) = 5;
    EXPECT_EQ(run("@8==@9"), 1);
    EXPECT_EQ(run("@8<>@9"), 0);
}

TEST_F(Evaluate, ComparisonsWithoutANumericLeftSideAreFalse) {
    EXPECT_EQ(run("==0"), 0);
    EXPECT_EQ(run("@a==0"), 0);
    EXPECT_EQ(run("5==5"), 0);
    // A connective without a second comparison folds with false.
    var(1) = 1;
    EXPECT_EQ(run("@1==1&&"), 0);
    EXPECT_EQ(run("@1==1||"), 1);
    EXPECT_EQ(run("@1=="), 1);  // no right side: no comparison, the last value stays
}

TEST_F(Evaluate, StringConcatenation) {
    run("@a=@l@k");
    EXPECT_EQ(str('a'), kFamilyName + kHonorific);
    EXPECT_EQ(accumulated(), kFamilyName + kHonorific);

    run("@B=\"x\"l\"y\"@A");  // upper-case letters, the "l" after a quote is skipped
    EXPECT_EQ(str('b'), "xy" + kFamilyName + kHonorific);

    EXPECT_EQ(run("\"./mes/mes01.txt\";"), 0);
    EXPECT_EQ(accumulated(), "./mes/mes01.txt");

    run("@c=12");  // a number's digits are text too
    EXPECT_EQ(str('c'), "12");
    EXPECT_EQ(run("@d=@c"), 0);  // a string variable has no numeric value
    EXPECT_EQ(str('d'), "12");
}

TEST_F(Evaluate, TheStringLimitEmptiesOversizedAssignments) {
    const std::string s127(127, 'q');
    const std::string s128(128, 'q');
    const std::string q63 = "\"" + std::string(63, 'q') + "\"";
    run("@a=" + q63 + q63 + "\"q\"");  // literals hold 63 bytes each
    EXPECT_EQ(str('a'), s127);
    run("@b=@a\"z\"");  // 128 bytes
    EXPECT_EQ(str('b'), "");
    EXPECT_TRUE(vars_.setString(2, s127));
    EXPECT_TRUE(vars_.setString(3, s128));
    EXPECT_EQ(str('d'), "");

    // Four 127-byte texts fill the 255-byte accumulator and no more.
    vars_.setString(0, s127);
    vars_.setString(1, s127);
    vars_.setString(2, s127);
    vars_.setString(3, s127);
    run("@e=@a@b@c@d");
    EXPECT_EQ(vars_.accumulator.length, kAccumulatorCapacity - 1);
    EXPECT_EQ(str('e'), "");
}

TEST_F(Evaluate, TokenAndTextLimits) {
    // Tokens after the 31st are ignored: "@1", "=" and 29 more, then "9".
    std::string text = "@1=";
    for (int i = 0; i < 20; ++i)
        text += "1+";
    run(text + "9");
    EXPECT_EQ(var(1), 1);
    run("@1=1+1+9");
    EXPECT_EQ(var(1), 9);

    // A literal keeps 63 bytes.
    run("@a=\"" + std::string(100, 'w') + "\"");
    EXPECT_EQ(str('a'), std::string(63, 'w'));

    // Indexes outside 0..4095 neither read nor write.
    var(409) = 3;
    EXPECT_EQ(run("@4096=5"), 5);
    EXPECT_EQ(run("@99999999999999999999"), 0);
    EXPECT_EQ(run("@4096==0"), 0);
    run("@4096++");
    EXPECT_EQ(var(409), 3);
}

TEST_F(Evaluate, UncoveredBytesAreSkippedNeverLooped) {
    EXPECT_EQ(run("abc"), 0);
    EXPECT_EQ(run("x7y"), 7);
    EXPECT_EQ(run("@!"), 0);  // "@" and a non-letter names no variable
    EXPECT_EQ(run("@"), 0);
    EXPECT_EQ(run(std::string(5000, '?')), 0);
    // An embedded command reads as 0 and is consumed through its ")".
    EXPECT_EQ(run("#Wait(1)"), 0);
    EXPECT_EQ(run("5#X(2)"), 0);
    EXPECT_EQ(run("#X(2)7"), 7);
    EXPECT_EQ(run("#X(2"), 0);
    // A zero byte ends the text.
    EXPECT_EQ(run(std::string("4\0"
                              "5",
                              3)),
              4);
}

TEST_F(Evaluate, ShiftJisTrailBytesAreNotOperators) {
    // "ァ" is 0x83 0x40: its trail is "@". Read bytewise, "@5" would appear.
    var(5) = 42;
    run("@1=\x83\x40"
        "5");
    EXPECT_EQ(var(1), 5);
    // "ポ" is 0x83 0x7C ("|"): no connective.
    var(2) = 1;
    EXPECT_EQ(run("@2==1\x83\x7C|@2==0"), 0);
    // Quoted, every byte is kept.
    run("@a=\"\x83\x40\x83\x7C\x95\x5C\"");
    EXPECT_EQ(str('a'), "\x83\x40\x83\x7C\x95\x5C");
}

TEST(NextToken, LongestPrefixAndTheEndMarkers) {
    Token t;
    EXPECT_EQ(nextToken("<>1", 0, t), 2u);
    EXPECT_EQ(t.op, Operator::NotEqual);
    EXPECT_EQ(nextToken("><", 0, t), 2u);
    EXPECT_EQ(t.op, Operator::GreaterLess);
    EXPECT_EQ(nextToken("<5", 0, t), 1u);
    EXPECT_EQ(t.op, Operator::Less);
    EXPECT_EQ(nextToken("==", 0, t), 2u);
    EXPECT_EQ(t.op, Operator::Equal);
    EXPECT_EQ(nextToken("=1", 0, t), 1u);
    EXPECT_EQ(t.kind, TokenKind::Assign);
    for (const char* end : {";x", ",x", "]x", ""}) {
        EXPECT_EQ(nextToken(end, 0, t), 0u) << end;
        EXPECT_EQ(t.kind, TokenKind::End);
    }
    EXPECT_EQ(nextToken("@12x", 0, t), 3u);
    EXPECT_EQ(t.kind, TokenKind::NumericVariable);
    EXPECT_EQ(t.value, 12);
    EXPECT_EQ(nextToken("@Qx", 0, t), 2u);
    EXPECT_EQ(t.kind, TokenKind::StringVariable);
    EXPECT_EQ(t.value, 16);
    EXPECT_EQ(nextToken("\"ab\"lc", 0, t), 5u);
    EXPECT_STREQ(t.text, "ab");
    EXPECT_EQ(nextToken("\"ab", 0, t), 3u);  // unclosed: to the end
    EXPECT_EQ(nextToken("0123;", 0, t), 4u);
    EXPECT_EQ(t.value, 123);
    EXPECT_STREQ(t.text, "0123");
}

}  // namespace
}  // namespace zeku
