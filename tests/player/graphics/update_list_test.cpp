// The dirty-rectangle list: clipping at the clip edges, and each merge case
// of the one-pass walk (contained, containing, touching, apart, growth that
// skips nodes already passed).
#include "player/graphics/update_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace zeku {

namespace {

std::vector<ScreenRect> rectsOf(const UpdateList& list) {
    std::vector<ScreenRect> out(list.dirtyCount());
    for (size_t i = 0; i < out.size(); ++i)
        list.dirtyAt(i, out[i]);
    return out;
}

class UpdateListTest : public ::testing::Test {
  protected:
    void SetUp() override { list_.setClip(320, 240); }
    UpdateList list_;
};

TEST_F(UpdateListTest, DropsRectsOutsideTheClipAndClampsTheRest) {
    EXPECT_FALSE(list_.addDirty({-20, 0, -1, 10}, true));
    EXPECT_FALSE(list_.addDirty({321, 0, 400, 10}, true));
    EXPECT_FALSE(list_.addDirty({0, -9, 10, -1}, true));
    EXPECT_FALSE(list_.addDirty({0, 241, 10, 250}, true));
    EXPECT_FALSE(list_.addDirty({50, 50, 40, 60}, true));  // inverted
    EXPECT_TRUE(list_.empty());

    EXPECT_TRUE(list_.addDirty({-5, -5, 10, 10}, false));
    EXPECT_TRUE(list_.addDirty({300, 230, 400, 300}, false));
    EXPECT_EQ(rectsOf(list_), (std::vector<ScreenRect>{{0, 0, 10, 10}, {300, 230, 320, 240}}));
}

TEST_F(UpdateListTest, RectInsideAnExistingOneAddsNothing) {
    list_.addDirty({10, 10, 50, 50}, true);
    EXPECT_FALSE(list_.addDirty({10, 10, 50, 50}, true));  // equal, edges included
    EXPECT_FALSE(list_.addDirty({20, 20, 30, 30}, true));
    EXPECT_EQ(list_.dirtyCount(), 1u);
}

TEST_F(UpdateListTest, RectContainingNodesReplacesThem) {
    list_.addDirty({10, 10, 20, 20}, true);
    list_.addDirty({100, 100, 110, 110}, true);
    list_.addDirty({30, 30, 40, 40}, true);
    EXPECT_TRUE(list_.addDirty({0, 0, 50, 50}, true));
    EXPECT_EQ(rectsOf(list_), (std::vector<ScreenRect>{{100, 100, 110, 110}, {0, 0, 50, 50}}));
}

TEST_F(UpdateListTest, EdgeAndCornerTouchingRectsMerge) {
    list_.addDirty({0, 0, 10, 10}, true);
    list_.addDirty({10, 0, 20, 10}, true);  // shares the edge x = 10
    EXPECT_EQ(rectsOf(list_), (std::vector<ScreenRect>{{0, 0, 20, 10}}));
    list_.addDirty({20, 10, 30, 20}, true);  // shares only the corner (20, 10)
    EXPECT_EQ(rectsOf(list_), (std::vector<ScreenRect>{{0, 0, 30, 20}}));
    list_.addDirty({31, 0, 40, 5}, true);  // one column apart: stays separate
    EXPECT_EQ(list_.dirtyCount(), 2u);
}

TEST_F(UpdateListTest, OverlapGrowsTheNewRectAndMovesItToTheTail) {
    list_.addDirty({0, 0, 10, 10}, true);
    list_.addDirty({100, 0, 110, 10}, true);
    list_.addDirty({5, 5, 15, 15}, true);
    EXPECT_EQ(rectsOf(list_), (std::vector<ScreenRect>{{100, 0, 110, 10}, {0, 0, 15, 15}}));
}

TEST_F(UpdateListTest, NodesPassedBeforeAGrowthAreNotRevisited) {
    // The first node is apart from the new rect, but the union with the
    // second node covers it; the single pass keeps it anyway.
    list_.addDirty({0, 0, 10, 10}, true);
    list_.addDirty({0, 12, 25, 20}, true);
    list_.addDirty({20, 0, 30, 12}, true);
    EXPECT_EQ(rectsOf(list_), (std::vector<ScreenRect>{{0, 0, 10, 10}, {0, 0, 30, 20}}));
}

TEST_F(UpdateListTest, ContainedAfterGrowthEndsTheCallKeepingLaterNodes) {
    list_.addDirty({0, 0, 10, 10}, true);
    list_.addDirty({0, 0, 100, 100}, false);  // a big unmerged node later in the list
    list_.addDirty({200, 200, 210, 210}, false);
    EXPECT_FALSE(list_.addDirty({5, 5, 20, 20}, true));
    // The first node was merged away; the big one covers the result.
    EXPECT_EQ(rectsOf(list_), (std::vector<ScreenRect>{{0, 0, 100, 100}, {200, 200, 210, 210}}));
}

TEST_F(UpdateListTest, UnmergedRectsAreAppendedAsIsWithFlagZero) {
    list_.addDirty({0, 0, 10, 10}, true);
    list_.addDirty({2, 2, 4, 4}, false);
    ScreenRect r;
    EXPECT_EQ(list_.dirtyAt(0, r), 1u);
    EXPECT_EQ(list_.dirtyAt(1, r), 0u);
    EXPECT_TRUE(r == (ScreenRect{2, 2, 4, 4}));
    EXPECT_EQ(list_.dirtyAt(2, r), 0u);
}

TEST_F(UpdateListTest, TouchesFlaggedCountsEdgesAndOnlyFlagOne) {
    list_.addDirty({10, 10, 20, 20}, true);
    list_.addDirty({100, 100, 120, 120}, false);
    EXPECT_TRUE(list_.touchesFlagged(20, 20, 30, 30));
    EXPECT_TRUE(list_.touchesFlagged(0, 0, 10, 10));
    EXPECT_FALSE(list_.touchesFlagged(21, 0, 30, 30));
    EXPECT_FALSE(list_.touchesFlagged(105, 105, 110, 110));
    list_.clearDirty();
    EXPECT_TRUE(list_.empty());
    EXPECT_FALSE(list_.touchesFlagged(0, 0, 320, 240));
}

TEST_F(UpdateListTest, ShellAddMergesAndKeepsRectsInOrder) {
    list_.add({4, 4, 8, 8});
    list_.add({6, 6, 9, 9});
    list_.add({50, 50, 60, 60});
    EXPECT_EQ(list_.rects(), (std::vector<ScreenRect>{{4, 4, 9, 9}, {50, 50, 60, 60}}));
    EXPECT_EQ(list_.flags(), (std::vector<uint32_t>{1, 1}));
}

}  // namespace
}  // namespace zeku
