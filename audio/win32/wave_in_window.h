#pragma once

// A message-only window for a program that has no sound-card form: it receives the wave-input
// device's messages for a WaveInCaptureBackend, and runs work posted to the user-interface
// thread (the recording engine's PostToUiThread) in the message loop of the thread that made it.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include "audio/ui_thread.h"
#include "audio/win32/ui_thread_mailbox.h"
#include "audio/win32/wave_in_capture_backend.h"

namespace lorix {

class WaveInWindow {
 public:
  // Makes the window and gives it to `backend` as the address of the device's messages.
  // `backend` must outlive the window.
  explicit WaveInWindow(WaveInCaptureBackend& backend);
  // Work posted and not yet run is dropped.
  ~WaveInWindow();
  WaveInWindow(const WaveInWindow&) = delete;
  WaveInWindow& operator=(const WaveInWindow&) = delete;

  HWND handle() const { return window_; }

  // Posts from any thread; the work runs when the making thread dispatches the message.
  PostToUiThread Poster() { return mailbox_.Poster(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);

  WaveInCaptureBackend& backend_;
  UiThreadMailbox mailbox_;
  HWND window_ = nullptr;
};

}  // namespace lorix
