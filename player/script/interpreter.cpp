// The stepping loop, the shared command helpers and the return to the title.
// A line that needs several frames stays put and is polled; the level's
// repeat count tells a fresh execution from a poll.
#include "player/script/interpreter.h"

#include <cstring>

#include "common/text/sjis.h"
#include "player/script/command_handlers.h"
#include "player/script/command_table.h"
#include "player/script/expression.h"
#include "player/script/script_line.h"
#include "player/script/script_loader.h"

namespace zeku {

int32_t& ScriptEngine::parameter(int number) {
    if (number < 1 || number > kCommandParameterCount) return scratchParameter_;
    return parameters[static_cast<size_t>(number - 1)];
}

void ScriptEngine::startTimer(int number, uint32_t nowMs) {
    if (number < 1 || number > kScriptTimerCount) return;
    timerStartMs[static_cast<size_t>(number - 1)] = nowMs;
}

uint32_t ScriptEngine::elapsedMs(int number, uint32_t nowMs) const {
    if (number < 1 || number > kScriptTimerCount) return 0;
    return nowMs - timerStartMs[static_cast<size_t>(number - 1)];
}

uint32_t takeKeyEdges(InputState& input) {
    uint32_t edges = 0;
    if (input.clickEdge == 1) {
        edges |= kEdgeClick;
        input.clickEdge = 2;
    }
    struct RoleBit {
        KeyRole role;
        uint32_t bit;
    };
    for (const RoleBit& rb :
         {RoleBit{KeyRole::C, kEdgeKeyC}, RoleBit{KeyRole::Up, kEdgeUp},
          RoleBit{KeyRole::Down, kEdgeDown}, RoleBit{KeyRole::Right, kEdgeRight}}) {
        if (input.keys[rb.role] == 1) {
            edges |= rb.bit;
            input.keys[rb.role] = 2;
        }
    }
    return edges;
}

bool skipping(const InputState& input) {
    return input.keys[KeyRole::Left] > 0 || input.skipLatch;
}

int scaleX(const ScriptContext& context, int32_t value) {
    return static_cast<int>(static_cast<int64_t>(value) * context.screenWidth / 800);
}

int scaleY(const ScriptContext& context, int32_t value) {
    return static_cast<int>(static_cast<int64_t>(value) * context.screenHeight / 600);
}

int32_t numberArgument(ScriptContext& context, int number) {
    ScriptState& state = context.engine.state;
    return evaluate(state.command.argument(number), state.variables);
}

std::string_view textArgument(ScriptContext& context, int number) {
    ScriptState& state = context.engine.state;
    evaluate(state.command.argument(number), state.variables);
    const TextAccumulator& text = state.variables.accumulator;
    return std::string_view(text.text, text.length);
}

void quotedArgument(const ScriptContext& context, int number, char* destination, size_t capacity) {
    quotedText(context.engine.state.command.argument(number), destination, capacity);
}

bool optionalArgumentsGiven(const ScriptContext& context) {
    return context.engine.optionalArgumentsGiven;
}

bool firstExecution(ScriptContext& context) {
    return context.engine.state.current().repeatCount == 0;
}

bool jumpTo(ScriptContext& context, int level, const char* fileName, const char* label) {
    ScriptState& state = context.engine.state;
    if (level < 0 || level >= kScriptLevelCount) return false;
    // The names may live in the level that is about to be overwritten.
    char file[kScriptFileNameCapacity];
    char target[kScriptLineCapacity];
    textCopy(file, sizeof(file), fileName);
    textCopy(target, sizeof(target), label != nullptr ? label : "");
    state.currentLevel = level;
    return enterScript(state, level, context.reader, context.packagePath, file,
                       label != nullptr ? target : nullptr) == 1;
}

int stepScript(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    ScriptState& state = engine.state;
    char line[kScriptLineCapacity];
    const uint32_t readsBefore = state.scriptReads;
    int jumps = 0;
    for (int lines = 0; lines < kLinesPerStepLimit; ++lines) {
        ScriptLevel& level = state.current();
        // A level without text, or one that ran off its end without "#END",
        // has nothing to run: it idles until the menu restarts or loads.
        if (!level.hasText() || level.position < 0 ||
            static_cast<uint32_t>(level.position) >= level.size) {
            return lines;
        }
        level.previousPosition = level.position;
        const size_t next = readScriptLine(level.view(), static_cast<size_t>(level.position), line);
        engine.nextPosition = static_cast<int32_t>(next);

        CommandOutcome outcome = CommandOutcome::Advance;
        switch (classifyLine(line)) {
            case kLineExpression:
                evaluate(line, state.variables);
                break;
            case kLineCommand: {
                splitCommand(line, true, state.command);
                const CommandInfo* info = findCommand(state.command.name);
                if (engine.tracer != nullptr && level.repeatCount == 0) {
                    engine.tracer->commandStarted(level.fileName, level.position, line,
                                                  info != nullptr ? info->description : nullptr);
                }
                if (info != nullptr) {
                    // Too few arguments is no error: the missing ones read as
                    // empty, so as 0, and the command runs all the same.
                    engine.optionalArgumentsGiven =
                        info->maxArguments > info->minArguments &&
                        state.command.argumentCount >= info->maxArguments;
                    outcome = info->handler(context);
                }
                break;
            }
            default:
                break;
        }
        if (outcome == CommandOutcome::Advance || outcome == CommandOutcome::AdvanceYield) {
            level.position = engine.nextPosition;
        }

        ScriptLevel& now = state.current();
        if (now.previousPosition == now.position) {
            ++now.repeatCount;
        } else {
            now.repeatCount = 0;
        }
        if (outcome == CommandOutcome::AdvanceYield || outcome == CommandOutcome::StayYield ||
            outcome == CommandOutcome::JumpYield) {
            return lines + 1;
        }
        if (outcome == CommandOutcome::Jump && ++jumps >= kJumpsPerStepLimit) return lines + 1;
        if (state.scriptReads - readsBefore >= kScriptReadsPerStepLimit) return lines + 1;
    }
    return kLinesPerStepLimit;
}

void resetScriptTables(ScriptEngine& engine) {
    for (ScriptLevel& level : engine.state.levels)
        clearScriptLevel(level);
    engine.state.currentLevel = 0;
    engine.state.pendingChoices = 0;
    engine.parameters.fill(0);
    engine.timerStartMs.fill(0);
    engine.areaCount = engine.selectedArea = engine.highlightedArea = 0;
    engine.selectedChoice = 0;
    engine.saveRequest = SaveRequest::None;
}

int restartScript(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    resetScriptTables(engine);
    engine.messageFileName[0] = 0;
    engine.closeRequested = false;

    for (MessageWindow& window : context.windows) {
        for (int g = 0; g < window.glyphCount; ++g)
            context.updateList.add(window.glyphs[static_cast<size_t>(g)].rect);
        window = MessageWindow{};
    }
    removeAllObjects(context.objects);
    for (int slot = 0; slot < kImageSlotCount; ++slot)
        releaseImageSlot(context.images, slot);

    const int result = jumpTo(context, 0, "./script.txt", "_Start") ? 1 : 0;
    context.shake = ShakeState{};
    context.updateList.add(ScreenRect{0, 0, context.screenWidth, context.screenHeight});
    return result;
}

}  // namespace zeku
