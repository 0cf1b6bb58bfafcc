#pragma once

// The player's main window built from the standard Windows controls: buttons, static texts,
// the file line as a read-only edit and two common-control track bars, laid out at their fixed
// client coordinates. The window procedure routes commands, keys, scrolling, dropped files and
// the 100 ms timer to PlayerApp and copies its screen onto the controls afterwards.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <string>
#include <vector>

#include "player/player_app.h"

namespace lorix {

class Win32PlayerWindow {
 public:
  // `app` must outlive the window. Creates the window at (0, 0), visible, in the compact view,
  // paints it and starts the timer.
  Win32PlayerWindow(HINSTANCE instance, PlayerApp& app);
  Win32PlayerWindow(const Win32PlayerWindow&) = delete;
  Win32PlayerWindow& operator=(const Win32PlayerWindow&) = delete;

  HWND handle() const { return window_; }

  // Copies the handlers' screen onto the controls.
  void Sync();
  // Shows the screen at once while a handler blocks the message loop (decoding).
  void Repaint();

 private:
  struct Control {
    HWND handle;
    PlayerControl control;
  };

  static LRESULT CALLBACK PlayerWndProc(HWND window, UINT message, WPARAM w, LPARAM l);
  void Route(UINT message, WPARAM w, LPARAM l);
  HWND Add(const wchar_t* window_class, const std::string& text, DWORD style, int x, int y, int w,
           int h);
  HWND AddControl(const wchar_t* window_class, const std::string& text, DWORD style, int x, int y,
                  int w, int h, PlayerControl control);
  void AddFrame(int x, int y, int w, int h);
  HICON Icon(PlayerIcon icon) const;
  PlayerControl ControlOf(HWND handle) const;
  void OnScroll(HWND bar, int code, int thumb_position);
  void OnDrop(HDROP drop);
  void SetText(HWND control, const std::string& text, std::string& shown);
  std::string FittedFileLine(const PlayerScreen& screen) const;

  HINSTANCE instance_;
  PlayerApp& app_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  std::vector<Control> controls_;
  HWND btn_play_ = nullptr, btn_pause_ = nullptr, btn_stop_ = nullptr, btn_wave_app_ = nullptr;
  HWND track_position_ = nullptr, track_volume_ = nullptr;
  HWND label_position_ = nullptr, label_internet_ = nullptr;
  HWND line_status_ = nullptr, line_file_ = nullptr;
  // What the controls show now, so that only changes are drawn again.
  std::string title_shown_, status_shown_, file_shown_, position_shown_;
  PlayerIcon pause_icon_shown_ = PlayerIcon::kPause;
  bool compact_shown_ = true;
  bool in_timer_ = false;
  ULONGLONG last_repaint_ = 0;
};

}  // namespace lorix
