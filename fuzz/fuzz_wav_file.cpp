// Fuzzes the WAV reader: the input is written to a file and loaded as the recorder loads a WAV
// file; the header reader also gets the bytes directly.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "codec/bytes.h"
#include "codec/codec_error.h"
#include "codec/wav_file.h"
#include "codec/wav_header.h"
#include "fuzz/fuzz_support.h"

namespace {

const lorix::fuzz::TempDir& Folder() {
  static const lorix::fuzz::TempDir folder("lorix-fuzz-wav");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const lorix::ByteSpan image(data, size);
  const bool has_header = size >= static_cast<std::size_t>(lorix::kWavHeaderSize);
  lorix::WavFormat direct;
  if (has_header) {
    direct = lorix::ReadWavHeader(image);
    LORIX_FUZZ_CHECK(std::equal(direct.header.begin(), direct.header.end(), data));
  }

  const std::filesystem::path path = Folder().path() / "input.wav";
  lorix::fuzz::WriteInputFile(path, data, size);
  lorix::LooksLikeWav(path, image);

  try {
    const lorix::LoadedWav wav = lorix::LoadWavFile(path);
    // Loaded: a header and exactly the declared data, which the file holds.
    LORIX_FUZZ_CHECK(has_header);
    LORIX_FUZZ_CHECK(wav.format.header == direct.header);
    LORIX_FUZZ_CHECK(wav.format.sample_count >= 0);
    LORIX_FUZZ_CHECK(wav.PcmStream.size() == static_cast<std::size_t>(lorix::kWavHeaderSize) +
                                                 static_cast<std::size_t>(wav.format.sample_count));
    LORIX_FUZZ_CHECK(wav.PcmStream.size() <= size);
    LORIX_FUZZ_CHECK(std::equal(wav.PcmStream.begin(), wav.PcmStream.end(), data));
    const bool pcm8_mono = direct.channels == 1 && direct.bits_per_sample == 8;
    LORIX_FUZZ_CHECK((wav.kind == lorix::WavKind::kPcm8Mono) == pcm8_mono);
  } catch (const lorix::CodecError&) {
    // Refused: too short, or the declared data size is negative or larger than the file.
    LORIX_FUZZ_CHECK(!has_header || direct.sample_count < 0 ||
                     static_cast<std::size_t>(direct.sample_count) >
                         size - static_cast<std::size_t>(lorix::kWavHeaderSize));
  }
  return 0;
}
