#include "recorder/window_win32/main_menu_win32.h"

#include <cctype>
#include <string>
#include <vector>

#include "desktop/win32/ui/menu_table.h"

namespace lorix {
namespace {

constexpr int kFirstMenuId = 3000;

int IdOf(MenuEntry entry) {
  return kFirstMenuId + static_cast<int>(entry);
}

AcceleratorKey KeyOf(const MenuKey& key) {
  AcceleratorKey accelerator;
  if (key.Empty()) return accelerator;
  accelerator.virtual_key = key.function_key != 0
                                ? static_cast<unsigned>(VK_F1 + key.function_key - 1)
                                : static_cast<unsigned>(key.letter);
  accelerator.ctrl = key.ctrl;
  accelerator.alt = key.alt;
  return accelerator;
}

bool IsBarMenu(const MenuRow& row) {
  return row.parent == row.id;
}

// The rows as the shared Win32 menu builder takes them; the bar's menus show no key.
std::vector<MenuItemRow> Rows(bool expert_items, bool with_bar_keys) {
  std::vector<MenuItemRow> rows;
  for (const MenuRow& row : MainMenuTable()) {
    if (row.expert_only && !expert_items) continue;
    MenuItemRow layout;
    layout.id = IdOf(row.id);
    layout.parent = IsBarMenu(row) ? 0 : IdOf(row.parent);
    layout.caption = std::string(row.caption);
    if (!IsBarMenu(row) || with_bar_keys) layout.key = KeyOf(row.key);
    layout.checkable = row.checkable;
    layout.separator_before = row.separator_before;
    rows.push_back(std::move(layout));
  }
  return rows;
}

}  // namespace

Win32MainMenu::~Win32MainMenu() {
  if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
}

void Win32MainMenu::Create(HWND window) {
  window_ = window;
  // Every key, the expert items' too: their commands are refused while the items are hidden.
  accelerators_ = CreateMenuAccelerators(Rows(true, true));
  Build();
}

void Win32MainMenu::Build() {
  const HMENU previous = GetMenu(window_);
  SetMenu(window_, CreateMenuBar(Rows(expert_items_, false)));
  if (previous != nullptr) DestroyMenu(previous);
  DrawMenuBar(window_);
}

std::optional<MenuEntry> Win32MainMenu::EntryOfId(int id) {
  const int index = id - kFirstMenuId;
  if (index < 0 || index >= static_cast<int>(MenuEntry::kCount)) return std::nullopt;
  return static_cast<MenuEntry>(index);
}

void Win32MainMenu::ShowExpertItems(bool visible) {
  if (visible == expert_items_) return;
  expert_items_ = visible;
  Build();
}

void Win32MainMenu::Paint(const MenuState& state, bool expert_mode) {
  const HMENU bar = GetMenu(window_);
  if (bar == nullptr) return;
  const MenuEntry blocks[kBlockCount] = {
      MenuEntry::kMAPanelRecord, MenuEntry::kMAPanelOptionsCompress, MenuEntry::kMAPanelPlay,
      MenuEntry::kMAPanelPlayStatus, MenuEntry::kMAPanelSpecials};
  for (std::size_t i = 0; i < kBlockCount; ++i) {
    SetMenuItemState(bar, IdOf(blocks[static_cast<std::size_t>(i)]), state.blocks[i], true);
  }
  SetMenuItemState(bar, IdOf(MenuEntry::kMAFormLorixSK), state.MAFormLorixSK, true);
  SetMenuItemState(bar, IdOf(MenuEntry::kMAAlwaysOnTop), state.MAAlwaysOnTop,
                   state.MAAlwaysOnTop_enabled);
  const MenuEntry options[kOptionItemCount] = {
      MenuEntry::kMIOnStartSelectMike, MenuEntry::kMIOnStartSetMinVols, MenuEntry::kMIConfirmReset,
      MenuEntry::kMIAutoSavePrefs};
  for (std::size_t i = 0; i < kOptionItemCount; ++i) {
    SetMenuItemState(bar, IdOf(options[i]), state.options[i], true);
  }
  SetMenuItemState(bar, IdOf(MenuEntry::kMTLoadRec), false, state.MTLoadRec_enabled);
  SetMenuItemState(bar, IdOf(MenuEntry::kMTSaveRec), false, state.MTSaveRec_enabled);
  SetMenuItemState(bar, IdOf(MenuEntry::kMSExpertMode), expert_mode, true);
}

bool Win32MainMenu::Checked(MenuEntry entry) const {
  const HMENU bar = GetMenu(window_);
  return bar != nullptr &&
         (GetMenuState(bar, static_cast<UINT>(IdOf(entry)), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void Win32MainMenu::OpenMenu(MenuEntry entry) {
  // The menu's mnemonic through the system's menu loop, as the keyboard opens a menu.
  const std::string_view caption = MenuRowOf(entry).caption;
  const std::size_t mark = caption.find('&');
  if (mark == std::string_view::npos || mark + 1 >= caption.size()) return;
  const auto letter = static_cast<unsigned char>(caption[mark + 1]);
  PostMessageW(window_, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(std::tolower(letter)));
}

}  // namespace lorix
