// Fuzzes the player's decoder the way the player drives it: count the samples the block
// produces, allocate exactly that much behind the WAV header, then decode.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "codec/bytes.h"
#include "codec/codec_error.h"
#include "codec/codec_tables.h"
#include "codec/decoder.h"
#include "codec/stream_header.h"
#include "codec/wav_header.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const lorix::CodecTables& tables = lorix::InitCodecTables();
  // The input is the block the player reads: payload followed by the 44-byte header.
  const lorix::ByteSpan block(data, size);
  const bool has_header = size >= static_cast<std::size_t>(lorix::kStreamHeaderSize);
  const lorix::StreamHeader header =
      has_header ? lorix::ReadStreamHeader(block) : lorix::StreamHeader{};
  const std::int32_t header_count = header.SampleCount();
  if (has_header) {
    const std::int64_t samples = std::min<std::int64_t>(
        lorix::fuzz::TokenSampleTotal(data, 0, size - lorix::kStreamHeaderSize,
                                      lorix::kMaxDecodedSamples),
        std::max<std::int32_t>(header_count, 0));
    // Longer recordings are refused before anything is allocated, which is cheap.
    if (samples <= lorix::kMaxDecodedSamples && lorix::fuzz::SkipLongDecode(samples)) {
      return 0;
    }
  }

  try {
    const std::int64_t samples = lorix::CountPlayerSamples(block, header_count);
    LORIX_FUZZ_CHECK(samples >= 0 && samples <= std::max<std::int32_t>(header_count, 0));
    // The player refuses such a recording before it allocates anything.
    if (samples > lorix::kMaxDecodedSamples) return 0;

    lorix::Bytes output(lorix::kWavHeaderSize + static_cast<std::size_t>(samples));
    std::int32_t written = -1;
    std::int32_t last_token = -1;
    const lorix::DecodeProgress progress = [&last_token, samples](std::int32_t token_number,
                                                                  std::int32_t samples_written) {
      LORIX_FUZZ_CHECK(token_number >= last_token);
      LORIX_FUZZ_CHECK(samples_written >= 0 && samples_written <= samples);
      last_token = token_number;
    };
    const bool decoded = lorix::PlayerDecode(block, output, written, tables, progress);

    const std::int32_t rate = header.SampleRate();
    const bool rate_ok =
        has_header && rate >= lorix::kMinPlayerSampleRate && rate <= lorix::kMaxPlayerSampleRate;
    LORIX_FUZZ_CHECK(decoded == rate_ok);
    if (!decoded) {
      LORIX_FUZZ_CHECK(written == -1);  // nothing written on refusal
      return 0;
    }
    // The count the output was sized by is exactly what the decoder writes.
    LORIX_FUZZ_CHECK(written == samples);
    const lorix::WavFormat wav = lorix::ReadWavHeader(output);
    LORIX_FUZZ_CHECK(wav.sample_count == written && wav.sample_rate == rate);
    LORIX_FUZZ_CHECK(wav.channels == 1 && wav.bits_per_sample == 8);
  } catch (const lorix::CodecError&) {
  }
  return 0;
}
