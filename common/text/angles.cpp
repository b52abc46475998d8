// Angle helpers for the screen effects: polar offsets and the clockwise
// screen angle and distance between two points, truncated to whole pixels.
#include "common/text/angles.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace zeku {

namespace {

// Converting a double outside the int range is undefined, so clamp first.
int truncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

}  // namespace

void polarToXY(double angleDegrees, double radius, int& x, int& y) {
    // Angle 0 skips the multiplication so it yields exactly (radius, 0).
    const double r = angleDegrees != 0 ? angleDegrees * std::numbers::pi / 180.0 : 0.0;
    x = truncateToInt(std::cos(r) * radius);
    y = truncateToInt(std::sin(r) * radius);
}

void angleAndDistance(int x1, int y1, int x2, int y2, int& angle, int& distance) {
    // Differences of two ints can exceed int; they are exact in double.
    const double dx = static_cast<double>(x2) - static_cast<double>(x1);
    const double dy = static_cast<double>(y2) - static_cast<double>(y1);
    const double theta = std::atan2(dy, dx);

    // On a y-down screen atan2 already turns clockwise; negating it and
    // taking 360 - d folds (-180, 180] into 0..359.
    int d = truncateToInt(theta * (-180.0 / std::numbers::pi));
    if (d < 0) d += 360;
    angle = d == 0 ? 0 : 360 - d;

    const double c = std::cos(theta);
    if (dx == 0 || c == 0) {
        distance = truncateToInt(std::fabs(dy));
    } else {
        distance = truncateToInt(dx / c);
    }
}

}  // namespace zeku
