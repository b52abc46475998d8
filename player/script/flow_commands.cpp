// Flow control: waits, jumps, calls and returns, the conditional block,
// and the three commands that wait for the player's choice.
#include <cstring>
#include <string>

#include "common/text/sjis.h"
#include "player/script/command_handlers.h"
#include "player/script/expression.h"
#include "player/script/script_line.h"
#include "player/script/script_loader.h"

namespace zeku {
namespace {

// The display object that highlights the selected click area.
constexpr int kHighlightObject = 20;

ScriptLevel& currentLevel(ScriptContext& context) {
    return context.engine.state.current();
}

// Calls `visit(line, kind)` for each line after the command line up to the
// first "}" line or the end of the text.
template <typename Visit>
void forEachBlockLine(ScriptContext& context, Visit&& visit) {
    const ScriptLevel& level = currentLevel(context);
    const std::string_view text = level.view();
    char line[kScriptLineCapacity];
    size_t position = static_cast<size_t>(context.engine.nextPosition);
    while (position < text.size()) {
        position = readScriptLine(text, position, line);
        const LineKind kind = classifyLine(line);
        if (kind == kLineBlockClose) return;
        visit(line, kind);
    }
}

void removeHighlight(ScriptContext& context) {
    removeObject(context.objects, kHighlightObject);
}

bool pointerInArea(const ScriptContext& context, const HotArea& area) {
    const int left = scaleX(context, area.left);
    const int top = scaleY(context, area.top);
    const int right = left + scaleX(context, area.right - area.left);
    const int bottom = top + scaleY(context, area.bottom - area.top);
    const int x = context.input.pointerX;
    const int y = context.input.pointerY;
    return x >= left && x <= right && y >= top && y <= bottom;
}

// The click edge and the two decide keys, which the click wait reads as
// held, are spent once something has been decided with them.
void clearDecideInputs(InputState& input) {
    input.clickEdge = 0;
    input.keys[KeyRole::C] = 0;
    input.keys[KeyRole::Right] = 0;
}

// Up and down move through 1..count with wrap-around; from "none" (or a
// stale value) down picks the first and up the last.
int moveSelection(int selected, int count, uint32_t edges) {
    if (count <= 0) return 0;
    const bool valid = selected >= 1 && selected <= count;
    if ((edges & kEdgeUp) != 0) selected = !valid ? count : (selected > 1 ? selected - 1 : count);
    const bool validNow = selected >= 1 && selected <= count;
    if ((edges & kEdgeDown) != 0) selected = !validNow ? 1 : (selected < count ? selected + 1 : 1);
    return selected;
}

// A choice's text: its message's body with only the double-byte characters.
std::string choiceText(const ScriptContext& context, int32_t number) {
    std::string text;
    const MessageEntry* entry = findMessage(context.messages, number);
    if (entry == nullptr) return text;
    const std::string_view body = entry->text;
    for (size_t i = 0; i < body.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(body[i])) && i + 1 < body.size()) {
            text.append(body.substr(i, 2));
            ++i;
        }
    }
    return text;
}

}  // namespace

CommandOutcome commandEnd(ScriptContext&) {
    return CommandOutcome::AdvanceYield;
}

CommandOutcome commandWait(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    if (firstExecution(context)) {
        engine.parameter(1) = numberArgument(context, 1);
        engine.startTimer(1, context.nowMs);
        return CommandOutcome::StayYield;
    }
    const bool done =
        engine.elapsedMs(1, context.nowMs) >= static_cast<uint32_t>(engine.parameter(1));
    return done || skipping(context.input) ? CommandOutcome::AdvanceYield
                                           : CommandOutcome::StayYield;
}

CommandOutcome commandBreakApp(ScriptContext& context) {
    if (firstExecution(context)) context.engine.closeRequested = true;
    return CommandOutcome::StayYield;
}

CommandOutcome commandIf(ScriptContext& context) {
    if (numberArgument(context, 1) != 0) return CommandOutcome::Advance;

    // Skip the block: only forward, so it is an advance, not a jump. A "}"
    // with no "{" open closes it too, and a block that is never closed skips
    // to the end of the text.
    const std::string_view text = currentLevel(context).view();
    char line[kScriptLineCapacity];
    size_t position = static_cast<size_t>(context.engine.nextPosition);
    int depth = 0;
    while (position < text.size()) {
        position = readScriptLine(text, position, line);
        const LineKind kind = classifyLine(line);
        if (kind == kLineBlockOpen) ++depth;
        if (kind == kLineBlockClose && --depth <= 0) break;
    }
    context.engine.nextPosition = static_cast<int32_t>(position);
    return CommandOutcome::Advance;
}

CommandOutcome commandGoto(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    currentLevel(context).position = engine.nextPosition;
    char label[kScriptLineCapacity];
    char file[kScriptFileNameCapacity];
    quotedArgument(context, 1, label, sizeof(label));
    if (optionalArgumentsGiven(context)) {
        quotedArgument(context, 2, file, sizeof(file));
    } else {
        textCopy(file, sizeof(file), currentLevel(context).fileName);
    }
    jumpTo(context, engine.state.currentLevel, file, label);
    return CommandOutcome::Jump;
}

CommandOutcome commandGosub(ScriptContext& context) {
    ScriptState& state = context.engine.state;
    const int caller = state.currentLevel;
    // Only three calls fit above level 0; a deeper one is passed over.
    if (caller < 0 || caller >= kScriptLevelCount - 1) return CommandOutcome::Advance;
    char label[kScriptLineCapacity];
    char file[kScriptFileNameCapacity];
    quotedArgument(context, 1, label, sizeof(label));
    quotedArgument(context, 2, file, sizeof(file));
    currentLevel(context).position = context.engine.nextPosition;
    if (!jumpTo(context, caller + 1, file, label)) {
        // A call into a file that cannot be read is passed over.
        clearScriptLevel(state.levels[static_cast<size_t>(caller + 1)]);
        state.currentLevel = caller;
    }
    return CommandOutcome::Jump;
}

CommandOutcome commandReturn(ScriptContext& context) {
    ScriptState& state = context.engine.state;
    if (state.currentLevel <= 0 || state.currentLevel >= kScriptLevelCount)
        return CommandOutcome::Advance;  // nothing to return to
    clearScriptLevel(state.current());
    --state.currentLevel;
    return CommandOutcome::Jump;
}

CommandOutcome commandMouseClickEventEx(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    if (firstExecution(context)) {
        engine.areaCount = 0;
        ParsedCommand& command = engine.state.command;
        forEachBlockLine(context, [&](const char* line, LineKind kind) {
            if (kind == kLineBlockOpen) return;
            splitCommand(line, false, command);
            // Areas past the table's end are dropped.
            if (command.argumentCount < 10 || engine.areaCount >= kHotAreaLimit) return;
            HotArea& area = engine.areas[static_cast<size_t>(engine.areaCount)];
            area = HotArea{};
            area.left = numberArgument(context, 1);
            area.top = numberArgument(context, 2);
            area.right = numberArgument(context, 3);
            area.bottom = numberArgument(context, 4);
            quotedArgument(context, 5, area.label, sizeof(area.label));
            quotedArgument(context, 6, area.fileName, sizeof(area.fileName));
            for (int i = 0; i < 4; ++i)
                area.numbers[static_cast<size_t>(i)] = numberArgument(context, 7 + i);
            ++engine.areaCount;
        });
        engine.selectedArea = 0;
        engine.highlightedArea = 0;
        return CommandOutcome::StayYield;
    }

    const uint32_t edges = takeKeyEdges(context.input);
    const int count = engine.areaCount;
    int selected = moveSelection(engine.selectedArea, count, edges);
    if ((edges & kEdgeClick) != 0) {
        selected = 0;
        for (int i = 0; i < count; ++i) {
            if (pointerInArea(context, engine.areas[static_cast<size_t>(i)])) selected = i + 1;
        }
    }
    engine.selectedArea = selected;
    const bool valid = selected >= 1 && selected <= count;
    if (selected != engine.highlightedArea) {
        if (engine.highlightedArea != 0) removeHighlight(context);
        if (valid) {
            const HotArea& area = engine.areas[static_cast<size_t>(selected - 1)];
            createRectObject(context.objects, kHighlightObject, area.left, area.top,
                             area.right - area.left, area.bottom - area.top,
                             area.highlightColour());
            setMode(context.objects, kHighlightObject, 1, engine.errorWord);
        }
        engine.highlightedArea = selected;
    }
    if ((edges & kEdgeDecide) != 0 && valid) {
        removeHighlight(context);
        const HotArea area = engine.areas[static_cast<size_t>(selected - 1)];
        engine.highlightedArea = 0;
        jumpTo(context, engine.state.currentLevel, area.fileName, area.label);
        return CommandOutcome::JumpYield;
    }
    return CommandOutcome::StayYield;
}

CommandOutcome commandMouseClickWait(ScriptContext& context) {
    InputState& input = context.input;
    const bool decided = input.clickEdge != 0 || input.keys[KeyRole::C] != 0 ||
                         input.keys[KeyRole::Right] != 0 || input.keys[KeyRole::Left] > 0;
    if (numberArgument(context, 1) == 1 && decided) {
        clearDecideInputs(input);
        return CommandOutcome::Advance;
    }
    return CommandOutcome::StayYield;
}

CommandOutcome commandSelectEx(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    ScriptState& state = engine.state;
    MessageWindow& window = context.windows[kTextWindow];
    if (firstExecution(context)) {
        state.pendingChoices = 0;
        clearChoices(window, context.updateList);
        forEachBlockLine(context, [&](const char* line, LineKind kind) {
            if (kind == kLineBlockOpen || kind == kLineOther) return;
            if (state.pendingChoices >= kChoiceLimit) return;  // the menu holds four
            splitCommand(line, true, state.command);
            Choice& choice = engine.choices[static_cast<size_t>(state.pendingChoices)];
            choice = Choice{};
            quotedArgument(context, 3, choice.label, sizeof(choice.label));
            quotedArgument(context, 4, choice.fileName, sizeof(choice.fileName));
            addChoiceLine(window, choiceText(context, numberArgument(context, 2)));
            ++state.pendingChoices;
        });
        engine.selectedArea = 0;
        engine.highlightedArea = 0;
        engine.selectedChoice = 0;
        // The shell takes the rewind save right after this step, before the
        // next frame draws the choices.
        engine.saveRequest = SaveRequest::ChoiceSave;
        if (window.created) drawChoices(window, context.screenWidth, context.updateList);
        return CommandOutcome::StayYield;
    }

    // An erased window or the history shown leaves the menu alone.
    if (window.hidden || window.showingHistory) return CommandOutcome::StayYield;
    const uint32_t edges = takeKeyEdges(context.input);
    const int count = state.pendingChoices;
    int selected = moveSelection(engine.selectedChoice, count, edges);
    if ((edges & kEdgeClick) != 0) {
        selected = 0;
        const int under = choiceAt(window, context.input.pointerX, context.input.pointerY);
        if (under >= 0 && under < count) selected = under + 1;
    }
    if (selected != engine.selectedChoice || (edges & (kEdgeUp | kEdgeDown)) != 0) {
        highlightChoice(window, selected - 1, context.updateList);
        if ((edges & (kEdgeUp | kEdgeDown)) != 0 && selected >= 1 &&
            selected <= window.choiceCount) {
            // The pointer follows the keys, so a tap after them starts from there.
            const ScreenRect& rect = window.choices[static_cast<size_t>(selected - 1)].rect;
            context.input.pointerX = rect.right - 2;
            context.input.pointerY = rect.top + 2;
        }
    }
    engine.selectedChoice = selected;
    if ((edges & kEdgeDecide) != 0 && selected >= 1 && selected <= count) {
        // A decide key still held must not also pass the next click wait.
        clearDecideInputs(context.input);
        const Choice choice = engine.choices[static_cast<size_t>(selected - 1)];
        state.pendingChoices = 0;
        engine.selectedChoice = 0;
        clearGlyphs(window, context.updateList);
        jumpTo(context, state.currentLevel, choice.fileName, choice.label);
        return CommandOutcome::JumpYield;
    }
    return CommandOutcome::StayYield;
}

}  // namespace zeku
