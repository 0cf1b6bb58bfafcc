#pragma once

// A look at the test display from outside a program: top-level windows found by title, their
// place and size, a close request as the window manager sends it. Each object has its own
// connection, so it may live on another thread than the program's window.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

typedef struct _XDisplay Display;

namespace lorix::testing {

struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
  bool viewable = false;

  bool operator==(const WindowGeometry&) const = default;
};

class X11Windows {
 public:
  X11Windows();
  ~X11Windows();
  X11Windows(const X11Windows&) = delete;
  X11Windows& operator=(const X11Windows&) = delete;

  bool connected() const { return display_ != nullptr; }
  Display* display() const { return display_; }

  // Mapped top-level windows whose title is `title`, or starts with it when `prefix`.
  std::vector<unsigned long> Find(const std::string& title, bool prefix = false);
  // The same, waiting up to `wait` for at least one such window.
  std::vector<unsigned long> WaitFor(const std::string& title, bool prefix,
                                     std::chrono::milliseconds wait);
  std::string Title(unsigned long window);
  // The client area in root coordinates.
  WindowGeometry Geometry(unsigned long window);
  // The window manager's close request (WM_DELETE_WINDOW).
  void RequestClose(unsigned long window);

 private:
  Display* display_ = nullptr;
};

// Calls `pump` (which should take a few milliseconds) until `done` holds or `timeout` has
// passed; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
               const std::function<void()>& pump);

}  // namespace lorix::testing
