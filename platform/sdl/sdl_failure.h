// Why the last SDL step of start-up failed, kept for the start-up message.
// SDL's own error text is overwritten by later calls and left behind by calls
// that succeed, so it is copied at the failing call and taken once.
#pragma once

#include <string>
#include <string_view>

namespace zeku {

void noteSdlFailure(std::string_view reason);
// Notes "what: " followed by SDL's error text of the call that just failed.
void noteSdlError(std::string_view what);
// The reason noted since the last take, or empty.
std::string takeSdlFailure();

}  // namespace zeku
