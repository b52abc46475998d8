// The message commands: loading a message file, creating and placing the
// windows, and #PrintTextf, which types a message over many frames, waits
// for clicks, runs the subroutines a message embeds, keeps the history and
// marks the line read.
#include <algorithm>
#include <cstring>

#include "common/text/sjis.h"
#include "player/graphics/message_file.h"
#include "player/graphics/message_window.h"
#include "player/script/command_handlers.h"
#include "player/script/script_line.h"
#include "player/script/script_loader.h"

namespace zeku {
namespace {

// The wait icon: display object 128 showing a blinking part of the system image.
constexpr int kWaitIconObject = 128;
constexpr int kWaitIconLayer = 1;
constexpr int kWaitIconBlinkMs = 500;
// Centre-key actions the message display carries out.
constexpr int kCentreEraseWindows = 2;
constexpr int kCentreRecall = 3;
constexpr int kCentreQuickSave = 4;
constexpr int kCentreQuickLoad = 5;

std::string_view stringVariable(const void* variables, char letter) {
    const auto& vars = *static_cast<const ScriptVariables*>(variables);
    const int index = (letter | 0x20) - 'a';
    if (index < 0 || index >= kStringVariableCount) return {};
    const auto& text = vars.strings[static_cast<size_t>(index)];
    return std::string_view(text.data(), strnlen(text.data(), text.size()));
}

bool freshPress(const InputState& input, KeyRole role) {
    return input.keys[role] == 1;
}

void consumePress(InputState& input, KeyRole role) {
    if (input.keys[role] == 1) input.keys[role] = 2;
}

bool decidePending(const InputState& input) {
    return input.clickEdge == 1 || freshPress(input, KeyRole::C) ||
           freshPress(input, KeyRole::Right);
}

void consumeDecide(InputState& input) {
    if (input.clickEdge == 1) input.clickEdge = 2;
    consumePress(input, KeyRole::C);
    consumePress(input, KeyRole::Right);
}

void showWaitIcon(ScriptContext& context) {
    if (objectInSlot(context.objects, kWaitIconObject) != nullptr) return;
    DisplayObjects& objects = context.objects;
    if (!createPictureObject(objects, context.images, kWaitIconObject, kSystemImageSlot, 64, 0, 32,
                             32, 720, 528, 0, 0, kWaitIconLayer))
        return;
    FrameSettings shown{.next = 1,
                        .durationMs = kWaitIconBlinkMs,
                        .imageSlot = kSystemImageSlot,
                        .sourceX = 66,
                        .sourceY = 0,
                        .width = 28,
                        .height = 32};
    FrameSettings away = shown;
    away.next = 0;
    away.offsetX = 800;  // off the screen: the icon blinks
    away.offsetY = 800;
    uint32_t ignored = 0;
    setFrame(objects, kWaitIconObject, 0, shown, 0, ignored);
    setFrame(objects, kWaitIconObject, 1, away, -1, ignored);
    startAnimation(objects, kWaitIconObject, 0, context.nowMs, ignored);
}

void removeWaitIcon(ScriptContext& context) {
    removeObject(context.objects, kWaitIconObject);
}

void redrawEverything(ScriptContext& context) {
    redrawAllWindows(context.windows, context.updateList, context.screenWidth,
                     context.screenHeight);
}

bool anyHistory(const ScriptContext& context) {
    return !context.windows[kTextWindow].history.empty();
}

void setHistoryShown(ScriptContext& context, bool shown, int index) {
    for (MessageWindow& window : context.windows) {
        window.showingHistory = shown && !window.history.empty();
        window.historyShown = std::clamp(index, 0, std::max(0, int(window.history.size()) - 1));
    }
    redrawEverything(context);
}

void setHidden(ScriptContext& context, bool hidden) {
    for (MessageWindow& window : context.windows)
        window.hidden = hidden;
    redrawEverything(context);
}

// The read flag of the #PrintTextf line being executed.
bool lineIsRead(ScriptContext& context) {
    if (context.settings.readSkip == 0) return true;
    const ScriptLevel& level = context.engine.state.current();
    return context.engine.readMarks.isRead(level.fileName, static_cast<uint32_t>(level.position)) ==
           1;
}

void markLineRead(ScriptContext& context) {
    const ScriptLevel& level = context.engine.state.current();
    context.engine.readMarks.markRead(level.fileName, static_cast<uint32_t>(level.position));
}

// Runs "#(label,"file")" one call level up, as #Gosub does; the message
// resumes when the subroutine returns, so this line must then count as
// polled, not fresh.
bool callEmbedded(ScriptContext& context, std::string_view command) {
    ScriptState& state = context.engine.state;
    const int caller = state.currentLevel;
    if (caller < 0 || caller >= kScriptLevelCount - 1) return false;
    char line[kScriptLineCapacity];
    const size_t length = std::min(command.size(), sizeof(line) - 1);
    std::memcpy(line, command.data(), length);
    line[length] = 0;
    splitCommand(line, true, state.command);
    char label[kScriptLineCapacity];
    char file[kScriptFileNameCapacity];
    if (quotedText(state.command.argument(1), label, sizeof(label)) == 0)
        textCopy(label, sizeof(label), state.command.argument(1));
    quotedText(state.command.argument(2), file, sizeof(file));
    ScriptLevel& level = state.current();
    level.repeatCount = std::max<uint32_t>(level.repeatCount, 1);
    if (!jumpTo(context, caller + 1, file, label)) {
        clearScriptLevel(state.levels[static_cast<size_t>(caller + 1)]);
        state.currentLevel = caller;
        return false;
    }
    return true;
}

TypingInput typingInput(ScriptContext& context, bool readFlag) {
    const SystemSettings& settings = context.settings;
    TypingInput input;
    input.nowMs = context.nowMs;
    input.readFlag = readFlag;
    input.skipping = skipping(context.input);
    input.decidePending = decidePending(context.input);
    input.messageSpeed = settings.messageSpeed;
    input.autoAdvance = settings.messageAuto != 0;
    input.autoBase = settings.messageAutoBase;
    input.autoOne = settings.messageAutoOne;
    input.historyShown = context.windows[kTextWindow].showingHistory;
    input.screenWidth = context.screenWidth;
    return input;
}

void finishMessage(ScriptContext& context) {
    removeWaitIcon(context);
    if (context.engine.savingEnabled) {
        for (MessageWindow& window : context.windows) {
            if (window.created) pushHistory(window);
        }
    }
    for (MessageWindow& window : context.windows) {
        if (window.created) clearGlyphs(window, context.updateList);
    }
    redrawEverything(context);
}

// One typing step of the message window and what follows from it.
CommandOutcome typeMessage(ScriptContext& context) {
    MessageWindow& window = context.windows[kTextWindow];
    const TypingResult result =
        typeStep(window, typingInput(context, context.engine.messageReadFlag), context.updateList);
    if (result.decideConsumed) consumeDecide(context.input);
    if (!result.embeddedCommand.empty()) {
        return callEmbedded(context, result.embeddedCommand) ? CommandOutcome::Jump
                                                             : CommandOutcome::StayYield;
    }
    if (result.state == TypingState::Finished) {
        finishMessage(context);
        markLineRead(context);
        return CommandOutcome::AdvanceYield;
    }
    if (result.state == TypingState::WaitingForClick && context.engine.savingEnabled) {
        showWaitIcon(context);
        const int wheel = context.input.wheelEdge;
        const bool recall = freshPress(context.input, KeyRole::A) ||
                            (context.settings.keyCenterAction == kCentreRecall &&
                             freshPress(context.input, KeyRole::Start)) ||
                            wheel > 0;
        if (recall && anyHistory(context)) {
            consumePress(context.input, KeyRole::A);
            consumePress(context.input, KeyRole::Start);
            context.input.wheelEdge = 0;
            // Further notches of the same turn go on into older entries.
            setHistoryShown(context, true, wheel > 1 ? wheel - 1 : 0);
        }
    }
    return CommandOutcome::StayYield;
}

// Up older, down newer (past the newest closes); a decide key or A closes.
// The wheel steps the same way, one entry per notch.
void browseHistory(ScriptContext& context) {
    InputState& input = context.input;
    MessageWindow& window = context.windows[kTextWindow];
    const int count = static_cast<int>(window.history.size());
    if (input.wheelEdge != 0) {
        const int target = window.historyShown + input.wheelEdge;
        input.wheelEdge = 0;
        if (target < 0) {
            setHistoryShown(context, false, 0);
        } else if (target != window.historyShown) {
            setHistoryShown(context, true, std::min(target, count - 1));
        }
    } else if (decidePending(input) || freshPress(input, KeyRole::A)) {
        consumeDecide(input);
        consumePress(input, KeyRole::A);
        setHistoryShown(context, false, 0);
    } else if (freshPress(input, KeyRole::Up)) {
        consumePress(input, KeyRole::Up);
        if (window.historyShown + 1 < count)
            setHistoryShown(context, true, window.historyShown + 1);
    } else if (freshPress(input, KeyRole::Down)) {
        consumePress(input, KeyRole::Down);
        if (window.historyShown == 0) {
            setHistoryShown(context, false, 0);
        } else {
            setHistoryShown(context, true, window.historyShown - 1);
        }
    }
}

}  // namespace

CommandOutcome commandLoadTextf(ScriptContext& context) {
    const std::string_view name = textArgument(context, 1);
    char* stored = context.engine.messageFileName;
    const size_t length = name.size() < kMessageFileNameBytes ? name.size() : 0;
    std::memcpy(stored, name.data(), length);
    stored[length] = 0;
    loadMessageFile(context, stored);
    return CommandOutcome::Advance;
}

bool loadMessageFile(ScriptContext& context, const char* name) {
    const ByteBuffer bytes = context.reader.read(context.packagePath, name);
    if (!bytes || bytes.size() == 0) return false;  // the previous table stays
    context.messages =
        parseMessages(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

CommandOutcome commandCreateTextf(ScriptContext& context) {
    const int32_t count = numberArgument(context, 1);
    numberArgument(context, 2);
    for (int i = 0; i < kMessageWindowCount && i < count; ++i) {
        MessageWindow& window = context.windows[static_cast<size_t>(i)];
        for (int g = 0; g < window.glyphCount; ++g)
            context.updateList.add(window.glyphs[static_cast<size_t>(g)].rect);
        createWindow(window, context.screenWidth, context.screenHeight);
        applyCommandDefaults(window, context.screenWidth, context.screenHeight);
    }
    return CommandOutcome::Advance;
}

CommandOutcome commandLocatef(ScriptContext& context) {
    const int32_t window = numberArgument(context, 1);
    const int32_t x = numberArgument(context, 2);
    const int32_t y = numberArgument(context, 3);
    if (window == 0 || window == 1) {
        auto& settings = context.engine.textSettings;
        settings[static_cast<size_t>(2 + 2 * window)] = x;
        settings[static_cast<size_t>(3 + 2 * window)] = y;
        MessageWindow& target = context.windows[static_cast<size_t>(window)];
        if (target.created) setTextOrigin(target, x, y, context.screenWidth, context.screenHeight);
    }
    return CommandOutcome::Advance;
}

CommandOutcome commandSetMessageLength(ScriptContext& context) {
    context.engine.parameter(1) = numberArgument(context, 1);
    context.engine.parameter(2) = numberArgument(context, 2);
    return CommandOutcome::Advance;
}

CommandOutcome commandSetDefaultColor(ScriptContext& context) {
    const int32_t index = numberArgument(context, 1);
    const int32_t value = numberArgument(context, 2);
    if (index >= 0 && index < kTextSettingCount)
        context.engine.textSettings[static_cast<size_t>(index)] = value;
    if (index == 0 || index == 1)
        context.windows[static_cast<size_t>(index)].defaultColour = static_cast<uint32_t>(value);
    return CommandOutcome::Advance;
}

CommandOutcome commandPrintTextf(ScriptContext& context) {
    ScriptEngine& engine = context.engine;
    MessageWindow& nameWindow = context.windows[kNameWindow];
    MessageWindow& textWindow = context.windows[kTextWindow];
    if (firstExecution(context)) {
        int32_t number = numberArgument(context, 1);
        if (number == 0 && optionalArgumentsGiven(context)) number = numberArgument(context, 2);
        const MessageEntry* entry = findMessage(context.messages, number);
        // Without a message, or a window to show it in, there is nothing to wait for.
        if (entry == nullptr || !textWindow.created) return CommandOutcome::AdvanceYield;
        const auto& variables = engine.state.variables;
        char expanded[kMessageTextBytes];
        const uint32_t colours[2] = {static_cast<uint32_t>(engine.textSettings[0]),
                                     static_cast<uint32_t>(engine.textSettings[1])};
        if (nameWindow.created) {
            const size_t length =
                expandMessage(entry->name, false, stringVariable, &variables, expanded);
            nameWindow.defaultColour = colours[0];
            startMessage(nameWindow, std::string_view(expanded, length), colours[0], true,
                         context.nowMs);
            typeStep(nameWindow, typingInput(context, true), context.updateList);
        }
        const size_t length =
            expandMessage(entry->text, true, stringVariable, &variables, expanded);
        textWindow.defaultColour = colours[1];
        startMessage(textWindow, std::string_view(expanded, length), colours[1], false,
                     context.nowMs);
        engine.messageReadFlag = lineIsRead(context);
        if (!engine.messageReadFlag) context.input.skipLatch = false;
        const CommandOutcome outcome = typeMessage(context);
        return outcome == CommandOutcome::AdvanceYield ? outcome
               : outcome == CommandOutcome::Jump       ? outcome
                                                       : CommandOutcome::StayYield;
    }

    InputState& input = context.input;
    const bool centre = freshPress(input, KeyRole::Start);
    const int32_t action = context.settings.keyCenterAction;
    if (centre && (action == kCentreQuickSave || action == kCentreQuickLoad)) {
        // Slot 0, carried out by the shell once this step is over.
        consumePress(input, KeyRole::Start);
        engine.saveRequest =
            action == kCentreQuickSave ? SaveRequest::QuickSave : SaveRequest::QuickLoad;
        return CommandOutcome::StayYield;
    }
    if (textWindow.hidden) {
        // An erased window comes back with the next decide press or centre key, which does nothing
        // else.
        if (decidePending(input) || centre) {
            consumeDecide(input);
            consumePress(input, KeyRole::Start);
            setHidden(context, false);
        }
        return CommandOutcome::StayYield;
    }
    if (centre && context.settings.keyCenterAction == kCentreEraseWindows) {
        consumePress(input, KeyRole::Start);
        setHidden(context, true);
        return CommandOutcome::StayYield;
    }
    if (textWindow.showingHistory) {
        browseHistory(context);
        return CommandOutcome::StayYield;
    }
    if (!textWindow.created) return CommandOutcome::AdvanceYield;
    return typeMessage(context);
}

}  // namespace zeku
