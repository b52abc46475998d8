// Start-up error messages as SDL dialogs, with standard error as the fallback
// where no dialog can be shown (no display, console-only handhelds).
#pragma once

#include "platform/api/message_box.h"

namespace zeku {

class SdlMessageBoxes final : public MessageBoxes {
  public:
    void show(std::string_view sjisText, std::string_view sjisCaption) override;
};

}  // namespace zeku
