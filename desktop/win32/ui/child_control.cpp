#include "desktop/win32/ui/child_control.h"

#include "codec/win32/wide_text.h"

namespace lorix {

HWND CreateChildControl(HWND parent, HINSTANCE instance, const ChildControlSpec& spec,
                        const DpiScale& scale) {
  DWORD style = WS_CHILD | spec.style;
  if (spec.tab_stop) style |= WS_TABSTOP;
  if (spec.group_start) style |= WS_GROUP;
  if (spec.visible) style |= WS_VISIBLE;
  if (!spec.enabled) style |= WS_DISABLED;
  // A child's menu handle is its ID.
  return CreateWindowExW(spec.ex_style, spec.class_name, Widen(spec.caption).c_str(), style,
                         scale(spec.x), scale(spec.y), scale(spec.width), scale(spec.height),
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance,
                         nullptr);
}

}  // namespace lorix
