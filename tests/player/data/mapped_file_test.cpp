// Sequential and looping reads of a mapped file: the end flag, the tail
// returned before a wrap, and seeking back to the loop point.
#include "player/data/mapped_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

using test_support::TempFolder;
using test_support::writeBytes;

class MappedFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<uint8_t> bytes(64);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<uint8_t>(i);
        writeBytes(path_, bytes);
        ASSERT_TRUE(file_.open(path_.c_str()));
    }
    TempFolder folder_{"zeku-mapped"};
    std::string path_ = folder_.file("track_02.mp3");
    MappedFile file_;
    uint8_t buffer_[100] = {};
};

TEST_F(MappedFileTest, PlainReadsStopAtTheEndUntilASeek) {
    EXPECT_EQ(file_.read(buffer_, 40, false), 40u);
    EXPECT_EQ(file_.read(buffer_, 40, false), 24u);
    EXPECT_EQ(buffer_[0], 40);
    EXPECT_FALSE(file_.atEnd());
    EXPECT_EQ(file_.read(buffer_, 40, false), 0u);
    EXPECT_TRUE(file_.atEnd());
    EXPECT_EQ(file_.read(buffer_, 40, true), 0u);  // even a looping read
    file_.seek(10);
    EXPECT_EQ(file_.read(buffer_, 1, false), 1u);
    EXPECT_EQ(buffer_[0], 10);
}

TEST_F(MappedFileTest, LoopingReadReturnsTheTailThenContinuesAtTheLoopPoint) {
    file_.setLoopPoint(44);
    file_.seek(50);
    EXPECT_EQ(file_.read(buffer_, 30, true), 14u);
    EXPECT_EQ(buffer_[13], 63);
    EXPECT_FALSE(file_.atEnd());
    EXPECT_EQ(file_.position(), 44u);
    EXPECT_EQ(file_.read(buffer_, 2, true), 2u);
    EXPECT_EQ(buffer_[0], 44);

    file_.seek(60);
    file_.seek(-1);
    EXPECT_EQ(file_.position(), 44u);
    file_.seek(1000);  // past the end is the end
    EXPECT_EQ(file_.read(buffer_, 2, false), 0u);
}

TEST_F(MappedFileTest, MissingAndEmptyFiles) {
    MappedFile missing;
    EXPECT_FALSE(missing.open(folder_.file("none.mp3").c_str()));
    EXPECT_EQ(missing.read(buffer_, 10, true), 0u);
    missing.seek(-1);
    EXPECT_EQ(missing.read(buffer_, 10, false), 0u);

    const std::string empty = folder_.file("empty.mp3");
    writeBytes(empty, {});
    MappedFile nothing;
    EXPECT_TRUE(nothing.open(empty.c_str()));
    EXPECT_EQ(nothing.read(buffer_, 10, true), 0u);
    EXPECT_TRUE(nothing.atEnd());

    file_.close();
    EXPECT_EQ(file_.read(buffer_, 10, false), 0u);
}

}  // namespace
}  // namespace zeku
