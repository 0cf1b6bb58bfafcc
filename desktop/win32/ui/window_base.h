#pragma once

// The base of every top-level window of the Windows programs. One window procedure finds the
// object from the pointer stored when the window is created and hands it each message; the
// object answers with its own result (WM_CLOSE refused, a brush for WM_CTLCOLOR*) or leaves the
// message to DefWindowProc. Plain virtual dispatch, no run-time type information.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <string>

namespace lorix {

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  // Null until the window is created and again once it is destroyed.
  HWND handle() const { return handle_; }

 protected:
  WindowBase() = default;
  ~WindowBase() = default;

  // Registers `window_class` with the shared window procedure (its lpfnWndProc is replaced).
  static void RegisterWindowClass(WNDCLASSW window_class);

  // Creates the window of a class registered above; `title` is UTF-8. The handler sees the
  // window's first messages already (from WM_NCCREATE on).
  HWND CreateOwnWindow(DWORD ex_style, const wchar_t* class_name, const std::string& title,
                       DWORD style, int x, int y, int width, int height, HWND owner,
                       HINSTANCE instance);

  // One message for this window: true when the handler set `result` itself, false to leave the
  // message to DefWindowProc.
  virtual bool HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) = 0;

  // DefWindowProc for this window, for handlers that need the default result first.
  LRESULT DefaultResult(UINT message, WPARAM w, LPARAM l) const {
    return DefWindowProcW(handle_, message, w, l);
  }

 private:
  static LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM w, LPARAM l);

  HWND handle_ = nullptr;
};

}  // namespace lorix
