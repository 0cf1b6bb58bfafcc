#include "codec/wav_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "codec/wav_header.h"

namespace lorix {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kPcmFormatSize = 16;
constexpr std::size_t kExtensibleFormatSize = 40;

// The tail of the sub-format identifier of an extensible format block; its first two bytes
// carry the plain format tag.
constexpr std::array<std::uint8_t, 14> kSubFormatTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool HasId(const std::uint8_t* p, const char* id) {
  return std::memcmp(p, id, 4) == 0;
}

// Reads a format chunk body of `size` bytes at `p` (the caller has checked that they exist).
WavParseError ReadFormat(const std::uint8_t* p, std::size_t size, PcmFormat& format) {
  if (size < kPcmFormatSize) return WavParseError::kMissingFormat;
  std::uint16_t tag = GetUint16(p);
  if (tag == kFormatExtensible) {
    if (size < kExtensibleFormatSize || GetUint16(p + 16) < 22) {
      return WavParseError::kUnsupportedFormat;
    }
    if (!std::equal(kSubFormatTail.begin(), kSubFormatTail.end(), p + 26)) {
      return WavParseError::kUnsupportedFormat;
    }
    tag = GetUint16(p + 24);
  }
  const std::uint16_t channels = GetUint16(p + 2);
  const std::uint32_t rate = GetUint32(p + 4);
  const std::uint16_t bits = GetUint16(p + 14);
  if (tag != kFormatPcm || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) ||
      rate < kMinPlaybackRate || rate > kMaxPlaybackRate) {
    return WavParseError::kUnsupportedFormat;
  }
  // The block-align and byte-rate fields are derived values; the sound is read with the ones
  // that follow from channels and bits, whatever a writer put there.
  format.channels = channels;
  format.sample_rate = rate;
  format.bits_per_sample = bits;
  return WavParseError::kNone;
}

}  // namespace

WavParseError LocateWav(ByteSpan image, WavLayout& layout) {
  if (image.size() < 12 || !HasId(image.data(), "RIFF") || !HasId(image.data() + 8, "WAVE")) {
    return WavParseError::kNotRiffWave;
  }
  // The RIFF size field is not trusted: writers that stream often leave it 0 or too large. The
  // walk is bounded by the bytes present instead.
  const std::size_t end = image.size();
  std::size_t pos = 12;
  bool have_format = false;
  WavParseError format_error = WavParseError::kMissingFormat;
  PcmFormat format;
  bool have_data = false;
  std::size_t data_offset = 0;
  std::size_t data_size = 0;

  while (end - pos >= kChunkHeaderSize && !(have_format && have_data)) {
    const std::uint8_t* header = image.data() + pos;
    const std::uint64_t declared = GetUint32(header + 4);
    const std::size_t body = pos + kChunkHeaderSize;
    const std::size_t present = static_cast<std::size_t>(
        std::min<std::uint64_t>(declared, static_cast<std::uint64_t>(end - body)));
    if (HasId(header, "fmt ") && !have_format) {
      // A format chunk cut off by the end of the file is treated as missing.
      if (present < declared) break;
      format_error = ReadFormat(header + kChunkHeaderSize, present, format);
      if (format_error != WavParseError::kNone) return format_error;
      have_format = true;
    } else if (HasId(header, "data") && !have_data) {
      have_data = true;
      data_offset = body;
      data_size = present;
    }
    // Chunks are padded to an even length; a missing pad byte at the very end is tolerated.
    const std::uint64_t next = static_cast<std::uint64_t>(body) + declared + (declared & 1u);
    if (next >= end) break;
    pos = static_cast<std::size_t>(next);
  }

  if (!have_format) return format_error;
  if (!have_data) return WavParseError::kMissingData;
  layout.format = format;
  layout.data_offset = data_offset;
  layout.data_size = data_size - data_size % format.FrameBytes();
  return WavParseError::kNone;
}

WavParseError ParseWav(ByteSpan image, PcmSound& sound) {
  WavLayout layout;
  const WavParseError error = LocateWav(image, layout);
  if (error != WavParseError::kNone) return error;
  const ByteSpan data = image.subspan(layout.data_offset, layout.data_size);
  sound.format = layout.format;
  sound.samples.assign(data.begin(), data.end());
  return WavParseError::kNone;
}

Bytes CanonicalWavImage(const PcmFormat& format, ByteSpan samples) {
  const auto frame_bytes = static_cast<std::int32_t>(format.FrameBytes());
  const auto rate = static_cast<std::int32_t>(format.sample_rate);
  const WavHeader header = BuildWavHeader(static_cast<std::int32_t>(samples.size()),
                                          format.channels, static_cast<std::uint16_t>(frame_bytes),
                                          format.bits_per_sample, rate, rate * frame_bytes);
  Bytes image;
  image.reserve(header.size() + samples.size());
  image.assign(header.begin(), header.end());
  AppendBytes(image, samples);
  return image;
}

}  // namespace lorix
