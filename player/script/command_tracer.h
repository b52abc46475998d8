// What a trace of the running script sees: each command line the first time
// it runs (not the frames a waiting command polls again).
#pragma once

#include <cstdint>
#include <string_view>

namespace zeku {

class CommandTracer {
  public:
    virtual ~CommandTracer() = default;
    // `line` is the command line as written (Shift-JIS); `description` is the
    // command table's text, or null for a command the table does not know.
    virtual void commandStarted(std::string_view fileName, int32_t position, const char* line,
                                const char* description) = 0;
};

}  // namespace zeku
