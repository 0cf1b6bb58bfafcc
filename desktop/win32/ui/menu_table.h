#pragma once

// A window's menu bar and its accelerators built from one table of rows: each row names its
// menu (a menu of the bar when it has none), its "&caption", its key and whether it carries a
// check mark. The key is shown beside the caption and works through the accelerator table,
// so both always agree.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <span>
#include <string>

namespace lorix {

struct AcceleratorKey {
  unsigned virtual_key = 0;  // no key when 0
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
};

struct MenuItemRow {
  int id = 0;           // what WM_COMMAND reports; the parent of the rows of a menu
  int parent = 0;       // the menu the item sits in; 0 for a menu of the bar
  std::string caption;  // UTF-8, with its '&' mark
  AcceleratorKey key{};
  bool checkable = false;
  bool separator_before = false;
};

// The menu bar: each menu of the bar with the rows that name it as parent, in table order
// (menus in menus too). The window that gets it destroys it.
HMENU CreateMenuBar(std::span<const MenuItemRow> rows);

// The accelerators of every row with a key. The caller destroys them with
// DestroyAcceleratorTable.
HACCEL CreateMenuAccelerators(std::span<const MenuItemRow> rows);

// The key as the menu shows it: "Strg+Alt+K", "Alt+F4", "F1"; empty for no key.
std::string AcceleratorKeyText(const AcceleratorKey& key);

// Check mark and enabled state of the item `id` anywhere in `menu`.
void SetMenuItemState(HMENU menu, int id, bool checked, bool enabled);

}  // namespace lorix
