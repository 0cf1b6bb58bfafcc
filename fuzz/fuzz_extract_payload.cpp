// Fuzzes the player's unpacking of a file: the input is written to a file in a folder of this
// process, and the temporary WAV and text files land under another one.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "codec/attachment.h"
#include "codec/bytes.h"
#include "codec/codec_tables.h"
#include "codec/decoder.h"
#include "codec/file_io.h"
#include "codec/stream_header.h"
#include "codec/wav_header.h"
#include "fuzz/fuzz_support.h"

namespace {

struct Folders {
  lorix::fuzz::TempDir input{"lorix-fuzz-input"};
  lorix::fuzz::TempDir base{"lorix-fuzz-base"};
};

const Folders& GetFolders() {
  static const Folders folders;
  return folders;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const lorix::CodecTables& tables = lorix::InitCodecTables();
  const Folders& folders = GetFolders();
  if (size >= static_cast<std::size_t>(lorix::kStreamHeaderSize)) {
    const lorix::StreamHeader header = lorix::ReadStreamHeader(lorix::ByteSpan(data, size));
    const std::int64_t payload = header.PayloadSize();
    const std::size_t header_start = size - lorix::kStreamHeaderSize;
    if (payload >= 0 && static_cast<std::uint64_t>(payload) <= header_start) {
      const std::int64_t samples = std::min<std::int64_t>(
          lorix::fuzz::TokenSampleTotal(data, header_start - static_cast<std::size_t>(payload),
                                        header_start, lorix::kMaxDecodedSamples),
          std::max<std::int32_t>(header.SampleCount(), 0));
      // Longer recordings are refused before anything is allocated, which is cheap.
      if (samples <= lorix::kMaxDecodedSamples && lorix::fuzz::SkipLongDecode(samples)) {
        return 0;
      }
    }
  }
  const std::filesystem::path file = folders.input.path() / "message.exe";
  lorix::fuzz::WriteInputFile(file, data, size);

  lorix::ExtractOptions options;
  options.base_dir = folders.base.path();
  options.own_executable = folders.input.path() / "player.exe";
  bool closed = false;
  options.close_playback = [&closed] { closed = true; };

  lorix::PlayerExtraction state;
  // Every outcome, including a refusal, comes back as a result; anything thrown is a finding.
  const lorix::ExtractResult result = lorix::ExtractPayload(file, state, tables, options);
  LORIX_FUZZ_CHECK(state.SourceFileSize == static_cast<std::int64_t>(size));

  switch (result.outcome) {
    case lorix::ExtractOutcome::kExtracted: {
      LORIX_FUZZ_CHECK(closed);
      LORIX_FUZZ_CHECK(result.message.empty());
      LORIX_FUZZ_CHECK(size >= static_cast<std::size_t>(lorix::kStreamHeaderSize));
      LORIX_FUZZ_CHECK(lorix::HasStreamMagic(state.Header));
      LORIX_FUZZ_CHECK(result.wav_path ==
                       folders.base.path() / lorix::kTempFolder / lorix::kTempWaveName);
      // The written WAV file holds exactly the decoded samples.
      lorix::InputFile wav_file(result.wav_path);
      const lorix::WavFormat wav =
          lorix::ReadWavHeader(wav_file.ReadRange(0, lorix::kWavHeaderSize));
      LORIX_FUZZ_CHECK(wav.sample_count == state.SampleCount);
      LORIX_FUZZ_CHECK(wav.sample_rate == state.Header.SampleRate());
      LORIX_FUZZ_CHECK(wav.channels == 1 && wav.bits_per_sample == 8);
      LORIX_FUZZ_CHECK(std::filesystem::file_size(result.wav_path) ==
                       static_cast<std::uintmax_t>(lorix::kWavHeaderSize) +
                           static_cast<std::uintmax_t>(state.SampleCount));
      if (!state.InfoFile.empty()) {
        LORIX_FUZZ_CHECK(std::filesystem::file_size(state.InfoFile) ==
                         static_cast<std::uintmax_t>(state.InfoLength));
      }
      break;
    }
    case lorix::ExtractOutcome::kWrongFormat:
      // The input file is never the player's own executable, so the refusal is always shown.
      LORIX_FUZZ_CHECK(!result.message.empty());
      break;
    case lorix::ExtractOutcome::kFailed:
      LORIX_FUZZ_CHECK(!result.message.empty());
      break;
  }
  return 0;
}
