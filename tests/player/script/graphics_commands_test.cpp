// Picture commands against real image slots and display objects: the
// shake and slide transitions, the cross-fade, the background show and the
// error bits.
#include <gtest/gtest.h>

#include <string>

#include "common/image/rbp_file.h"
#include "player/script/interpreter.h"
#include "tests/player/script/script_rig.h"

namespace zeku {
namespace {

using test_support::ScriptRig;

// A stored 1 × 1 picture without alpha in the colour given (565).
std::string rawPicture(uint16_t colour) {
    RbpHeader header;
    header.type = kRbpRaw;
    header.width = 1;
    header.height = 1;
    std::string file(kRbpHeaderLength, '\0');
    writeRbpHeader(header, reinterpret_cast<uint8_t*>(file.data()));
    file += static_cast<char>(colour & 0xFF);
    file += static_cast<char>(colour >> 8);
    return file;
}

TEST(WipeCommand, ShakeReversesEveryFiftyMsAndEndsAfterTheThirdChange) {
    ScriptRig rig;  // 240 rows: 5 script units are 2 pixels
    ASSERT_TRUE(rig.load({{"./script.txt", "#Wipe(5,1,3,7)\n@1=1\n#END()\n"}}));
    rig.step();
    EXPECT_EQ(rig.shake.offsetX, 0);
    EXPECT_EQ(rig.shake.offsetY, 2);
    rig.step(50);  // not more than 50 ms yet
    EXPECT_EQ(rig.shake.offsetY, 2);
    rig.step(1);
    EXPECT_EQ(rig.shake.offsetY, -2);
    rig.step(51);
    EXPECT_EQ(rig.shake.offsetY, 2);
    rig.dirty.clear();
    rig.step(51);
    EXPECT_EQ(rig.shake.offsetY, 0);
    ASSERT_EQ(rig.dirty.rects().size(), 1u);
    EXPECT_EQ(rig.dirty.rects()[0].right, 320);
    EXPECT_EQ(rig.dirty.rects()[0].bottom, 240);
    EXPECT_EQ(rig.var(1), 0);  // advance and yield
    rig.step();
    EXPECT_EQ(rig.var(1), 1);
}

TEST(WipeCommand, ACountOfOneShakesFourTimesHorizontally) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", "#Wipe(10,0,1,7)\n@1=1\n"}}));
    rig.step();
    EXPECT_EQ(rig.shake.offsetX, 4);
    int changes = 0;
    while (rig.shake.offsetX != 0 && changes < 10) {
        rig.step(60);
        ++changes;
    }
    EXPECT_EQ(changes, 4);
}

TEST(WipeCommand, SlideMovesBothPicturesAndEndsAsTheBackground) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", "#Clr(0)\n#Paint()\n#Clr(4)\n#Wipe(4,1,0,2)\n@1=1\n"}}));
    rig.step();  // #Paint yields
    ASSERT_NE(objectInSlot(rig.objects, 0), nullptr);
    rig.step();
    ASSERT_NE(objectInSlot(rig.objects, 4), nullptr);
    EXPECT_EQ(objectInSlot(rig.objects, 4)->scriptY, -600 * 1000);  // above the screen
    rig.step(500);
    EXPECT_EQ(objectInSlot(rig.objects, 0)->scriptY, 300 * 1000);
    EXPECT_EQ(objectInSlot(rig.objects, 4)->scriptY, -300 * 1000);
    rig.step(500);
    EXPECT_EQ(objectInSlot(rig.objects, 4), nullptr);
    ASSERT_NE(objectInSlot(rig.objects, 0), nullptr);
    EXPECT_EQ(objectInSlot(rig.objects, 0)->scriptY, 0);
    EXPECT_EQ(objectInSlot(rig.objects, 0)->layer, 96);
}

TEST(TransFadeCommand, FadesInOverSevenHundredFiftyMsOrFinishesAtOnceWhenSkipping) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt",
                           "#Clr(3)\n#TransFade(0,0,0,0,0,0,800,600,3)\n@1=1\n"
                           "#TransFade(0,0,0,0,0,0,800,600,3)\n@2=1\n"}}));
    rig.step();
    ASSERT_NE(objectInSlot(rig.objects, 3), nullptr);
    EXPECT_EQ(objectInSlot(rig.objects, 3)->layer, 28);
    EXPECT_EQ(objectInSlot(rig.objects, 3)->entry.alpha, 0);
    rig.step(375);
    EXPECT_EQ(objectInSlot(rig.objects, 3)->entry.alpha, 128);
    rig.step(375);
    EXPECT_EQ(objectInSlot(rig.objects, 3), nullptr);
    ASSERT_NE(objectInSlot(rig.objects, 0), nullptr);
    EXPECT_EQ(objectInSlot(rig.objects, 0)->entry.alpha, 256);
    ASSERT_NE(imageInSlot(rig.images, 0), nullptr);

    rig.input.keys[KeyRole::Left] = 1;
    rig.step();  // @1=1, then the second fade completes in its first frame
    EXPECT_EQ(rig.var(1), 1);
    EXPECT_EQ(objectInSlot(rig.objects, 3), nullptr);
    rig.step();
    EXPECT_EQ(rig.var(2), 1);
}

TEST(ImageCommands, FillClrPaintsOpaqueBlackAndPaintShowsTheCurrentImage) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load(
        {{"./script.txt", "#CreateImage(0,0,400,300)\n#FillClr(2,RGB(255,255,255))\n#Paint()\n"}}));
    rig.step();
    const Image* image = imageInSlot(rig.images, 2);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 160u);  // the default size, scaled to the screen
    EXPECT_EQ(image->height, 120u);
    EXPECT_EQ(image->pixel(0, 0)[0], 0);
    EXPECT_EQ(image->pixel(0, 0)[2], 255);  // opaque
    EXPECT_EQ(rig.engine.currentImageSlot, 2);
    const DisplayObject* background = objectInSlot(rig.objects, 0);
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->layer, 96);
    ASSERT_NE(imageInSlot(rig.images, 0), nullptr);
}

TEST(ImageCommands, LoadImageReadsAgainAfterTheSlotWasFilledOrCleared) {
    for (const char* command : {"#FillClr(3,0)", "#Clr(3)"}) {
        SCOPED_TRACE(command);
        ScriptRig rig;
        const std::string load = "#LoadImage(3,\"./bg/a.png\")\n";
        ASSERT_TRUE(rig.load({{"./script.txt", load + command + "\n" + load + "#END()\n"},
                              {"./bg/a.rbp", rawPicture(0x1234)}}));
        rig.step();
        const Image* image = imageInSlot(rig.images, 3);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(load565(image->pixel(0, 0)), 0x1234);
        EXPECT_STREQ(image->name, "./bg/a.rbp");
    }
}

// The two message-window rectangles take the window colour of the settings
// instead of the script's, 0xCCCCCC by default; any other rectangle keeps
// the script's colour, and 0 leaves it as it is.
TEST(ImageCommands, TransFillShadesTheWindowRectanglesWithTheWindowColour) {
    struct Case {
        const char* rectangle;  // script units
        int x, y;               // a pixel inside it on the 320 × 240 screen
        int32_t windowColour;
        uint16_t expected;
    };
    // 0xFFFF shaded by 0xCC per channel: 31 × 52 >> 8 = 6, 63 × 52 >> 8 = 12.
    constexpr uint16_t kShaded = 6 << 11 | 12 << 5 | 6;
    const Case cases[] = {
        {"39,431,722,136", 20, 180, SystemSettings{}.windowColour, kShaded},
        {"39,387,211,40", 20, 160, SystemSettings{}.windowColour, kShaded},
        {"39,431,722,136", 20, 180, 0x808080, 15 << 11 | 31 << 5 | 15},
        {"39,431,722,135", 20, 180, SystemSettings{}.windowColour, 0xFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rectangle);
        ScriptRig rig;
        rig.settings.windowColour = c.windowColour;
        ASSERT_TRUE(rig.load({{"./script.txt", std::string("#Clr(3)\n#Wait(0)\n#TransFill(3,") +
                                                   c.rectangle + ",0)\n#END()\n"}}));
        rig.step();
        Image& image = *imageInSlot(rig.images, 3);
        for (int y = 0; y < static_cast<int>(image.height); ++y)
            for (int x = 0; x < static_cast<int>(image.width); ++x)
                store565(image.pixel(x, y), 0xFFFF);
        rig.step();  // the wait ends
        rig.step();
        EXPECT_EQ(load565(image.pixel(c.x, c.y)), c.expected);
        EXPECT_EQ(load565(image.pixel(5, 5)), 0xFFFF);
    }
}

TEST(ImageCommands, BadSlotsRaiseTheirErrorBits) {
    ScriptRig clr;
    ASSERT_TRUE(clr.load({{"./script.txt", "#Clr(32)\n#END()\n"}}));
    clr.step();
    EXPECT_EQ(clr.engine.errorWord, kErrorBadImageSlot);

    ScriptRig fade;
    ASSERT_TRUE(fade.load({{"./script.txt", "#TransFade(0,0,0,0,0,0,800,600,129)\n#END()\n"}}));
    fade.step();
    EXPECT_EQ(fade.engine.errorWord & kErrorBadDisplayObject, kErrorBadDisplayObject);

    ScriptRig blt;  // a missing destination is passed over quietly
    ASSERT_TRUE(blt.load({{"./script.txt", "#Blt(7,0,0,40)\n#AlphaBlt(7,0,0,1)\n#END()\n"}}));
    blt.step();
    EXPECT_EQ(blt.engine.errorWord, 0u);
    EXPECT_EQ(imageInSlot(blt.images, 7), nullptr);
}

// One player frame after the script step, so effects advance as they do
// in the player.
void frameWithDisplay(ScriptRig& rig, uint32_t advanceMs = 16) {
    rig.step(advanceMs);
    rig.dirty.clear();
    displayFrame(rig.objects, rig.game.displayList, rig.dirty, rig.game.screen, rig.images,
                 rig.graphics, rig.nowMs);
}

TEST(EffectCommand, WaitsForTheEffectSkipsUnknownTypesAndStopsOnTheSkipKey) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt",
                           "#Clr(5)\n#Effect(5,133,100,10,1,1)\n@1=1\n#Effect(7,2,100,0,0,0)\n"
                           "@2=1\n#Effect(6,191,100,0,0,1)\n@3=1\n#Clr(4)\n"
                           "#Effect(4,6,500,10,1,1)\n@4=1\n#Effect(129,1,10,0,0,0)\n@5=1\n"}}));
    frameWithDisplay(rig);
    ASSERT_NE(objectInSlot(rig.objects, 5), nullptr);
    EXPECT_TRUE(objectInSlot(rig.objects, 5)->effect.active);
    EXPECT_EQ(objectInSlot(rig.objects, 5)->layer, 28);
    frameWithDisplay(rig, 50);
    EXPECT_EQ(rig.var(1), 0);
    frameWithDisplay(rig, 60);  // the removing wipe ends and retires its object
    EXPECT_EQ(objectInSlot(rig.objects, 5), nullptr);

    frameWithDisplay(rig);  // the line ends and yields
    frameWithDisplay(rig);  // past the unknown type to the screen-level fade
    EXPECT_EQ(rig.var(1), 1);
    EXPECT_EQ(rig.var(2), 1);
    ASSERT_NE(objectInSlot(rig.objects, 6), nullptr);
    EXPECT_EQ(objectInSlot(rig.objects, 6)->entry.kind, kEntryScreenLevel);
    frameWithDisplay(rig, 100);
    EXPECT_EQ(rig.graphics.screenLevel, 512);  // normal to white

    frameWithDisplay(rig);
    frameWithDisplay(rig);
    EXPECT_EQ(rig.var(3), 1);
    ASSERT_NE(objectInSlot(rig.objects, 4), nullptr);
    EXPECT_TRUE(objectInSlot(rig.objects, 4)->effect.active);
    rig.input.keys[KeyRole::Left] = 1;
    frameWithDisplay(rig);
    frameWithDisplay(rig);
    EXPECT_EQ(rig.var(4), 1);
    ASSERT_NE(objectInSlot(rig.objects, 4), nullptr);
    EXPECT_FALSE(objectInSlot(rig.objects, 4)->effect.active);
    // A bad object number ends the program like any other.
    EXPECT_NE(rig.engine.errorWord & kErrorBadDisplayObject, 0u);
}

}  // namespace
}  // namespace zeku
