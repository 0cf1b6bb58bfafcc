#pragma once
// Helpers of the codec tests, among them a token parser of our own, written from the token
// format and independent of the codec's decoder.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "codec/attachment.h"
#include "codec/codec_error.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/file_io.h"
#include "codec/info_text.h"
#include "codec/stream_header.h"
#include "codec/text_encoding.h"
#include "codec/wav_file.h"
#include "codec/wav_header.h"

namespace lorix::testing {

using namespace std::string_literals;
using V = std::vector<std::uint8_t>;

inline const CodecTables& T() {
  return InitCodecTables();
}

// A WAV image (8-bit mono) holding `samples`, and the samples of an image.
inline Bytes Pcm(const V& samples, std::int32_t rate = 11025) {
  const WavHeader h = BuildMonoWavHeader(static_cast<std::int32_t>(samples.size()), rate);
  Bytes pcm(h.size() + samples.size());
  std::copy(h.begin(), h.end(), pcm.begin());
  std::copy(samples.begin(), samples.end(), pcm.begin() + kWavHeaderSize);
  return pcm;
}
inline V Samples(const Bytes& image) {
  return {image.begin() + kWavHeaderSize, image.end()};
}

inline Bytes Encode(const V& samples, int compress, int mute, std::int32_t info_length = 0) {
  return Compress(Pcm(samples), static_cast<std::int32_t>(samples.size()),
                  CodecSettings::FromLevels(compress, mute), T(), "1.5", info_length)
      .CompressedStream;
}

inline Bytes PayloadOf(const Bytes& stream) {
  return Bytes(stream.end() - kStreamHeaderSize - ReadStreamHeader(stream).PayloadSize(),
               stream.end() - kStreamHeaderSize);
}

// `payload` followed by a header for it.
inline Bytes Stream(Bytes payload, std::int32_t sample_count, std::int32_t rate = 11025,
                    std::int32_t info_length = 0) {
  const auto size = static_cast<std::int32_t>(payload.size());
  AppendBytes(payload,
              BuildStreamHeader("1.5", size, sample_count, rate, kCodecName, info_length).bytes);
  return payload;
}

// The three-token example stream (6 samples in 3 bytes) with one header field overwritten.
inline Bytes With(int offset, std::int32_t value) {
  Bytes stream = Stream({0x80, 0xB2, 0x91}, 6);
  PutInt32(&stream[stream.size() - kStreamHeaderSize + offset], value);
  return stream;
}

struct Token {
  int code;
  std::int64_t n;
  std::size_t size;  // bytes
};

inline std::vector<Token> ParseTokens(const Bytes& payload) {
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < payload.size(); i += tokens.back().size) {
    const int low = payload[i] & 0x0F;
    const std::size_t size = low < 14 ? 1 : low == 14 ? 2 : 5;
    if (i + size > payload.size()) {
      ADD_FAILURE() << "token at " << i << " cut off";
      break;
    }
    const std::int64_t n = low < 14 ? low : low == 14 ? payload[i + 1] : GetInt32(&payload[i + 1]);
    tokens.push_back({payload[i] >> 4, n, size});
  }
  return tokens;
}

// The invariants of an encoded stream, and both decoders hitting every turning point.
inline void ExpectRoundTrip(const V& samples, int compress, int mute) {
  SCOPED_TRACE("CompressLevel " + std::to_string(compress) + ", MuteLevel " + std::to_string(mute));
  const Bytes stream = Encode(samples, compress, mute);
  const StreamHeader header = ReadStreamHeader(stream);
  const std::vector<Token> tokens = ParseTokens(PayloadOf(stream));
  ASSERT_FALSE(tokens.empty());
  const auto count = static_cast<std::int64_t>(samples.size());
  const DecompressResult recorder = Decompress(stream, T());
  Bytes player(kWavHeaderSize + samples.size() + 10, 0xAA);
  std::int32_t written = -1;
  ASSERT_TRUE(PlayerDecode(stream, player, written, T()));
  ASSERT_EQ(recorder.PcmStream.size(), kWavHeaderSize + samples.size());
  EXPECT_EQ(std::tuple(header.SampleCount(), recorder.SampleCount, written),
            std::tuple(count, count, count));
  std::int64_t end = 0, bytes = 0, misses = 0, longer = 0;
  for (const Token& t : tokens) {
    end += t.n + 1;
    bytes += static_cast<std::int64_t>(t.size);
    longer += t.size != (t.n <= 13 ? 1u : t.n <= 255 ? 2u : 5u);
    misses += recorder.PcmStream[kWavHeaderSize + end - 1] != T().LevelTable[t.code];
    misses += player[kWavHeaderSize + end - 1] != T().LevelTable[t.code];
  }
  EXPECT_EQ(end, count) << "sum of (n + 1)";
  EXPECT_EQ(std::tuple(bytes, longer), std::tuple(header.PayloadSize(), 0)) << "token bytes";
  EXPECT_EQ(stream.size(), static_cast<std::size_t>(header.PayloadSize() + kStreamHeaderSize));
  EXPECT_EQ(misses, 0) << "turning points missed";
  // The two decoders differ only in the level in front of the first token.
  const std::size_t from = kWavHeaderSize + static_cast<std::size_t>(tokens[0].n + 1);
  EXPECT_TRUE(std::equal(recorder.PcmStream.begin() + from, recorder.PcmStream.end(),
                         player.begin() + from));
}

// A fresh folder under the system's temporary folder, removed again at the end of the test.
struct TempDir {
  std::filesystem::path path_ = [] {
    std::string name = (std::filesystem::temp_directory_path() / "lorix_codec_XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp: " + name);
    return name;
  }();
  ~TempDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path Write(const std::string& name, const Bytes& bytes) const {
    WriteFileAtomically(path_ / name, bytes);
    return path_ / name;
  }
};

inline Bytes ReadFile(const std::filesystem::path& file) {
  return ReadWholeFile(file);
}

}  // namespace lorix::testing
