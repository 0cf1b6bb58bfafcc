#pragma once

// The wave-input device of Windows (winmm's waveIn functions) as the recording engine's
// capture backend. The device reports every buffer it is done with by posting MM_WIM_DATA to a
// window: the sound-card form, or a WaveInWindow in a program that has none. That window's
// procedure passes the message to HandleMessage, which hands the buffer back to the engine on
// the user-interface thread. The result codes are winmm's own MMRESULT numbers, which the
// engine's codes were taken from.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/capture_backend.h"

namespace lorix {

class WaveInCaptureBackend : public CaptureBackend {
 public:
  // `window` receives the device's messages; it can also be given later, before Open.
  explicit WaveInCaptureBackend(HWND window = nullptr) : window_(window) {}
  ~WaveInCaptureBackend() override;
  WaveInCaptureBackend(const WaveInCaptureBackend&) = delete;
  WaveInCaptureBackend& operator=(const WaveInCaptureBackend&) = delete;

  void SetWindow(HWND window) { window_ = window; }
  HWND window() const { return window_; }

  // Wave-input devices the system has, and the name of one (empty for a number it lacks).
  static int DeviceCount();
  static std::string DeviceName(std::int32_t device_id);

  // A negative number (the wave mapper) is left to Open, which refuses it.
  int QueryFormat(std::int32_t device_id, const WaveFormat& format) override;
  int Open(std::int32_t device_id, const WaveFormat& format, CaptureBufferDone done) override;
  int Prepare(CaptureBuffer& buffer) override;
  int Unprepare(CaptureBuffer& buffer) override;
  int AddBuffer(CaptureBuffer& buffer) override;
  int Start() override;
  // The device posts a message for every queued buffer; they come back through HandleMessage
  // with 0 bytes recorded.
  int Reset() override;
  // Buffers still queued are taken back from the device without a callback, and the device's
  // messages still waiting in the window's queue are removed.
  int Close() override;

  // For the window procedure of the window given: true when `message` is the device's and was
  // handled (MM_WIM_DATA hands its buffer to the engine; open and close need nothing).
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  bool is_open() const { return device_ != nullptr; }

 private:
  // One engine buffer as the device sees it: a WAVEHDR whose data block is the buffer's own.
  struct Header {
    WAVEHDR wave_header{};
    CaptureBuffer* buffer = nullptr;
    bool queued = false;
    // Queued when the device was reset: it comes back empty.
    bool reset = false;
  };

  Header* Find(const CaptureBuffer& buffer);
  Header* Find(const WAVEHDR* wave_header);
  void Forget(const Header* header);
  // Removes the device's messages still waiting for the window (this thread's queue).
  void DropWaitingMessages();

  HWND window_ = nullptr;
  HWAVEIN device_ = nullptr;
  CaptureBufferDone done_;
  std::vector<std::unique_ptr<Header>> headers_;
};

}  // namespace lorix
