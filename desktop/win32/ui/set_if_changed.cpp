#include "desktop/win32/ui/set_if_changed.h"

#include <commctrl.h>

#include "codec/win32/wide_text.h"

namespace lorix {

bool SetTextIfChanged(HWND window, std::string& shown, const std::string& text) {
  if (text == shown) return false;
  shown = text;
  SetWindowTextW(window, Widen(shown).c_str());
  return true;
}

void SetEnabledIfChanged(HWND window, bool enabled) {
  if (!IsWindowEnabled(window) != !enabled) EnableWindow(window, enabled);
}

void SetVisibleIfChanged(HWND window, bool visible) {
  const bool shown = GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE;
  if (shown != visible) ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
}

void SetCheckedIfChanged(HWND button, bool checked) {
  const bool shown = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (shown != checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void SetTrackBarPositionIfChanged(HWND bar, int position) {
  if (SendMessageW(bar, TBM_GETPOS, 0, 0) != position) {
    SendMessageW(bar, TBM_SETPOS, TRUE, position);
  }
}

}  // namespace lorix
