#include "codec/sound_file_type.h"

#include <algorithm>
#include <string_view>

#include "codec/codec_error.h"
#include "codec/file_io.h"
#include "codec/stream_header.h"
#include "codec/text_encoding.h"

namespace lorix {
namespace {

enum class Content { kRecording, kWav, kUnknown };

Content ContentOf(const std::filesystem::path& path) {
  try {
    InputFile file(path);
    if (file.size() >= kStreamHeaderSize) {
      const Bytes tail = file.ReadRange(file.size() - kStreamHeaderSize, kStreamHeaderSize);
      if (HasStreamMagic(ReadStreamHeader(tail))) return Content::kRecording;
    }
    if (file.size() >= 12) {
      const Bytes head = file.ReadRange(0, 12);
      constexpr std::string_view kRiff = "RIFF", kWave = "WAVE";
      if (std::equal(kRiff.begin(), kRiff.end(), head.begin()) &&
          std::equal(kWave.begin(), kWave.end(), head.begin() + 8)) {
        return Content::kWav;
      }
    }
  } catch (const CodecError&) {
    // Unreadable: the name decides, and whoever opens the file reports why it cannot.
  }
  return Content::kUnknown;
}

}  // namespace

bool IsWavFile(const std::filesystem::path& path) {
  switch (ContentOf(path)) {
    case Content::kRecording:
      return false;
    case Content::kWav:
      return true;
    case Content::kUnknown:
      break;
  }
  return AsciiUpperCase(path.extension().string()) == ".WAV";
}

}  // namespace lorix
