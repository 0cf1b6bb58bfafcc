#pragma once

// The Windows programs keep every text as UTF-8, like the rest of the code; the system's wide
// functions take UTF-16. These two convert at that border.

#include <string>
#include <string_view>

namespace lorix {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace lorix
