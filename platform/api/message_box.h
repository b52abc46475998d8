// Start-up error messages. Texts are Shift-JIS; the back end converts them
// for the host (a dialog on a desktop, standard error when headless).
#pragma once

#include <string_view>

namespace zeku {

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual void show(std::string_view sjisText, std::string_view sjisCaption) = 0;
};

}  // namespace zeku
