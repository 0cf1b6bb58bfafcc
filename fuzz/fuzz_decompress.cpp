// Fuzzes the recorder's decoder on a whole stream: payload tokens followed by the 44-byte header,
// possibly with anything (an information text, a player program) in front.

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
  const lorix::ByteSpan stream(data, size);
  if (size >= static_cast<std::size_t>(lorix::kStreamHeaderSize)) {
    const std::int64_t payload = lorix::ReadStreamHeader(stream).PayloadSize();
    const std::size_t header_start = size - lorix::kStreamHeaderSize;
    if (payload >= 0 && static_cast<std::uint64_t>(payload) <= header_start) {
      const std::int64_t samples =
          lorix::fuzz::TokenSampleTotal(data, header_start - static_cast<std::size_t>(payload),
                                        header_start, lorix::kMaxDecodedSamples);
      // Longer streams are refused before the output is allocated, which is cheap.
      if (samples <= lorix::kMaxDecodedSamples && lorix::fuzz::SkipLongDecode(samples)) {
        return 0;
      }
    }
  }
  lorix::DecompressResult result;
  try {
    result = lorix::Decompress(stream, tables);
  } catch (const lorix::CodecError&) {
    return 0;  // refused: a broken header or an over-long stream
  }

  // The decoded image is a canonical 8-bit mono WAV image holding exactly the samples decoded.
  LORIX_FUZZ_CHECK(result.SampleCount >= 0 && result.SampleCount <= lorix::kMaxDecodedSamples);
  LORIX_FUZZ_CHECK(result.PcmStream.size() == static_cast<std::size_t>(lorix::kWavHeaderSize) +
                                                  static_cast<std::size_t>(result.SampleCount));
  const lorix::WavFormat wav = lorix::ReadWavHeader(result.PcmStream);
  LORIX_FUZZ_CHECK(wav.sample_count == result.SampleCount);
  LORIX_FUZZ_CHECK(wav.sample_rate == result.CurrentSampleRate && wav.sample_rate > 0);
  LORIX_FUZZ_CHECK(wav.channels == 1 && wav.bits_per_sample == 8);

  // The header fields are reported as stored; the text, when taken, is the bytes in front of the
  // payload.
  const lorix::StreamHeader header = lorix::ReadStreamHeader(stream);
  LORIX_FUZZ_CHECK(result.PayloadSize == header.PayloadSize());
  LORIX_FUZZ_CHECK(result.InfoLength == header.InfoLength());
  if (!result.InfoStream.empty()) {
    const lorix::StreamLayout layout = lorix::LocateStream(header, static_cast<std::int64_t>(size));
    LORIX_FUZZ_CHECK(result.InfoStream.size() == static_cast<std::size_t>(result.InfoLength));
    LORIX_FUZZ_CHECK(layout.info_start > 0);
    LORIX_FUZZ_CHECK(
        std::equal(result.InfoStream.begin(), result.InfoStream.end(), data + layout.info_start));
  }
  // An empty payload decodes to nothing.
  if (header.PayloadSize() == 0) LORIX_FUZZ_CHECK(result.SampleCount == 0);
  return 0;
}
