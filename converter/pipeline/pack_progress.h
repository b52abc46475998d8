// Progress of a conversion run, written by the run's threads and read by
// the front end's timer while the run goes on.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

namespace zeku {

class PackProgress {
  public:
    std::atomic<int> entriesDone{0};
    std::atomic<int> entryCount{0};
    // Set as the run's last write; the front end then joins the run's thread.
    std::atomic<bool> done{false};
    // Set by the front end to stop a run; the run then writes no package.
    std::atomic<bool> cancelRequested{false};

    // The part of the current source name after its last "/" (Shift-JIS).
    void setCurrentName(std::string name) {
        std::lock_guard<std::mutex> lock(mutex_);
        currentName_ = std::move(name);
    }
    std::string currentName() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return currentName_;
    }

  private:
    mutable std::mutex mutex_;
    std::string currentName_;
};

}  // namespace zeku
