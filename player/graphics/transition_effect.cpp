// Setting up, stepping and stopping transition effects. Every piece is a
// display entry recomputed in integers from the time elapsed, so a frame
// costs one pass over the pieces and no allocation.
#include "player/graphics/transition_effect.h"

#include <algorithm>
#include <limits>

#include "common/text/angles.h"

namespace zeku {
namespace {

// The explosion's tiles shrink over this time once they leave.
constexpr int64_t kShrinkMs = 2000;
// The explosion's pieces fade by this much per step.
constexpr int kExplosionFadeStep = 2;

enum class Shape {
    None,
    Fade,        // 1, 129, 60: one piece, alpha over time
    Bands,       // 5, 9, 11, 12 and removing variants: horizontal bands
    Columns,     // 6, 10, 13, 14 and removing variants: vertical columns
    ColumnFade,  // 16, 17
    RowFade,     // 18, 19
    TileFade,    // 20..23
    Ripple,      // 48, 49
    Level,       // 63, 191
    Explosion,   // 240
};

// Which part of a band or column is shown: the first r pixels, the last r,
// or everything but the first r.
enum class Reveal { Head, Tail, Rest };

uint32_t baseOf(uint32_t type) {
    return type > kEffectRemoves && type != kEffectExplosion ? type - kEffectRemoves : type;
}

bool hasRemovingVariant(uint32_t base) {
    return base == 1 || base == 5 || base == 6 || base == 9 || base == 10 ||
           (base >= 11 && base <= 14) || (base >= 16 && base <= 23) || base == 63;
}

Shape shapeOf(uint32_t type) {
    if (type == kEffectExplosion) return Shape::Explosion;
    if (type >= 256 || (type > kEffectRemoves && !hasRemovingVariant(type - kEffectRemoves)) ||
        type == kEffectRemoves)
        return Shape::None;
    switch (baseOf(type)) {
        case 1:
        case 60:
            return Shape::Fade;
        case 5:
        case 9:
        case 11:
        case 12:
            return Shape::Bands;
        case 6:
        case 10:
        case 13:
        case 14:
            return Shape::Columns;
        case 16:
        case 17:
            return Shape::ColumnFade;
        case 18:
        case 19:
            return Shape::RowFade;
        case 20:
        case 21:
        case 22:
        case 23:
            return Shape::TileFade;
        case 48:
        case 49:
            return Shape::Ripple;
        case 63:
            return Shape::Level;
        default:
            return Shape::None;
    }
}

bool isBackward(uint32_t base) {
    return base == 9 || base == 10 || base == 12 || base == 14 || base == 17 || base == 19 ||
           base == 21;
}

Reveal revealOf(uint32_t type) {
    switch (type) {
        case 9:
        case 10:
        case 11:
        case 13:
            return Reveal::Tail;
        case 133:
        case 134:
        case 139:
        case 140:
        case 141:
        case 142:
            return Reveal::Rest;
        default:
            return Reveal::Head;
    }
}

int64_t ceilDiv(int64_t p, int64_t q) {
    return p / q + (p % q != 0 ? 1 : 0);
}

// Sizes that divide must be at least 1; they also fit the 16-bit fields.
int16_t atLeastOne(int64_t v) {
    return static_cast<int16_t>(std::clamp<int64_t>(v, 1, 32767));
}

// Grids finer than the piece budget grow their band until they fit.
int16_t bandWithinBudget(int16_t band, int64_t width, int64_t height, bool columns, bool rows) {
    auto count = [&](int64_t b) {
        return (columns ? ceilDiv(width, b) : 1) * (rows ? ceilDiv(height, b) : 1);
    };
    int64_t b = band;
    while (b < 32767 && count(b) > kMaxEffectPieces)
        ++b;
    return static_cast<int16_t>(b);
}

// Where the object would be drawn and what it shows.
struct Frame {
    int64_t x = 0;  // drawn corner
    int64_t y = 0;
    int64_t sx0 = 0, sy0 = 0, sx1 = 0, sy1 = 0;
};

Frame frameOf(const DisplayObject& o) {
    Frame f;
    f.x = o.x / 1000 - int64_t{o.originX};
    f.y = o.y / 1000 - int64_t{o.originY};
    f.sx0 = o.entry.sourceLeft;
    f.sy0 = o.entry.sourceTop;
    f.sx1 = o.entry.sourceRight;
    f.sy1 = o.entry.sourceBottom;
    return f;
}

void place(DisplayEntry& piece, int64_t sourceLeft, int64_t sourceTop, int64_t sourceRight,
           int64_t sourceBottom, int64_t left, int64_t top) {
    piece.sourceLeft = saturateToShort(sourceLeft);
    piece.sourceTop = saturateToShort(sourceTop);
    piece.sourceRight = saturateToShort(std::max(sourceRight, sourceLeft));
    piece.sourceBottom = saturateToShort(std::max(sourceBottom, sourceTop));
    piece.left = saturateToShort(left);
    piece.top = saturateToShort(top);
}

int16_t clampAlpha(int64_t alpha) {
    return static_cast<int16_t>(std::clamp<int64_t>(alpha, 0, 256));
}

// The elapsed time as a fraction of 256, for E below D (so D > 0).
int64_t timeFraction256(int64_t elapsed, int64_t duration) {
    return elapsed * 256 / duration;
}

void stepBands(EffectState& e, const Frame& f, int64_t v, bool columns) {
    const uint32_t base = baseOf(e.type);
    const Reveal reveal = revealOf(e.type);
    const int n = columns ? e.columns : e.rows;
    const int64_t band = e.band;
    for (int k = 0; k < n; ++k) {
        const int64_t start = (isBackward(base) ? n - 1 - k : k) / e.stagger;
        const int64_t r = std::clamp<int64_t>((v - start) * e.speed, 0, band);
        const int64_t from = k * band;  // offset of the band inside the object
        // The part of [from, from + band) that shows, relative to the object.
        int64_t lo = from, hi = from + r;
        if (reveal == Reveal::Tail) lo = from + band - r, hi = from + band;
        if (reveal == Reveal::Rest) lo = from + r, hi = from + band;
        DisplayEntry& piece = e.pieces[k];
        if (columns)
            place(piece, f.sx0 + lo, f.sy0, f.sx0 + hi, f.sy1, f.x + lo, f.y);
        else
            place(piece, f.sx0, f.sy0 + lo, f.sx1, f.sy0 + hi, f.x, f.y + lo);
    }
}

// The start of tile (i, j) in the fade grids, in units. The column and row
// fades are the grids of one row or one column.
int64_t tileStart(uint32_t base, int i, int j, int columns, int rows) {
    switch (base) {
        case 17:
        case 19:
        case 21:
            return (columns - 1 - i) + (rows - 1 - j);
        case 22:
            return i + (rows - 1 - j);
        case 23:
            return (columns - 1 - i) + j;
        default:  // 16, 18, 20
            return i + j;
    }
}

void stepFadeGrid(EffectState& e, const Frame& f, int64_t v) {
    const uint32_t base = baseOf(e.type);
    const bool fadesOut = e.type > kEffectRemoves;
    const int64_t band = e.band;
    for (int j = 0; j < e.rows; ++j) {
        for (int i = 0; i < e.columns; ++i) {
            DisplayEntry& piece = e.pieces[i + j * e.columns];
            const int64_t start = tileStart(base, i, j, e.columns, e.rows);
            int64_t alpha = std::clamp<int64_t>(std::max<int64_t>(v - start, 0) * e.speed, 0, 256);
            if (fadesOut) alpha = 256 - alpha;
            piece.alpha = clampAlpha(alpha);
            // Column fades keep the whole height, row fades the whole width;
            // the last band ends where the source does.
            const bool splitsX = base != 18 && base != 19;
            const bool splitsY = base != 16 && base != 17;
            const int64_t left = splitsX ? f.sx0 + i * band : f.sx0;
            const int64_t right = splitsX ? std::min(left + band, f.sx1) : f.sx1;
            const int64_t top = splitsY ? f.sy0 + j * band : f.sy0;
            const int64_t bottom = splitsY ? std::min(top + band, f.sy1) : f.sy1;
            place(piece, left, top, right, bottom, f.x + (left - f.sx0), f.y + (top - f.sy0));
        }
    }
}

void stepRipple(EffectState& e, const Frame& f, int64_t elapsed, int64_t duration,
                int16_t objectAlpha) {
    const int64_t amplitude = (duration - elapsed) * e.band / duration;
    const int64_t phase = elapsed * e.speed * 360 / duration;
    const int16_t alpha =
        e.type == kEffectRippleIn ? clampAlpha(timeFraction256(elapsed, duration)) : objectAlpha;
    for (int j = 0; j < e.rows; ++j) {
        const int64_t theta = (int64_t{e.stagger} * (j + phase)) % 360;
        int dx = 0, dy = 0;
        polarToXY(static_cast<double>(theta), static_cast<double>(amplitude), dx, dy);
        DisplayEntry& piece = e.pieces[j];
        piece.alpha = alpha;
        place(piece, f.sx0, f.sy0 + j, f.sx1, f.sy0 + j + 1, f.x + dx, f.y + j);
    }
}

int16_t screenLevelAt(const EffectState& e, int64_t elapsed, int64_t duration) {
    const int64_t change = timeFraction256(elapsed, duration);
    if (e.type == kEffectScreenLevelIn)
        return static_cast<int16_t>(e.fromWhite ? std::max<int64_t>(512 - change, 256)
                                                : std::min<int64_t>(change, 256));
    return static_cast<int16_t>(e.fromWhite ? std::min<int64_t>(256 + change, 512)
                                            : std::max<int64_t>(256 - change, 0));
}

int32_t addSaturated(int32_t a, int b) {
    return saturateToInt(int64_t{a} + b);
}

// With `advance` false the tiles are only placed, as at set-up.
void stepExplosion(EffectState& e, const Frame& f, uint32_t nowMs, bool advance) {
    const int64_t band = e.band;
    for (int j = 0; j < e.rows; ++j) {
        for (int i = 0; i < e.columns; ++i) {
            const int index = i + j * e.columns;
            Particle& p = e.particles[index];
            DisplayEntry& piece = e.pieces[index];
            if (!advance) {
                p.size = e.band;
            } else if (p.frameCount < p.delay) {
                p.size = e.band;
            } else {
                if (p.frameCount == p.delay) p.startMs = nowMs;
                const int64_t flying = static_cast<uint32_t>(nowMs - p.startMs);
                p.size = flying >= kShrinkMs
                             ? 1
                             : static_cast<int32_t>(band - flying * band / kShrinkMs);
                int dx = 0, dy = 0;
                polarToXY(static_cast<double>(p.direction) - 90.0, static_cast<double>(p.speed), dx,
                          dy);
                p.offsetX = addSaturated(p.offsetX, dx);
                p.offsetY = addSaturated(p.offsetY, dy);
            }
            if (advance) {
                if (p.frameCount < std::numeric_limits<int32_t>::max()) ++p.frameCount;
                piece.alpha = static_cast<int16_t>(std::max(piece.alpha - kExplosionFadeStep, 0));
            }
            // Tiles at the right and bottom ends stay inside the object's source.
            const int64_t left = f.sx0 + i * band;
            const int64_t top = f.sy0 + j * band;
            const int64_t right = std::min(left + p.size, f.sx1);
            const int64_t bottom = std::min(top + p.size, f.sy1);
            place(piece, left, top, right, bottom, f.x + p.offsetX / 1000 + i * band,
                  f.y + p.offsetY / 1000 + j * band);
        }
    }
}

// Recomputes every piece for `elapsed` (below the duration).
// Set-up places the pieces without advancing the explosion.
void computePieces(DisplayObject& o, int64_t elapsed, uint32_t nowMs, bool advance) {
    EffectState& e = o.effect;
    const int64_t duration = e.durationMs;
    if (duration <= 0) return;
    const Frame f = frameOf(o);
    const int64_t v = elapsed * e.units / duration;
    switch (shapeOf(e.type)) {
        case Shape::Fade: {
            const int64_t a = timeFraction256(elapsed, duration);
            e.pieces[0].alpha = clampAlpha(e.type == 129 ? 256 - a : a);
            place(e.pieces[0], f.sx0, f.sy0, f.sx1, f.sy1, f.x, f.y);
            break;
        }
        case Shape::Bands:
            stepBands(e, f, v, false);
            break;
        case Shape::Columns:
            stepBands(e, f, v, true);
            break;
        case Shape::ColumnFade:
        case Shape::RowFade:
        case Shape::TileFade:
            stepFadeGrid(e, f, v);
            break;
        case Shape::Ripple:
            stepRipple(e, f, elapsed, duration, o.entry.alpha);
            break;
        case Shape::Level:
            e.pieces[0].level = screenLevelAt(e, elapsed, duration);
            break;
        case Shape::Explosion:
            stepExplosion(e, f, nowMs, advance);
            break;
        case Shape::None:
            break;
    }
}

void linkPieces(EffectState& e) {
    const int n = e.pieces.size();
    for (int k = 0; k < n; ++k)
        e.pieces[k].next = k + 1 < n ? &e.pieces[k + 1] : nullptr;
}

// Ends the effect without the consequences of its end: no retiring, no
// screen level. The object is back at its place and drawn itself.
void cancelEffect(DisplayObject& o) {
    EffectState& e = o.effect;
    e.active = false;
    e.pieces.release();
    e.particles.release();
    o.x = e.savedX;
    o.y = e.savedY;
}

// The grid and the progress range for the band and fade types.
void setUpGrid(EffectState& e, Shape shape, int64_t width, int64_t height) {
    const bool byColumns = shape == Shape::Columns || shape == Shape::ColumnFade ||
                           shape == Shape::TileFade || shape == Shape::Explosion;
    const bool byRows = shape == Shape::Bands || shape == Shape::RowFade ||
                        shape == Shape::TileFade || shape == Shape::Explosion;
    e.band = bandWithinBudget(e.band, width, height, byColumns, byRows);
    e.columns = byColumns ? static_cast<int32_t>(ceilDiv(width, e.band)) : 1;
    e.rows = byRows ? static_cast<int32_t>(ceilDiv(height, e.band)) : 1;
    if (width == 0 || height == 0) e.columns = e.rows = 0;
    const int64_t fadeUnits = 256 / e.speed;
    int64_t units = 0;
    switch (shape) {
        case Shape::Bands:
            units = (int64_t{e.rows} - 1) / e.stagger + e.band / e.speed;
            break;
        case Shape::Columns:
            units = (int64_t{e.columns} - 1) / e.stagger + e.band / e.speed;
            break;
        case Shape::ColumnFade:
            units = int64_t{e.columns} + fadeUnits - 1;
            break;
        case Shape::RowFade:
            units = int64_t{e.rows} + fadeUnits - 1;
            break;
        case Shape::TileFade:
            units = int64_t{e.columns} + e.rows + fadeUnits - 2;
            break;
        default:
            break;
    }
    e.units = saturateToInt(units);
}

void setUpParticles(EffectState& e, int32_t b) {
    const int16_t centreColumn = static_cast<int16_t>(b >> 16);
    const int16_t centreRow = static_cast<int16_t>(static_cast<uint16_t>(b & 0xFFFF));
    for (int j = 0; j < e.rows; ++j) {
        for (int i = 0; i < e.columns; ++i) {
            Particle& p = e.particles[i + j * e.columns];
            p.centreColumn = centreColumn;
            p.centreRow = centreRow;
            int direction = 0, distance = 0;
            angleAndDistance(i, j, centreColumn, centreRow, direction, distance);
            p.delay = distance;
            p.direction = (direction + 630) % 360;
            const float speed = static_cast<float>(distance) * 1000.0f * 0.8333333f;
            p.speed = saturateToInt(static_cast<int64_t>(std::clamp(speed, -2.0e9f, 2.0e9f)));
            p.size = e.band;
        }
    }
}

}  // namespace

bool isEffectType(uint32_t type) {
    return shapeOf(type) != Shape::None;
}

bool startEffect(DisplayObject& o, uint32_t type, int32_t durationMs, int32_t a, int32_t b,
                 int32_t c, uint32_t nowMs, int screenWidth, int screenHeight) {
    const Shape shape = shapeOf(type);
    if (shape == Shape::None) return false;
    if (o.effect.active) cancelEffect(o);

    EffectState& e = o.effect;
    const int pendingLevel = e.endScreenLevel;
    e = EffectState{};
    e.endScreenLevel = pendingLevel;
    e.type = type;
    e.removes = type > kEffectRemoves || type == kEffectScreenLevelIn;
    e.durationMs = saturateToShort(durationMs);
    const int16_t b16 = static_cast<int16_t>(static_cast<uint16_t>(b & 0xFFFF));
    const int16_t c16 = static_cast<int16_t>(static_cast<uint16_t>(c & 0xFFFF));
    const int64_t sw = std::max(screenWidth, 0);
    const int64_t sh = std::max(screenHeight, 0);
    const uint32_t base = baseOf(type);
    e.stagger = atLeastOne(b16);
    e.speed = atLeastOne(c16);
    e.band = atLeastOne(a);
    if (base == 11 || base == 12) {
        e.band = atLeastOne(int64_t{a} * sh / 600);
        e.speed = atLeastOne(int64_t{c16} * sh / 600 + 1);
    } else if (base == 13 || base == 14) {
        e.band = atLeastOne(int64_t{a} * sw / 800);
        e.speed = atLeastOne(int64_t{c16} * sh / 600 + 1);
    } else if ((base >= 16 && base <= 23) || type == kEffectExplosion) {
        e.band = atLeastOne(int64_t{a} * sw / 800);
    } else if (shape == Shape::Ripple) {
        // The ripple divides by none of them: amplitude, frequency and
        // phase speed are taken as given.
        e.band = saturateToShort(a);
        e.stagger = b16;
        e.speed = c16;
    }
    e.paint = b16;
    e.order = c16;
    e.fromWhite = c16 != 0;
    e.savedX = o.x;
    e.savedY = o.y;
    e.startMs = nowMs;

    const int64_t width = std::clamp<int64_t>(o.width, 0, 32767);
    const int64_t height = std::clamp<int64_t>(o.height, 0, 32767);
    int pieceCount = 1;
    if (shape == Shape::Ripple) {
        e.columns = 1;
        e.rows = static_cast<int32_t>(height);
        pieceCount = e.rows;
    } else if (shape != Shape::Fade && shape != Shape::Level) {
        setUpGrid(e, shape, width, height);
        pieceCount = e.columns * e.rows;
    } else {
        e.columns = e.rows = 1;
    }
    if (!e.pieces.allocate(pieceCount) ||
        (shape == Shape::Explosion && !e.particles.allocate(pieceCount))) {
        e = EffectState{};
        e.endScreenLevel = pendingLevel;
        return false;
    }

    // Every piece starts as a picture of the object's image; a rectangle's
    // pieces stay rectangles of its colour, and the screen-level pieces
    // take the object's kind.
    DisplayEntry model;
    model.kind = kEntryImage;
    if (o.entry.kind == kEntryRect || shape == Shape::Level) model.kind = o.entry.kind;
    model.flags = o.entry.flags;
    model.colour = o.entry.colour;
    model.mode = o.entry.mode;
    model.slot = o.entry.slot;
    model.alpha = 256;
    model.level = o.entry.kind == kEntryRect ? o.entry.level : int16_t{256};
    model.order = -1;
    if (shape == Shape::Bands || shape == Shape::Columns || shape == Shape::Explosion ||
        type == kEffectRipple) {
        model.alpha = o.entry.alpha;
        model.level = o.entry.level;
    }
    if (base == kEffectOrderedFadeIn) model.order = c16;
    if (shape == Shape::Level) {
        model.paint = b16;
        // The screen level touches everything drawn, so the piece covers
        // the whole screen and every step redraws it.
        model.sourceRight = saturateToShort(sw);
        model.sourceBottom = saturateToShort(sh);
    }
    for (int k = 0; k < pieceCount; ++k)
        e.pieces[k] = model;
    if (shape == Shape::Explosion) setUpParticles(e, b);
    linkPieces(e);
    e.active = true;
    computePieces(o, 0, nowMs, false);
    noteObjectChanged(o);
    return true;
}

bool stepEffect(DisplayObject& o, uint32_t nowMs) {
    EffectState& e = o.effect;
    if (!e.active) return false;
    // Unsigned difference so the tick count may wrap around.
    const int64_t elapsed = static_cast<uint32_t>(nowMs - e.startMs);
    if (elapsed >= e.durationMs) {
        stopEffect(o);
        return true;
    }
    computePieces(o, elapsed, nowMs, true);
    linkPieces(e);
    noteObjectChanged(o);
    return false;
}

int stopEffect(DisplayObject& o) {
    EffectState& e = o.effect;
    if (!e.active) return 0;
    const uint32_t type = e.type;
    if (e.removes) o.finished = true;
    if (type == kEffectFadeIn) o.entry.alpha = 256;
    if (type == kEffectScreenLevelIn) e.endScreenLevel = 256;
    if (type == kEffectScreenLevelOut) e.endScreenLevel = e.fromWhite ? 512 : 0;
    cancelEffect(o);
    noteObjectChanged(o);
    return type >= 64 && type <= 127 ? 2 : 1;
}

bool effectChain(DisplayObject& o, DisplayEntry*& first, DisplayEntry*& last) {
    EffectState& e = o.effect;
    if (!e.active || e.pieces.size() == 0) return false;
    first = &e.pieces[0];
    last = &e.pieces[e.pieces.size() - 1];
    last->next = nullptr;
    return true;
}

bool effectBox(const DisplayObject& o, ScreenRect& box) {
    const EffectState& e = o.effect;
    bool any = false;
    for (int k = 0; k < e.pieces.size(); ++k) {
        const DisplayEntry& p = e.pieces[k];
        const ScreenRect r{p.left, p.top, p.left + (p.sourceRight - p.sourceLeft),
                           p.top + (p.sourceBottom - p.sourceTop)};
        if (r.isEmpty()) continue;
        box = any ? unionOf(box, r) : r;
        any = true;
    }
    return any;
}

}  // namespace zeku
