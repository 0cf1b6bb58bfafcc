#include "desktop/win32/ui/child_control.h"

#include "codec/win32/wide_text.h"

namespace lorix {

HWND CreateChildControl(HWND parent, HINSTANCE instance, const ChildControlLayout& layout,
                        const DpiScale& scale) {
  DWORD style = WS_CHILD | layout.style;
  if (layout.tab_stop) style |= WS_TABSTOP;
  if (layout.group_start) style |= WS_GROUP;
  if (layout.visible) style |= WS_VISIBLE;
  if (!layout.enabled) style |= WS_DISABLED;
  // A child's menu handle is its ID.
  return CreateWindowExW(
      layout.ex_style, layout.class_name, Widen(layout.caption).c_str(), style, scale(layout.x),
      scale(layout.y), scale(layout.width), scale(layout.height), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
}

}  // namespace lorix
