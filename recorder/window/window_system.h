#pragma once

// What the desktop's window system lets the recorder do with its windows. X11 (and Windows)
// report where a window is, keep a window above the others on request and let a program
// bring its window to the front. Wayland does none of that: a window's place is the
// compositor's secret, there is no request to stay on top, and only a launcher's activation
// token brings a window forward.

#include <QString>
#include <functional>

class QWidget;

namespace lorix {

struct WindowSystem {
  bool reports_window_position = true;
  bool keeps_window_on_top = true;
  // Brings the window to the front for a second start that carried `activation_token` (empty:
  // none); true when the window was activated or the window system was asked to.
  std::function<bool(QWidget* window, const QString& activation_token)> bring_to_front;
};

// The window system Qt runs the program on.
WindowSystem RunningWindowSystem();

}  // namespace lorix
