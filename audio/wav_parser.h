#pragma once

#include <cstdint>

#include "codec/bytes.h"

namespace lorix {

// Why a file cannot be played. Each reason has its own code so that callers can tell the user.
enum class WavParseError {
  kNone = 0,
  kNotRiffWave,        // no "RIFF" ... "WAVE" at the start
  kMissingFormat,      // no complete "fmt " chunk
  kMissingData,        // no "data" chunk
  kUnsupportedFormat,  // not PCM, not 8/16 bits, not mono/stereo, or a rate outside 1..384000
};

inline constexpr std::uint32_t kMinPlaybackRate = 1;
inline constexpr std::uint32_t kMaxPlaybackRate = 384000;

struct PcmFormat {
  std::uint16_t channels = 0;         // 1 or 2
  std::uint32_t sample_rate = 0;      // frames per second
  std::uint16_t bits_per_sample = 0;  // 8 (unsigned) or 16 (signed, little-endian)

  std::uint32_t FrameBytes() const { return channels * (bits_per_sample / 8u); }
};

// A playable sound: its format and the samples, cut to whole frames.
struct PcmSound {
  PcmFormat format;
  Bytes samples;

  std::int64_t FrameCount() const {
    return format.FrameBytes() == 0
               ? 0
               : static_cast<std::int64_t>(samples.size() / format.FrameBytes());
  }
};

// Reads a RIFF/WAVE image the way a media player must take files from anywhere: walks the
// chunks (unknown ones and their pad bytes skipped), takes the first "fmt " and the first
// "data" chunk, and clamps the data to the bytes actually present. Every length is checked
// against the image before it is used. On success fills `sound` and returns kNone.
WavParseError ParseWav(ByteSpan image, PcmSound& sound);

}  // namespace lorix
