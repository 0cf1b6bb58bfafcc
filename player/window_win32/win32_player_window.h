#pragma once

// The player's main window built from the standard Windows controls: buttons, static texts,
// the file line as a read-only edit and two common-control track bars, created from the
// player's control table on the shared Win32 layer. Its message handler routes commands, keys,
// scrolling, dropped files and the 100 ms timer to PlayerApp through the shared window glue and
// copies its screen onto the controls afterwards.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <string>
#include <vector>

#include "desktop/win32/ui/dpi_scale.h"
#include "desktop/win32/ui/window_base.h"
#include "player/player_app.h"
#include "player/player_controls.h"
#include "player/player_window_glue.h"

namespace lorix {

class Win32PlayerWindow : public WindowBase {
 public:
  // `app` must outlive the window. Creates the window at (0, 0), visible, in the compact view,
  // paints it and starts the timer.
  Win32PlayerWindow(HINSTANCE instance, PlayerApp& app);

  // Copies the handlers' screen onto the controls.
  void Sync();
  // Shows the screen at once while a handler blocks the message loop (decoding).
  void Repaint();

 private:
  struct Control {
    HWND handle;
    const PlayerControlRow* row;
    // What the control shows now, so that only changes are drawn again.
    std::string text_shown;
    PlayerIcon icon_shown;
  };

  bool HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;
  void Route(UINT message, WPARAM w, LPARAM l);
  HWND Create(const PlayerControlRow& row);
  HICON Icon(PlayerIcon icon) const;
  // The control of a child window; null for any other window.
  const Control* ControlOf(HWND handle) const;
  void SyncControl(Control& control, const PlayerScreen& screen);
  void OnScroll(HWND bar, int code, int thumb_position);
  void OnDrop(HDROP drop);
  std::string FittedFileLine(HWND line, const PlayerScreen& screen) const;

  HINSTANCE instance_;
  PlayerApp& app_;
  PlayerWindowGlue glue_;
  DpiScale scale_;
  HFONT font_ = nullptr;
  std::vector<Control> controls_;  // in the table's order
  std::string title_shown_;
  bool compact_shown_ = true;
};

}  // namespace lorix
