// Notices as lines on standard error, after the program's name.
#pragma once

#include <string>

#include "platform/api/notices.h"

namespace zeku {

class StderrNotices final : public Notices {
  public:
    explicit StderrNotices(std::string programName) : programName_(std::move(programName)) {}
    void notice(std::string_view line) override;

  private:
    std::string programName_;
};

}  // namespace zeku
