// Puts the game together: which picture, sound and text goes under which
// name in which archive, and the extra material of the large game.
#include "tools/demogame/demo_game.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <thread>

#include "platform/api/png_encoder.h"
#include "tools/demogame/backgrounds.h"
#include "tools/demogame/bmp_writer.h"
#include "tools/demogame/effects_scene.h"
#include "tools/demogame/mascot.h"
#include "tools/demogame/palette.h"
#include "tools/demogame/random.h"
#include "tools/demogame/sound_effects.h"
#include "tools/demogame/story.h"
#include "tools/demogame/ui_pictures.h"

namespace zeku::demo {
namespace {

// Seed families, so that no two pictures share a random stream.
enum SeedFamily : uint32_t {
    kSkySeed = 1,
    kSunsetSeed,
    kRoomSeed,
    kNightSeed,
    kMascotSeed,
    kSoundSeed,
    kLargeBackgroundSeed,
    kLargeCharacterSeed,
    kLargeSoundSeed,
};

std::vector<uint8_t> pngRgb(const Canvas& canvas) {
    const std::vector<uint8_t> rgb = canvas.toRgb();
    std::vector<uint8_t> png;
    std::string ignored;
    // Encoding into memory fails only when memory runs out; the file is then
    // left empty, which every reader of the game refuses.
    encodePngRgb(canvas.width(), canvas.height(), rgb.data(), png, ignored);
    return png;
}

std::vector<uint8_t> pngRgba(const Canvas& canvas, const DemoGameOptions& options,
                             Colour hiddenColour) {
    const std::vector<uint8_t> rgba = canvas.toRgba(hiddenColour, options.alphaMeansTransparency);
    std::vector<uint8_t> png;
    std::string ignored;
    encodePngRgba(canvas.width(), canvas.height(), rgba.data(), png, ignored);
    return png;
}

std::vector<uint8_t> bmp24(const Canvas& canvas) {
    const std::vector<uint8_t> rgb = canvas.toRgb();
    return encodeBmp24(canvas.width(), canvas.height(), rgb.data());
}

std::vector<uint8_t> bmp8(const Canvas& canvas) {
    const std::vector<uint8_t> rgb = canvas.toRgb();
    const IndexedPicture picture =
        quantizeMedianCut(canvas.width(), canvas.height(), rgb.data(), 256);
    return encodeBmp8(canvas.width(), canvas.height(), picture.indices.data(),
                      picture.paletteRgb.data(), picture.paletteCount);
}

std::vector<uint8_t> textBytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> mascot(Expression expression, const DemoGameOptions& options) {
    MascotStyle style;
    // Wings go up with the mood.
    if (expression == Expression::kSmile) style.wingLift = 0.35f;
    if (expression == Expression::kSurprised) style.wingLift = 0.6f;
    return pngRgba(drawMascot(expression, style), options, style.outline);
}

std::string numbered(const char* pattern, int number) {
    char name[64];
    std::snprintf(name, sizeof name, pattern, number);
    return name;
}

// Runs body(0) .. body(count - 1) on a few threads. Every item draws from
// its own seed and lands in its own slot, so the result does not depend on
// the order in which the threads get to them.
void parallelFor(int count, const std::function<void(int)>& body) {
    const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = t; i < count; i += threads)
                body(i);
        });
    }
    for (std::thread& worker : workers)
        worker.join();
}

// Backgrounds cycle through the four scenes; every tenth is a 24-bit bitmap
// and every twenty-fifth an 8-bit one, so the converter's bitmap path is
// measured too.
void addLargeBackgrounds(std::vector<DemoFile>& files, int count) {
    std::vector<DemoFile> made(static_cast<size_t>(std::max(count, 0)));
    parallelFor(count, [&](int i) {
        const uint64_t seed = seedFor(kLargeBackgroundSeed, static_cast<uint32_t>(i));
        const Canvas canvas = i % 4 == 0   ? drawMorningSky(seed, true)
                              : i % 4 == 1 ? drawSunset(seed)
                              : i % 4 == 2 ? drawRoom(seed)
                                           : drawNightSky(seed);
        DemoFile& file = made[static_cast<size_t>(i)];
        if (i % 25 == 24) {
            file = {numbered("./ex/bg%03d.bmp", i + 1), bmp8(canvas)};
        } else if (i % 10 == 9) {
            file = {numbered("./ex/bg%03d.bmp", i + 1), bmp24(canvas)};
        } else {
            file = {numbered("./ex/bg%03d.png", i + 1), pngRgb(canvas)};
        }
    });
    for (DemoFile& file : made)
        files.push_back(std::move(file));
}

void addLargeCharacters(std::vector<DemoFile>& files, int count, const DemoGameOptions& options) {
    std::vector<DemoFile> made(static_cast<size_t>(std::max(count, 0)));
    parallelFor(count, [&](int i) {
        const MascotStyle style =
            randomMascotStyle(seedFor(kLargeCharacterSeed, static_cast<uint32_t>(i)));
        const auto expression = static_cast<Expression>(i % 4);
        made[static_cast<size_t>(i)] = {
            numbered("./ex/st%03d.png", i + 1),
            pngRgba(drawMascot(expression, style), options, style.outline)};
    });
    for (DemoFile& file : made)
        files.push_back(std::move(file));
}

void addLargeSounds(std::vector<DemoFile>& files, int count) {
    for (int i = 0; i < count; ++i) {
        const float pitch = 0.75f + 0.05f * static_cast<float>(i % 10);
        std::vector<uint8_t> bytes;
        switch (i % 3) {
            case 0:
                bytes = makeChime(pitch, seedFor(kLargeSoundSeed, static_cast<uint32_t>(i)));
                break;
            case 1:
                bytes = makeBreeze(seedFor(kLargeSoundSeed, static_cast<uint32_t>(i)));
                break;
            default:
                bytes = makePop(pitch);
                break;
        }
        files.push_back({numbered("./ex/se%02d.wav", i + 1), std::move(bytes)});
    }
}

}  // namespace

DemoGame buildDemoGame(const DemoGameOptions& options) {
    const StoryTexts story = buildStoryTexts();
    DemoGame game;
    std::vector<DemoFile>& first = game.first;
    first.push_back({"./script.txt", textBytes(story.mainScript)});
    first.push_back({"./scr/branch.txt", textBytes(story.branchScript)});
    first.push_back({"./scr/sub.txt", textBytes(story.subScript)});
    first.push_back({kEffectsSceneFile, textBytes(effectsSceneScript())});
    first.push_back({"./mes/mes01.txt", textBytes(story.draftMessages)});
    first.push_back({"./mes/mes02.txt", textBytes(story.nightMessages)});

    first.push_back({"./bg/sora.png", pngRgb(drawMorningSky(seedFor(kSkySeed, 0), false))});
    first.push_back({"./bg/yuuhi.png", pngRgb(drawSunset(seedFor(kSunsetSeed, 0)))});
    first.push_back({"./bg/heya.bmp", bmp24(drawRoom(seedFor(kRoomSeed, 0)))});
    first.push_back({toGameText("./bg/夜空.bmp"), bmp8(drawNightSky(seedFor(kNightSeed, 0)))});

    // The scripts ask for "./st/hiyo01", which the player reads as
    // "./st/hiyo0101".
    first.push_back({"./st/hiyo0101.png", mascot(Expression::kNormal, options)});
    first.push_back({"./st/hiyo02.png", mascot(Expression::kSmile, options)});
    first.push_back({"./st/hiyo03.png", mascot(Expression::kSurprised, options)});

    const Colour frameEdge = {1, 1, 1};
    first.push_back({"./sys/window.png", pngRgba(drawWindowFrame(), options, frameEdge)});
    first.push_back(
        {"./sys/button01.png", pngRgba(drawButton(ButtonSymbol::kMoon), options, frameEdge)});
    first.push_back(
        {"./sys/button02.png", pngRgba(drawButton(ButtonSymbol::kAgain), options, frameEdge)});
    first.push_back({"./sysetc.png", pngRgb(drawSystemImage())});

    first.push_back({"./se/chime.wav", makeChime(1.0f, seedFor(kSoundSeed, 0))});
    first.push_back({"./se/click.wav", makeClick()});
    first.push_back({"./se/pop.wav", makePop(1.0f)});
    first.push_back({toGameText("./se/ソヨ風.wav"), makeBreeze(seedFor(kSoundSeed, 1))});
    first.push_back({"./se/suzu.wav", makeBell()});

    if (options.large) {
        addLargeBackgrounds(first, options.largeBackgrounds);
        addLargeCharacters(first, options.largeCharacters, options);
        addLargeSounds(first, options.largeSounds);
    }

    std::vector<DemoFile>& second = game.second;
    second.push_back({"./mes/mes01.txt", textBytes(story.firstMessages)});
    second.push_back({"./BG/Sora.png", pngRgb(drawMorningSky(seedFor(kSkySeed, 0), true))});
    second.push_back({"./se/click.wav", makeTock()});
    second.push_back({"./st/hiyo04.png", mascot(Expression::kTeary, options)});
    return game;
}

}  // namespace zeku::demo
