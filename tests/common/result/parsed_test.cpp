// The error value and the result template: literal reasons kept without a
// copy, built ones owned, offsets moved into an enclosing file, and values
// and errors handed out only from the side that holds them.
#include "common/result/parsed.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zeku {
namespace {

const char kLiteral[] = "picture stream runs past the file end";

TEST(ParseError, ReasonsAreKeptOrOwnedAndMoveWithTheOffset) {
    const ParseError literal(kLiteral, 16, ParseErrorKind::kWrongFormat);
    const ParseError inFile = literal.movedBy(36);
    EXPECT_EQ(inFile.reason(), kLiteral);  // the same text, not a copy of it
    EXPECT_EQ(inFile.offset(), 52u);
    EXPECT_EQ(inFile.kind(), ParseErrorKind::kWrongFormat);
    EXPECT_EQ(literal.offset(), 16u);

    auto source = std::make_unique<std::string>("\"bg/a.png\" lies beyond the end");
    ParseError built(*source, 12);
    source.reset();
    const ParseError moved = std::move(built).movedBy(100);
    EXPECT_STREQ(moved.reason(), "\"bg/a.png\" lies beyond the end");
    EXPECT_EQ(moved.offset(), 112u);
    EXPECT_EQ(moved.kind(), ParseErrorKind::kDamaged);
}

TEST(Parsed, HoldsTheValueOrTheError) {
    Parsed<std::unique_ptr<int>> value = std::make_unique<int>(42);
    ASSERT_TRUE(value.ok());
    EXPECT_EQ(**value, 42);
    const std::unique_ptr<int> taken = std::move(value).value();
    EXPECT_EQ(*taken, 42);

    const Parsed<int> refused = ParseError("negative count", 3);
    ASSERT_FALSE(refused);
    EXPECT_STREQ(refused.error().reason(), "negative count");
    EXPECT_EQ(refused.error().offset(), 3u);
}

TEST(Parsed, VoidIsSuccessUnlessGivenAnError) {
    const Parsed<void> fine = {};
    EXPECT_TRUE(fine.ok());
    const Parsed<void> bad = ParseError("not a package", 0, ParseErrorKind::kWrongFormat);
    ASSERT_FALSE(bad.ok());
    // An error passes from one result to another unchanged.
    const Parsed<size_t> passed = bad.error();
    ASSERT_FALSE(passed);
    EXPECT_STREQ(passed.error().reason(), "not a package");
    EXPECT_EQ(passed.error().kind(), ParseErrorKind::kWrongFormat);
}

TEST(ParsedDeathTest, ReadingTheWrongSideStops) {
    const Parsed<int> failed = ParseError("cut short", 4);
    EXPECT_DEATH((void)failed.value(), "");
    const Parsed<int> fine = 1;
    EXPECT_DEATH((void)fine.error(), "");
    const Parsed<void> done;
    EXPECT_DEATH((void)done.error(), "");
}

}  // namespace
}  // namespace zeku
