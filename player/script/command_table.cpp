// The table of every command the interpreter knows. Lookup is a linear scan
// with the system's name comparison; the table is short and a line costs
// one scan, as nothing is compiled.
#include "player/script/command_table.h"

#include <array>

#include "common/text/sjis.h"
#include "player/script/command_handlers.h"

namespace zeku {
namespace {

// Name, handler, fewest and most arguments, trace text. The optional tails:
// #GOTO's file, #LoadImage's reference slot, #PrintTextf's number after a 0,
// #PlayWave's loop flag, and the three that make #TransFill only store.
constexpr std::array kCommands = {
    CommandInfo{"#END", commandEnd, 0, 0, "end of a section; yields"},
    CommandInfo{"#Wait", commandWait, 1, 1, "wait (ms)"},
    CommandInfo{"#BreakApp", commandBreakApp, 0, 0, "close the player"},
    CommandInfo{"#CreateImage", commandCreateImage, 4, 4, "default image size"},
    CommandInfo{"#LoadImage", commandLoadImage, 2, 3, "load a picture into an image slot"},
    CommandInfo{"#FillClr", commandFillClr, 2, 2, "fill an image opaque black"},
    CommandInfo{"#Clr", commandClr, 1, 1, "recreate an image transparent"},
    CommandInfo{"#TransFill", commandTransFill, 6, 9, "shade an area of an image"},
    CommandInfo{"#Paint", commandPaint, 0, 0, "show the current image as background"},
    CommandInfo{"#MonoFill", commandMonoFill, 6, 6, "grey an area of an image"},
    CommandInfo{"#Blt", commandBlt, 4, 4, "copy an image into another"},
    CommandInfo{"#AlphaBlt", commandAlphaBlt, 4, 4, "blend an image into another"},
    CommandInfo{"#TransFade", commandTransFade, 9, 9, "cross-fade onto the background"},
    CommandInfo{"#Wipe", commandWipe, 4, 4, "slide, shake or wipe onto the background"},
    CommandInfo{"#Effect", commandEffect, 6, 6, "play a transition effect on an object"},
    CommandInfo{"#IF", commandIf, 1, 1, "run the next block when true"},
    CommandInfo{"#GOTO", commandGoto, 1, 2, "jump to a label"},
    CommandInfo{"#Gosub", commandGosub, 2, 2, "call a label one level up"},
    CommandInfo{"#Return", commandReturn, 0, 0, "return to the calling level"},
    CommandInfo{"#LoadTextf", commandLoadTextf, 1, 1, "load a message file"},
    CommandInfo{"#PrintTextf", commandPrintTextf, 1, 2, "show a message"},
    CommandInfo{"#CreateTextf", commandCreateTextf, 2, 2, "create the message windows"},
    CommandInfo{"#Locatef", commandLocatef, 3, 3, "message window text origin"},
    CommandInfo{"#SetMessageLength", commandSetMessageLength, 2, 2, "message length (unused)"},
    CommandInfo{"#SetDefaultColor", commandSetDefaultColor, 2, 2, "text settings entry"},
    CommandInfo{"#OpenPlayMCICdda", commandOpenPlayMciCdda, 3, 3, "play a music track"},
    CommandInfo{"#StopMCICdda", commandStopMciCdda, 0, 0, "stop the music"},
    CommandInfo{"#PlayWave", commandPlayWave, 1, 2, "play a sound effect"},
    CommandInfo{"#MouseClickEventEX", commandMouseClickEventEx, 0, 0, "wait for a click area"},
    CommandInfo{"#MouseClickWait", commandMouseClickWait, 1, 1, "wait for a click or key"},
    CommandInfo{"#SelectEx", commandSelectEx, 0, 0, "choice menu"},
    CommandInfo{"#SystemLoad", commandSystemLoad, 0, 0, "no effect"},
    CommandInfo{"#StopSave", commandStopSave, 0, 0, "saving off"},
    CommandInfo{"#ResumeSave", commandResumeSave, 0, 0, "saving on"},
};

}  // namespace

std::span<const CommandInfo> commandTable() {
    return kCommands;
}

const CommandInfo* findCommand(std::string_view name) {
    for (const CommandInfo& info : kCommands) {
        if (textEquals(std::string_view(info.name), name)) return &info;
    }
    return nullptr;
}

}  // namespace zeku
