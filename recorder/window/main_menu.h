#pragma once

// The main window's menu bar: "&Datei", "&Einstellungen", "&Anzeige", "&Speziell" and "?",
// with the items' captions and keys. It only builds and paints the menus: the window connects
// the items, and UpdateMenus copies a MenuState, derived by MenuStateFrom, onto them.

#include <QObject>
#include <array>
#include <string_view>
#include <vector>

#include "recorder/recorder_controls.h"
#include "recorder/recorder_settings.h"
#include "recorder/window/window_blocks.h"
#include "recorder/workflow_state.h"

class QAction;
class QKeySequence;
class QMainWindow;
class QMenu;

namespace lorix {

// The four check-mark items of "&Einstellungen", each stored at once in section "Options".
enum class OptionItem { kOnStartSelectMike, kOnStartSetMinVols, kConfirmReset, kAutoSavePrefs };
inline constexpr std::size_t kOptionItemCount = 4;

// The key of the item in section "Options".
std::string_view OptionKey(OptionItem item);
// The setting the item shows.
bool& OptionValue(RecorderOptions& options, OptionItem item);

// Check marks and enabled states of the menu items that follow the window.
struct MenuState {
  std::array<bool, kBlockCount> blocks{};  // by Block
  bool MAFormLorixSK = false;
  bool MAAlwaysOnTop = false;
  bool MAAlwaysOnTop_enabled = true;
  std::array<bool, kOptionItemCount> options{};  // by OptionItem
  bool MTLoadRec_enabled = false;
  bool MTSaveRec_enabled = false;

  bool operator==(const MenuState&) const = default;
};

struct MenuInputs {
  std::array<bool, kBlockCount> blocks_visible{};
  bool sound_card_window_visible = false;
  bool always_on_top = false;
  // False where the window system keeps no window on top (Wayland).
  bool always_on_top_available = true;
};

// Blocks, recording form and always-on-top as they are; always-on-top neither ticked nor open
// where the window system cannot keep the window on top; import only into an empty buffer with
// the level display off; export whenever step 3 is open.
MenuState MenuStateFrom(const MenuInputs& window, const RecorderOptions& options,
                        const WorkflowState& state, const RecorderControls& controls);

class MainMenu : public QObject {
  Q_OBJECT

 public:
  // Builds the menu bar of `window`.
  explicit MainMenu(QMainWindow& window);

  void UpdateMenus(const MenuState& state);
  // Expert mode shows its two items (they stay once shown) and checks "E&xpertMode".
  void ShowExpertItems(bool on);

  QAction* BlockItem(Block block) const { return block_items_[static_cast<std::size_t>(block)]; }
  QAction* Option(OptionItem item) const { return option_items_[static_cast<std::size_t>(item)]; }
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
  std::array<QAction*, kBlockCount> block_items_{};
  std::array<QAction*, kOptionItemCount> option_items_{};
  std::vector<QAction*> keyed_items_;
};

}  // namespace lorix
