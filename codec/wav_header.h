#pragma once

#include <array>
#include <cstdint>

#include "codec/bytes.h"

namespace lorix {

inline constexpr int kWavHeaderSize = 44;
inline constexpr std::int32_t kDefaultSampleRate = 11025;
inline constexpr std::uint8_t kSilence = 128;

// The canonical 44-byte RIFF/WAVE header, the only layout the programs write.
using WavHeader = std::array<std::uint8_t, kWavHeaderSize>;

WavHeader BuildWavHeader(std::int32_t data_size, std::uint16_t channels, std::uint16_t block_align,
                         std::uint16_t bits_per_sample, std::int32_t sample_rate,
                         std::int32_t byte_rate);

// The header every caller writes: 8-bit mono at `sample_rate`.
WavHeader BuildMonoWavHeader(std::int32_t sample_count, std::int32_t sample_rate);

// The fields read back from a canonical image at the fixed offsets of its header. Only images
// the programs made themselves are read this way; WAV files are read with LocateWav
// (codec/wav_reader.h) and turned into such an image first.
struct WavFormat {
  WavHeader header{};
  std::uint16_t channels = 0;         // offset 22
  std::int32_t sample_rate = 0;       // offset 24
  std::uint16_t bits_per_sample = 0;  // offset 34
  std::int32_t sample_count = 0;      // offset 40, the data size
};

// `image` must hold at least 44 bytes.
WavFormat ReadWavHeader(ByteSpan image);

// Empties `pcm_stream` and writes a header for zero samples at `sample_rate`, so that samples
// can be appended. `reserve_bytes` is the memory prepared for a recording.
void ResetPcmStream(Bytes& pcm_stream, std::int32_t sample_rate, std::size_t reserve_bytes = 0);

// Writes the final header for the samples behind it and returns their number.
std::int32_t FinishPcmStream(Bytes& pcm_stream, std::int32_t sample_rate);

}  // namespace lorix
