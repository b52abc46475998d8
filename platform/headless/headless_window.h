// A window that exists only as a message queue, for headless runs: input
// arrives as posted messages, and the title and raise requests are recorded.
#pragma once

#include <deque>
#include <string>

#include "platform/api/host_window.h"

namespace zeku {

class HeadlessWindow final : public HostWindow {
  public:
    bool create(const WindowSpec& spec) override;
    void destroy() override { exists_ = false; }
    bool exists() const override { return exists_; }
    void setTitle(std::string_view sjisTitle) override;
    void show() override { shown_ = true; }
    void bringToFront() override { ++raiseCount_; }
    int clientWidth() const override { return spec_.clientWidth; }
    int clientHeight() const override { return spec_.clientHeight; }
    bool peekMessage(Message& out) override;
    void postMessage(const Message& message) override { queue_.push_back(message); }

    const std::string& titleUtf8() const { return titleUtf8_; }
    bool shown() const { return shown_; }
    int raiseCount() const { return raiseCount_; }

  private:
    WindowSpec spec_;
    bool exists_ = false;
    bool shown_ = false;
    int raiseCount_ = 0;
    std::string titleUtf8_;
    std::deque<Message> queue_;
};

}  // namespace zeku
