// The table of every command the interpreter knows. Lookup is a linear scan
// with the system's name comparison; the table is short and a line costs
// one scan, as nothing is compiled.
#include "player/script/command_table.h"

#include <array>

#include "common/text/sjis.h"
#include "player/script/command_handlers.h"

namespace zeku {
namespace {

constexpr std::array kCommands = {
    CommandInfo{"#END", commandEnd, "end of a section; yields"},
    CommandInfo{"#Wait", commandWait, "wait (ms)"},
    CommandInfo{"#BreakApp", commandBreakApp, "close the player"},
    CommandInfo{"#CreateImage", commandCreateImage, "default image size"},
    CommandInfo{"#LoadImage", commandLoadImage, "load a picture into an image slot"},
    CommandInfo{"#FillClr", commandFillClr, "fill an image opaque black"},
    CommandInfo{"#Clr", commandClr, "recreate an image transparent"},
    CommandInfo{"#TransFill", commandTransFill, "shade an area of an image"},
    CommandInfo{"#Paint", commandPaint, "show the current image as background"},
    CommandInfo{"#MonoFill", commandMonoFill, "grey an area of an image"},
    CommandInfo{"#Blt", commandBlt, "copy an image into another"},
    CommandInfo{"#AlphaBlt", commandAlphaBlt, "blend an image into another"},
    CommandInfo{"#TransFade", commandTransFade, "cross-fade onto the background"},
    CommandInfo{"#Wipe", commandWipe, "slide, shake or wipe onto the background"},
    CommandInfo{"#IF", commandIf, "run the next block when true"},
    CommandInfo{"#GOTO", commandGoto, "jump to a label"},
    CommandInfo{"#Gosub", commandGosub, "call a label one level up"},
    CommandInfo{"#Return", commandReturn, "return to the calling level"},
    CommandInfo{"#LoadTextf", commandLoadTextf, "load a message file"},
    CommandInfo{"#PrintTextf", commandPrintTextf, "show a message"},
    CommandInfo{"#CreateTextf", commandCreateTextf, "create the message windows"},
    CommandInfo{"#Locatef", commandLocatef, "message window text origin"},
    CommandInfo{"#SetMessageLength", commandSetMessageLength, "message length (unused)"},
    CommandInfo{"#SetDefaultColor", commandSetDefaultColor, "text settings entry"},
    CommandInfo{"#OpenPlayMCICdda", commandOpenPlayMciCdda, "play a music track"},
    CommandInfo{"#StopMCICdda", commandStopMciCdda, "stop the music"},
    CommandInfo{"#PlayWave", commandPlayWave, "play a sound effect"},
    CommandInfo{"#MouseClickEventEX", commandMouseClickEventEx, "wait for a click area"},
    CommandInfo{"#MouseClickWait", commandMouseClickWait, "wait for a click or key"},
    CommandInfo{"#SelectEx", commandSelectEx, "choice menu"},
    CommandInfo{"#SystemLoad", commandSystemLoad, "no effect"},
    CommandInfo{"#StopSave", commandStopSave, "saving off"},
    CommandInfo{"#ResumeSave", commandResumeSave, "saving on"},
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
