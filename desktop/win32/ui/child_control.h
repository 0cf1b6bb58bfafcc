#pragma once

// Creates one child control from a row of a program's control table: the window class and
// styles its kind needs, its caption, its rectangle at 96 DPI, its ID and its place in the tab
// order. The program's table says what a control is; this is the one place that makes it.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <string_view>

#include "desktop/win32/ui/dpi_scale.h"

namespace lorix {

struct ChildControlLayout {
  const wchar_t* class_name = L"Static";
  DWORD style = 0;  // the kind's own styles; WS_CHILD is always added
  DWORD ex_style = 0;
  std::string_view caption;                 // UTF-8, with its '&' marks
  int x = 0, y = 0, width = 0, height = 0;  // client coordinates at 96 DPI
  int id = 0;                               // the ID WM_COMMAND and WM_NOTIFY report
  bool tab_stop = false;
  bool group_start = false;  // the first control of a group for the arrow keys
  bool visible = true;
  bool enabled = true;
};

HWND CreateChildControl(HWND parent, HINSTANCE instance, const ChildControlLayout& layout,
                        const DpiScale& scale);

}  // namespace lorix
