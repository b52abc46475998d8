// Images and the operations between them: allocation, the opaque-making
// copies, alpha composition in 565, shading and grey on the 5/6-bit fields,
// clipping to the destination, and the slots' on-demand creation.
#include "player/graphics/image.h"

#include <gtest/gtest.h>

#include "player/graphics/image_slots.h"

namespace zeku {
namespace {

void setPixel(Image& image, int x, int y, uint16_t colour, uint8_t alpha) {
    store565(image.pixel(x, y), colour);
    image.pixel(x, y)[2] = alpha;
}

TEST(Image, CreateGivesTransparentBlackAndRefusesBadSizes) {
    Image image;
    ASSERT_TRUE(createImage(image, 3, 2));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.stride, 3);
    EXPECT_EQ(image.rows, 2);
    for (int i = 0; i < 3 * 2 * 3; ++i)
        EXPECT_EQ(image.pixels[i], 0);
    EXPECT_FALSE(createImage(image, 0, 5));
    EXPECT_FALSE(image.hasPixels());
    EXPECT_EQ(image.width, 0u);
    EXPECT_FALSE(createImage(image, kImageMaxSide + 1, 1));
    // New pixels hold no loaded file, even when the allocation fails.
    setImageName(image, "./bg/a.rbp");
    EXPECT_FALSE(createImage(image, 0, 1));
    EXPECT_STREQ(image.name, "");
}

TEST(Image, ClearMakesEveryAllocatedPixelOpaqueBlack) {
    Image image;
    ASSERT_TRUE(createImage(image, 4, 3));
    image.width = 2;  // a smaller picture inside the allocation
    setPixel(image, 3, 2, 0xFFFF, 7);
    setImageName(image, "./bg/a.rbp");
    clearImage(image);
    EXPECT_STREQ(image.name, "");
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(load565(image.pixel(x, y)), 0);
            EXPECT_EQ(image.pixel(x, y)[2], 255);
        }
}

TEST(Image, CopyTakesColourMakesOpaqueAndClipsToTheDestination) {
    Image dst, src;
    ASSERT_TRUE(createImage(dst, 4, 4));
    ASSERT_TRUE(createImage(src, 2, 2));
    setImageName(dst, "./bg/a.rbp");
    setPixel(src, 0, 0, 0x1111, 0);
    setPixel(src, 1, 0, 0x2222, 9);
    setPixel(src, 0, 1, 0x3333, 255);
    setPixel(src, 1, 1, 0x4444, 128);
    copyImage(dst, src, 3, -1);  // only source (0, 1) lands, at (3, 0)
    EXPECT_EQ(dst.name[0], '\0');
    EXPECT_EQ(load565(dst.pixel(3, 0)), 0x3333);
    EXPECT_EQ(dst.pixel(3, 0)[2], 255);
    EXPECT_EQ(dst.pixel(2, 0)[2], 0);
    EXPECT_EQ(dst.pixel(3, 1)[2], 0);
    copyImage(dst, src, 0, 0);
    EXPECT_EQ(load565(dst.pixel(0, 0)), 0x1111);  // alpha 0 is copied too
    EXPECT_EQ(dst.pixel(0, 0)[2], 255);
    EXPECT_EQ(load565(dst.pixel(1, 1)), 0x4444);
}

TEST(Image, BlendComposesInEightBitsAndRepacks) {
    Image dst, src;
    ASSERT_TRUE(createImage(dst, 3, 1));
    ASSERT_TRUE(createImage(src, 3, 1));
    for (int x = 0; x < 3; ++x)
        setPixel(dst, x, 0, 0x0000, 40);
    setPixel(src, 0, 0, 0xFFFF, 0);
    setPixel(src, 1, 0, 0xFFFF, 255);
    setPixel(src, 2, 0, 0xFFFF, 128);
    blendImage(dst, src, 0, 0);
    EXPECT_EQ(load565(dst.pixel(0, 0)), 0x0000);
    EXPECT_EQ(dst.pixel(0, 0)[2], 40);  // untouched, alpha too
    EXPECT_EQ(load565(dst.pixel(1, 0)), 0xFFFF);
    EXPECT_EQ(dst.pixel(1, 0)[2], 255);
    // 0xF8 × 128 >> 8 = 0x7C red/blue, 0xFC × 128 >> 8 = 0x7E green.
    EXPECT_EQ(load565(dst.pixel(2, 0)), pack565(0x7C, 0x7E, 0x7C));
    EXPECT_EQ(dst.pixel(2, 0)[2], 255);
}

TEST(Image, ShadeScalesEachFieldAndColourZeroChangesNothing) {
    Image image;
    ASSERT_TRUE(createImage(image, 2, 1));
    setPixel(image, 0, 0, 0xFFFF, 10);
    setPixel(image, 1, 0, 0xFFFF, 10);
    shadeImage(image, 0, 0, 2, 1, 0);
    EXPECT_EQ(load565(image.pixel(0, 0)), 0xFFFF);
    EXPECT_EQ(image.pixel(0, 0)[2], 10);
    // Red 0x80: 31 × 128 >> 8 = 15; green 0x40: 63 × 192 >> 8 = 47; blue 0xFF: 31 × 1 >> 8 = 0.
    shadeImage(image, 1, 0, 5, 5, 0x8040FF);
    EXPECT_EQ(load565(image.pixel(1, 0)), 15 << 11 | 47 << 5 | 0);
    EXPECT_EQ(image.pixel(1, 0)[2], 255);
    EXPECT_EQ(load565(image.pixel(0, 0)), 0xFFFF);
}

TEST(Image, GreyAveragesExpandedChannels) {
    Image image;
    ASSERT_TRUE(createImage(image, 2, 1));
    setPixel(image, 0, 0, 0xF800, 0);  // pure red: (248 + 0 + 0) / 3 = 82
    setPixel(image, 1, 0, 0x07E0, 0);
    greyImage(image, 0, 0, 1, 1);
    EXPECT_EQ(load565(image.pixel(0, 0)), (82 >> 3) << 11 | (82 >> 2) << 5 | 82 >> 3);
    EXPECT_EQ(image.pixel(0, 0)[2], 255);
    EXPECT_EQ(load565(image.pixel(1, 0)), 0x07E0);  // outside the area
    EXPECT_EQ(image.pixel(1, 0)[2], 0);
}

TEST(ImageSlots, EmptySlotGetsTheScaledDefaultSize) {
    ImageSlots slots;
    slots.defaultWidth = 400;
    slots.defaultHeight = 300;
    uint32_t error = 0;
    EXPECT_EQ(imageInSlot(slots, 3), nullptr);
    Image* image = imageForCommand(slots, 3, 320, 240, error);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 160u);
    EXPECT_EQ(image->height, 120u);
    EXPECT_EQ(imageForCommand(slots, 3, 640, 480, error), image);  // existing one is kept
    EXPECT_EQ(error, 0u);
    releaseImageSlot(slots, 3);
    EXPECT_EQ(imageInSlot(slots, 3), nullptr);
}

// 32 slots of 8192 × 8192 would take 6 GB. All slot images together keep
// to 64 screens' worth of pixels; past that a slot is left without pixels,
// as when memory runs out, and whatever is freed can be used again.
TEST(ImageSlots, AllSlotImagesTogetherKeepToTheBudget) {
    constexpr int kW = 320;
    constexpr int kH = 240;
    const size_t screen = imagePixelBytes(kW, kH);
    ASSERT_EQ(imageBudgetBytes(kW, kH), 64 * screen);
    uint32_t error = 0;

    ImageSlots huge;  // one image of 8000 × 6000 pixels
    huge.defaultWidth = 20000;
    huge.defaultHeight = 15000;
    ASSERT_NE(imageForCommand(huge, 0, kW, kH, error), nullptr);
    EXPECT_FALSE(imageInSlot(huge, 0)->hasPixels());

    ImageSlots slots;
    slots.defaultWidth = 1600;  // two screens each: all 32 just fit
    for (int slot = 0; slot < kImageSlotCount; ++slot)
        EXPECT_TRUE(imageForCommand(slots, slot, kW, kH, error)->hasPixels()) << slot;
    EXPECT_EQ(imageRoomBytes(slots, *imageInSlot(slots, 5), kW, kH), 2 * screen);

    slots.defaultWidth = 2400;  // three screens: one too many
    EXPECT_FALSE(recreateImageForCommand(slots, 5, kW, kH, error)->hasPixels());
    releaseImageSlot(slots, 6);
    EXPECT_TRUE(recreateImageForCommand(slots, 5, kW, kH, error)->hasPixels());
    EXPECT_FALSE(imageForCommand(slots, 6, kW, kH, error)->hasPixels());
    slots.defaultWidth = 800;
    EXPECT_TRUE(recreateImageForCommand(slots, 6, kW, kH, error)->hasPixels());
    EXPECT_EQ(imageRoomBytes(slots, *imageInSlot(slots, 7), kW, kH), 2 * screen);
    EXPECT_EQ(error, 0u);
}

TEST(ImageSlots, OutOfRangeSlotRaisesTheErrorBit) {
    ImageSlots slots;
    uint32_t error = 1;
    EXPECT_EQ(imageForCommand(slots, 32, 320, 240, error), nullptr);
    EXPECT_EQ(error, 1u | kErrorBadImageSlot);
    error = 0;
    EXPECT_EQ(imageForCommand(slots, -1, 320, 240, error), nullptr);
    EXPECT_EQ(error, kErrorBadImageSlot);
    EXPECT_NE(imageForCommand(slots, 31, 320, 240, error), nullptr);
}

}  // namespace
}  // namespace zeku
