// The per-frame work on real pixels: layers on screen, the exact areas a
// move redraws, animations that end or hide, and retiring removed objects.
#include <gtest/gtest.h>

#include "player/graphics/display_objects.h"
#include "player/graphics/pixel_format.h"

namespace zeku {
namespace {

constexpr int kW = 800;  // script units equal screen pixels
constexpr int kH = 600;

class DisplayFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(screen_.create(kW, kH));
        dirty_.setClip(kW, kH);
        objects_.screenWidth = kW;
        objects_.screenHeight = kH;
        // Image 0: left half red, right half green, all opaque.
        images_.slots[0] = std::make_unique<Image>();
        Image& image = *images_.slots[0];
        ASSERT_TRUE(createImage(image, 64, 32));
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 64; ++x) {
                store565(image.pixel(x, y), x < 32 ? 0xF800 : 0x07E0);
                image.pixel(x, y)[2] = 255;
            }
        // Everything starts dirty so the first frame paints the whole screen.
        dirty_.addDirty({0, 0, kW, kH}, true);
    }

    void frame(uint32_t nowMs) {
        dirty_.clear();
        displayFrame(objects_, list_, dirty_, screen_, images_, state_, nowMs);
    }

    uint32_t at(int x, int y) const {
        const uint8_t* p = screen_.pixel(x, y);
        return static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
    }

    DisplayObjects objects_;
    DisplayList list_;
    UpdateList dirty_;
    ScreenSurface screen_;
    ImageSlots images_;
    GraphicsState state_;
    uint32_t errorWord_ = 0;
};

constexpr uint32_t kRed = 0xF80000;
constexpr uint32_t kGreen = 0x00FC00;

TEST_F(DisplayFrameTest, LayerZeroCoversLayerOneWhateverTheSlots) {
    // The layer-0 rectangle sits in the higher slot, which alone would put
    // it underneath.
    ASSERT_TRUE(createRectObject(objects_, 2, 10, 10, 40, 40, 0x0000FF));
    ASSERT_TRUE(createRectObject(objects_, 9, 30, 30, 40, 40, 0xFFFF00));
    setLayer(objects_, 9, 0);
    frame(0);
    EXPECT_EQ(at(40, 40), 0xFFFF00u);
    EXPECT_EQ(at(15, 15), 0x0000FFu);
    EXPECT_EQ(at(65, 65), 0xFFFF00u);
    EXPECT_EQ(at(75, 75), 0u);

    // On one layer the lower slot is on top.
    setLayer(objects_, 9, 1);
    frame(16);
    EXPECT_EQ(at(40, 40), 0x0000FFu);
}

TEST_F(DisplayFrameTest, MovingRedrawsExactlyTheUnionOfOldAndNewBoxes) {
    ASSERT_TRUE(createPictureObject(objects_, images_, 5, 0, 0, 0, 32, 32, 100, 100, 0, 0, 3));
    frame(0);
    EXPECT_EQ(at(110, 110), kRed);

    setPosition(objects_, 5, 120, 90);
    frame(16);
    ASSERT_EQ(dirty_.dirtyCount(), 1u);
    const ScreenRect r = dirty_.rects()[0];
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(r.right, 152);
    EXPECT_EQ(r.bottom, 132);
    EXPECT_EQ(at(105, 125), 0u);  // uncovered part of the old box
    EXPECT_EQ(at(125, 95), kRed);

    // Nothing changed: nothing is redrawn.
    frame(32);
    EXPECT_EQ(dirty_.dirtyCount(), 0u);
}

TEST_F(DisplayFrameTest, AnimationEndMarkerShowsFirstFrameThenRemoves) {
    ASSERT_TRUE(createPictureObject(objects_, images_, 1, 0, 32, 0, 32, 32, 200, 200, 0, 0, 1));
    FrameSettings first{.next = 1, .durationMs = 100, .imageSlot = 0, .width = 32, .height = 32};
    FrameSettings end{
        .next = -1, .durationMs = 100, .imageSlot = 0, .sourceX = 32, .width = 32, .height = 32};
    ASSERT_TRUE(setFrame(objects_, 1, 0, first, 0, errorWord_));
    ASSERT_TRUE(setFrame(objects_, 1, 1, end, -1, errorWord_));
    ASSERT_TRUE(startAnimation(objects_, 1, 0, 1000, errorWord_));
    frame(1000);
    EXPECT_EQ(at(210, 210), kRed);
    frame(1099);
    EXPECT_EQ(at(210, 210), kRed);
    // The end marker is due: the end frame is never shown, and the object
    // is gone from this very frame.
    frame(1100);
    EXPECT_EQ(objects_.slots[1], nullptr);
    EXPECT_EQ(at(210, 210), 0u);
    EXPECT_EQ(errorWord_, 0u);
}

TEST_F(DisplayFrameTest, HidingFrameClearsTheObjectButKeepsIt) {
    ASSERT_TRUE(createPictureObject(objects_, images_, 1, 0, 0, 0, 32, 32, 300, 300, 0, 0, 1));
    FrameSettings only{
        .next = -3, .durationMs = 50, .imageSlot = 0, .sourceX = 32, .width = 32, .height = 32};
    ASSERT_TRUE(setFrame(objects_, 1, 0, only, 0, errorWord_));
    ASSERT_TRUE(startAnimation(objects_, 1, 0, 0, errorWord_));
    frame(0);
    EXPECT_EQ(at(310, 310), kGreen);
    frame(50);
    ASSERT_NE(objects_.slots[1], nullptr);
    EXPECT_FALSE(objects_.slots[1]->visible);
    EXPECT_EQ(at(310, 310), 0u);
    frame(66);
    EXPECT_EQ(dirty_.dirtyCount(), 0u);  // hidden once, not redrawn every frame
}

TEST_F(DisplayFrameTest, RemovedObjectsAreWipedAtTheNextFrame) {
    ASSERT_TRUE(createRectObject(objects_, 0, 0, 0, 20, 20, 0xFFFFFF));
    ASSERT_TRUE(createRectObject(objects_, 128, 50, 0, 20, 20, 0xFFFFFF));
    frame(0);
    EXPECT_EQ(at(5, 5), 0xFFFFFFu);
    EXPECT_EQ(at(55, 5), 0xFFFFFFu);
    removeObject(objects_, 0);
    frame(16);
    EXPECT_EQ(at(5, 5), 0u);
    EXPECT_EQ(at(55, 5), 0xFFFFFFu);
    removeAllObjects(objects_);
    frame(32);
    EXPECT_EQ(at(55, 5), 0u);
    for (const auto& held : objects_.slots)
        EXPECT_EQ(held, nullptr);
}

}  // namespace
}  // namespace zeku
