#pragma once

// A wave-input device without a clock: it "records" from a byte vector and fills its queued
// buffers only when told to, and each of its calls can be made to fail with a given code.
// It checks the rules a real device would enforce, so that misuse shows in the counters.

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "audio/capture_backend.h"

namespace lorix {

class ScriptedCaptureBackend : public CaptureBackend {
 public:
  // Samples to deliver in order; once they run out, buffers are filled with silence (128).
  explicit ScriptedCaptureBackend(std::vector<std::uint8_t> samples = {});

  int QueryFormat(std::int32_t device_id, const WaveFormat& format) override;
  int Open(std::int32_t device_id, const WaveFormat& format, CaptureBufferDone done) override;
  int Prepare(CaptureBuffer& buffer) override;
  int Unprepare(CaptureBuffer& buffer) override;
  int AddBuffer(CaptureBuffer& buffer) override;
  int Start() override;
  int Reset() override;
  int Close() override;

  // Fills up to `count` queued buffers from the samples and reports each as done, on the
  // calling thread. Nothing happens unless the device is open and started. Returns how many
  // buffers were delivered.
  int Deliver(int count);
  // The same from a thread of its own, as a real device does; returns after that thread ended.
  int DeliverFromThread(int count);

  // Scripted results: a non-zero code makes the call fail with it.
  int query_result = kWaveNoError;
  int open_result = kWaveNoError;
  int start_result = kWaveNoError;
  // Fail the n-th call (counted from 1 over the backend's life) of prepare, unprepare or add.
  struct FailAt {
    int call = 0;
    int code = kWaveNoError;
  };
  std::optional<FailAt> prepare_failure;
  std::optional<FailAt> unprepare_failure;
  std::optional<FailAt> add_failure;

  // What happened.
  bool is_open() const { return open_; }
  bool started() const { return started_; }
  std::size_t queued() const { return queue_.size(); }
  int query_calls = 0;
  int open_calls = 0;
  int close_calls = 0;
  int reset_calls = 0;
  int prepare_calls = 0;
  int unprepare_calls = 0;
  int add_calls = 0;
  // Opens attempted while a device was still open, and closes with buffers still queued.
  int opens_while_open = 0;
  int closes_with_queued_buffers = 0;
  std::int32_t last_device_id = -1;
  std::optional<WaveFormat> last_format;

 private:
  static int Scripted(std::optional<FailAt>& failure, int call);

  std::vector<std::uint8_t> samples_;
  std::size_t next_sample_ = 0;
  CaptureBufferDone done_;
  std::deque<CaptureBuffer*> queue_;
  bool open_ = false;
  bool started_ = false;
};

}  // namespace lorix
