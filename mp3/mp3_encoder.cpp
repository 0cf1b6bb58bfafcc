#include "mp3/mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "codec/codec_error.h"
#include "codec/version.h"
#include "codec/wav_reader.h"

namespace lorix {
namespace {

struct LameCloser {
  void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using Lame = std::unique_ptr<lame_global_flags, LameCloser>;

// Samples handed to LAME per call, so the buffers stay small for long recordings.
constexpr int kChunkSamples = 1 << 16;

// Whether an MP3 stream can be written at `rate` with `kbit_per_second` without LAME changing
// either: MPEG-1 (32000 Hz and up) starts at 32 kbit/s, MPEG-2 and 2.5 end at 160 kbit/s.
bool KeepsRecordingRate(std::uint32_t rate, int kbit_per_second) {
  static constexpr std::array<std::uint32_t, 9> kRates = {8000,  11025, 12000, 16000, 22050,
                                                          24000, 32000, 44100, 48000};
  if (std::find(kRates.begin(), kRates.end(), rate) == kRates.end()) return false;
  return rate >= 32000 ? kbit_per_second >= 32 : kbit_per_second <= 160;
}

[[noreturn]] void ThrowLameError(const std::string& what, int code) {
  throw CodecError("Das MP3-Programm LAME meldet einen Fehler " + what + " (Code " +
                   std::to_string(code) + ").");
}

Lame StartLame(std::uint32_t rate, int kbit_per_second, const std::tm& recorded) {
  Lame lame(lame_init());
  if (!lame) throw CodecError("Das MP3-Programm LAME kann nicht gestartet werden.");
  lame_global_flags* flags = lame.get();
  lame_set_in_samplerate(flags, static_cast<int>(rate));
  if (KeepsRecordingRate(rate, kbit_per_second)) {
    lame_set_out_samplerate(flags, static_cast<int>(rate));
  }
  lame_set_num_channels(flags, 1);
  lame_set_mode(flags, MONO);
  // Every sound frame at the one bit rate. Plain CBR would leave out the info frame when it
  // does not fit a frame of that rate (16 kbit/s at 11025 Hz); the average-bit-rate mode held
  // to that rate writes it in a larger frame of its own.
  lame_set_VBR(flags, vbr_abr);
  lame_set_VBR_mean_bitrate_kbps(flags, kbit_per_second);
  lame_set_VBR_min_bitrate_kbps(flags, kbit_per_second);
  lame_set_VBR_max_bitrate_kbps(flags, kbit_per_second);
  lame_set_VBR_hard_min(flags, 1);
  // The tag is taken by hand below, so that the info frame can go right behind it.
  lame_set_write_id3tag_automatic(flags, 0);
  lame_set_bWriteVbrTag(flags, 1);

  id3tag_init(flags);
  id3tag_v2_only(flags);
  const std::string title = Mp3Title(recorded);
  const std::string comment = std::string("Lorix ") + kFileVersion + ", LAME " + get_lame_version();
  id3tag_set_title(flags, title.c_str());
  id3tag_set_comment(flags, comment.c_str());

  const int status = lame_init_params(flags);
  if (status < 0) ThrowLameError("bei den Einstellungen", status);
  return lame;
}

// CRC-16 (polynomial 0x8005, reflected, start 0), the checksum of LAME's info frame.
std::uint16_t Crc16(ByteSpan bytes) {
  std::uint16_t crc = 0;
  for (const std::uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

// LAME labels the info frame of the average-bit-rate mode "Xing" with method 2 (ABR). Every
// sound frame has the one rate, so the frame is labelled as LAME labels a constant-bit-rate
// file ("Info", method 1) and its checksum is made again; players then seek by position.
void MarkConstantBitRate(std::span<std::uint8_t> frame) {
  static constexpr std::string_view kXing = "Xing";
  // Behind the label: the Xing part (120 bytes), then the LAME part with the version text (9),
  // revision and method, ..., and its checksum over everything before it.
  constexpr std::size_t kMethod = 129, kChecksum = 154;
  // The label stands behind the frame header and the side information, at most 36 bytes in.
  const auto search_end = frame.begin() + std::min<std::size_t>(frame.size(), 40);
  const auto label = std::search(frame.begin(), search_end, kXing.begin(), kXing.end());
  const auto at = static_cast<std::size_t>(label - frame.begin());
  if (label == search_end || frame.size() < at + kChecksum + 2) return;
  std::copy_n("Info", 4, frame.begin() + at);
  frame[at + kMethod] = static_cast<std::uint8_t>((frame[at + kMethod] & 0xF0) | 1);
  const std::uint16_t crc = Crc16(frame.first(at + kChecksum));
  frame[at + kChecksum] = static_cast<std::uint8_t>(crc >> 8);
  frame[at + kChecksum + 1] = static_cast<std::uint8_t>(crc & 0xFF);
}

Bytes Id3v2Tag(lame_global_flags* flags) {
  Bytes tag(lame_get_id3v2_tag(flags, nullptr, 0));
  tag.resize(lame_get_id3v2_tag(flags, tag.data(), tag.size()));
  return tag;
}

}  // namespace

std::int64_t EstimatedMp3Size(std::int64_t sample_count, std::int32_t sample_rate,
                              int kbit_per_second) {
  constexpr std::int64_t kTagAndInfoFrame = 512;
  if (sample_rate <= 0 || sample_count <= 0) return kTagAndInfoFrame;
  return sample_count * kbit_per_second * 125 / sample_rate + kTagAndInfoFrame;
}

std::string Mp3Title(const std::tm& recorded) {
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &recorded);
  return std::string("LORIX-Sprachanhang ") + text;
}

Bytes EncodeMp3(ByteSpan wav_image, const std::tm& recorded, int kbit_per_second) {
  WavLayout layout;
  if (LocateWav(wav_image, layout) != WavParseError::kNone || layout.format.channels != 1 ||
      layout.format.bits_per_sample != 8) {
    throw CodecError(
        "Die Aufnahme ist keine 8-Bit-Mono-Aufnahme und kann nicht als MP3 "
        "gespeichert werden.");
  }
  const ByteSpan samples = wav_image.subspan(layout.data_offset, layout.data_size);
  const Lame lame = StartLame(layout.format.sample_rate, kbit_per_second, recorded);
  lame_global_flags* flags = lame.get();

  Bytes mp3 = Id3v2Tag(flags);
  const std::size_t first_frame = mp3.size();
  std::vector<short> pcm;
  // LAME's bound for one call: 1.25 bytes per sample plus 7200.
  std::vector<unsigned char> buffer(kChunkSamples * 5 / 4 + 7200);
  for (std::size_t start = 0; start < samples.size(); start += kChunkSamples) {
    const std::size_t count = std::min<std::size_t>(kChunkSamples, samples.size() - start);
    pcm.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      pcm[i] = static_cast<short>((samples[start + i] - 128) * 256);
    }
    const int written = lame_encode_buffer(flags, pcm.data(), nullptr, static_cast<int>(count),
                                           buffer.data(), static_cast<int>(buffer.size()));
    if (written < 0) ThrowLameError("beim Kodieren", written);
    mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + written);
  }
  const int flushed = lame_encode_flush(flags, buffer.data(), static_cast<int>(buffer.size()));
  if (flushed < 0) ThrowLameError("beim Abschließen", flushed);
  mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + flushed);

  // The info frame (length, delay, padding) replaces the placeholder LAME left for it.
  const std::size_t info_size = lame_get_lametag_frame(flags, buffer.data(), buffer.size());
  if (info_size > mp3.size() - first_frame) ThrowLameError("beim Info-Block", 0);
  std::copy_n(buffer.begin(), info_size, mp3.begin() + first_frame);
  MarkConstantBitRate(std::span(mp3).subspan(first_frame, info_size));
  return mp3;
}

}  // namespace lorix
