// Transition effects: which pixels of the object each wipe shows at a given
// progress (against a per-pixel model), the fade and screen-level ends, the
// diagonal starts, the explosion's flight, and hostile parameters.
#include <gtest/gtest.h>

#include <vector>

#include "player/graphics/display_objects.h"
#include "player/graphics/transition_effect.h"

namespace zeku {
namespace {

// 800 × 600 so the scaled band sizes equal the arguments.
constexpr int kSw = 800;
constexpr int kSh = 600;
constexpr uint32_t kT0 = 1000;

DisplayObject pictureObject(int width, int height, int x = 0, int y = 0) {
    DisplayObject o;
    o.entry.slot = 0;
    o.entry.sourceLeft = 3;  // an offset source catches mixed-up origins
    o.entry.sourceTop = 5;
    o.entry.sourceRight = static_cast<int16_t>(3 + width);
    o.entry.sourceBottom = static_cast<int16_t>(5 + height);
    o.width = width;
    o.height = height;
    o.x = x * 1000;
    o.y = y * 1000;
    return o;
}

// Which object-relative pixels (along the wipe's axis) the pieces show:
// each piece must map source and screen by the same offset.
std::vector<bool> shownAlongAxis(const DisplayObject& o, bool columns, int length) {
    std::vector<bool> shown(static_cast<size_t>(length) + 40, false);
    const EffectState& e = o.effect;
    for (int k = 0; k < e.pieces.size(); ++k) {
        const DisplayEntry& p = e.pieces[k];
        const int from =
            columns ? p.sourceLeft - o.entry.sourceLeft : p.sourceTop - o.entry.sourceTop;
        const int to =
            columns ? p.sourceRight - o.entry.sourceLeft : p.sourceBottom - o.entry.sourceTop;
        const int placed = columns ? p.left - o.x / 1000 : p.top - o.y / 1000;
        EXPECT_EQ(placed, from) << "piece " << k << " drawn away from its source";
        for (int q = from; q < to; ++q) {
            EXPECT_FALSE(shown[size_t(q)]) << "pixel " << q << " drawn twice";
            shown[size_t(q)] = true;
        }
    }
    return shown;
}

// The per-pixel model: band k of size B starts at k/S (or (n-1-k)/S) and
// reveals r = clamp((v - start) K, 0, B) pixels; head, tail or the rest.
enum class Part { Head, Tail, Rest };
struct BandCase {
    uint32_t type;
    bool columns;
    bool backward;
    Part part;
};

bool modelShows(const BandCase& c, int q, int v, int n, int band, int stagger, int speed) {
    const int k = q / band;
    if (k >= n) return false;
    const int start = (c.backward ? n - 1 - k : k) / stagger;
    const int r = std::clamp((v - start) * speed, 0, band);
    const int offset = q - k * band;
    switch (c.part) {
        case Part::Head:
            return offset < r;
        case Part::Tail:
            return offset >= band - r;
        default:
            return offset >= r;
    }
}

TEST(TransitionEffect, EveryBandAndColumnTypeShowsWhatThePixelModelPredicts) {
    const BandCase cases[] = {
        {5, false, false, Part::Head},   {9, false, true, Part::Tail},
        {133, false, false, Part::Rest}, {137, false, true, Part::Head},
        {6, true, false, Part::Head},    {10, true, true, Part::Tail},
        {134, true, false, Part::Rest},  {138, true, true, Part::Head},
        {11, false, false, Part::Tail},  {12, false, true, Part::Head},
        {139, false, false, Part::Rest}, {140, false, true, Part::Rest},
        {13, true, false, Part::Tail},   {14, true, true, Part::Head},
        {141, true, false, Part::Rest},  {142, true, true, Part::Rest},
    };
    constexpr int kBand = 8;
    constexpr int kStagger = 2;
    for (const BandCase& c : cases) {
        // 11..14 add 1 to the scaled speed: c = 1 gives speed 2 for all.
        const bool scaledSpeed = (c.type & 127) >= 11 && (c.type & 127) <= 14;
        const int speedArg = scaledSpeed ? 1 : 2;
        DisplayObject o = pictureObject(c.columns ? 60 : 30, c.columns ? 30 : 60, 17, 23);
        ASSERT_TRUE(startEffect(o, c.type, 1000, kBand, kStagger, speedArg, kT0, kSw, kSh))
            << c.type;
        const int n = (60 + kBand - 1) / kBand;
        EXPECT_EQ(c.columns ? o.effect.columns : o.effect.rows, n) << c.type;
        EXPECT_EQ(o.effect.units, (n - 1) / kStagger + kBand / 2) << c.type;
        for (int elapsed : {0, 130, 310, 620, 999}) {
            stepEffect(o, kT0 + uint32_t(elapsed));
            const int v = elapsed * o.effect.units / 1000;
            const std::vector<bool> shown = shownAlongAxis(o, c.columns, 60);
            // The last band keeps its full size past the object's end.
            for (int q = 0; q < n * kBand; ++q)
                ASSERT_EQ(shown[size_t(q)], modelShows(c, q, v, n, kBand, kStagger, 2))
                    << "type " << c.type << " at " << elapsed << " ms, pixel " << q;
        }
    }
}

TEST(TransitionEffect, WorkedColumnExampleAtTwentyUnits) {
    DisplayObject o = pictureObject(400, 50);
    ASSERT_TRUE(startEffect(o, kEffectColumnsRight, 490, 10, 1, 1, kT0, kSw, kSh));
    EXPECT_EQ(o.effect.columns, 40);
    EXPECT_EQ(o.effect.units, 49);
    stepEffect(o, kT0 + 200);  // v = 200 × 49 / 490 = 20
    auto width = [&](int k) {
        return o.effect.pieces[k].sourceRight - o.effect.pieces[k].sourceLeft;
    };
    EXPECT_EQ(width(0), 10);
    EXPECT_EQ(width(15), 5);
    EXPECT_EQ(width(25), 0);
    EXPECT_EQ(o.effect.pieces[15].left, 150);
}

TEST(TransitionEffect, FadeGridsShortenTheLastBandToTheSource) {
    struct Case {
        uint32_t type;
        int columns;
        int rows;
    };
    // 25 × 18 with band 10: 3 columns, 2 rows; the last ones 5 and 8 wide.
    for (const Case c : {Case{16, 3, 1}, Case{18, 1, 2}, Case{20, 3, 2}, Case{151, 3, 2}}) {
        DisplayObject o = pictureObject(25, 18);
        ASSERT_TRUE(startEffect(o, c.type, 1000, 10, 1, 1, kT0, kSw, kSh));
        EXPECT_EQ(o.effect.columns, c.columns) << c.type;
        EXPECT_EQ(o.effect.rows, c.rows) << c.type;
        const DisplayEntry& last = o.effect.pieces[o.effect.pieces.size() - 1];
        EXPECT_EQ(last.sourceRight, o.entry.sourceRight) << c.type;
        EXPECT_EQ(last.sourceBottom, o.entry.sourceBottom) << c.type;
        EXPECT_EQ(last.sourceRight - last.sourceLeft, c.columns == 1 ? 25 : 5) << c.type;
        EXPECT_EQ(last.sourceBottom - last.sourceTop, c.rows == 1 ? 18 : 8) << c.type;
    }
}

TEST(TransitionEffect, DiagonalFadesStartFromTheirCorner) {
    struct Case {
        uint32_t type;
        int column;  // the one tile opaque one unit in
        int row;
        bool fadesOut;
    };
    const Case cases[] = {{20, 0, 0, false}, {21, 3, 2, false}, {22, 0, 2, false},
                          {23, 3, 0, false}, {148, 0, 0, true}, {149, 3, 2, true},
                          {150, 0, 2, true}, {151, 3, 0, true}};
    for (const Case& c : cases) {
        DisplayObject o = pictureObject(40, 30);  // 4 × 3 tiles of 10
        // Speed 256 makes each unit a whole fade: U = 4 + 3 + 1 - 2 = 6.
        ASSERT_TRUE(startEffect(o, c.type, 600, 10, 1, 256, kT0, kSw, kSh));
        ASSERT_EQ(o.effect.units, 6);
        stepEffect(o, kT0 + 100);  // v = 1
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 4; ++i) {
                const bool corner = i == c.column && j == c.row;
                const int alpha = o.effect.pieces[i + j * 4].alpha;
                EXPECT_EQ(alpha, (corner != c.fadesOut) ? 256 : 0)
                    << "type " << c.type << " tile " << i << "," << j;
            }
    }
}

TEST(TransitionEffect, FadesEndOpaqueOrRemoveTheirObject) {
    DisplayObject in = pictureObject(20, 20);
    in.entry.alpha = 40;
    ASSERT_TRUE(startEffect(in, kEffectFadeIn, 100, 0, 0, 0, kT0, kSw, kSh));
    EXPECT_EQ(in.effect.pieces[0].alpha, 0);
    EXPECT_FALSE(stepEffect(in, kT0 + 50));
    EXPECT_EQ(in.effect.pieces[0].alpha, 128);
    EXPECT_TRUE(stepEffect(in, kT0 + 100));
    EXPECT_FALSE(in.effect.active);
    EXPECT_EQ(in.entry.alpha, 256);
    EXPECT_FALSE(in.finished);

    DisplayObject out = pictureObject(20, 20);
    ASSERT_TRUE(startEffect(out, 129, 100, 0, 0, 0, kT0, kSw, kSh));
    EXPECT_EQ(out.effect.pieces[0].alpha, 256);
    stepEffect(out, kT0 + 99);
    EXPECT_EQ(out.effect.pieces[0].alpha, 256 - 99 * 256 / 100);
    EXPECT_TRUE(stepEffect(out, kT0 + 100));
    EXPECT_TRUE(out.finished);
    EXPECT_EQ(out.effect.pieces.size(), 0);
}

TEST(TransitionEffect, ScreenLevelFadesStartAndEndAtTheirLevels) {
    struct Case {
        uint32_t type;
        int c;
        int startLevel;
        int midLevel;  // at half time
        int endLevel;
    };
    const Case cases[] = {{63, 0, 0, 128, 256},
                          {63, 1, 512, 384, 256},
                          {191, 0, 256, 128, 0},
                          {191, 7, 256, 384, 512}};
    for (const Case& c : cases) {
        DisplayObject o;
        o.entry.kind = kEntryScreenLevel;
        ASSERT_TRUE(startEffect(o, c.type, 200, 0, 1, c.c, kT0, kSw, kSh));
        EXPECT_EQ(o.effect.pieces[0].kind, kEntryScreenLevel);
        EXPECT_EQ(o.effect.pieces[0].paint, 1);
        EXPECT_EQ(o.effect.pieces[0].level, c.startLevel) << c.type << "/" << c.c;
        stepEffect(o, kT0 + 100);
        EXPECT_EQ(o.effect.pieces[0].level, c.midLevel) << c.type << "/" << c.c;
        EXPECT_TRUE(stepEffect(o, kT0 + 250));
        EXPECT_EQ(o.effect.endScreenLevel, c.endLevel) << c.type << "/" << c.c;
        EXPECT_TRUE(o.finished);
    }
}

TEST(TransitionEffect, ScreenLevelFadeDrivesTheFrameAndRedrawsTheScreen) {
    DisplayObjects objects;
    objects.screenWidth = 64;
    objects.screenHeight = 48;
    ASSERT_TRUE(createObject(objects, 5));
    DisplayObject& o = *objects.slots[5];
    o.entry.kind = kEntryScreenLevel;
    ASSERT_TRUE(startEffect(o, kEffectScreenLevelOut, 100, 0, 0, 0, kT0, 64, 48));
    EXPECT_EQ(objectBox(o), (ScreenRect{0, 0, 64, 48}));

    DisplayList list;
    UpdateList dirty;
    dirty.setClip(64, 48);
    ScreenSurface screen;
    ASSERT_TRUE(screen.create(64, 48));
    ImageSlots images;
    GraphicsState state;
    displayFrame(objects, list, dirty, screen, images, state, kT0 + 50);
    EXPECT_EQ(state.screenLevel, 128);  // drawn by the piece
    dirty.clear();
    displayFrame(objects, list, dirty, screen, images, state, kT0 + 100);
    EXPECT_EQ(state.screenLevel, 0);
    EXPECT_EQ(objects.slots[5], nullptr);
}

TEST(TransitionEffect, ExplosionTilesWaitTheirDistanceThenFlyOutward) {
    DisplayObject o = pictureObject(50, 50, 100, 100);
    o.entry.alpha = 200;
    // 5 × 5 tiles of 10, centre tile (2, 2).
    ASSERT_TRUE(startEffect(o, kEffectExplosion, 5000, 10, (2 << 16) | 2, 0, kT0, kSw, kSh));
    ASSERT_EQ(o.effect.columns, 5);
    ASSERT_EQ(o.effect.rows, 5);
    const int right = 4 + 2 * 5;  // tile (4, 2), two tiles right of the centre
    const int below = 2 + 4 * 5;  // tile (2, 4)
    EXPECT_EQ(o.effect.particles[right].delay, 2);
    EXPECT_EQ(o.effect.particles[right].speed, 1666);
    const int16_t restLeft = o.effect.pieces[right].left;
    for (uint32_t step = 0; step < 3; ++step)
        stepEffect(o, kT0 + 16 * step);
    // Steps 0 and 1 waited; step 2 left at speed 1.666 px.
    EXPECT_EQ(o.effect.pieces[right].left, restLeft + 1);
    EXPECT_EQ(o.effect.pieces[right].top, o.y / 1000 + 20);
    EXPECT_GT(o.effect.pieces[below].top, o.y / 1000 + 40);
    EXPECT_EQ(o.effect.pieces[below].left, o.x / 1000 + 20);
    EXPECT_EQ(o.effect.pieces[right].alpha, 200 - 3 * 2);
    // A second later the tiles in flight have shrunk to about half.
    stepEffect(o, kT0 + 32 + 1000);
    const DisplayEntry& p = o.effect.pieces[right];
    EXPECT_EQ(p.sourceRight - p.sourceLeft, 10 - 1000 * 10 / 2000);
    EXPECT_TRUE(stepEffect(o, kT0 + 5000));
    EXPECT_TRUE(o.finished);
}

TEST(TransitionEffect, RippleAmplitudeDiesDownAndRowsReturnHome) {
    DisplayObject o = pictureObject(30, 6, 50, 60);
    // Stagger 0 and speed 0 put every row at angle 0: x offset = amplitude.
    ASSERT_TRUE(startEffect(o, kEffectRippleIn, 400, 20, 0, 0, kT0, kSw, kSh));
    ASSERT_EQ(o.effect.pieces.size(), 6);
    EXPECT_EQ(o.effect.pieces[3].left, 70);
    EXPECT_EQ(o.effect.pieces[3].top, 63);
    EXPECT_EQ(o.effect.pieces[3].sourceBottom - o.effect.pieces[3].sourceTop, 1);
    stepEffect(o, kT0 + 100);
    EXPECT_EQ(o.effect.pieces[3].left, 50 + 15);
    EXPECT_EQ(o.effect.pieces[3].alpha, 64);
    EXPECT_TRUE(stepEffect(o, kT0 + 400));
    EXPECT_EQ(objectBox(o), (ScreenRect{50, 60, 80, 66}));
    EXPECT_FALSE(o.finished);
}

TEST(TransitionEffect, HostileParametersStayBoundedAndEnd) {
    struct Case {
        uint32_t type;
        int32_t duration;
        int32_t a, b, c;
        bool starts;
    };
    const Case cases[] = {
        {5, 500, 0, 0, 0, true},
        {6, 500, -7, -1, -32768, true},
        {13, 500, 0, 0, -600, true},
        {20, 500, 1, 0, 0, true},
        {240, 500, 0, -1, 0, true},
        {48, 500, 70000, 32767, -32768, true},
        {6, -5, 10, 1, 1, true},
        {6, 1 << 30, 10, 1, 1, true},
        {0, 500, 10, 1, 1, false},
        {2, 500, 10, 1, 1, false},
        {176, 500, 10, 1, 1, false},
        {188, 500, 10, 1, 1, false},
        {0xFFFFFFFFu, 500, 1, 1, 1, false},
        {368, 500, 1, 1, 1, false},
    };
    for (const Case& c : cases) {
        DisplayObject o = pictureObject(640, 480);
        EXPECT_EQ(startEffect(o, c.type, c.duration, c.a, c.b, c.c, kT0, 640, 480), c.starts)
            << c.type;
        if (!c.starts) {
            EXPECT_FALSE(o.effect.active);
            continue;
        }
        EXPECT_LE(o.effect.pieces.size(), kMaxEffectPieces) << c.type;
        EXPECT_GE(o.effect.band, c.type == 48 ? -32768 : 1) << c.type;
        stepEffect(o, kT0 + 16);
        // Every duration ends within 32767 ms.
        stepEffect(o, kT0 + 40000);
        EXPECT_FALSE(o.effect.active) << c.type;
    }
    DisplayObject empty = pictureObject(0, 0);
    ASSERT_TRUE(startEffect(empty, 20, 100, 8, 1, 1, kT0, kSw, kSh));
    EXPECT_EQ(empty.effect.pieces.size(), 0);
    EXPECT_TRUE(stepEffect(empty, kT0 + 100));
}

TEST(TransitionEffect, RestartingCancelsTheRunningEffectWithoutRetiring) {
    DisplayObject o = pictureObject(100, 40, 10, 10);
    ASSERT_TRUE(startEffect(o, 133, 500, 10, 1, 1, kT0, kSw, kSh));
    stepEffect(o, kT0 + 100);
    ASSERT_TRUE(startEffect(o, kEffectColumnsRight, 500, 25, 1, 1, kT0 + 100, kSw, kSh));
    EXPECT_FALSE(o.finished);
    EXPECT_EQ(o.effect.type, kEffectColumnsRight);
    EXPECT_EQ(o.effect.pieces.size(), 4);
    EXPECT_EQ(stopEffect(o), 1);
    EXPECT_EQ(stopEffect(o), 0);
    EXPECT_FALSE(o.finished);
}

TEST(TransitionEffect, RectangleObjectsSplitIntoRectanglesOfTheirColour) {
    DisplayObjects objects;
    objects.screenWidth = kSw;
    objects.screenHeight = kSh;
    ASSERT_TRUE(createRectObject(objects, 3, 10, 20, 30, 40, 0x123456));
    DisplayObject& o = *objects.slots[3];
    ASSERT_TRUE(startEffect(o, 18, 300, 10, 1, 1, kT0, kSw, kSh));
    ASSERT_EQ(o.effect.pieces.size(), 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(o.effect.pieces[k].kind, kEntryRect);
        EXPECT_EQ(o.effect.pieces[k].colour, 0x123456u);
        EXPECT_EQ(o.effect.pieces[k].top, 20 + 10 * k);
    }
}

TEST(TransitionEffect, ObjectsWithoutImageOrRemovedMidEffectEndCleanly) {
    DisplayObjects objects;
    objects.screenWidth = kSw;
    objects.screenHeight = kSh;
    ASSERT_TRUE(createObject(objects, 1));  // image slot -1
    objects.slots[1]->width = 50;
    objects.slots[1]->height = 50;
    ASSERT_TRUE(startEffect(*objects.slots[1], 133, 100, 5, 1, 1, kT0, kSw, kSh));
    ASSERT_TRUE(createObject(objects, 2));
    objects.slots[2]->width = 50;
    objects.slots[2]->height = 50;
    ASSERT_TRUE(startEffect(*objects.slots[2], 20, 100, 1, 1, 1, kT0, kSw, kSh));
    DisplayList list;
    collectObjects(objects, list, kT0 + 10);
    removeObject(objects, 2);  // mid effect: its pieces go with it
    collectObjects(objects, list, kT0 + 100);
    EXPECT_TRUE(objects.slots[1]->finished);
    UpdateList dirty;
    dirty.setClip(kSw, kSh);
    retireFinishedObjects(objects, dirty);
    EXPECT_EQ(objects.slots[1], nullptr);
}

}  // namespace
}  // namespace zeku
