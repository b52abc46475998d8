// --trace: script commands on standard error, Shift-JIS turned into UTF-8.
#include "platform/main/stderr_tracer.h"

#include <cstdio>
#include <string>

#include "platform/api/text_codec.h"

namespace zeku {

void StderrTracer::commandStarted(std::string_view fileName, int32_t position, const char* line,
                                  const char* description) {
    const std::string file = sjisToUtf8(fileName);
    const std::string text = sjisToUtf8(line != nullptr ? line : "");
    std::fprintf(stderr, "trace %s@%d  %s  — %s\n", file.c_str(), static_cast<int>(position),
                 text.c_str(), description != nullptr ? description : "unknown, passed over");
}

}  // namespace zeku
