#include "recorder/recorder_menus.h"

#include "recorder/recording_workflow.h"

namespace lorix {

std::string_view OptionKey(OptionItem item) {
  switch (item) {
    case OptionItem::kOnStartSelectMike:
      return "OnStartSelectMike";
    case OptionItem::kOnStartSetMinVols:
      return "OnStartSetMinVols";
    case OptionItem::kConfirmReset:
      return "ConfirmReset";
    case OptionItem::kAutoSavePrefs:
      return "AutoSavePrefs";
  }
  return "AutoSavePrefs";
}

bool& OptionValue(RecorderOptions& options, OptionItem item) {
  switch (item) {
    case OptionItem::kOnStartSelectMike:
      return options.OnStartSelectMike;
    case OptionItem::kOnStartSetMinVols:
      return options.OnStartSetMinVols;
    case OptionItem::kConfirmReset:
      return options.ConfirmReset;
    case OptionItem::kAutoSavePrefs:
      return options.AutoSavePrefs;
  }
  return options.AutoSavePrefs;
}

MenuState MenuStateFrom(const MenuInputs& window, const RecorderOptions& options,
                        const WorkflowState& state, const RecorderControls& controls) {
  MenuState menu;
  menu.blocks = window.blocks_visible;
  menu.MAFormLorixSK = window.sound_card_window_visible;
  menu.MAAlwaysOnTop = window.always_on_top && window.always_on_top_available;
  menu.MAAlwaysOnTop_enabled = window.always_on_top_available;
  RecorderOptions values = options;
  for (std::size_t i = 0; i < kOptionItemCount; ++i) {
    menu.options[i] = OptionValue(values, static_cast<OptionItem>(i));
  }
  menu.MTLoadRec_enabled = MTLoadRecEnabled(state);
  menu.MTSaveRec_enabled = MTSaveRecEnabled(controls);
  return menu;
}

}  // namespace lorix
