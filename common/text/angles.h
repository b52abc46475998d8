// Angle helpers for the screen effects: polar offsets and the clockwise
// screen angle and distance between two points, truncated to whole pixels.
#pragma once

namespace zeku {

// x = trunc(cos(angle) x radius), y = trunc(sin(angle) x radius), angle in
// degrees. Results beyond the int range saturate; NaN gives 0.
void polarToXY(double angleDegrees, double radius, int& x, int& y);

// The direction from (x1, y1) to (x2, y2) in whole degrees 0..359, running
// clockwise on screen (y grows downwards): 0 towards +x, 90 towards +y.
// distance is |y2 - y1| for a vertical line, else (x2 - x1) / cos(direction)
// truncated; it saturates at the int range.
void angleAndDistance(int x1, int y1, int x2, int y2, int& angle, int& distance);

}  // namespace zeku
