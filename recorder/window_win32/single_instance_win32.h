#pragma once

// One recorder per desktop: the main window's class "LORIX" is how a second start finds the
// first, and the message 0x1400 is how it asks the first to come to the front.

// windows.h first: the other system headers build on it.
#include <windows.h>

namespace lorix {

inline constexpr wchar_t kRecorderWindowClass[] = L"LORIX";
// The user message base 0x400 plus 0x1000.
inline constexpr UINT kSecondInstanceMessage = 0x1400;

// Looks for a running recorder's window; when there is one, posts it the second-instance
// message (both parameters 0) and returns true: this start then ends without a window.
bool HandOverToFirstInstance();

}  // namespace lorix
