#pragma once

#include <filesystem>

#include "codec/bytes.h"
#include "codec/wav_header.h"

namespace lorix {

// How a loaded WAV file may be used.
enum class WavKind {
  kPlayableOnly = 1,  // any other format: it can only be played
  kPcm8Mono = 2,      // 8-bit mono: it can be compressed (at the recording rate)
};

struct LoadedWav {
  Bytes PcmStream;  // header + exactly the declared data, anything behind it cut off
  WavFormat format;
  WavKind kind = WavKind::kPlayableOnly;
};

// Loads a WAV file at the fixed offsets of the canonical header. Throws CodecError (German
// text) for a file that cannot be read, is shorter than 44 bytes, or declares a negative data
// size or more data than it holds.
LoadedWav LoadWavFile(const std::filesystem::path& path);

// True when the name ends in ".wav" (any case) or the bytes start like a RIFF/WAVE file.
bool LooksLikeWav(const std::filesystem::path& path, ByteSpan first_bytes);

}  // namespace lorix
