// Display-object operations: script-to-screen scaling, picture and layer
// rules, the covered box with and without an angle, slot and frame bounds,
// the error bit, and the animation step's frame timing.
#include "player/graphics/display_objects.h"

#include <gtest/gtest.h>

namespace zeku {
namespace {

void expectRect(const ScreenRect& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

DisplayObjects objectsFor(int width, int height) {
    DisplayObjects objects;
    objects.screenWidth = width;
    objects.screenHeight = height;
    return objects;
}

TEST(DisplayObjects, ScalesScriptUnitsMultiplyingFirst) {
    ImageSlots images;
    DisplayObjects small = objectsFor(320, 240);
    ASSERT_TRUE(createPictureObject(small, images, 3, 0, 10, 15, 799, 599, 799, 599, 25, 35, 5));
    const DisplayObject& s = *small.slots[3];
    // 799 × 320 / 800 = 319 (dividing first would give 0).
    EXPECT_EQ(s.x, 319000);
    EXPECT_EQ(s.y, 239000);
    EXPECT_EQ(s.scriptX, 799000);
    EXPECT_EQ(s.scriptY, 599000);
    EXPECT_EQ(s.width, 319);
    EXPECT_EQ(s.height, 239);
    EXPECT_EQ(s.entry.sourceLeft, 4);
    EXPECT_EQ(s.entry.sourceTop, 6);
    EXPECT_EQ(s.entry.sourceRight, 4 + 319);
    EXPECT_EQ(s.entry.sourceBottom, 6 + 239);
    EXPECT_EQ(s.originX, 10);
    EXPECT_EQ(s.originY, 14);
    EXPECT_EQ(s.layer, 5);

    DisplayObjects large = objectsFor(640, 480);
    ASSERT_TRUE(createPictureObject(large, images, 3, 0, 10, 15, 799, 599, 799, 599, 25, 35, 5));
    const DisplayObject& l = *large.slots[3];
    EXPECT_EQ(l.x, 639000);
    EXPECT_EQ(l.y, 479000);
    EXPECT_EQ(l.width, 639);
    EXPECT_EQ(l.height, 479);
    EXPECT_EQ(l.entry.sourceLeft, 8);
    EXPECT_EQ(l.entry.sourceTop, 12);
    EXPECT_EQ(l.originX, 20);
    EXPECT_EQ(l.originY, 28);

    ASSERT_TRUE(createRectObject(small, 4, 100, 50, 400, 300, 0xFF0000));
    const DisplayObject& r = *small.slots[4];
    EXPECT_EQ(r.entry.kind, kEntryRect);
    EXPECT_EQ(r.x, 40000);
    EXPECT_EQ(r.y, 20000);
    EXPECT_EQ(r.entry.sourceRight, 160);
    EXPECT_EQ(r.entry.sourceBottom, 120);
    expectRect(objectBox(r), 40, 20, 200, 140);
}

TEST(DisplayObjects, PictureClampsNegativeSourceAndTakesImageSize) {
    ImageSlots images;
    images.slots[2] = std::make_unique<Image>();
    ASSERT_TRUE(createImage(*images.slots[2], 200, 100));
    DisplayObjects objects = objectsFor(320, 240);
    ASSERT_TRUE(createObject(objects, 0));
    ASSERT_TRUE(setPicture(objects, images, 0, 2, -5, -7, 100, 50));
    const DisplayObject& o = *objects.slots[0];
    EXPECT_EQ(o.entry.slot, 2);
    EXPECT_EQ(o.entry.sourceLeft, 0);
    EXPECT_EQ(o.entry.sourceTop, 0);
    EXPECT_EQ(o.entry.sourceRight, 40);
    EXPECT_EQ(o.entry.sourceBottom, 20);

    // Negative sizes take the image's, which is in screen pixels already,
    // each on its own; the source corner is scaled as always.
    ASSERT_TRUE(setPicture(objects, images, 0, 2, 10, 0, -1, -1));
    EXPECT_EQ(o.width, 200);
    EXPECT_EQ(o.height, 100);
    EXPECT_EQ(o.entry.sourceLeft, 4);
    EXPECT_EQ(o.entry.sourceRight, 204);
    EXPECT_EQ(o.entry.sourceBottom, 100);
    ASSERT_TRUE(setPicture(objects, images, 0, 2, 0, 0, 100, -1));
    EXPECT_EQ(o.width, 40);
    EXPECT_EQ(o.height, 100);

    // Image slots that cannot exist show nothing.
    ASSERT_TRUE(setPicture(objects, images, 0, 40, 0, 0, 10, 10));
    EXPECT_EQ(o.entry.slot, -1);
}

TEST(DisplayObjects, LayerAlphaAndModeLimits) {
    DisplayObjects objects = objectsFor(800, 600);
    uint32_t errorWord = 0;
    ASSERT_TRUE(createObject(objects, 7));
    DisplayObject& o = *objects.slots[7];
    EXPECT_EQ(o.layer, 1);
    ASSERT_TRUE(setLayer(objects, 7, 40));
    setLayer(objects, 7, 200);
    EXPECT_EQ(o.layer, 40);
    setLayer(objects, 7, 128);
    setLayer(objects, 7, -1);
    EXPECT_EQ(o.layer, 40);
    setLayer(objects, 7, 127);
    EXPECT_EQ(o.layer, 127);

    setAlpha(objects, 7, 300);
    EXPECT_EQ(o.entry.alpha, 256);
    setAlpha(objects, 7, -4);
    EXPECT_EQ(o.entry.alpha, 0);

    EXPECT_TRUE(setMode(objects, 7, 1, errorWord));
    EXPECT_EQ(o.entry.mode, 1);
    EXPECT_EQ(errorWord, 0u);
}

TEST(DisplayObjects, BadOrEmptySlotsAreRefusedAndRaiseTheErrorBitWhereDue) {
    DisplayObjects objects = objectsFor(800, 600);
    ImageSlots images;
    EXPECT_FALSE(createObject(objects, 129));
    EXPECT_FALSE(createObject(objects, -1));
    EXPECT_FALSE(setPosition(objects, 5, 1, 1));  // empty
    EXPECT_FALSE(setPicture(objects, images, 500, 0, 0, 0, 1, 1));
    EXPECT_FALSE(removeObject(objects, 129));

    uint32_t errorWord = 0;
    EXPECT_FALSE(setMode(objects, 5, 0, errorWord));
    EXPECT_EQ(errorWord, kErrorBadDisplayObject);
    errorWord = 0;
    EXPECT_FALSE(setFrame(objects, 129, 0, FrameSettings{}, -1, errorWord));
    EXPECT_EQ(errorWord, kErrorBadDisplayObject);
    errorWord = 0;
    EXPECT_FALSE(startAnimation(objects, 5, 0, 0, errorWord));
    EXPECT_EQ(errorWord, kErrorBadDisplayObject);
    errorWord = 0;
    EXPECT_FALSE(stopAnimation(objects, 200, errorWord));
    EXPECT_EQ(errorWord, kErrorBadDisplayObject);

    // Slot 128 exists but cannot take part in a move.
    ASSERT_TRUE(createObject(objects, 128));
    ASSERT_TRUE(createObject(objects, 1));
    errorWord = 0;
    EXPECT_FALSE(moveObject(objects, 128, 2, errorWord));
    EXPECT_EQ(errorWord, kErrorBadDisplayObject);
    errorWord = 0;
    EXPECT_FALSE(moveObject(objects, 1, 128, errorWord));
    EXPECT_EQ(errorWord, kErrorBadDisplayObject);
    errorWord = 0;
    EXPECT_FALSE(moveObject(objects, 3, 1, errorWord));  // empty source
    EXPECT_EQ(errorWord, kErrorBadDisplayObject);
    EXPECT_NE(objects.slots[1], nullptr);
}

TEST(DisplayObjects, FrameAndSequenceIndicesAreChecked) {
    DisplayObjects objects = objectsFor(800, 600);
    uint32_t errorWord = 0;
    ASSERT_TRUE(createObject(objects, 0));
    FrameSettings frame;
    frame.width = 10;
    EXPECT_FALSE(setFrame(objects, 0, 64, frame, -1, errorWord));
    EXPECT_FALSE(setFrame(objects, 0, -1, frame, -1, errorWord));
    EXPECT_FALSE(setFrame(objects, 0, 3, frame, 16, errorWord));
    EXPECT_EQ(objects.slots[0]->frames[3].width, 0);  // refused as a whole
    EXPECT_TRUE(setFrame(objects, 0, 63, frame, 15, errorWord));
    EXPECT_EQ(objects.slots[0]->sequences[15], 63);

    EXPECT_FALSE(startAnimation(objects, 0, 16, 0, errorWord));
    EXPECT_FALSE(startAnimation(objects, 0, -1, 0, errorWord));
    EXPECT_FALSE(startAnimation(objects, 0, 4, 0, errorWord));  // no frames
    EXPECT_FALSE(objects.slots[0]->animationRunning);
    EXPECT_EQ(errorWord, 0u);
}

TEST(DisplayObjects, MoveFreesTheTargetAndEmptiesTheSource) {
    DisplayObjects objects = objectsFor(800, 600);
    uint32_t errorWord = 0;
    ASSERT_TRUE(createRectObject(objects, 4, 10, 10, 5, 5, 0x00FF00));
    ASSERT_TRUE(createRectObject(objects, 9, 50, 50, 5, 5, 0x0000FF));
    UpdateList dirty;
    dirty.setClip(800, 600);
    addChangedBoxes(objects, dirty);
    dirty.clear();

    ASSERT_TRUE(moveObject(objects, 4, 9, errorWord));
    EXPECT_EQ(objects.slots[4], nullptr);
    ASSERT_NE(objects.slots[9], nullptr);
    EXPECT_EQ(objects.slots[9]->entry.colour, 0x00FF00u);
    // The freed target's area still shows it and is redrawn next frame.
    retireFinishedObjects(objects, dirty);
    ASSERT_EQ(dirty.dirtyCount(), 1u);
    expectRect(dirty.rects()[0], 50, 50, 55, 55);
    EXPECT_EQ(errorWord, 0u);
}

TEST(DisplayObjects, BoxFollowsOriginAndScale) {
    DisplayObject o;
    o.x = 100000;
    o.y = 50000;
    o.width = 30;
    o.height = 20;
    o.originX = 10;
    o.originY = 4;
    expectRect(objectBox(o), 90, 46, 120, 66);
    o.scaleX = 2000;
    o.scaleY = 500;
    expectRect(objectBox(o), 80, 48, 140, 58);
}

TEST(DisplayObjects, RotatedBoxMatchesHandComputedCorners) {
    DisplayObject o;
    o.x = 100000;
    o.y = 100000;
    o.width = 40;
    o.height = 20;
    o.angle = 90;  // sin → 1023, cos → 0
    expectRect(objectBox(o), 70, 100, 111, 141);
    o.scaleX = 2000;  // mean scale 1500
    expectRect(objectBox(o), 55, 100, 116, 161);

    // At 180 degrees the single-precision pi gives cos × 1024 = −1023 (not
    // −1024) and sin × 1024 truncates to 0: the far corner lands at 101.
    DisplayObject half;
    half.x = 700000;
    half.y = 300000;
    half.width = 600;
    half.height = 200;
    half.angle = 180;
    expectRect(objectBox(half), 101, -100, 701, 501);
}

TEST(DisplayObjects, AnimationFrameTimingSurvivesTickWrap) {
    DisplayObjects objects = objectsFor(800, 600);
    uint32_t errorWord = 0;
    ASSERT_TRUE(createObject(objects, 0));
    FrameSettings a{.next = 1, .durationMs = 100, .imageSlot = 0, .width = 8, .height = 8};
    FrameSettings b{.next = 0, .durationMs = 100, .imageSlot = 1, .width = 8, .height = 8};
    ASSERT_TRUE(setFrame(objects, 0, 0, a, 2, errorWord));
    ASSERT_TRUE(setFrame(objects, 0, 1, b, -1, errorWord));
    const uint32_t start = 0xFFFFFFC0u;
    ASSERT_TRUE(startAnimation(objects, 0, 2, start, errorWord));
    DisplayObject& o = *objects.slots[0];
    EXPECT_TRUE(stepObject(o, start + 10));  // due time has wrapped, now has not
    EXPECT_EQ(o.currentFrame, 0);
    EXPECT_TRUE(stepObject(o, start + 99));
    EXPECT_EQ(o.currentFrame, 0);
    EXPECT_TRUE(stepObject(o, start + 100));
    EXPECT_EQ(o.currentFrame, 1);
    EXPECT_EQ(o.entry.slot, 1);
}

TEST(DisplayObjects, ZeroDurationLoopChangesOneFramePerStep) {
    DisplayObjects objects = objectsFor(800, 600);
    uint32_t errorWord = 0;
    ASSERT_TRUE(createObject(objects, 0));
    ASSERT_TRUE(setFrame(objects, 0, 0, FrameSettings{.next = 1, .imageSlot = 0}, 0, errorWord));
    ASSERT_TRUE(setFrame(objects, 0, 1, FrameSettings{.next = 0, .imageSlot = 1}, -1, errorWord));
    ASSERT_TRUE(startAnimation(objects, 0, 0, 0, errorWord));
    DisplayObject& o = *objects.slots[0];
    for (int i = 1; i <= 6; ++i) {
        EXPECT_TRUE(stepObject(o, 0));
        EXPECT_EQ(o.currentFrame, i % 2);
    }
}

TEST(DisplayObjects, StopAnimationRestoresThePicture) {
    ImageSlots images;
    DisplayObjects objects = objectsFor(800, 600);
    uint32_t errorWord = 0;
    ASSERT_TRUE(createPictureObject(objects, images, 0, 3, 10, 20, 30, 40, 0, 0, 0, 0, 1));
    FrameSettings frame{.next = 0, .durationMs = 50, .imageSlot = 5, .width = 8, .height = 9};
    frame.offsetX = 4;
    ASSERT_TRUE(setFrame(objects, 0, 0, frame, 0, errorWord));
    ASSERT_TRUE(startAnimation(objects, 0, 0, 0, errorWord));
    DisplayObject& o = *objects.slots[0];
    EXPECT_EQ(o.entry.slot, 5);
    EXPECT_EQ(o.width, 8);
    expectRect(objectBox(o), 4, 0, 12, 9);                      // the frame's offset moves the box
    ASSERT_TRUE(startAnimation(objects, 0, 0, 10, errorWord));  // restart
    ASSERT_TRUE(stopAnimation(objects, 0, errorWord));
    EXPECT_FALSE(o.animationRunning);
    EXPECT_EQ(o.entry.slot, 3);
    EXPECT_EQ(o.entry.sourceLeft, 10);
    EXPECT_EQ(o.entry.sourceBottom, 60);
    EXPECT_EQ(o.width, 30);
    EXPECT_EQ(o.height, 40);
}

}  // namespace
}  // namespace zeku
