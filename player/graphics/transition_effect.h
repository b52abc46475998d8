// Transition effects on display objects: fades, band and column wipes,
// tiled fades, the ripple, screen-level fades and the explosion. While an
// effect runs its object is drawn as a chain of pieces recomputed per step.
#pragma once

#include <cstdint>

#include "common/geometry/screen_rect.h"
#include "player/graphics/display_object.h"

namespace zeku {

// Effect types. A removing variant is the type + 128 and retires its
// object at the end; 240 always removes.
inline constexpr uint32_t kEffectFadeIn = 1;
inline constexpr uint32_t kEffectBandsDown = 5;
inline constexpr uint32_t kEffectColumnsRight = 6;
inline constexpr uint32_t kEffectBandsUp = 9;
inline constexpr uint32_t kEffectColumnsLeft = 10;
inline constexpr uint32_t kEffectRipple = 48;
inline constexpr uint32_t kEffectRippleIn = 49;
inline constexpr uint32_t kEffectOrderedFadeIn = 60;
inline constexpr uint32_t kEffectScreenLevelIn = 63;
inline constexpr uint32_t kEffectScreenLevelOut = 191;
inline constexpr uint32_t kEffectExplosion = 240;
inline constexpr uint32_t kEffectRemoves = 128;

// An effect never holds more pieces than this (the ripple, one per row of
// at most 32767, always fits): a finer grid is made
// coarser (its band grows) so a script cannot ask for millions of entries.
inline constexpr int kMaxEffectPieces = 32768;

// Whether `type` is an effect this player knows.
bool isEffectType(uint32_t type);

// Sets the effect up on `object` and starts it at `nowMs`. `a` is the band,
// tile size or amplitude; `b` and `c` are taken as signed 16-bit values
// (the explosion also reads b's high half). Band, stagger and speed below 1
// count as 1; durations are kept in 16 bits, saturated. An effect already
// running is stopped first. False when the type is unknown or the pieces
// cannot be allocated; nothing is set up then.
bool startEffect(DisplayObject& object, uint32_t type, int32_t durationMs, int32_t a, int32_t b,
                 int32_t c, uint32_t nowMs, int screenWidth, int screenHeight);

// One step of a running effect: recomputes every piece for `nowMs` and
// relinks the chain. True when the effect has just ended; it is stopped
// then (see stopEffect).
bool stepEffect(DisplayObject& object, uint32_t nowMs);

// Ends a running effect: frees its pieces, marks a removing effect's object
// finished, puts the object back where it was, restores full opacity after
// a fade-in, notes the screen level a screen-level fade leaves behind and
// recomputes the box. 1 when an effect was running, 0 otherwise.
int stopEffect(DisplayObject& object);

// The first and last piece of the running effect's chain; false when the
// effect draws nothing now.
bool effectChain(DisplayObject& object, DisplayEntry*& first, DisplayEntry*& last);

// The union of the screen rectangles of the pieces that show something;
// false when none does.
bool effectBox(const DisplayObject& object, ScreenRect& box);

}  // namespace zeku
