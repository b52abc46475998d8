// The window's scripted run: steps a headless run hands the window in place
// of a user (choose the folders, press start or cancel, wait, take a
// picture, close), so the window can be driven under a virtual display.
#pragma once

#include <string>
#include <vector>

namespace zeku {

enum class WindowStepKind { kFolder, kOut, kStart, kCancel, kWait, kAbout, kShot, kQuit };

struct WindowStep {
    WindowStepKind kind;
    std::string argument;  // the path of kFolder, kOut and kShot
};

// Steps separated by ";": "folder=PATH", "out=PATH", "start", "cancel"
// (once a run has converted an entry), "wait" (until no run goes), "shot=PATH",
// "about" (the about box from the menu), "quit". False with `error` for an unknown step or a path
// missing.
bool parseWindowScript(const std::string& text, std::vector<WindowStep>& steps, std::string& error);

}  // namespace zeku
