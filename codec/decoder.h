#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "codec/bytes.h"
#include "codec/codec_tables.h"

namespace lorix {

// The most samples one decoding may produce (about 6.7 hours at 11025 Hz). Longer streams are
// refused instead of exhausting memory.
inline constexpr std::int64_t kMaxDecodedSamples = std::int64_t{1} << 28;

// The offset from PrevB of the j-th of s samples on the way to a level difference c.
double CurveOffset(const CodecTables& tables, std::int32_t j, std::int32_t s, std::int32_t c);

// "Fehler bei PCM-Smp.Nr. …": the message for a sample that could not be written.
std::string DecodeErrorText(std::int64_t samples_written, std::int64_t j, std::int32_t skips, int b,
                            int prev_b);

struct DecompressResult {
  Bytes PcmStream;  // WAV header + samples
  std::int32_t CurrentSampleRate = 0;
  std::int32_t PayloadSize = 0;
  std::int32_t InfoLength = 0;
  Bytes InfoStream;              // the information text in front of the payload, if any
  std::int32_t SampleCount = 0;  // also the playback's sample total
};

// The recorder's decoder: decodes until the payload ends, starting from level 0. Throws
// CodecError for a header with impossible values and DecodeError for an over-long stream.
DecompressResult Decompress(ByteSpan compressed_stream, const CodecTables& tables);

// Called with the token number before every 4096th token and once at the end with the total,
// together with the number of samples written so far.
using DecodeProgress = std::function<void(std::int32_t token_number, std::int32_t samples_written)>;

// The number of samples the player's decoder writes for `block` (payload + 44-byte header)
// when its output may hold `sample_limit` samples.
std::int64_t CountPlayerSamples(ByteSpan block, std::int32_t sample_limit);

// The player's decoder: starts from level 128 and stops when the payload is exhausted or the
// output holds the header's sample count (or fills `output`, whichever is smaller). Returns
// false, writing nothing, when the header's sample rate lies outside 1000..200000 Hz. On success
// `output` starts with the WAV header and `sample_count` is the number of samples written.
bool PlayerDecode(ByteSpan block, std::span<std::uint8_t> output, std::int32_t& sample_count,
                  const CodecTables& tables, const DecodeProgress& progress = {});

}  // namespace lorix
