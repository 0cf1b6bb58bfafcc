#pragma once

// Work handed to the user-interface thread from anywhere (the recording engine, the journal's
// writer): each piece is posted as a message to a window of that thread (the recorder's main
// window, a WaveInWindow), whose procedure runs it in the message loop. Work posted before the
// window exists or after it is gone is dropped, as a closed window would drop the message.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <atomic>

#include "audio/ui_thread.h"

namespace lorix {

class UiThreadMailbox {
 public:
  // The message that carries a piece of work in its long parameter.
  static constexpr UINT kRunPosted = WM_APP + 0x42;

  UiThreadMailbox() = default;
  UiThreadMailbox(const UiThreadMailbox&) = delete;
  UiThreadMailbox& operator=(const UiThreadMailbox&) = delete;

  // The window whose procedure calls Run; null stops the delivery and drops what waits.
  void SetWindow(HWND window);

  // Posts from any thread; the mailbox must outlive every poster.
  PostToUiThread Poster();

  // For the window procedure: runs the work a kRunPosted message carries.
  static void Run(LPARAM work);

 private:
  void DropWaiting(HWND window);

  std::atomic<HWND> window_{nullptr};
};

}  // namespace lorix
