#pragma once

// TFormLorixSK on Windows: the hidden window at whose handle the wave-input device posts its
// buffer-filled messages (they go to the WaveInCaptureBackend), and which shows the recording
// engine's counters, texts and error log, made from the recording form's control table, when
// expert mode shows it.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "audio/recording_engine.h"
#include "audio/win32/wave_in_capture_backend.h"
#include "desktop/win32/ui/window_base.h"
#include "recorder/window_win32/form_controls_win32.h"

namespace lorix {

class Win32SoundCardForm : public WindowBase {
 public:
  // Creates the hidden form, gives its handle to `backend` as the device's address and installs
  // itself in the engine's OnTextsChanged (calling on to what was there before).
  Win32SoundCardForm(HINSTANCE instance, HWND owner, WaveInCaptureBackend& backend,
                     RecordingEngine& engine);
  ~Win32SoundCardForm();

  // Copies the engine's texts, counters and error log onto the controls.
  void Refresh();

  bool visible() const;
  void SetVisible(bool visible);

 protected:
  bool HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  static LRESULT CALLBACK MemoProc(HWND memo, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                   DWORD_PTR self);
  // Double-click on the error memo: the memo is emptied; the line numbers keep counting.
  void MemoErrorsDblClick();

  WaveInCaptureBackend& backend_;
  RecordingEngine& engine_;
  std::function<void()> previous_texts_changed_;
  Win32FormControls form_;
  std::int32_t cleared_through_ = 0;
};

}  // namespace lorix
