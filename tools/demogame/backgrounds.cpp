// The four kinds of background. Parameters come from the seed within ranges
// that keep every variant pleasant, so the large game is varied but sane.
#include "tools/demogame/backgrounds.h"

#include <cmath>

#include "tools/demogame/noise.h"
#include "tools/demogame/random.h"
#include "tools/demogame/scenery.h"

namespace zeku::demo {
namespace {

constexpr float kPi = 3.14159265f;

Ridge randomRidge(Random& random, float base, float height) {
    Ridge ridge;
    ridge.base = base;
    ridge.amplitude1 = height * random.range(0.6f, 1.0f);
    ridge.wavelength1 = random.range(110.0f, 220.0f);
    ridge.phase1 = random.range(0.0f, 2 * kPi);
    ridge.amplitude2 = height * random.range(0.2f, 0.45f);
    ridge.wavelength2 = random.range(40.0f, 80.0f);
    ridge.phase2 = random.range(0.0f, 2 * kPi);
    return ridge;
}

// Grass: the base colour lit by coarse noise and speckled by fine noise,
// which gives the picture coder real detail to keep.
Colour grass(const NoiseField& noise, Colour base, int x, int y, float offset) {
    const float coarse = noise.sample(static_cast<float>(x) / 40.0f + offset, y / 25.0f);
    const float fine =
        noise.sample(static_cast<float>(x) / 2.5f, static_cast<float>(y) / 1.5f + offset);
    return scaled(base, 0.75f + 0.35f * coarse + 0.2f * (fine - 0.5f));
}

void drawTree(Canvas& canvas, Random& random, float x, float groundY, float size) {
    const Colour trunk = rgb(0x6B4A2B);
    canvas.fillRect(x - size * 0.08f, groundY - size * 0.9f, x + size * 0.08f, groundY + 4, trunk,
                    1.0f, 3.0f);
    const Colour dark = rgb(0x2F6B34);
    const Colour light = rgb(0x4E9A45);
    for (int i = 0; i < 7; ++i) {
        const float px = x + random.range(-0.45f, 0.45f) * size;
        const float py = groundY - size * random.range(0.85f, 1.35f);
        const float r = size * random.range(0.28f, 0.4f);
        canvas.fillEllipse(px, py, r, r * 0.9f, dark, 1.0f, 1.5f);
        canvas.fillEllipse(px - r * 0.2f, py - r * 0.25f, r * 0.6f, r * 0.5f, light, 0.7f, 4.0f);
    }
}

void drawFlowers(Canvas& canvas, Random& random, const Ridge& ridge, int count) {
    const Colour petals[] = {rgb(0xFFFFFF), rgb(0xFFD1E0), rgb(0xFFF07A), rgb(0xCDB8FF)};
    for (int i = 0; i < count; ++i) {
        const float x = random.range(0.0f, kScreenWidth);
        const float y = random.range(ridge.heightAt(x) + 12, kScreenHeight);
        const float r = 1.5f + 3.0f * (y - 450.0f) / 150.0f;
        canvas.fillEllipse(x, y, r, r * 0.8f, petals[random.below(4)], 1.0f, 1.0f);
    }
}

}  // namespace

Canvas drawMorningSky(uint64_t seed, bool finished) {
    Random random(seed);
    const NoiseField noise(random.next());
    Canvas canvas(kScreenWidth, kScreenHeight);
    const float tint = random.range(-0.05f, 0.05f);
    canvas.verticalGradient(0, kScreenHeight, {0.28f + tint, 0.52f, 0.92f - tint},
                            {0.80f, 0.90f + tint, 0.99f});
    if (finished) {
        const float sunX = random.range(520.0f, 720.0f);
        const float sunY = random.range(80.0f, 140.0f);
        canvas.fillEllipse(sunX, sunY, 170, 170, {1.0f, 0.97f, 0.85f}, 0.35f, 150.0f);
        canvas.fillEllipse(sunX, sunY, 40, 40, {1.0f, 0.99f, 0.92f}, 1.0f, 2.0f);
        drawNoiseClouds(canvas, noise, 0, 380, 60.0f, 22.0f, random.range(0, 256), 0.55f, {1, 1, 1},
                        0.9f);
    }
    const int puffs = finished ? 4 : 3;
    for (int i = 0; i < puffs; ++i) {
        const float x = 100.0f + 200.0f * static_cast<float>(i) + random.range(-50, 50);
        drawPuffyCloud(canvas, random, x, random.range(90, 260), random.range(45, 75), {1, 1, 1},
                       {0.72f, 0.80f, 0.92f});
    }
    const Ridge far = randomRidge(random, 425, 22);
    const Colour farColour = {0.50f, 0.70f, 0.62f};
    fillBelowRidge(canvas, far, [&](int x, int y) {
        if (!finished) return farColour;
        return scaled(farColour, 0.9f + 0.15f * noise.sample(x / 30.0f, y / 30.0f));
    });
    const Ridge near = randomRidge(random, 490, 30);
    const Colour nearColour = {0.38f, 0.66f, 0.30f};
    const float grassOffset = random.range(0, 256);
    fillBelowRidge(canvas, near, [&](int x, int y) {
        if (!finished) return nearColour;
        return grass(noise, nearColour, x, y, grassOffset);
    });
    if (finished) {
        drawTree(canvas, random, random.range(60, 200), near.heightAt(130) + 30, 90);
        drawFlowers(canvas, random, near, 140);
    }
    return canvas;
}

Canvas drawSunset(uint64_t seed) {
    Random random(seed);
    const NoiseField noise(random.next());
    Canvas canvas(kScreenWidth, kScreenHeight);
    const Colour high = {0.22f, 0.16f, random.range(0.38f, 0.50f)};
    const Colour middle = {0.95f, random.range(0.45f, 0.55f), 0.35f};
    const Colour low = {1.0f, 0.80f, 0.48f};
    canvas.verticalGradient(0, 380, high, middle);
    canvas.verticalGradient(380, kScreenHeight, middle, low);
    const float sunX = random.range(250, 550);
    canvas.fillEllipse(sunX, 450, 220, 220, {1.0f, 0.75f, 0.45f}, 0.4f, 180.0f);
    canvas.fillEllipse(sunX, 450, 62, 62, {1.0f, 0.90f, 0.62f}, 1.0f, 2.0f);
    // Long thin streaks of cloud lit pink from below.
    drawNoiseClouds(canvas, noise, 60, 420, 110.0f, 9.0f, random.range(0, 256), 0.58f,
                    {1.0f, 0.62f, 0.62f}, 0.75f);
    const Ridge far = randomRidge(random, 455, 28);
    fillBelowRidge(canvas, far, [&](int x, int y) {
        return scaled({0.42f, 0.26f, 0.40f}, 0.9f + 0.2f * noise.sample(x / 20.0f, y / 20.0f));
    });
    const Ridge near = randomRidge(random, 515, 26);
    const float offset = random.range(0, 256);
    fillBelowRidge(canvas, near, [&](int x, int y) {
        return grass(noise, {0.22f, 0.16f, 0.22f}, x, y, offset);
    });
    return canvas;
}

Canvas drawRoom(uint64_t seed) {
    Random random(seed);
    const NoiseField noise(random.next());
    Canvas canvas(kScreenWidth, kScreenHeight);
    const Colour wall = {0.93f, 0.86f, random.range(0.70f, 0.78f)};
    constexpr int kFloorTop = 420;
    for (int y = 0; y < kFloorTop; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const bool stripe = (x / 20) % 2 == 0;
            const float mottle = noise.sample(x / 12.0f, y / 12.0f);
            canvas.blend(x, y, scaled(wall, (stripe ? 0.97f : 0.92f) + 0.08f * mottle), 1.0f);
        }
    }
    // Floor boards: grain stretched along each board, a seam between boards.
    const Colour wood = {0.62f, 0.42f, 0.25f};
    for (int y = kFloorTop; y < kScreenHeight; ++y) {
        const int board = (y - kFloorTop) / 30;
        const float shift = static_cast<float>(board) * 37.0f;
        for (int x = 0; x < kScreenWidth; ++x) {
            const float grain = noise.sample(x / 70.0f + shift, y / 1.8f);
            float light = 0.8f + 0.35f * grain;
            if ((y - kFloorTop) % 30 == 0) light *= 0.55f;
            if ((x + board * 173) % 260 == 0) light *= 0.6f;
            canvas.blend(x, y, scaled(wood, light), 1.0f);
        }
    }
    canvas.fillRect(0, kFloorTop - 40, kScreenWidth, kFloorTop, scaled(wood, 0.8f));
    canvas.fillRect(0, kFloorTop - 44, kScreenWidth, kFloorTop - 38, scaled(wood, 1.1f));

    // The window with the sky outside and curtains.
    canvas.fillRect(70, 60, 340, 330, {0.96f, 0.96f, 0.94f}, 1.0f, 4.0f);
    Canvas sky = drawMorningSky(random.next(), false);
    for (int y = 76; y < 314; ++y) {
        for (int x = 86; x < 324; ++x)
            canvas.blend(x, y, sky.colourAt(x + 200, y + 40), 1.0f);
    }
    canvas.fillRect(201, 76, 209, 314, {0.96f, 0.96f, 0.94f});
    canvas.fillRect(86, 191, 324, 199, {0.96f, 0.96f, 0.94f});
    const Colour curtain = {random.range(0.85f, 0.95f), 0.55f, random.range(0.55f, 0.7f)};
    canvas.fillEllipse(78, 200, 36, 150, curtain, 1.0f, 1.5f);
    canvas.fillEllipse(332, 200, 36, 150, curtain, 1.0f, 1.5f);
    canvas.fillRect(50, 46, 360, 58, scaled(wood, 0.7f), 1.0f, 4.0f);

    // The bookshelf.
    const float shelfLeft = 470;
    const float shelfRight = 750;
    canvas.fillRect(shelfLeft, 110, shelfRight, 420, scaled(wood, 0.75f), 1.0f, 3.0f);
    const Colour spines[] = {rgb(0xC0392B), rgb(0x2E86C1), rgb(0x27AE60), rgb(0xF1C40F),
                             rgb(0x8E44AD), rgb(0xE67E22), rgb(0x16A085), rgb(0xECF0F1)};
    for (int shelf = 0; shelf < 3; ++shelf) {
        const float bottom = 200.0f + 100.0f * static_cast<float>(shelf);
        canvas.fillRect(shelfLeft + 10, bottom - 88, shelfRight - 10, bottom, scaled(wood, 0.45f));
        float x = shelfLeft + 14;
        while (x < shelfRight - 40) {
            const float w = random.range(14, 26);
            const float h = random.range(55, 84);
            const Colour c = scaled(spines[random.below(8)], random.range(0.8f, 1.0f));
            canvas.fillRect(x, bottom - h, x + w - 2, bottom, c, 1.0f, 2.0f);
            canvas.fillRect(x + 3, bottom - h + 8, x + w - 5, bottom - h + 12, scaled(c, 0.6f));
            x += w;
        }
        canvas.fillRect(shelfLeft, bottom, shelfRight, bottom + 10, scaled(wood, 0.9f));
    }
    // A round rug with rings.
    const Colour rug = {random.range(0.4f, 0.6f), 0.45f, random.range(0.65f, 0.85f)};
    for (int ring = 0; ring < 5; ++ring) {
        const float k = 1.0f - 0.17f * static_cast<float>(ring);
        canvas.fillEllipse(400, 525, 280 * k, 55 * k, ring % 2 == 0 ? rug : scaled(rug, 1.25f),
                           1.0f, 1.5f);
    }
    return canvas;
}

Canvas drawNightSky(uint64_t seed) {
    Random random(seed);
    const NoiseField noise(random.next());
    Canvas canvas(kScreenWidth, kScreenHeight);
    canvas.verticalGradient(0, 480, {0.02f, 0.03f, 0.12f},
                            {0.12f, 0.13f, random.range(0.30f, 0.38f)});
    canvas.verticalGradient(480, kScreenHeight, {0.12f, 0.13f, 0.34f}, {0.16f, 0.14f, 0.30f});
    // A faint band of the milky way across the sky.
    const float tilt = random.range(-0.4f, 0.4f);
    for (int y = 0; y < 460; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const float band = std::fabs(static_cast<float>(y) - 200.0f - tilt * (x - 400.0f));
            const float n = noise.sample(x / 25.0f, y / 25.0f);
            const float amount = (1.0f - smoothStep(0, 90, band)) * smoothStep(0.35f, 0.8f, n);
            if (amount > 0.0f) canvas.blend(x, y, {0.55f, 0.55f, 0.85f}, amount * 0.35f);
        }
    }
    for (int i = 0; i < 320; ++i) {
        const float x = random.range(0, kScreenWidth);
        const float y = random.range(0, 470);
        const float size = random.range(0.6f, 1.6f);
        const Colour c = mix({1, 1, 1}, {1.0f, 0.9f, 0.7f}, random.unit());
        if (random.below(12) == 0) canvas.fillEllipse(x, y, size * 6, size * 6, c, 0.25f, 6.0f);
        canvas.fillEllipse(x, y, size, size, c, random.range(0.6f, 1.0f), 1.0f);
    }
    // A crescent moon with its glow.
    const float moonX = random.range(540, 700);
    const float moonY = random.range(90, 150);
    canvas.fillEllipse(moonX, moonY, 120, 120, {0.7f, 0.75f, 1.0f}, 0.2f, 100.0f);
    canvas.fillShape(moonX - 50, moonY - 50, moonX + 50, moonY + 50,
                     [&](float x, float y) {
                         return std::max(ellipseDistance(x, y, moonX, moonY, 48, 48),
                                         -ellipseDistance(x, y, moonX + 20, moonY - 16, 42, 42));
                     },
                     {1.0f, 0.96f, 0.80f});
    const Ridge far = randomRidge(random, 470, 25);
    fillBelowRidge(canvas, far, [&](int, int) { return Colour{0.08f, 0.09f, 0.20f}; });
    // Town lights scattered on the far hills.
    for (int i = 0; i < 40; ++i) {
        const float x = random.range(0, kScreenWidth);
        const float y = far.heightAt(x) + random.range(8, 60);
        canvas.fillRect(x, y, x + 3, y + 3, {1.0f, 0.85f, 0.45f}, random.range(0.6f, 1.0f));
    }
    const Ridge near = randomRidge(random, 530, 20);
    fillBelowRidge(canvas, near, [&](int x, int y) {
        return scaled({0.05f, 0.06f, 0.12f}, 0.8f + 0.4f * noise.sample(x / 8.0f, y / 4.0f));
    });
    return canvas;
}

}  // namespace zeku::demo
