#include "codec/encoder.h"

#include <algorithm>
#include <cmath>

#include "codec/codec_error.h"
#include "codec/stream_header.h"
#include "codec/wav_header.h"

namespace lorix {
namespace {

enum Direction : std::uint8_t { kRising = 0, kFlat = 1, kFalling = 2, kNone = 3 };

constexpr int kMaxTokenSize = 5;

// Writes one token in its shortest form at `out` and returns the position behind it.
inline std::uint8_t* WriteToken(std::uint8_t* out, std::uint8_t code, std::int32_t skip) {
  const auto head = static_cast<std::uint8_t>(code << 4);
  if (skip >= 0 && skip <= 13) {
    *out++ = static_cast<std::uint8_t>(head | skip);
  } else if (skip >= 14 && skip <= 255) {
    *out++ = head | 14;
    *out++ = static_cast<std::uint8_t>(skip);
  } else {
    *out++ = head | 15;
    PutInt32(out, skip);
    out += 4;
  }
  return out;
}

}  // namespace

CodecSettings CodecSettings::FromLevels(int compress_level, int mute_level) {
  CodecSettings s;
  s.CompressLevel = compress_level;
  s.MuteLow = static_cast<std::uint8_t>(8 - mute_level);
  s.MuteHigh = static_cast<std::uint8_t>(8 + mute_level);
  return s;
}

int MutePercent(const CodecTables& tables, int mute_level) {
  if (mute_level >= kMaxMuteLevel) return 100;
  const double share = (tables.LevelTable[8 + mute_level] - 128) * 100.0 / 128.0;
  return static_cast<int>(std::nearbyint(share));
}

void EmitToken(Bytes& compressed_stream, std::uint8_t code, std::int32_t& skip) {
  std::uint8_t token[kMaxTokenSize];
  std::uint8_t* end = WriteToken(token, code, skip);
  compressed_stream.insert(compressed_stream.end(), token, end);
  skip = 0;
}

CompressResult Compress(ByteSpan pcm_stream, std::int32_t sample_count,
                        const CodecSettings& settings, const CodecTables& tables,
                        std::string_view program_version, std::int32_t info_length) {
  if (pcm_stream.size() < static_cast<std::size_t>(kWavHeaderSize)) {
    throw CodecError("Die Aufnahme hat keinen WAV-Kopf und kann nicht komprimiert werden.");
  }
  CompressResult result;
  result.CurrentSampleRate = ReadWavHeader(pcm_stream).sample_rate;
  Bytes& out = result.CompressedStream;

  const std::size_t available = pcm_stream.size() - kWavHeaderSize;
  const std::size_t count =
      std::min<std::size_t>(available, std::max<std::int32_t>(sample_count, 0));
  const std::uint8_t* samples = pcm_stream.data() + kWavHeaderSize;
  // A token never takes more bytes than the samples it stands for, so the payload fits into
  // count + one token; the check in the loop only guards that reasoning.
  out.resize(count + kMaxTokenSize);
  std::uint8_t* w = out.data();
  const auto ensure_room = [&out, &w] {
    const auto used = static_cast<std::size_t>(w - out.data());
    if (used + kMaxTokenSize > out.size()) {
      out.resize(out.size() * 2 + kMaxTokenSize);
      w = out.data() + used;
    }
  };

  const std::int32_t compress_level = settings.CompressLevel;
  const std::uint8_t mute_low = settings.MuteLow;
  const std::uint8_t mute_high = settings.MuteHigh;

  std::uint8_t prev = 8;
  std::uint8_t c = 8;
  std::uint8_t direction = kNone;
  std::uint8_t previous_direction = kNone;
  std::int32_t flat_counter = 0;
  std::int32_t quiet_counter = 0;
  std::int32_t skip = 0;

  for (std::size_t i = 0; i < count; ++i) {
    c = tables.QuantiserTable[samples[i]];
    if (mute_low < c && c < mute_high) {
      ++quiet_counter;
    } else {
      quiet_counter = 0;
    }
    // From the 3000th quiet sample on, a pause counts as the zero line.
    if (quiet_counter >= QuietRunLimit) {
      c = 8;
      prev = 8;
      direction = kFlat;
    }
    if (prev < c) {
      direction = kRising;
    } else if (prev == c) {
      ++flat_counter;
      if (flat_counter <= compress_level) {
        ++skip;
        continue;
      }
      direction = kFlat;
    } else {
      direction = kFalling;
    }
    flat_counter = 0;
    if (direction == previous_direction) {
      ++skip;
      prev = c;
      continue;
    }
    // The run changed direction: `prev` was a turning point.
    if (previous_direction != kNone) {
      ensure_room();
      w = WriteToken(w, prev, skip);
      skip = 0;
    }
    prev = c;
    previous_direction = direction;
  }
  // The last sample closes the open run.
  if (count > 0) {
    ensure_room();
    w = WriteToken(w, c, skip);
  }
  out.resize(static_cast<std::size_t>(w - out.data()));

  const auto payload_size = static_cast<std::int32_t>(out.size());
  const StreamHeader header = BuildStreamHeader(program_version, payload_size, sample_count,
                                                result.CurrentSampleRate, kCodecName, info_length);
  AppendBytes(out, header.bytes);
  return result;
}

}  // namespace lorix
