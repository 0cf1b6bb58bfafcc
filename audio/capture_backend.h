#pragma once

// The wave-input device as the recording engine sees it: query a format, open a device, queue
// buffers, start, reset, close. Results are the device's numeric codes (0 = success, 1..20 the
// open errors the sound-card window names, 32.. the wave-input errors), so that the engine
// reports every backend the same way.

#include <array>
#include <cstdint>
#include <functional>

namespace lorix {

// Result codes of the wave-input device.
inline constexpr int kWaveNoError = 0;
inline constexpr int kWaveUnspecifiedError = 1;
inline constexpr int kWaveBadDeviceId = 2;
inline constexpr int kWaveAllocated = 4;
inline constexpr int kWaveInvalidHandle = 5;
inline constexpr int kWaveNoDriver = 6;
inline constexpr int kWaveNoMemory = 7;
inline constexpr int kWaveInvalidParameter = 11;
inline constexpr int kWaveBadFormat = 32;
inline constexpr int kWaveStillPlaying = 33;
inline constexpr int kWaveUnprepared = 34;

// The PCM format record of an 8-bit mono recording.
struct WaveFormat {
  std::uint16_t format_tag = 1;  // PCM
  std::uint16_t channels = 1;
  std::int32_t samples_per_sec = 11025;
  std::int32_t avg_bytes_per_sec = 11025;  // rate x 1 channel x 1 byte
  std::uint16_t block_align = 1;
  std::uint16_t bits_per_sample = 8;

  static WaveFormat Mono8(std::int32_t sample_rate) {
    WaveFormat format;
    format.samples_per_sec = sample_rate;
    format.avg_bytes_per_sec = sample_rate;
    return format;
  }

  // The only format the backends capture.
  bool IsMono8() const {
    return format_tag == 1 && channels == 1 && bits_per_sample == 8 && block_align == 1 &&
           samples_per_sec > 0 && avg_bytes_per_sec == samples_per_sec;
  }
};

inline constexpr std::uint32_t kCaptureBufferBytes = 1000;

// One buffer header with its data block: 1001 bytes allocated, `buffer_length` announced.
// While a buffer is queued the device owns it and writes `data` and `bytes_recorded`; the
// owner touches it again only after the device has handed it back.
struct CaptureBuffer {
  std::array<std::uint8_t, kCaptureBufferBytes + 1> data{};
  std::uint32_t buffer_length = kCaptureBufferBytes;
  std::uint32_t bytes_recorded = 0;
  bool prepared = false;
  bool queued = false;
};

// Called once for each buffer the device is done with, on the device's own thread. The
// receiver must not block; it hands the buffer on to the user-interface thread.
using CaptureBufferDone = std::function<void(CaptureBuffer*)>;

// One wave-input device: at most one open at a time per backend object. Every call except the
// completion callback comes from the user-interface thread.
class CaptureBackend {
 public:
  virtual ~CaptureBackend() = default;

  // 0 if device `device_id` records `format`, otherwise a non-zero code. Opens nothing.
  virtual int QueryFormat(std::int32_t device_id, const WaveFormat& format) = 0;
  // Opens the device. Buffers that are done are reported through `done`.
  virtual int Open(std::int32_t device_id, const WaveFormat& format, CaptureBufferDone done) = 0;
  virtual int Prepare(CaptureBuffer& buffer) {
    if (buffer.buffer_length == 0 || buffer.buffer_length > buffer.data.size()) {
      return kWaveInvalidParameter;
    }
    buffer.prepared = true;
    return kWaveNoError;
  }
  virtual int Unprepare(CaptureBuffer& buffer) {
    if (buffer.queued) return kWaveStillPlaying;
    buffer.prepared = false;
    return kWaveNoError;
  }
  // Queues a prepared buffer; buffers are filled in the order they were added.
  virtual int AddBuffer(CaptureBuffer& buffer) = 0;
  virtual int Start() = 0;
  // Stops capturing and hands back every queued buffer as done, with 0 bytes recorded.
  virtual int Reset() = 0;
  // Closes the device. A buffer still queued is dropped without a callback; its owner keeps it.
  virtual int Close() = 0;
};

}  // namespace lorix
