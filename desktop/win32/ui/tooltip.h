#pragma once

// The one tooltip control of a window: every control with a hint is a tool of it, and a hint
// that changes with the program's state is set again only when it differs.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <string>
#include <vector>

namespace lorix {

class Tooltip {
 public:
  Tooltip() = default;
  Tooltip(const Tooltip&) = delete;
  Tooltip& operator=(const Tooltip&) = delete;
  ~Tooltip();

  // Creates the tooltip window for the controls of `owner`.
  void Create(HWND owner, HINSTANCE instance);
  // How long the pointer rests before a hint shows, and how long it stays.
  void SetTiming(int initial_ms, int visible_ms);
  // Shows `hint` (UTF-8) over `control`; an empty hint shows nothing.
  void SetHint(HWND control, const std::string& hint);

 private:
  struct Tool {
    HWND control;
    std::string hint;
  };

  HWND tooltip_ = nullptr;
  HWND owner_ = nullptr;
  std::vector<Tool> tools_;
};

}  // namespace lorix
