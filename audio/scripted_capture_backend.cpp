#include "audio/scripted_capture_backend.h"

#include <thread>
#include <utility>

namespace lorix {

ScriptedCaptureBackend::ScriptedCaptureBackend(std::vector<std::uint8_t> samples)
    : samples_(std::move(samples)) {}

int ScriptedCaptureBackend::Scripted(std::optional<FailAt>& failure, int call) {
  if (failure && failure->call == call) return failure->code;
  return kWaveNoError;
}

int ScriptedCaptureBackend::QueryFormat(std::int32_t device_id, const WaveFormat& format) {
  ++query_calls;
  last_device_id = device_id;
  last_format = format;
  if (query_result != kWaveNoError) return query_result;
  return format.IsMono8() ? kWaveNoError : kWaveBadFormat;
}

int ScriptedCaptureBackend::Open(std::int32_t device_id, const WaveFormat& format,
                                 CaptureBufferDone done) {
  ++open_calls;
  last_device_id = device_id;
  last_format = format;
  if (open_) {
    ++opens_while_open;
    return kWaveAllocated;
  }
  if (open_result != kWaveNoError) return open_result;
  done_ = std::move(done);
  open_ = true;
  started_ = false;
  return kWaveNoError;
}

int ScriptedCaptureBackend::Prepare(CaptureBuffer& buffer) {
  if (const int code = Scripted(prepare_failure, ++prepare_calls)) return code;
  return CaptureBackend::Prepare(buffer);
}

int ScriptedCaptureBackend::Unprepare(CaptureBuffer& buffer) {
  if (const int code = Scripted(unprepare_failure, ++unprepare_calls)) return code;
  return CaptureBackend::Unprepare(buffer);
}

int ScriptedCaptureBackend::AddBuffer(CaptureBuffer& buffer) {
  if (const int code = Scripted(add_failure, ++add_calls)) return code;
  if (!open_) return kWaveInvalidHandle;
  if (!buffer.prepared) return kWaveUnprepared;
  buffer.queued = true;
  buffer.bytes_recorded = 0;
  queue_.push_back(&buffer);
  return kWaveNoError;
}

int ScriptedCaptureBackend::Start() {
  if (start_result != kWaveNoError) return start_result;
  if (!open_) return kWaveInvalidHandle;
  started_ = true;
  return kWaveNoError;
}

int ScriptedCaptureBackend::Reset() {
  ++reset_calls;
  if (!open_) return kWaveInvalidHandle;
  started_ = false;
  std::deque<CaptureBuffer*> returned;
  returned.swap(queue_);
  for (CaptureBuffer* buffer : returned) {
    buffer->bytes_recorded = 0;
    buffer->queued = false;
    done_(buffer);
  }
  return kWaveNoError;
}

int ScriptedCaptureBackend::Close() {
  ++close_calls;
  if (!open_) return kWaveInvalidHandle;
  if (!queue_.empty()) ++closes_with_queued_buffers;
  for (CaptureBuffer* buffer : queue_) buffer->queued = false;
  queue_.clear();
  open_ = false;
  started_ = false;
  done_ = nullptr;
  return kWaveNoError;
}

int ScriptedCaptureBackend::Deliver(int count) {
  int delivered = 0;
  while (open_ && started_ && delivered < count && !queue_.empty()) {
    CaptureBuffer* buffer = queue_.front();
    queue_.pop_front();
    for (std::uint32_t i = 0; i < buffer->buffer_length; ++i) {
      buffer->data[i] = next_sample_ < samples_.size() ? samples_[next_sample_++] : 128;
    }
    buffer->bytes_recorded = buffer->buffer_length;
    buffer->queued = false;
    done_(buffer);
    ++delivered;
  }
  return delivered;
}

int ScriptedCaptureBackend::DeliverFromThread(int count) {
  int delivered = 0;
  std::thread device([this, count, &delivered] { delivered = Deliver(count); });
  device.join();
  return delivered;
}

}  // namespace lorix
