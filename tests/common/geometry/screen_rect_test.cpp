// Screen rectangles: half-open size and emptiness, clipping that never
// inverts, and the closed rules the dirty-rectangle merge relies on.
#include "common/geometry/screen_rect.h"

#include <gtest/gtest.h>

namespace zeku {
namespace {

TEST(ScreenRect, SizeAndEmptinessAreHalfOpen) {
    const struct {
        ScreenRect rect;
        int width, height;
        bool empty;
    } cases[] = {
        {{0, 0, 320, 240}, 320, 240, false}, {{5, 5, 6, 6}, 1, 1, false},  // one pixel
        {{5, 5, 5, 9}, 0, 4, true},                                        // a line has no pixel
        {{5, 5, 9, 5}, 4, 0, true},          {{9, 5, 5, 9}, -4, 4, true},  // inverted
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.rect.width(), c.width);
        EXPECT_EQ(c.rect.height(), c.height);
        EXPECT_EQ(c.rect.isEmpty(), c.empty) << c.rect.left << "," << c.rect.right;
    }
}

TEST(ScreenRect, ClippingKeepsTheInsideAndNeverInverts) {
    const struct {
        ScreenRect in, out;
    } cases[] = {
        {{10, 20, 30, 40}, {10, 20, 30, 40}},    // inside: unchanged
        {{-5, -5, 400, 300}, {0, 0, 320, 240}},  // larger than the screen
        {{300, 230, 330, 250}, {300, 230, 320, 240}},
        {{400, 10, 500, 20}, {400, 10, 400, 20}},  // right of the screen: empty at its left
        {{-50, 10, -20, 20}, {0, 10, 0, 20}},      // left of it
        {{50, 60, 40, 50}, {50, 60, 50, 60}},      // inverted comes back empty
    };
    for (const auto& c : cases) {
        const ScreenRect r = clipRect(c.in, 320, 240);
        EXPECT_EQ(r, c.out) << c.in.left << "," << c.in.top << "," << c.in.right << ","
                            << c.in.bottom;
        EXPECT_LE(r.left, r.right);
        EXPECT_LE(r.top, r.bottom);
    }
}

TEST(ScreenRect, EdgesCountForTouchingAndContainment) {
    const ScreenRect a{10, 10, 20, 20};
    const struct {
        ScreenRect b;
        bool touches, aHoldsB;
    } cases[] = {
        {{12, 12, 18, 18}, true, true},   // inside
        {{10, 10, 20, 20}, true, true},   // equal
        {{10, 10, 21, 20}, true, false},  // one column wider
        {{20, 10, 30, 20}, true, false},  // shares the right edge
        {{20, 20, 25, 25}, true, false},  // shares a corner only
        {{21, 10, 30, 20}, false, false},
        {{10, 0, 20, 9}, false, false},  // a row of air between them
        {{0, 0, 40, 40}, true, false},   // holds a
    };
    for (const auto& c : cases) {
        EXPECT_EQ(touchesOrOverlaps(a, c.b), c.touches) << c.b.left << "," << c.b.top;
        EXPECT_EQ(touchesOrOverlaps(c.b, a), c.touches) << "symmetric";
        EXPECT_EQ(containsClosed(a, c.b), c.aHoldsB) << c.b.left << "," << c.b.top;
    }
    EXPECT_EQ(unionOf(a, ScreenRect{0, 15, 12, 40}), (ScreenRect{0, 10, 20, 40}));
}

}  // namespace
}  // namespace zeku
