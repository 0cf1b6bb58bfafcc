#pragma once

// The main form's menu bar as one table: each item's parent menu, caption with its '&' mark,
// key and whether it carries a check mark. The Qt window builds its menus from the rows; a
// Win32 window builds the menus and the accelerator table from the same rows.

#include <span>
#include <string_view>

namespace lorix {

enum class MenuEntry {
  kMDatei,
  kMDBeenden,
  kMEinstellungen,
  kMIOnStartSelectMike,
  kMIOnStartSetMinVols,
  kMIConfirmReset,
  kMIAutoSavePrefs,
  kMAnzeige,
  kMAPanelRecord,
  kMAPanelPlay,
  kMAPanelOptionsCompress,
  kMAPanelPlayStatus,
  kMAPanelSpecials,
  kMAFormLorixSK,
  kMAAlwaysOnTop,
  kMSpeziell,
  kMTLoadRec,
  kMTSaveRec,
  kMSShowWinMixerRecord,
  kMSShowWinMixerPlay,
  kMSShowExplorer,
  kMSExpertMode,
  kMFragezeichen,
  kMIHilfe,
  kMIInfo,
  kCount
};

// A key with its modifiers: a letter 'A'..'Z', or a function key F1..F12; none when both are
// unset.
struct MenuKey {
  bool ctrl = false;
  bool alt = false;
  char letter = 0;
  int function_key = 0;

  bool Empty() const { return letter == 0 && function_key == 0; }
  bool operator==(const MenuKey&) const = default;
};

struct MenuRow {
  MenuEntry id;
  const char* name;  // the item's name in the form, for the widgets and tests
  // The menu the item is in; its own id for the menus of the bar.
  MenuEntry parent;
  std::string_view caption;
  // For a menu of the bar, the key that opens it.
  MenuKey key{};
  bool checkable = false;
  bool separator_before = false;
  // Shown only once expert mode was on.
  bool expert_only = false;
};

// The rows in the order of the bar and of the items in each menu.
std::span<const MenuRow> MainMenuTable();
const MenuRow& MenuRowOf(MenuEntry id);

}  // namespace lorix
