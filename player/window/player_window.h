#pragma once

// The player's main window: the controls laid out at their fixed client coordinates, every
// event routed to the handlers of PlayerApp, and the handlers' screen copied onto the widgets
// after each event. The window keeps the keyboard focus for itself, so the keys reach the
// handlers whatever was clicked last.

#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "player/player_app.h"
#include "player/window/player_widgets.h"
#include "player/window/track_bar.h"

namespace lorix {

class PlayerWindow : public Fl_Double_Window {
 public:
  // `app` must outlive the window. The window starts at (0, 0) in the compact view.
  explicit PlayerWindow(PlayerApp& app);
  ~PlayerWindow() override;
  PlayerWindow(const PlayerWindow&) = delete;
  PlayerWindow& operator=(const PlayerWindow&) = delete;

  // Shows the window at (0, 0) and waits until it is painted.
  void Show();

  // Copies the handlers' screen onto the widgets: texts, bar positions, enabled buttons, the
  // pause icon, the title and the view's size.
  void Sync();
  // Shows the screen at once without handling events, while a handler blocks (decoding).
  void Repaint();

  // The 100 ms timer of the handlers.
  void StartTimer();
  void StopTimer();

  int handle(int event) override;

  // The widget behind a button, a track bar or the file line (null for kKeyboard).
  Fl_Widget* control(PlayerControl which) const;
  const TextLine& status_line() const { return *line_status_; }
  const TextLine& file_line() const { return *line_file_; }
  const TextLine& position_label() const { return *label_position_; }

 private:
  static void ButtonCallback(Fl_Widget* widget, void* window);
  static void CloseCallback(Fl_Widget* widget, void* window);
  static void TimerCallback(void* window);
  static void DropCallback(void* window);

  PlayerButton* AddButton(int x, int y, int w, int h, const std::string& caption,
                          PlayerControl control);
  TrackBar* AddTrackBar(int x, int y, int w, int h, TrackBar::Orientation orientation,
                        PlayerControl control);
  TextLine* AddLine(int x, int y, int w, int h, Fl_Align align, const std::string& text);
  void OnButton(Fl_Widget* widget);
  void OnScroll(PlayerControl bar, int code, int value);
  void OnKey(int event);
  void OnDrop(const char* text, int length);
  // After every command, key, scroll or drop: the window takes the focus back, then shows the
  // screen.
  void AfterEvent();

  PlayerApp& app_;
  std::string title_;
  std::vector<std::pair<Fl_Widget*, PlayerControl>> controls_;
  PlayerButton* btn_play_ = nullptr;
  PlayerButton* btn_pause_ = nullptr;
  PlayerButton* btn_stop_ = nullptr;
  PlayerButton* btn_wave_app_ = nullptr;
  TrackBar* track_position_ = nullptr;
  TrackBar* track_volume_ = nullptr;
  TextLine* label_position_ = nullptr;
  TextLine* line_status_ = nullptr;
  TextLine* line_file_ = nullptr;
  std::vector<std::string> dropped_files_;  // waiting to be loaded after the drop
  bool timer_running_ = false;
  std::chrono::steady_clock::time_point last_repaint_;  // when decoding was last shown
  bool in_timer_ = false;
};

}  // namespace lorix
