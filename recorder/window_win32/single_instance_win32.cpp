#include "recorder/window_win32/single_instance_win32.h"

namespace lorix {

bool HandOverToFirstInstance() {
  const HWND first = FindWindowW(kRecorderWindowClass, nullptr);
  if (first == nullptr) return false;
  // The first one may only come to the front when this process lets it.
  AllowSetForegroundWindow(ASFW_ANY);
  PostMessageW(first, kSecondInstanceMessage, 0, 0);
  return true;
}

}  // namespace lorix
