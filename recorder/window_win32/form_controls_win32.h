#pragma once

// A form of the recorder made of Win32 controls from its control table: one loop creates every
// control of the rows (blocks as container windows that pass their controls' notifications on
// to the form; groups as what they are in the table, a visibility and an enabled state their
// controls share), one loop copies the program's state onto them, and the visible blocks are
// stacked as the table's gaps say.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "audio/level_meter.h"
#include "audio/recording_engine.h"
#include "audio/wave_playback.h"
#include "desktop/win32/ui/dpi_scale.h"
#include "desktop/win32/ui/tooltip.h"
#include "recorder/recorder_app.h"
#include "recorder/recorder_form_controls.h"

namespace lorix {

// The control IDs WM_COMMAND reports: the FormControl's number from here on.
inline constexpr int kFirstFormControlId = 1000;

// What a form's controls show; what a form lacks is null.
struct FormStateView {
  const RecorderControls* controls = nullptr;
  const RecorderWindowState* window = nullptr;
  const WavePlayback* playback = nullptr;
  const SoundCardTexts* card_texts = nullptr;
  const ErrorLog* error_log = nullptr;
  // Lines of the error log up to this number were cleared and are not shown.
  std::int32_t memo_cleared_through = 0;
  // Track bars whose thumb the user holds keep where the user has put them.
  std::optional<FormControl> held_track_bar;
};

class Win32FormControls {
 public:
  Win32FormControls() = default;
  Win32FormControls(const Win32FormControls&) = delete;
  Win32FormControls& operator=(const Win32FormControls&) = delete;
  ~Win32FormControls();

  // Creates the controls of `rows` in `form`; the row whose block is itself and whose kind is
  // kBlock at the client's origin with the form's size stands for the form itself.
  void Create(HWND form, HINSTANCE instance, std::span<const FormControlRow> rows);

  // The control of `id`; null for one this form does not have or that is no window (a group).
  HWND Handle(FormControl id) const;
  // The row a control's ID stands for; null for other IDs.
  const FormControlRow* RowOfId(int id) const;
  const FormControlRow* RowOfHandle(HWND control) const;

  // Copies the state onto every control, touching only what changed.
  void Sync(const FormStateView& state);

  // Stacks the visible blocks from the top and returns the client height they take at the
  // current DPI (the form's width stays).
  int LayoutBlocks(const std::array<bool, kBlockCount>& blocks_visible);

  // For the form's WM_CTLCOLORSTATIC: a brush for the controls with colours of their own
  // (title, step tips, green labels, wait panel); null for the others.
  HBRUSH ColorStatic(HWND control, HDC dc);
  // For the form's WM_DRAWITEM: the level meter.
  bool DrawItem(const DRAWITEMSTRUCT& item);

  const DpiScale& scale() const { return scale_; }

 private:
  struct Control {
    const FormControlRow* row = nullptr;
    HWND handle = nullptr;
    std::string text;  // the text last set
    std::string hint;
  };

  Control* Find(FormControl id);
  const Control* Find(FormControl id) const;
  HWND ParentOf(const FormControlRow& row) const;
  // Whether the control's groups (not its block) are shown and enabled.
  bool GroupsVisible(const FormControlRow& row, const FormStateView& state) const;
  bool GroupsEnabled(const FormControlRow& row, const FormStateView& state) const;
  bool OwnVisible(const FormControlRow& row, const FormStateView& state) const;
  bool OwnEnabled(const FormControlRow& row, const FormStateView& state) const;
  void SyncOne(Control& control, const FormStateView& state);
  void SyncMemo(Control& control, const FormStateView& state);
  void OrderTabStops();

  HWND form_ = nullptr;
  HINSTANCE instance_ = nullptr;
  DpiScale scale_{96};
  std::vector<Control> controls_;
  Tooltip tooltip_;
  HFONT font_ = nullptr;
  HFONT bold_font_ = nullptr;
  HFONT title_font_ = nullptr;
  HBRUSH title_brush_ = nullptr;
  HBRUSH tip_brush_ = nullptr;
  HBRUSH wait_brush_ = nullptr;
  TDbMeterNormal meter_ = MakeDbMeterRecordLevel();
  std::int32_t memo_shown_count_ = -1;
  std::int32_t memo_shown_cleared_ = -1;
};

}  // namespace lorix
