// Message boxes for headless runs: one line on standard error, in UTF-8.
#pragma once

#include "platform/api/message_box.h"

namespace zeku {

class StderrMessageBoxes final : public MessageBoxes {
  public:
    void show(std::string_view sjisText, std::string_view sjisCaption) override;
};

}  // namespace zeku
