// Tests for the effect angle helpers: the four screen directions, polar
// offsets, and saturation for values outside the int range.
#include "common/text/angles.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace zeku {
namespace {

TEST(AngleAndDistance, ScreenDirectionsRunClockwise) {
    struct Case {
        int x2, y2, angle, distance;
    };
    for (const Case& c : {Case{10, 0, 0, 10}, Case{0, 10, 90, 10}, Case{-10, 0, 180, 10},
                          Case{0, -10, 270, 10}, Case{0, 0, 0, 0}}) {
        int angle = -1;
        int distance = -1;
        angleAndDistance(0, 0, c.x2, c.y2, angle, distance);
        EXPECT_EQ(angle, c.angle) << c.x2 << "," << c.y2;
        EXPECT_EQ(distance, c.distance) << c.x2 << "," << c.y2;
    }
}

TEST(AngleAndDistance, DiagonalsAndOffsetOrigin) {
    int angle = 0;
    int distance = 0;
    angleAndDistance(5, 5, 5 + 30, 5 + 40, angle, distance);
    EXPECT_EQ(angle, 53);
    EXPECT_NEAR(distance, 50, 1);
    angleAndDistance(3, 3, 1, 1, angle, distance);
    EXPECT_EQ(angle, 225);
}

TEST(AngleAndDistance, ExtremeCoordinatesSaturate) {
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    int angle = 0;
    int distance = 0;
    angleAndDistance(kMin, 0, kMax, 0, angle, distance);
    EXPECT_EQ(distance, kMax);
    angleAndDistance(0, kMin, 0, kMax, angle, distance);
    EXPECT_EQ(angle, 90);
    EXPECT_EQ(distance, kMax);
}

TEST(PolarToXY, QuarterTurns) {
    struct Case {
        double angle;
        int x, y;
    };
    for (const Case& c : {Case{0, 100, 0}, Case{90, 0, 100}, Case{180, -100, 0}, Case{270, 0, -100},
                          Case{-90, 0, -100}}) {
        int x = -1;
        int y = -1;
        polarToXY(c.angle, 100, x, y);
        EXPECT_EQ(x, c.x) << c.angle;
        EXPECT_EQ(y, c.y) << c.angle;
    }
}

TEST(PolarToXY, NonFiniteAndHugeValuesSaturate) {
    int x = 1;
    int y = 1;
    polarToXY(0, std::nan(""), x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    polarToXY(0, 1e20, x, y);
    EXPECT_EQ(x, std::numeric_limits<int>::max());
    polarToXY(180, 1e20, x, y);
    EXPECT_EQ(x, std::numeric_limits<int>::min());
}

}  // namespace
}  // namespace zeku
