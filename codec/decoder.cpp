#include "codec/decoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "codec/codec_error.h"
#include "codec/rounding.h"
#include "codec/stream_header.h"
#include "codec/wav_header.h"

namespace lorix {
namespace {

// Walks the tokens of a payload that ends at `end`, where the header begins. A count extension
// is read even when it reaches into the header; a token whose count bytes would start at the
// header is dropped and ends the payload.
struct TokenCursor {
  const std::uint8_t* data;
  std::size_t pos;
  std::size_t end;

  bool Next(std::uint8_t& code, std::int32_t& skips) {
    if (pos >= end) return false;
    const std::uint8_t head = data[pos++];
    code = head >> 4;
    const int low = head & 15;
    if (low < 14) {
      skips = low;
      return true;
    }
    if (pos >= end) return false;
    if (low == 14) {
      skips = data[pos++];
    } else {
      skips = GetInt32(data + pos);
      pos += 4;
    }
    return true;
  }
};

// n + 1 samples, with the 32-bit wrap-around of the stored count: a count of -1 or less, or the
// largest count, draws nothing.
std::int64_t StepsOf(std::int32_t skips) {
  const auto steps = static_cast<std::int32_t>(static_cast<std::uint32_t>(skips) + 1u);
  return steps > 0 ? steps : 0;
}

// Writes the first `count` of the `steps` samples that lead from prev_b to b.
void DrawSamples(const CodecTables& tables, int prev_b, int b, std::int64_t steps,
                 std::int64_t count, std::uint8_t* out) {
  const int c = b - prev_b;
  if (c == 0) {
    std::memset(out, prev_b, static_cast<std::size_t>(count));
    return;
  }
  if (steps > kCurveMaxSteps) {  // a straight line
    const double s = static_cast<double>(steps);
    for (std::int64_t j = 1; j <= count; ++j) {
      const int offset = j == steps ? c : RoundHalfEven(static_cast<double>(j * c) / s);
      out[j - 1] = static_cast<std::uint8_t>(prev_b + offset);
    }
    return;
  }
  const int s = static_cast<int>(steps);
  const int d = std::abs(c);
  const int sign = c < 0 ? -1 : 1;
  const double t = tables.CurveTable[s][d];
  const int half = s / 2;
  const int first_half_end = static_cast<int>(std::min<std::int64_t>(count, half));
  int j = 1;
  for (; j <= first_half_end; ++j) {
    out[j - 1] = static_cast<std::uint8_t>(prev_b + sign * RoundHalfEven(j * j * t));
  }
  for (; j <= count; ++j) {
    const int rest = s - j;
    out[j - 1] = static_cast<std::uint8_t>(prev_b + sign * RoundHalfEven(d - rest * rest * t));
  }
}

// The error for the token that would take the output past kMaxDecodedSamples, `written`
// samples standing in front of it.
[[noreturn]] void ThrowTooLong(std::int64_t written, std::int32_t skips, int b, int prev_b) {
  if (skips == 0) {
    throw CodecError("Die Aufnahme ist zu lang: mehr als " + std::to_string(kMaxDecodedSamples) +
                     " Samples.");
  }
  throw DecodeError(
      DecodeErrorText(kMaxDecodedSamples, kMaxDecodedSamples - written + 1, skips, b, prev_b));
}

}  // namespace

double CurveOffset(const CodecTables& tables, std::int32_t j, std::int32_t s, std::int32_t c) {
  if (c == 0) return 0.0;
  if (j == s) return c;
  if (s > kCurveMaxSteps) {
    return static_cast<double>(static_cast<std::int64_t>(j) * c) / static_cast<double>(s);
  }
  const int d = std::abs(c);
  const double t = tables.CurveTable[s][d];
  double x;
  if (j <= s / 2) {
    x = static_cast<double>(j * j) * t;
  } else {
    x = d - static_cast<double>((s - j) * (s - j)) * t;
  }
  return c < 0 ? -x : x;
}

std::string DecodeErrorText(std::int64_t samples_written, std::int64_t j, std::int32_t skips, int b,
                            int prev_b) {
  return "Fehler bei PCM-Smp.Nr. " + std::to_string(samples_written) +
         ":  (j=" + std::to_string(j) + ", Skips=" + std::to_string(skips) +
         ", b=" + std::to_string(b) + ", PrevB=" + std::to_string(prev_b) + ")";
}

DecompressResult Decompress(ByteSpan compressed_stream, const CodecTables& tables) {
  const StreamHeader header = ReadCheckedStreamHeader(compressed_stream);
  const auto size = static_cast<std::int64_t>(compressed_stream.size());
  const StreamLayout layout = LocateStream(header, size);

  if (header.SampleRate() <= 0) {
    throw CodecError("Ungültiger LORIX-Kopf: unmögliche Abtastrate (" +
                     std::to_string(header.SampleRate()) + " Hz).");
  }

  DecompressResult result;
  result.CurrentSampleRate = header.SampleRate();
  result.InfoLength = header.InfoLength();
  result.PayloadSize = header.PayloadSize();
  // The recorder takes the information text only when at least one byte stands in front of it.
  if (result.InfoLength > 0 && layout.info_start > 0) {
    const auto* text = compressed_stream.data() + layout.info_start;
    result.InfoStream.assign(text, text + result.InfoLength);
  }

  const auto begin = static_cast<std::size_t>(layout.payload_start);
  const auto end = static_cast<std::size_t>(layout.header_start);

  // First pass: how many samples the tokens stand for, so that an over-long stream is refused
  // before any output memory is taken, and the output is allocated once.
  std::int64_t total = 0;
  {
    TokenCursor scan{compressed_stream.data(), begin, end};
    int prev_b = 0;
    std::uint8_t code;
    std::int32_t skips;
    while (scan.Next(code, skips)) {
      const int b = tables.LevelTable[code];
      const std::int64_t steps = StepsOf(skips);
      if (total + steps > kMaxDecodedSamples) ThrowTooLong(total, skips, b, prev_b);
      total += steps;
      prev_b = b;
    }
  }

  Bytes& pcm = result.PcmStream;
  pcm.resize(kWavHeaderSize + static_cast<std::size_t>(total));
  std::uint8_t* samples = pcm.data() + kWavHeaderSize;

  TokenCursor cursor{compressed_stream.data(), begin, end};
  std::int64_t written = 0;
  int prev_b = 0;
  std::uint8_t code;
  std::int32_t skips;
  while (cursor.Next(code, skips)) {
    const int b = tables.LevelTable[code];
    const std::int64_t steps = StepsOf(skips);
    DrawSamples(tables, prev_b, b, steps, steps, samples + written);
    written += steps;
    prev_b = b;
  }

  result.SampleCount = static_cast<std::int32_t>(written);
  const WavHeader wav = BuildMonoWavHeader(result.SampleCount, result.CurrentSampleRate);
  std::copy(wav.begin(), wav.end(), pcm.begin());
  return result;
}

std::int64_t CountPlayerSamples(ByteSpan block, std::int32_t sample_limit) {
  if (block.size() < static_cast<std::size_t>(kStreamHeaderSize)) return 0;
  const std::int64_t limit = std::max<std::int32_t>(sample_limit, 0);
  TokenCursor cursor{block.data(), 0, block.size() - kStreamHeaderSize};
  std::int64_t written = 0;
  std::uint8_t code;
  std::int32_t skips;
  while (written < limit && cursor.Next(code, skips)) {
    written = std::min(limit, written + StepsOf(skips));
  }
  return written;
}

bool PlayerDecode(ByteSpan block, std::span<std::uint8_t> output, std::int32_t& sample_count,
                  const CodecTables& tables, const DecodeProgress& progress) {
  if (block.size() < static_cast<std::size_t>(kStreamHeaderSize) ||
      output.size() < static_cast<std::size_t>(kWavHeaderSize)) {
    return false;
  }
  const StreamHeader header = ReadStreamHeader(block);
  const std::int32_t rate = header.SampleRate();
  if (!IsPlayerSampleRate(rate)) return false;

  // The header's count limits the output; so does the block it was given.
  const std::int64_t limit =
      std::min<std::int64_t>(std::max<std::int32_t>(header.SampleCount(), 0),
                             static_cast<std::int64_t>(output.size()) - kWavHeaderSize);
  std::uint8_t* samples = output.data() + kWavHeaderSize;

  TokenCursor cursor{block.data(), 0, block.size() - kStreamHeaderSize};
  std::int64_t written = 0;
  std::int32_t token_number = 0;
  int prev_b = kSilence;
  std::uint8_t code;
  std::int32_t skips;
  while (written < limit && cursor.pos < cursor.end) {
    if (progress && token_number % 4096 == 0) {
      progress(token_number, static_cast<std::int32_t>(written));
    }
    if (!cursor.Next(code, skips)) break;
    const int b = tables.LevelTable[code];
    const std::int64_t steps = StepsOf(skips);
    // A last token that runs past the output is clipped.
    const std::int64_t count = std::min(steps, limit - written);
    DrawSamples(tables, prev_b, b, steps, count, samples + written);
    written += count;
    prev_b = b;
    ++token_number;
  }
  if (progress) progress(token_number, static_cast<std::int32_t>(written));

  sample_count = static_cast<std::int32_t>(written);
  const WavHeader wav = BuildMonoWavHeader(sample_count, rate);
  std::copy(wav.begin(), wav.end(), output.begin());
  return true;
}

}  // namespace lorix
