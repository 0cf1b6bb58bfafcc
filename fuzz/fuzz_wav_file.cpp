// Fuzzes the WAV reader: the input is written to a file and loaded as the recorder and lorix-tool
// load a WAV file; the chunk walk of the playback also gets the bytes directly, and both must
// agree.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "codec/bytes.h"
#include "codec/codec_error.h"
#include "codec/wav_file.h"
#include "codec/wav_header.h"
#include "codec/wav_reader.h"
#include "fuzz/fuzz_support.h"

namespace {

const lorix::fuzz::TempDir& Folder() {
  static const lorix::fuzz::TempDir folder("lorix-fuzz-wav");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const lorix::ByteSpan image(data, size);
  lorix::PcmSound sound;
  const bool parsed = lorix::ParseWav(image, sound) == lorix::WavParseError::kNone;

  const std::filesystem::path path = Folder().path() / "input.wav";
  lorix::fuzz::WriteInputFile(path, data, size);

  try {
    const lorix::LoadedWav wav = lorix::LoadWavFile(path);
    // Loaded: the canonical header, then exactly the samples the playback would play.
    LORIX_FUZZ_CHECK(parsed);
    LORIX_FUZZ_CHECK(wav.format.sample_count >= 0);
    LORIX_FUZZ_CHECK(wav.PcmStream.size() == static_cast<std::size_t>(lorix::kWavHeaderSize) +
                                                 static_cast<std::size_t>(wav.format.sample_count));
    LORIX_FUZZ_CHECK(std::equal(sound.samples.begin(), sound.samples.end(),
                                wav.PcmStream.begin() + lorix::kWavHeaderSize,
                                wav.PcmStream.end()));
    LORIX_FUZZ_CHECK(wav.format.channels == sound.format.channels);
    LORIX_FUZZ_CHECK(wav.format.bits_per_sample == sound.format.bits_per_sample);
    const bool pcm8_mono = sound.format.channels == 1 && sound.format.bits_per_sample == 8;
    LORIX_FUZZ_CHECK((wav.kind == lorix::WavKind::kPcm8Mono) == pcm8_mono);
  } catch (const lorix::CodecError&) {
    LORIX_FUZZ_CHECK(!parsed);
  }
  return 0;
}
