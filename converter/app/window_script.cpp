// Parsing the window's scripted run.
#include "converter/app/window_script.h"

namespace zeku {

bool parseWindowScript(const std::string& text, std::vector<WindowStep>& steps,
                       std::string& error) {
    struct Name {
        const char* text;
        WindowStepKind kind;
        bool takesPath;
    };
    static constexpr Name kNames[] = {
        {"folder", WindowStepKind::kFolder, true}, {"out", WindowStepKind::kOut, true},
        {"start", WindowStepKind::kStart, false},  {"cancel", WindowStepKind::kCancel, false},
        {"wait", WindowStepKind::kWait, false},    {"about", WindowStepKind::kAbout, false},
        {"shot", WindowStepKind::kShot, true},     {"quit", WindowStepKind::kQuit, false},
    };
    steps.clear();
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find(';', begin);
        if (end == std::string::npos) end = text.size();
        const std::string step = text.substr(begin, end - begin);
        begin = end + 1;
        if (step.empty()) continue;
        const size_t equals = step.find('=');
        const std::string name = step.substr(0, equals);
        const std::string argument = equals == std::string::npos ? "" : step.substr(equals + 1);
        bool known = false;
        for (const Name& candidate : kNames) {
            if (name != candidate.text) continue;
            known = true;
            if (candidate.takesPath != (equals != std::string::npos) ||
                (candidate.takesPath && argument.empty())) {
                error = candidate.takesPath ? name + " needs =PATH" : name + " takes no value";
                return false;
            }
            steps.push_back({candidate.kind, argument});
        }
        if (!known) {
            error = "unknown step " + step;
            return false;
        }
    }
    return true;
}

}  // namespace zeku
