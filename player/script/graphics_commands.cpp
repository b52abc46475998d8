// Commands that draw into image slots and move pictures onto the screen:
// image set-up and blits, the background show, the cross-fade, and the
// slide, shake and wipe transitions. Positions arrive in script coordinates.
#include <string>

#include "player/graphics/image_loader.h"
#include "player/graphics/transition_effect.h"
#include "player/script/command_handlers.h"

namespace zeku {
namespace {

constexpr int kBackgroundObject = 0;
constexpr int kBackgroundSlot = 0;
constexpr int kBackgroundLayer = 96;
constexpr int kTransitionLayer = 28;
constexpr uint32_t kFadeMs = 750;
constexpr uint32_t kSlideMs = 1000;
constexpr uint32_t kShakeStepMs = 50;
constexpr int kWipeSlide = 2;
constexpr int kWipeShake = 7;
constexpr int kWipeBands = 6;
constexpr int32_t kWipeEffectMs = 750;

// The effect a wipe kind plays: bands for kind 6, columns for 5 and the
// rest, in the backward order for a negative direction.
uint32_t wipeEffectType(int kind, int direction) {
    if (kind == kWipeBands) return direction < 0 ? kEffectBandsUp : kEffectBandsDown;
    return direction < 0 ? kEffectColumnsLeft : kEffectColumnsRight;
}

bool skipKeyHeld(const ScriptContext& context) {
    return context.input.keys[KeyRole::Left] > 0;
}

Image* commandImage(ScriptContext& context, int slot) {
    return imageForCommand(context.images, slot, context.screenWidth, context.screenHeight,
                           context.engine.errorWord);
}

// Display-object numbers the transitions use come from the script; a bad
// one ends the program like any bad object number.
bool checkObjectSlot(ScriptContext& context, int slot) {
    if (isDisplayObjectSlot(slot)) return true;
    context.engine.errorWord |= kErrorBadDisplayObject;
    return false;
}

// Shows image `slot` on object `slot` from `(x, y)` in the transition layer.
void showTransitionObject(ScriptContext& context, int slot, int x, int y, int width, int height) {
    removeObject(context.objects, slot);
    createPictureObject(context.objects, context.images, slot, slot, x, y, width, height, x, y, 0,
                        0, kTransitionLayer);
}

// The end of every transition: the picture becomes the background image
// and its object becomes the background object.
void finishTransition(ScriptContext& context, int slot) {
    ScriptEngine& engine = context.engine;
    if (slot != kBackgroundSlot) {
        removeObject(context.objects, kBackgroundObject);
        releaseImageSlot(context.images, kBackgroundSlot);
        Image* background = commandImage(context, kBackgroundSlot);
        const Image* picture = imageInSlot(context.images, slot);
        if (background != nullptr && picture != nullptr) copyImage(*background, *picture, 0, 0);
        moveObject(context.objects, slot, kBackgroundObject, engine.errorWord);
    }
    setImageSlot(context.objects, kBackgroundObject, kBackgroundSlot);
    setAlpha(context.objects, kBackgroundObject, 256);
    setLayer(context.objects, kBackgroundObject, kBackgroundLayer);
}

bool isWindowRect(int x, int y, int width, int height) {
    return (x == 39 && y == 387 && width == 211 && height == 40) ||
           (x == 39 && y == 431 && width == 722 && height == 136);
}

}  // namespace

CommandOutcome commandCreateImage(ScriptContext& context) {
    numberArgument(context, 1);
    numberArgument(context, 2);
    context.images.defaultWidth = numberArgument(context, 3);
    context.images.defaultHeight = numberArgument(context, 4);
    return CommandOutcome::Advance;
}

CommandOutcome commandLoadImage(ScriptContext& context) {
    const int slot = numberArgument(context, 1);
    const std::string name(textArgument(context, 2));
    // The reference image only matters to pictures coded against another;
    // the loader reads every stored picture whole.
    if (optionalArgumentsGiven(context)) numberArgument(context, 3);
    loadImageForCommand(context.images, slot, name, &context.reader, context.packagePath,
                        context.screenWidth, context.screenHeight, context.engine.errorWord);
    return CommandOutcome::Advance;
}

CommandOutcome commandFillClr(ScriptContext& context) {
    const int slot = numberArgument(context, 1);
    numberArgument(context, 2);
    if (Image* image = commandImage(context, slot)) clearImage(*image);
    context.engine.currentImageSlot = slot;
    return CommandOutcome::Advance;
}

CommandOutcome commandClr(ScriptContext& context) {
    const int slot = numberArgument(context, 1);
    recreateImageForCommand(context.images, slot, context.screenWidth, context.screenHeight,
                            context.engine.errorWord);
    context.engine.currentImageSlot = slot;
    return CommandOutcome::Advance;
}

CommandOutcome commandTransFill(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    const int slot = numberArgument(context, 1);
    engine.currentImageSlot = slot;
    // The nine-argument form draws nothing: it only keeps its arguments.
    if (optionalArgumentsGiven(context)) {
        for (int i = 1; i <= 9; ++i)
            engine.parameter(i) = numberArgument(context, i);
        return CommandOutcome::Advance;
    }
    const int x = numberArgument(context, 2);
    const int y = numberArgument(context, 3);
    const int width = numberArgument(context, 4);
    const int height = numberArgument(context, 5);
    uint32_t colour = static_cast<uint32_t>(numberArgument(context, 6));
    if (isWindowRect(x, y, width, height))
        colour = static_cast<uint32_t>(context.settings.windowColour);
    if (Image* image = imageInSlot(context.images, slot)) {
        shadeImage(*image, scaleX(context, x), scaleY(context, y), scaleX(context, width),
                   scaleY(context, height), colour);
    }
    return CommandOutcome::Advance;
}

CommandOutcome commandPaint(ScriptContext& context) {
    const int current = context.engine.currentImageSlot;
    if (imageInSlot(context.images, current) == nullptr) return CommandOutcome::AdvanceYield;
    removeObject(context.objects, kBackgroundObject);
    if (current != kBackgroundSlot) {
        releaseImageSlot(context.images, kBackgroundSlot);
        Image* background = commandImage(context, kBackgroundSlot);
        if (background != nullptr)
            copyImage(*background, *imageInSlot(context.images, current), 0, 0);
        removeObject(context.objects, current);
    }
    createPictureObject(context.objects, context.images, kBackgroundObject, kBackgroundSlot, 0, 0,
                        800, 600, 0, 0, 0, 0, kBackgroundLayer);
    return CommandOutcome::AdvanceYield;
}

CommandOutcome commandMonoFill(ScriptContext& context) {
    const int slot = numberArgument(context, 1);
    const int x = numberArgument(context, 2);
    const int y = numberArgument(context, 3);
    const int width = numberArgument(context, 4);
    const int height = numberArgument(context, 5);
    numberArgument(context, 6);
    if (Image* image = imageInSlot(context.images, slot)) {
        greyImage(*image, scaleX(context, x), scaleY(context, y), scaleX(context, width),
                  scaleY(context, height));
    }
    context.engine.currentImageSlot = slot;
    return CommandOutcome::Advance;
}

CommandOutcome commandBlt(ScriptContext& context) {
    const int destination = numberArgument(context, 1);
    const int x = numberArgument(context, 2);
    const int y = numberArgument(context, 3);
    const int source = numberArgument(context, 4);
    Image* target = imageInSlot(context.images, destination);
    if (target == nullptr) return CommandOutcome::Advance;
    if (const Image* picture = imageInSlot(context.images, source))
        copyImage(*target, *picture, scaleX(context, x), scaleY(context, y));
    context.engine.currentImageSlot = destination;
    return CommandOutcome::Advance;
}

CommandOutcome commandAlphaBlt(ScriptContext& context) {
    const int destination = numberArgument(context, 1);
    const int x = numberArgument(context, 2);
    const int y = numberArgument(context, 3);
    const int source = numberArgument(context, 4);
    Image* target = imageInSlot(context.images, destination);
    const Image* picture = imageInSlot(context.images, source);
    if (target != nullptr && picture != nullptr)
        blendImage(*target, *picture, scaleX(context, x), scaleY(context, y));
    context.engine.currentImageSlot = destination;
    return CommandOutcome::Advance;
}

CommandOutcome commandTransFade(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    if (firstExecution(context)) {
        for (int i = 1; i <= 9; ++i)
            engine.parameter(i) = numberArgument(context, i);
        const int slot = engine.parameter(9);
        if (!checkObjectSlot(context, slot)) return CommandOutcome::AdvanceYield;
        showTransitionObject(context, slot, engine.parameter(5), engine.parameter(6),
                             engine.parameter(7), engine.parameter(8));
        if (!skipping(context.input)) {
            setAlpha(context.objects, slot, 0);
            engine.startTimer(1, context.nowMs);
            return CommandOutcome::StayYield;
        }
        finishTransition(context, slot);
        return CommandOutcome::AdvanceYield;
    }
    const int slot = engine.parameter(9);
    const uint32_t elapsed = engine.elapsedMs(1, context.nowMs);
    if (elapsed < kFadeMs && !skipKeyHeld(context)) {
        setAlpha(context.objects, slot, static_cast<int>(elapsed * 256 / kFadeMs));
        return CommandOutcome::StayYield;
    }
    finishTransition(context, slot);
    return CommandOutcome::AdvanceYield;
}

CommandOutcome commandWipe(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    ShakeState& shake = context.shake;
    if (firstExecution(context)) {
        for (int i = 1; i <= 4; ++i)
            engine.parameter(i) = numberArgument(context, i);
        const int slot = engine.parameter(1);
        const int direction = engine.parameter(2);
        const int count = engine.parameter(3);
        const int kind = engine.parameter(4);
        if (kind == kWipeShake) {
            // The first argument is the amplitude here, in script units.
            shake.offsetX = direction == 0 ? scaleX(context, slot) : 0;
            shake.offsetY = direction == 1 ? scaleY(context, slot) : 0;
            shake.remaining = count <= 1 ? 4 : count;
            shake.lastChangeMs = context.nowMs;
            return CommandOutcome::StayYield;
        }
        if (!checkObjectSlot(context, slot)) return CommandOutcome::AdvanceYield;
        showTransitionObject(context, slot, 0, 0, context.images.defaultWidth,
                             context.images.defaultHeight);
        if (skipping(context.input)) {
            finishTransition(context, slot);
            return CommandOutcome::AdvanceYield;
        }
        if (kind != kWipeSlide) {
            DisplayObject* shown = objectInSlot(context.objects, slot);
            if (shown != nullptr)
                startEffect(*shown, wipeEffectType(kind, direction), kWipeEffectMs,
                            context.screenWidth / 40, 1, 1, context.nowMs, context.screenWidth,
                            context.screenHeight);
            return CommandOutcome::StayYield;
        }
        const int height = context.images.defaultHeight;
        setPosition(context.objects, slot, 0, direction < 0 ? height : -height);
        engine.startTimer(1, context.nowMs);
        return CommandOutcome::StayYield;
    }

    const int slot = engine.parameter(1);
    const int direction = engine.parameter(2);
    const int kind = engine.parameter(4);
    if (kind == kWipeShake) {
        if (context.nowMs - shake.lastChangeMs <= kShakeStepMs) return CommandOutcome::StayYield;
        if (shake.remaining-- <= 1) {
            shake = ShakeState{};
            context.updateList.add(ScreenRect{0, 0, context.screenWidth, context.screenHeight});
            return CommandOutcome::AdvanceYield;
        }
        if (direction == 0) shake.offsetX = -shake.offsetX;
        if (direction == 1) shake.offsetY = -shake.offsetY;
        shake.lastChangeMs = context.nowMs;
        return CommandOutcome::StayYield;
    }
    if (kind != kWipeSlide) {
        // The skip key ends the effect in the frame it is seen.
        DisplayObject* shown = objectInSlot(context.objects, slot);
        if (shown != nullptr && shown->effect.active) {
            if (!skipKeyHeld(context)) return CommandOutcome::StayYield;
            stopEffect(*shown);
        }
        finishTransition(context, slot);
        return CommandOutcome::AdvanceYield;
    }
    const uint32_t elapsed = engine.elapsedMs(1, context.nowMs);
    if (elapsed < kSlideMs) {
        const int height = context.images.defaultHeight;
        const int c = static_cast<int>(static_cast<int64_t>(elapsed) * height / kSlideMs);
        setPosition(context.objects, kBackgroundObject, 0, direction < 0 ? -c : c);
        setPosition(context.objects, slot, 0, direction < 0 ? height - c : c - height);
        return CommandOutcome::StayYield;
    }
    finishTransition(context, slot);
    setPosition(context.objects, kBackgroundObject, 0, 0);
    return CommandOutcome::AdvanceYield;
}

}  // namespace zeku
