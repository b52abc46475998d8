// --trace: each script command, the first time it runs, as one line on
// standard error: "file@offset  line  — what the command does".
#pragma once

#include "player/script/command_tracer.h"

namespace zeku {

class StderrTracer : public CommandTracer {
  public:
    void commandStarted(std::string_view fileName, int32_t position, const char* line,
                        const char* description) override;
};

}  // namespace zeku
