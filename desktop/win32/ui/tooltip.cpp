#include "desktop/win32/ui/tooltip.h"

#include <commctrl.h>

#include "codec/win32/wide_text.h"

namespace lorix {

Tooltip::~Tooltip() {
  if (tooltip_) DestroyWindow(tooltip_);
}

void Tooltip::Create(HWND owner, HINSTANCE instance) {
  owner_ = owner;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                             nullptr, instance, nullptr);
  // Hints may be long: let them wrap instead of running off the screen.
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

void Tooltip::SetTiming(int initial_ms, int visible_ms) {
  if (!tooltip_) return;
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(initial_ms, 0));
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(visible_ms, 0));
}

void Tooltip::SetHint(HWND control, const std::string& hint) {
  if (!tooltip_) return;
  Tool* tool = nullptr;
  for (Tool& known : tools_) {
    if (known.control == control) tool = &known;
  }
  if (tool && tool->hint == hint) return;

  std::wstring text = Widen(hint);
  TOOLINFOW info{};
  // The size every common-controls version accepts.
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = owner_;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = text.data();
  if (tool) {
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    tool->hint = hint;
  } else {
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    tools_.push_back({control, hint});
  }
}

}  // namespace lorix
