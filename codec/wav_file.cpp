#include "codec/wav_file.h"

#include <algorithm>
#include <string>

#include "codec/codec_error.h"
#include "codec/file_io.h"
#include "codec/text_encoding.h"

namespace lorix {

LoadedWav LoadWavFile(const std::filesystem::path& path) {
  InputFile file(path);
  const std::string name = "\"" + path.string() + "\"";
  if (file.size() < kWavHeaderSize) {
    throw CodecError("Die Datei " + name + " ist zu kurz für eine WAV-Datei (" +
                     std::to_string(file.size()) + " Bytes, mindestens 44).");
  }
  LoadedWav wav;
  wav.format = ReadWavHeader(file.ReadRange(0, kWavHeaderSize));
  const std::int64_t data_size = wav.format.sample_count;
  if (data_size < 0) {
    throw CodecError("Die WAV-Datei " + name + " ist beschädigt: ungültige Datenlänge (" +
                     std::to_string(data_size) + ").");
  }
  if (data_size > file.size() - kWavHeaderSize) {
    throw CodecError("Die WAV-Datei " + name + " ist beschädigt: sie gibt " +
                     std::to_string(data_size) + " Daten-Bytes an, enthält aber nur " +
                     std::to_string(file.size() - kWavHeaderSize) + ".");
  }
  wav.PcmStream = file.ReadRange(0, kWavHeaderSize + data_size);
  wav.kind = wav.format.channels == 1 && wav.format.bits_per_sample == 8 ? WavKind::kPcm8Mono
                                                                         : WavKind::kPlayableOnly;
  return wav;
}

bool LooksLikeWav(const std::filesystem::path& path, ByteSpan first_bytes) {
  if (AsciiUpperCase(path.extension().string()) == ".WAV") return true;
  return first_bytes.size() >= 12 &&
         std::equal(first_bytes.begin(), first_bytes.begin() + 4, "RIFF") &&
         std::equal(first_bytes.begin() + 8, first_bytes.begin() + 12, "WAVE");
}

}  // namespace lorix
