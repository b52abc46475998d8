// One write per notice, so lines from two threads never interleave.
#include "platform/posix/stderr_notices.h"

#include <cstdio>

namespace zeku {

void StderrNotices::notice(std::string_view line) {
    std::string text = programName_;
    text += ": ";
    text += line;
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace zeku
