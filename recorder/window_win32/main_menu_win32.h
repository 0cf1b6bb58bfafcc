#pragma once

// The main form's menu bar and keys on Windows, from the recorder's menu table: the bar with
// its check marks and enabled states, the items shown only once expert mode was on, and the
// accelerators of every keyed item and of the menu opened by a key.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <optional>

#include "recorder/recorder_menu_table.h"
#include "recorder/recorder_menus.h"

namespace lorix {

class Win32MainMenu {
 public:
  Win32MainMenu() = default;
  Win32MainMenu(const Win32MainMenu&) = delete;
  Win32MainMenu& operator=(const Win32MainMenu&) = delete;
  ~Win32MainMenu();

  // Gives `window` the menu bar (the expert items hidden) and makes the accelerators.
  void Create(HWND window);

  HACCEL accelerators() const { return accelerators_; }

  // The entry a WM_COMMAND ID stands for; none for other IDs.
  static std::optional<MenuEntry> EntryOfId(int id);

  // Shows the expert-only items once `visible` (the bar is made again).
  void ShowExpertItems(bool visible);
  bool expert_items_shown() const { return expert_items_; }
  void Paint(const MenuState& state, bool expert_mode);
  bool Checked(MenuEntry entry) const;

  // Opens the menu of the bar `entry` stands for, as a click on it would.
  void OpenMenu(MenuEntry entry);

 private:
  void Build();

  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
  bool expert_items_ = false;
};

}  // namespace lorix
