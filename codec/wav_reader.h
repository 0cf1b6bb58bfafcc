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

// Where the sound of a RIFF/WAVE image stands: its format and its data, cut to whole frames.
struct WavLayout {
  PcmFormat format;
  std::size_t data_offset = 0;
  std::size_t data_size = 0;
};

// The one reader of WAV files from anywhere (the playback, the recorder's loader, lorix-tool):
// walks the chunks (unknown ones such as "LIST" and "fact" and their pad bytes skipped), takes
// the first "fmt " (plain or extensible) and the first "data" chunk, and takes the data as far
// as the image goes. Every length is checked against the image before it is used. On success
// fills `layout` and returns kNone.
WavParseError LocateWav(ByteSpan image, WavLayout& layout);

// LocateWav, then the samples copied out.
WavParseError ParseWav(ByteSpan image, PcmSound& sound);

// The canonical image of a sound: the 44-byte header for its format and exactly `samples`
// behind it, which must be fewer than 2 GB minus the header.
Bytes CanonicalWavImage(const PcmFormat& format, ByteSpan samples);

}  // namespace lorix
