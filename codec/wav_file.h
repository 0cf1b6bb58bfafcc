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
  Bytes PcmStream;   // the canonical 44-byte header, then the samples as far as the file has them
  WavFormat format;  // read back from that header
  WavKind kind = WavKind::kPlayableOnly;
};

// Reads a WAV file's bytes with the chunk walk of LocateWav (other chunks, longer and extensible
// format blocks are understood, a data chunk cut off by the end of the file is taken as far as
// it goes) and makes the canonical image of them, whose header matches what was taken. Throws
// CodecError (German text naming `path`) for bytes that are not RIFF/WAVE, lack the format or
// the data, hold a format that cannot be played, or are 2 GB or more.
LoadedWav ReadWavImage(ByteSpan image, const std::filesystem::path& path);

// Reads the file and then as ReadWavImage.
LoadedWav LoadWavFile(const std::filesystem::path& path);

}  // namespace lorix
