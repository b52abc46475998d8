// Start-up error messages as SDL dialogs, also printed on standard error,
// where they remain when no dialog can be shown (no display, console-only
// handhelds). Both carry SDL's reason for the failure when one was noted.
#pragma once

#include "platform/api/message_box.h"

namespace zeku {

class SdlMessageBoxes final : public MessageBoxes {
  public:
    void show(std::string_view sjisText, std::string_view sjisCaption) override;
};

}  // namespace zeku
