#include "codec_test_util.h"

namespace lorix::testing {
namespace {

TEST(CodecTables, QuantiserAndLevelTables) {
  const int starts[] = {0,   64,  96,  112, 120, 124, 126, 127, 128,
                        129, 130, 132, 136, 144, 160, 192, 256};
  const int levels[] = {32,  80,  104, 116, 122, 125, 126, 127,
                        128, 129, 131, 134, 140, 152, 176, 224};
  for (int code = 0; code < 16; ++code) {
    EXPECT_EQ(T().LevelTable[code], levels[code]);
    for (int s = starts[code]; s < starts[code + 1]; ++s) EXPECT_EQ(T().QuantiserTable[s], code);
  }
  EXPECT_EQ(std::count(T().LevelTable.begin() + 16, T().LevelTable.end(), 0), 240);
  EXPECT_DOUBLE_EQ(T().CurveTable[3][128], 256.0 / 9.0);
}

TEST(Compress, TokenFormsAtTheirBoundaries) {
  // EmitToken with code 8, and a run of skip + 1 samples of 128, which ends in (8, skip).
  const std::pair<std::int32_t, Bytes> cases[] = {{0, {0x80}},
                                                  {13, {0x8D}},
                                                  {14, {0x8E, 14}},
                                                  {255, {0x8E, 0xFF}},
                                                  {256, {0x8F, 0x00, 0x01, 0x00, 0x00}},
                                                  {11024, {0x8F, 0x10, 0x2B, 0x00, 0x00}},
                                                  {-1, {0x8F, 0xFF, 0xFF, 0xFF, 0xFF}}};
  for (const auto& [skip, bytes] : cases) {
    Bytes out = {0x11};
    std::int32_t counter = skip;
    EmitToken(out, 8, counter);
    EXPECT_EQ(Bytes(out.begin() + 1, out.end()), bytes) << skip;
    EXPECT_EQ(counter, 0);
    if (skip >= 0) {
      EXPECT_EQ(PayloadOf(Encode(V(skip + 1, 128), 0, 0)), bytes) << skip;
    }
  }
}

TEST(Compress, WorkedExamples) {
  const V codes_10_11_11_11_12 = {130, 132, 133, 135, 136};
  // samples, CompressLevel, MuteLevel, payload
  const std::tuple<V, int, int, Bytes> cases[] = {
      {{128, 129, 130, 133, 131, 129}, 0, 0, {0x80, 0xB2, 0x91}},
      {codes_10_11_11_11_12, 3, 0, {0xC4}},
      {codes_10_11_11_11_12, 1, 0, {0xB2, 0xB0, 0xC0}},
      {V(11025, 128), 0, 4, {0x8F, 0x10, 0x2B, 0x00, 0x00}},       // a pause of exact zero line
      {V(3000, 130), 0, 4, {0xA0, 0x8F, 0xB6, 0x0B, 0x00, 0x00}},  // (8, n - 2) from the 3000th
      {V(5000, 130), 0, 4, {0xA0, 0x8F, 0x86, 0x13, 0x00, 0x00}},
      {V(2999, 130), 0, 4, {0xA0, 0xAF, 0xB5, 0x0B, 0x00, 0x00}},  // one short: stays code 10
      {V(5000, 130), 0, 2, {0xA0, 0xAF, 0x86, 0x13, 0x00, 0x00}},  // code 10 is not quiet
  };
  for (const auto& [samples, compress, mute, payload] : cases) {
    EXPECT_EQ(PayloadOf(Encode(samples, compress, mute)), payload) << samples.size();
  }
  const Bytes worked = Encode({128, 129, 130, 133, 131, 129}, 0, 0, 1234);
  EXPECT_EQ(worked.size(), 3u + kStreamHeaderSize);
  EXPECT_EQ(ReadStreamHeader(worked).bytes,
            BuildStreamHeader("1.5", 3, 6, 11025, "4BitLog ", 1234).bytes);
  // The decoder draws the long pause from 131 down to 128 instead of holding 131.
  const V pause = Samples(Decompress(Encode(V(5000, 130), 0, 4), T()).PcmStream);
  ASSERT_EQ(pause.size(), 5000u);
  EXPECT_TRUE(std::is_sorted(pause.rbegin(), pause.rend()));
  EXPECT_EQ(pause[0], 131);
  EXPECT_LT(pause[2500], 131);
  EXPECT_EQ(pause.back(), 128);
}

TEST(Compress, DegenerateInputs) {
  const Bytes empty = Encode({}, 0, 0);
  EXPECT_EQ(empty, Stream({}, 0));
  EXPECT_EQ(Decompress(empty, T()).SampleCount, 0);
  // At most CompressLevel samples of code 8 never leave the flat branch: the final token
  // counts every sample as skipped and decodes to one sample more than the header says.
  for (int level = 1; level <= kMaxCompressLevel; ++level) {
    for (int n = 1; n <= level; ++n) {
      const Bytes stream = Encode(V(n, 128), level, 0);
      EXPECT_EQ(PayloadOf(stream), (Bytes{static_cast<std::uint8_t>(0x80 + n)}));
      EXPECT_EQ(ReadStreamHeader(stream).SampleCount(), n);
      EXPECT_EQ(Decompress(stream, T()).SampleCount, n + 1);
    }
  }
}

TEST(Compress, MuteBandAndPercent) {
  const int percent[] = {0, 1, 2, 5, 9, 19, 38, 75, 100};
  for (int level = 0; level <= kMaxMuteLevel; ++level) {
    EXPECT_EQ(MutePercent(T(), level), percent[level]) << level;
    const CodecSettings s = CodecSettings::FromLevels(2, level);
    EXPECT_EQ(std::tuple(s.CompressLevel, s.MuteLow, s.MuteHigh),
              std::tuple(2, 8 - level, 8 + level));
  }
}

TEST(RoundTrip, GeneratedSignal) {
  // Tones of several loudnesses, noise near the zero line, exact silence and slow ramps.
  V signal;
  std::uint32_t seed = 12345;
  const auto noise = [&seed](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % (2 * range + 1)) - range;
  };
  for (int burst = 0; burst < 6; ++burst) {
    for (int i = 0; i < 4000; ++i) {
      const double v =
          128 + (4 + burst * 24) * std::sin(i * (0.05 + 0.03 * burst)) + noise(2 + burst);
      signal.push_back(static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)));
    }
    for (int i = 0; i < 3500; ++i)
      signal.push_back(static_cast<std::uint8_t>(128 + noise(burst % 3)));
    signal.insert(signal.end(), 100 + 700 * burst, 128);
    for (int i = 0; i < 2000; ++i) signal.push_back(static_cast<std::uint8_t>(128 + i / 16));
  }
  const auto tokens = ParseTokens(PayloadOf(Encode(signal, 0, 0)));
  for (const std::size_t size : {1u, 2u, 5u}) {
    EXPECT_TRUE(
        std::any_of(tokens.begin(), tokens.end(), [&](const Token& t) { return t.size == size; }));
  }
  const std::pair<int, int> levels[] = {{0, 0}, {1, 0}, {3, 4}, {2, 1}, {8, 8}, {0, 8}, {8, 0}};
  for (const auto& [compress, mute] : levels) ExpectRoundTrip(signal, compress, mute);
}

}  // namespace
}  // namespace lorix::testing
