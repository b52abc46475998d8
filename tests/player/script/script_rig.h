// A script engine with everything its commands touch, over a package built
// from in-memory script files: the interpreter tests' fixture.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "player/script/interpreter.h"
#include "player/script/script_line.h"
#include "player/script/script_loader.h"
#include "player/shell/game_context.h"
#include "tests/support/package_builder.h"
#include "tests/support/temp_folder.h"

namespace zeku::test_support {

// "\n" becomes CR LF, as scripts are stored.
inline std::string crlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

struct ScriptRig {
    TempFolder folder{"zeku-script"};
    // The player's own game context at the sigmarion3 size, over a package
    // in the folder's "data/", and the interpreter's view built the way the
    // player builds it.
    GameContext game{kSigmarionBuild, folder.path().string(), GXKeyList{}};
    const std::string& packagePath = game.paths.scriptPackage;
    ScriptEngine& engine = game.script;
    InputState& input = game.input;
    SystemSettings& settings = game.settings;
    ImageSlots& images = game.images;
    DisplayObjects& objects = game.objects;
    UpdateList& dirty = game.updateList;
    GraphicsState& graphics = game.graphics;
    ShakeState& shake = game.shake;
    PackReader& reader = game.packReader;
    uint32_t& nowMs = game.nowMs;
    const int screenWidth = game.screenWidth;
    const int screenHeight = game.screenHeight;

    ScriptRig() { nowMs = 10000; }
    ScriptRig(const ScriptRig&) = delete;
    ScriptRig& operator=(const ScriptRig&) = delete;

    ScriptContext context() { return makeScriptContext(game); }

    // Stores the files (names as scripts write them, text with "\n" lines)
    // in the package, uncompressed unless asked, and enters the first at its
    // start.
    bool load(const std::vector<std::pair<std::string, std::string>>& files,
              bool compress = false) {
        std::vector<PackageItem> items;
        for (const auto& [name, text] : files) {
            const std::string stored = crlf(text);
            items.push_back({name, {stored.begin(), stored.end()}, compress});
        }
        const std::vector<uint8_t> bytes = buildPackage(items);
        if (bytes.empty()) return false;
        writeBytes(packagePath, bytes);
        reader.open(packagePath.c_str(), true);
        return enter(files.front().first.c_str(), nullptr);
    }

    bool enter(const char* file, const char* label) {
        engine.state.currentLevel = 0;
        return enterScript(engine.state, 0, reader, packagePath.c_str(), file, label) == 1;
    }

    // One frame: `advanceMs` passes first.
    int step(uint32_t advanceMs = 16) {
        nowMs += advanceMs;
        ScriptContext c = context();
        return stepScript(c);
    }

    int32_t var(int index) const {
        return engine.state.variables.numbers[static_cast<size_t>(index)];
    }
    const ScriptLevel& level() { return engine.state.current(); }
    // The line the current level stands on.
    std::string currentLine() {
        char line[kScriptLineCapacity];
        readScriptLine(level().view(), static_cast<size_t>(level().position), line);
        return line;
    }
};

}  // namespace zeku::test_support
