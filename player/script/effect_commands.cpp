// #Effect, the player's own command that plays any transition effect on a
// display object and waits for it, so a script can use every effect type
// and not only the column and band wipes of #Wipe.
#include "player/graphics/transition_effect.h"
#include "player/script/command_handlers.h"

namespace zeku {
namespace {

constexpr int kEffectObjectLayer = 28;
constexpr int kScreenLevelLayer = 0;

// An empty slot gets an object to play on: a screen-level entry for the
// screen-level fades, otherwise image `slot` shown like a wipe's picture.
void createEffectObject(ScriptContext& context, int slot, uint32_t type) {
    if (type == kEffectScreenLevelIn || type == kEffectScreenLevelOut) {
        if (!createObject(context.objects, slot)) return;
        DisplayObject& o = *objectInSlot(context.objects, slot);
        o.entry.kind = kEntryScreenLevel;
        setLayer(context.objects, slot, kScreenLevelLayer);
        return;
    }
    createPictureObject(context.objects, context.images, slot, slot, 0, 0,
                        context.images.defaultWidth, context.images.defaultHeight, 0, 0, 0, 0,
                        kEffectObjectLayer);
}

}  // namespace

CommandOutcome commandEffect(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    if (firstExecution(context)) {
        for (int i = 1; i <= 6; ++i)
            engine.parameter(i) = numberArgument(context, i);
        const int slot = engine.parameter(1);
        const uint32_t type = static_cast<uint32_t>(engine.parameter(2));
        if (!isDisplayObjectSlot(slot)) {
            engine.errorWord |= kErrorBadDisplayObject;
            return CommandOutcome::AdvanceYield;
        }
        if (!isEffectType(type)) return CommandOutcome::Advance;
        if (objectInSlot(context.objects, slot) == nullptr) createEffectObject(context, slot, type);
        DisplayObject* o = objectInSlot(context.objects, slot);
        if (o == nullptr || !startEffect(*o, type, engine.parameter(3), engine.parameter(4),
                                         engine.parameter(5), engine.parameter(6), context.nowMs,
                                         context.screenWidth, context.screenHeight))
            return CommandOutcome::AdvanceYield;
        if (skipping(context.input)) {
            stopEffect(*o);
            return CommandOutcome::AdvanceYield;
        }
        return CommandOutcome::StayYield;
    }
    // Polling: until the effect ends, its object goes, or the skip key ends it.
    DisplayObject* o = objectInSlot(context.objects, engine.parameter(1));
    if (o != nullptr && o->effect.active) {
        if (context.input.keys[KeyRole::Left] <= 0) return CommandOutcome::StayYield;
        stopEffect(*o);
    }
    return CommandOutcome::AdvanceYield;
}

}  // namespace zeku
