// Problems worth telling the user while the program goes on (a package that
// cannot be read, say): one line each, in the host's encoding (paths as the
// host spells them). Every back end writes them to standard error.
#pragma once

#include <string_view>

namespace zeku {

class Notices {
  public:
    virtual ~Notices() = default;
    virtual void notice(std::string_view line) = 0;
};

}  // namespace zeku
