#include "codec/wav_file.h"

#include <string>

#include "codec/codec_error.h"
#include "codec/file_io.h"
#include "codec/wav_reader.h"

namespace lorix {
namespace {

std::string RefusalText(WavParseError error, const std::string& name) {
  switch (error) {
    case WavParseError::kNotRiffWave:
      return "Die Datei " + name + " ist keine WAV-Datei!";
    case WavParseError::kMissingFormat:
      return "Die WAV-Datei " + name + " ist beschädigt: die Formatangabe fehlt.";
    case WavParseError::kMissingData:
      return "Die WAV-Datei " + name + " ist beschädigt: die Klangdaten fehlen.";
    case WavParseError::kUnsupportedFormat:
    case WavParseError::kNone:
      break;
  }
  return "Die WAV-Datei " + name +
         " hat ein Format, das nicht abgespielt werden kann (nur PCM mit 8 oder 16 Bit, mono oder "
         "stereo).";
}

}  // namespace

LoadedWav ReadWavImage(ByteSpan image, const std::filesystem::path& path) {
  const std::string name = "\"" + path.string() + "\"";
  if (static_cast<std::uint64_t>(image.size()) > static_cast<std::uint64_t>(kMaxInputBytes)) {
    throw CodecError(TooLargeText(path));
  }
  WavLayout layout;
  if (const WavParseError error = LocateWav(image, layout); error != WavParseError::kNone) {
    throw CodecError(RefusalText(error, name));
  }
  LoadedWav wav;
  wav.PcmStream =
      CanonicalWavImage(layout.format, image.subspan(layout.data_offset, layout.data_size));
  wav.format = ReadWavHeader(wav.PcmStream);
  wav.kind = wav.format.channels == 1 && wav.format.bits_per_sample == 8 ? WavKind::kPcm8Mono
                                                                         : WavKind::kPlayableOnly;
  return wav;
}

LoadedWav LoadWavFile(const std::filesystem::path& path) {
  return ReadWavImage(ReadWholeFile(path), path);
}

}  // namespace lorix
