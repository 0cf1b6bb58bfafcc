#pragma once

// The check marks and enabled states of the main window's menu items, without a toolkit: the
// four check-mark options of "&Einstellungen" with their keys in the settings file, and the
// state UpdateMenus derives for the display menu and the import/export items.

#include <array>
#include <cstddef>
#include <string_view>

#include "recorder/recorder_controls.h"
#include "recorder/recorder_settings.h"
#include "recorder/window_blocks.h"
#include "recorder/workflow_state.h"

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

}  // namespace lorix
