// Shift-JIS (code page 932) to and from UTF-8, used only where text crosses
// to the host: window titles, message boxes, file names, terminal output.
#pragma once

#include <string>
#include <string_view>

namespace zeku {

// Undecodable bytes become U+FFFD (or "?" going to Shift-JIS); never fails.
std::string sjisToUtf8(std::string_view sjis);
std::string utf8ToSjis(std::string_view utf8);

}  // namespace zeku
