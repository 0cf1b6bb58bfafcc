#include "desktop/win32/ui/menu_table.h"

#include <vector>

#include "codec/win32/wide_text.h"

namespace lorix {
namespace {

std::string KeyName(unsigned virtual_key) {
  if ((virtual_key >= 'A' && virtual_key <= 'Z') || (virtual_key >= '0' && virtual_key <= '9')) {
    return std::string(1, static_cast<char>(virtual_key));
  }
  if (virtual_key >= VK_F1 && virtual_key <= VK_F24) {
    return "F" + std::to_string(virtual_key - VK_F1 + 1);
  }
  // Other keys by the name the keyboard layout gives them.
  wchar_t name[64] = {};
  const LONG scan_code = static_cast<LONG>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC)) << 16;
  return GetKeyNameTextW(scan_code, name, 64) > 0 ? Narrow(name) : std::string();
}

void AppendItems(HMENU menu, int parent, std::span<const MenuItemRow> rows) {
  for (const MenuItemRow& row : rows) {
    if (row.parent != parent) continue;
    std::string text = row.caption;
    const std::string key = AcceleratorKeyText(row.key);
    if (!key.empty()) text += "\t" + key;
    const std::wstring wide = Widen(text);
    if (row.separator_before) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    bool has_items = false;
    for (const MenuItemRow& other : rows) has_items = has_items || other.parent == row.id;
    if (has_items) {
      const HMENU submenu = CreatePopupMenu();
      AppendItems(submenu, row.id, rows);
      AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), wide.c_str());
    } else {
      AppendMenuW(menu, MF_STRING | (row.checkable ? MF_UNCHECKED : 0),
                  static_cast<UINT_PTR>(row.id), wide.c_str());
    }
  }
}

}  // namespace

HMENU CreateMenuBar(std::span<const MenuItemRow> rows) {
  const HMENU bar = CreateMenu();
  AppendItems(bar, 0, rows);
  return bar;
}

HACCEL CreateMenuAccelerators(std::span<const MenuItemRow> rows) {
  std::vector<ACCEL> keys;
  for (const MenuItemRow& row : rows) {
    if (!row.key.virtual_key) continue;
    BYTE flags = FVIRTKEY;
    if (row.key.ctrl) flags |= FCONTROL;
    if (row.key.alt) flags |= FALT;
    if (row.key.shift) flags |= FSHIFT;
    keys.push_back({flags, static_cast<WORD>(row.key.virtual_key), static_cast<WORD>(row.id)});
  }
  if (keys.empty()) return nullptr;
  return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

std::string AcceleratorKeyText(const AcceleratorKey& key) {
  if (!key.virtual_key) return {};
  std::string text;
  if (key.ctrl) text += "Strg+";
  if (key.alt) text += "Alt+";
  if (key.shift) text += "Umschalt+";
  return text + KeyName(key.virtual_key);
}

void SetMenuItemState(HMENU menu, int id, bool checked, bool enabled) {
  CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace lorix
