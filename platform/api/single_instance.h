// One running player per build: the first start holds a lock and listens;
// a later start asks it to come to the front and then leaves.
#pragma once

#include <memory>
#include <string_view>

namespace zeku {

class InstanceLock {
  public:
    virtual ~InstanceLock() = default;
    // True once for each "come to the front" request from a later start.
    virtual bool raiseRequested() = 0;
};

// Returns the lock when this is the first instance of (className, title);
// otherwise asks the running one to come to the front and returns null.
std::unique_ptr<InstanceLock> acquireInstance(std::string_view className,
                                              std::string_view sjisTitle);

}  // namespace zeku
