// Fuzzes the playback service's WAV parser, which takes files from anywhere: dropped on the
// player, named on its command line, or unpacked from a stranger's attachment.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "codec/bytes.h"
#include "codec/wav_reader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lorix::PcmSound sound;
  const lorix::WavParseError error = lorix::ParseWav(lorix::ByteSpan(data, size), sound);
  if (error != lorix::WavParseError::kNone) {
    LORIX_FUZZ_CHECK(sound.samples.empty());
    return 0;
  }
  // A playable format, and whole frames taken from the bytes present behind the RIFF, WAVE and
  // chunk headers.
  const lorix::PcmFormat& format = sound.format;
  LORIX_FUZZ_CHECK(format.channels == 1 || format.channels == 2);
  LORIX_FUZZ_CHECK(format.bits_per_sample == 8 || format.bits_per_sample == 16);
  LORIX_FUZZ_CHECK(format.sample_rate >= lorix::kMinPlaybackRate &&
                   format.sample_rate <= lorix::kMaxPlaybackRate);
  LORIX_FUZZ_CHECK(sound.samples.size() % format.FrameBytes() == 0);
  LORIX_FUZZ_CHECK(sound.samples.size() + 12 + 8 <= size);
  LORIX_FUZZ_CHECK(static_cast<std::size_t>(sound.FrameCount()) * format.FrameBytes() ==
                   sound.samples.size());
  const std::uint8_t* end = data + size;
  LORIX_FUZZ_CHECK(std::search(data + 20, end,
                               std::boyer_moore_horspool_searcher(sound.samples.begin(),
                                                                  sound.samples.end())) != end ||
                   sound.samples.empty());
  return 0;
}
