#pragma once

// The main window's menu bar: "&Datei", "&Einstellungen", "&Anzeige", "&Speziell" and "?",
// with the items' captions and keys. It only builds and paints the menus: the window connects
// the items, and UpdateMenus copies a MenuState, derived by MenuStateFrom, onto them.

#include <QObject>
#include <array>
#include <vector>

#include "recorder/recorder_menu_table.h"
#include "recorder/recorder_menus.h"

class QAction;
class QKeySequence;
class QMainWindow;
class QMenu;

namespace lorix {

class MainMenu : public QObject {
  Q_OBJECT

 public:
  // Builds the menu bar of `window`.
  explicit MainMenu(QMainWindow& window);

  void UpdateMenus(const MenuState& state);
  // The two items of expert mode (they stay once shown) and the check mark of "E&xpertMode".
  void ShowExpertItems(bool visible, bool checked);

  // The item of a table row; null for the rows without one.
  QAction* Item(MenuEntry id) const { return items_[static_cast<std::size_t>(id)]; }
  // The visible, enabled item whose key is `keys`, if any (Ctrl+O included).
  QAction* ItemForKeys(const QKeySequence& keys) const;

  QMenu* MDatei;
  QMenu* MEinstellungen;
  QMenu* MAnzeige;
  QMenu* MSpeziell;
  QMenu* MFragezeichen;

  QAction* MDBeenden;
  QAction* MIOnStartSelectMike;
  QAction* MIOnStartSetMinVols;
  QAction* MIConfirmReset;
  QAction* MIAutoSavePrefs;
  QAction* MAPanelRecord;
  QAction* MAPanelPlay;
  QAction* MAPanelOptionsCompress;
  QAction* MAPanelPlayStatus;
  QAction* MAPanelSpecials;
  QAction* MAFormLorixSK;
  QAction* MAAlwaysOnTop;
  QAction* MTLoadRec;
  QAction* MTSaveRec;
  QAction* MSShowWinMixerRecord;
  QAction* MSShowWinMixerPlay;
  QAction* MSShowExplorer;
  QAction* MSExpertMode;
  QAction* MIHilfe;
  QAction* MIInfo;
  // Ctrl+O opens "&Einstellungen".
  QAction* OpenEinstellungen;

 signals:
  // One of the top menus opens.
  void MAnzeigeClick();

 private:
  std::array<QAction*, static_cast<std::size_t>(MenuEntry::kCount)> items_{};
  std::array<QAction*, kBlockCount> block_items_{};
  std::array<QAction*, kOptionItemCount> option_items_{};
  std::vector<QAction*> keyed_items_;
};

}  // namespace lorix
