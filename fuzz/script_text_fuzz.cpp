// Fuzzes the script text layer: arbitrary bytes as a script file, read line
// by line, classified, split both ways and evaluated, plus a label search
// checked against the label index.
// The text lives in its own heap block so ASan sees any read past its end.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "player/script/expression.h"
#include "player/script/script_line.h"
#include "player/script/script_loader.h"
#include "player/script/script_state.h"
#include "player/script/script_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> bytes(new char[size == 0 ? 1 : size]);
    if (size > 0) std::memcpy(bytes.get(), data, size);
    const std::string_view text(bytes.get(), size);

    static zeku::ScriptVariables variables;
    static zeku::ParsedCommand command;
    variables.reset();

    char line[zeku::kScriptLineCapacity];
    for (size_t position = 0; position < text.size();) {
        const size_t next = zeku::readScriptLine(text, position, line);
        if (next <= position || next > text.size()) __builtin_trap();
        if (std::strlen(line) >= zeku::kScriptLineCapacity) __builtin_trap();
        const zeku::LineKind kind = zeku::classifyLine(line);
        zeku::splitCommand(line, kind != zeku::kLineOther, command);
        if (command.argumentCount < 0 || command.argumentCount > zeku::kCommandArgumentCount)
            __builtin_trap();
        for (int i = 1; i <= command.argumentCount; ++i)
            zeku::evaluate(command.argument(i), variables);
        zeku::evaluate(line, variables);
        if (variables.accumulator.length >= zeku::kAccumulatorCapacity) __builtin_trap();
        position = next;
    }
    // The whole text as one expression, too: no line limit then.
    zeku::evaluate(text, variables);
    for (int i = 0; i < zeku::kStringVariableCount; ++i)
        if (variables.string(i).size() >= zeku::kStringVariableCapacity) __builtin_trap();

    const size_t found = zeku::findLabel(text, "_Start");
    if (found > text.size()) __builtin_trap();

    // The label index that jumps use must agree with the search from the top.
    zeku::ByteBuffer copy = zeku::ByteBuffer::allocate(size);
    if (size > 0) std::memcpy(copy.data(), data, size);
    const auto indexed = zeku::ScriptText::make("pack.mlz", "./script.txt", std::move(copy));
    if (indexed == nullptr || indexed->labelOffset("_Start") != found) __builtin_trap();
    // And for the first label line of the text, whatever its name.
    for (size_t position = 0; position < text.size();) {
        position = zeku::readScriptLine(text, position, line);
        if (zeku::classifyLine(line) != zeku::kLineLabel) continue;
        const size_t colon = std::string_view(line).rfind(':');
        if (colon == std::string_view::npos) break;
        line[colon] = 0;
        if (indexed->labelOffset(line + 1) != zeku::findLabel(text, line + 1)) __builtin_trap();
        break;
    }
    return 0;
}
