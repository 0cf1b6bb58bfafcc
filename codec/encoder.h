#pragma once

#include <cstdint>
#include <string_view>

#include "codec/bytes.h"
#include "codec/codec_tables.h"

namespace lorix {

inline constexpr int kMaxCompressLevel = 8;
inline constexpr int kMaxMuteLevel = 8;
inline constexpr std::int32_t QuietRunLimit = 3000;

// The two track-bar settings that shape the compression.
struct CodecSettings {
  // How many equal codes in a row may stand inside a rising or falling run.
  std::int32_t CompressLevel = 0;
  // Codes strictly between MuteLow and MuteHigh are quiet. Both 8 means: no quiet code.
  std::uint8_t MuteLow = 8;
  std::uint8_t MuteHigh = 8;

  static CodecSettings FromLevels(int compress_level, int mute_level);
};

// The label value for a mute level: the quiet band's upper level as a share of the half range.
int MutePercent(const CodecTables& tables, int mute_level);

// Appends one token in its shortest form and sets `skip` to 0.
void EmitToken(Bytes& compressed_stream, std::uint8_t code, std::int32_t& skip);

struct CompressResult {
  Bytes CompressedStream;          // payload tokens followed by the 44-byte header
  std::int32_t CurrentSampleRate;  // taken from the PCM header
};

// Encodes the first `sample_count` samples behind the 44-byte WAV header of `pcm_stream`.
// `info_length` is the length of the information text every attachment carries.
CompressResult Compress(ByteSpan pcm_stream, std::int32_t sample_count,
                        const CodecSettings& settings, const CodecTables& tables,
                        std::string_view program_version, std::int32_t info_length);

}  // namespace lorix
