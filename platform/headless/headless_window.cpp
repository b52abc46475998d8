// The headless window's queue. Messages outlive the window, as the quit
// message posted during destruction must still reach the loop.
#include "platform/headless/headless_window.h"

#include "platform/api/text_codec.h"

namespace zeku {

bool HeadlessWindow::create(const WindowSpec& spec) {
    if (spec.clientWidth <= 0 || spec.clientHeight <= 0) return false;
    spec_ = spec;
    exists_ = true;
    return true;
}

void HeadlessWindow::setTitle(std::string_view sjisTitle) {
    titleUtf8_ = sjisToUtf8(sjisTitle);
}

bool HeadlessWindow::peekMessage(Message& out) {
    if (queue_.empty()) return false;
    out = queue_.front();
    queue_.pop_front();
    return true;
}

}  // namespace zeku
