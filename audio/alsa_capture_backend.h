#pragma once

// The wave-input device on ALSA. Device number 0 is ALSA's "default" PCM (on a desktop the
// sound server's default source); device N > 0 is "plughw:N-1", the (N-1)-th card through the
// plug layer, which converts the card's native format to 8-bit mono at the requested rate.
//
// Capture runs on a thread of its own that fills the queued buffers in order with
// snd_pcm_readi and reports each full one through the completion callback. After Open, only
// that thread calls into the PCM; the other calls pass it their requests under a lock and wake
// it through an event descriptor, so nothing busy-waits and the user-interface thread never
// blocks on the device.

#include <alsa/asoundlib.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "audio/capture_backend.h"

namespace lorix {

class AlsaCaptureBackend : public CaptureBackend {
 public:
  AlsaCaptureBackend() = default;
  ~AlsaCaptureBackend() override;
  AlsaCaptureBackend(const AlsaCaptureBackend&) = delete;
  AlsaCaptureBackend& operator=(const AlsaCaptureBackend&) = delete;

  // "default" for 0, "plughw:N-1" for N > 0.
  static std::string DeviceName(std::int32_t device_id);
  // The device's open-error code for an ALSA error number: busy 4, no such device 2 (for a card
  // number) or 6 (for the default device), no memory 7, invalid argument 11, else 1.
  static int OpenErrorCode(int alsa_error, std::int32_t device_id);

  // Refuses only a format the device cannot record. A device that cannot be opened at all is
  // left to Open, which reports why.
  int QueryFormat(std::int32_t device_id, const WaveFormat& format) override;
  int Open(std::int32_t device_id, const WaveFormat& format, CaptureBufferDone done) override;
  int AddBuffer(CaptureBuffer& buffer) override;
  int Start() override;
  // Returns once the capture thread has stopped the PCM (snd_pcm_drop) and reported every
  // queued buffer back.
  int Reset() override;
  int Close() override;

  // Overruns since the device was opened: the device had more than its buffer could hold, and
  // samples were lost.
  int overruns() const { return overruns_.load(); }

 private:
  void Run();
  // Blocks until the wake descriptor or, with `with_pcm`, the PCM has something.
  void Wait(bool with_pcm);
  void Wake();
  // Prepares and starts the PCM; false when the device refuses.
  bool StartPcm();

  snd_pcm_t* pcm_ = nullptr;
  int wake_fd_ = -1;
  bool open_ = false;
  CaptureBufferDone done_;
  std::thread thread_;
  std::atomic<int> overruns_{0};

  std::mutex mutex_;
  std::condition_variable reset_done_;
  // Guarded by mutex_:
  std::deque<CaptureBuffer*> queue_;
  bool started_ = false;
  bool quit_ = false;
  std::uint64_t resets_requested_ = 0;
  std::uint64_t resets_done_ = 0;
};

}  // namespace lorix
