#pragma once

// The player's main window: the controls of the player's control table at their client
// coordinates, every event routed to the handlers of PlayerApp through the shared window glue,
// and the handlers' screen copied onto the widgets after each event. The window keeps the
// keyboard focus for itself, so the keys reach the handlers whatever was clicked last.

#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>

#include <string>
#include <vector>

#include "player/player_app.h"
#include "player/player_controls.h"
#include "player/player_window_glue.h"
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

  // The widget of a control of the table (null for kKeyboard).
  Fl_Widget* control(PlayerControl which) const;
  const TextLine& status_line() const { return TextOf(PlayerControl::kLineStatus); }
  const TextLine& file_line() const { return TextOf(PlayerControl::kLineFile); }
  const TextLine& position_label() const { return TextOf(PlayerControl::kLabelPosition); }

 private:
  struct Control {
    Fl_Widget* widget;
    const PlayerControlRow* row;
  };

  static void ButtonCallback(Fl_Widget* widget, void* window);
  static void CloseCallback(Fl_Widget* widget, void* window);
  static void TimerCallback(void* window);
  static void DropCallback(void* window);

  Fl_Widget* Create(const PlayerControlRow& row);
  void SyncControl(const Control& control, const PlayerScreen& screen);
  const TextLine& TextOf(PlayerControl which) const;
  void OnButton(Fl_Widget* widget);
  void OnKey(int event);
  void OnDrop(const char* text, int length);
  // After every command, key, scroll or drop: the window takes the focus back, then shows the
  // screen.
  void AfterEvent();

  PlayerApp& app_;
  PlayerWindowGlue glue_;
  std::string title_;
  std::vector<Control> controls_;           // in the table's order
  std::vector<std::string> dropped_files_;  // waiting to be loaded after the drop
  bool timer_running_ = false;
};

}  // namespace lorix
