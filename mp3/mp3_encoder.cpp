#include "mp3/mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <memory>
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

[[noreturn]] void ThrowLameError(const std::string& what, int code) {
  throw CodecError("Das MP3-Programm LAME meldet einen Fehler " + what + " (Code " +
                   std::to_string(code) + ").");
}

Lame StartLame(std::uint32_t rate, int kbit_per_second, const std::tm& recorded) {
  Lame lame(lame_init());
  if (!lame) throw CodecError("Das MP3-Programm LAME kann nicht gestartet werden.");
  lame_global_flags* flags = lame.get();
  lame_set_in_samplerate(flags, static_cast<int>(rate));
  lame_set_out_samplerate(flags, kMp3SampleRate);
  lame_set_num_channels(flags, 1);
  lame_set_mode(flags, MONO);
  // Every sound frame at the one bit rate. Plain CBR would leave out the info frame, which does
  // not fit a frame of the speech rates; the average-bit-rate mode held to that rate writes it
  // in a larger frame of its own, which CompactInfoFrame below brings to the sound's rate.
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

std::uint32_t GetBigEndian32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

void PutBigEndian32(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// LAME's info frame (average-bit-rate mode) is an MPEG-2 frame of 64 kbit/s, large enough for
// its table of contents; a frame of another rate than the sound's makes strict checkers report
// a bit-rate switch. Every sound frame has the one rate, so players seek by position and need
// no table: the frame is made again with the header of the sound frames (`sound_header`),
// `frame_size` bytes long, holding the frame and byte counts, the quality and LAME's part
// (delay, padding, lengths), labelled "Info" and method 1 as LAME labels a constant-bit-rate
// file, its byte counts for a stream of `stream_size` bytes and its checksum made again. Empty
// when it does not fit (8 kbit/s) or the frame is not laid out as LAME lays it out.
Bytes CompactInfoFrame(ByteSpan lame_frame, ByteSpan sound_header, std::size_t frame_size,
                       std::size_t stream_size) {
  static constexpr std::string_view kXing = "Xing";
  // Behind the label: flags, frames, bytes, the table (100), the quality, then LAME's part: the
  // version text (9), revision and method, ..., the music length at 28, its checksum at 34.
  constexpr std::uint32_t kFrames = 1, kBytes = 2, kTable = 4, kQuality = 8;
  constexpr std::size_t kLameAt = 120, kLameSize = 36, kMethod = 9, kLength = 28, kChecksum = 34;
  // The label stands behind the frame header and the side information, at most 36 bytes in.
  const auto search_end = lame_frame.begin() + std::min<std::size_t>(lame_frame.size(), 40);
  const auto label = std::search(lame_frame.begin(), search_end, kXing.begin(), kXing.end());
  const auto at = static_cast<std::size_t>(label - lame_frame.begin());
  if (label == search_end || lame_frame.size() < at + kLameAt + kLameSize ||
      sound_header.size() < 4 ||
      GetBigEndian32(&lame_frame[at + 4]) != (kFrames | kBytes | kTable | kQuality)) {
    return {};
  }
  const std::size_t lame_at = at + 20;  // label, flags, frames, bytes, quality
  if (frame_size < lame_at + kLameSize) return {};

  Bytes frame(frame_size, 0);
  std::copy_n(sound_header.begin(), 4, frame.begin());
  std::copy_n("Info", 4, frame.begin() + static_cast<std::ptrdiff_t>(at));
  PutBigEndian32(&frame[at + 4], kFrames | kBytes | kQuality);
  std::copy_n(&lame_frame[at + 8], 4, &frame[at + 8]);                       // frames
  PutBigEndian32(&frame[at + 12], static_cast<std::uint32_t>(stream_size));  // bytes
  std::copy_n(&lame_frame[at + 116], 4, &frame[at + 16]);                    // quality
  std::copy_n(&lame_frame[at + kLameAt], kLameSize, &frame[lame_at]);
  frame[lame_at + kMethod] = static_cast<std::uint8_t>((frame[lame_at + kMethod] & 0xF0) | 1);
  PutBigEndian32(&frame[lame_at + kLength], static_cast<std::uint32_t>(stream_size));
  const std::uint16_t crc = Crc16(ByteSpan(frame).first(lame_at + kChecksum));
  frame[lame_at + kChecksum] = static_cast<std::uint8_t>(crc >> 8);
  frame[lame_at + kChecksum + 1] = static_cast<std::uint8_t>(crc & 0xFF);
  return frame;
}

Bytes Id3v2Tag(lame_global_flags* flags) {
  Bytes tag(lame_get_id3v2_tag(flags, nullptr, 0));
  tag.resize(lame_get_id3v2_tag(flags, tag.data(), tag.size()));
  return tag;
}

}  // namespace

bool IsMp3KbitRate(int kbit_per_second) {
  return std::find(kMp3KbitRates.begin(), kMp3KbitRates.end(), kbit_per_second) !=
         kMp3KbitRates.end();
}

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
  if (!IsMp3KbitRate(kbit_per_second)) {
    throw CodecError("MP3-Dateien haben keine Bitrate von " + std::to_string(kbit_per_second) +
                     " kbit/s.");
  }
  WavLayout layout;
  if (LocateWav(wav_image, layout) != WavParseError::kNone || layout.format.channels != 1 ||
      layout.format.bits_per_sample != 8 || layout.format.sample_rate == 0) {
    throw CodecError(
        "Die Aufnahme ist keine 8-Bit-Mono-Aufnahme und kann nicht als MP3 "
        "gespeichert werden.");
  }
  const ByteSpan samples = wav_image.subspan(layout.data_offset, layout.data_size);
  const std::uint32_t rate = layout.format.sample_rate;
  const Lame lame = StartLame(rate, kbit_per_second, recorded);
  lame_global_flags* flags = lame.get();

  // LAME's bound for one call is 1.25 bytes per sample it writes plus 7200, counted at the MP3's
  // rate: a recording of a low rate gives many more samples than it hands over. So each call
  // gets the recording's share of kChunkSamples written samples, and the buffer their bound.
  const std::size_t chunk =
      std::max<std::size_t>(1, std::uint64_t{kChunkSamples} *
                                   std::min<std::uint32_t>(rate, kMp3SampleRate) / kMp3SampleRate);
  const std::size_t written_per_call =
      (std::uint64_t{chunk} * kMp3SampleRate + rate - 1) / rate + 1;
  std::vector<unsigned char> buffer(written_per_call * 5 / 4 + 7200);

  Bytes mp3 = Id3v2Tag(flags);
  const std::size_t first_frame = mp3.size();
  std::vector<short> pcm;
  for (std::size_t start = 0; start < samples.size(); start += chunk) {
    const std::size_t count = std::min<std::size_t>(chunk, samples.size() - start);
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

  // The info frame (length, delay, padding) replaces the placeholder LAME left for it, made
  // again at the sound's rate; without one that fits, the placeholder goes.
  const std::size_t info_size = lame_get_lametag_frame(flags, buffer.data(), buffer.size());
  if (info_size == 0 || info_size > mp3.size() - first_frame) {
    ThrowLameError("beim Info-Block", 0);
  }
  const auto placeholder = mp3.begin() + static_cast<std::ptrdiff_t>(first_frame);
  const std::size_t sound_frame_size =
      static_cast<std::size_t>(72 * 1000 * kbit_per_second / kMp3SampleRate);
  const std::size_t sound_size = mp3.size() - first_frame - info_size;
  const Bytes info = CompactInfoFrame(ByteSpan(buffer.data(), info_size),
                                      ByteSpan(mp3).subspan(first_frame + info_size),
                                      sound_frame_size, sound_frame_size + sound_size);
  mp3.erase(placeholder, placeholder + static_cast<std::ptrdiff_t>(info_size));
  mp3.insert(mp3.begin() + static_cast<std::ptrdiff_t>(first_frame), info.begin(), info.end());
  return mp3;
}

}  // namespace lorix
