#include "codec_test_util.h"

namespace lorix::testing {
namespace {

const Bytes kWorked = {0x80, 0xB2, 0x91};
const V kWorkedPcm = {128, 129, 133, 134, 132, 129};

V Recorder(const Bytes& stream) {
  return Samples(Decompress(stream, T()).PcmStream);
}

// The player's samples for an output block of the header's sample count.
V Player(const Bytes& stream) {
  Bytes out(kWavHeaderSize + ReadStreamHeader(stream).SampleCount(), 0xAA);
  std::int32_t count = -1;
  EXPECT_TRUE(PlayerDecode(stream, out, count, T()));
  EXPECT_EQ(ReadWavHeader(out).sample_count, count);
  EXPECT_EQ(ReadWavHeader(out).sample_rate, ReadStreamHeader(stream).SampleRate());
  return V(out.begin() + kWavHeaderSize, out.begin() + kWavHeaderSize + count);
}

TEST(Decoder, TokensInBothDecoders) {
  const V rising = {128, 149, 203, 224};
  // name, payload, header sample count, recorder's samples, player's samples
  const std::tuple<const char*, Bytes, std::int32_t, V, V> cases[] = {
      {"three tokens", kWorked, 6, kWorkedPcm, kWorkedPcm},
      {"c=3, 1.5 -> 2", {0x50, 0x81}, 3, {125, 127, 128}, {125, 127, 128}},
      {"c=-3, -1.5 -> -2", {0xA0, 0x81}, 3, {131, 129, 128}, {131, 129, 128}},
      {"c=-5, -2.5 -> -2", {0xB0, 0x91}, 3, {134, 132, 129}, {134, 132, 129}},
      {"start level", {0x82}, 3, {28, 100, 128}, {128, 128, 128}},
      {"any form for any n", {0x80, 0xF2}, 4, rising, rising},
      {"2-byte n=2", {0x80, 0xFE, 2}, 4, rising, rising},
      {"5-byte n=2", {0x80, 0xFF, 2, 0, 0, 0}, 4, rising, rising},
      {"count -1", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x81}, 2, {176, 128}, {176, 128}},
      {"count INT32_MIN", {0xFF, 0, 0, 0, 0x80, 0x81}, 2, {176, 128}, {176, 128}},
      {"count INT32_MAX", {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x81}, 2, {176, 128}, {176, 128}},
      {"2-byte count cut", {0x80, 0x3E}, 10, {128}, {128}},
      {"5-byte count cut", {0x80, 0x3F}, 10, {128}, {128}},
      {"player limit 4", kWorked, 4, kWorkedPcm, {128, 129, 133, 134}},
      {"clipped in a curve", kWorked, 2, kWorkedPcm, {128, 129}},
      {"player limit 0", kWorked, 0, kWorkedPcm, {}},
      {"count above total", kWorked, 100, kWorkedPcm, kWorkedPcm},
      {"empty payload", {}, 5, {}, {}},
  };
  for (const auto& [name, payload, count, recorder, player] : cases) {
    EXPECT_EQ(Recorder(Stream(payload, count)), recorder) << name;
    EXPECT_EQ(Player(Stream(payload, count)), player) << name;
  }
  const DecompressResult r = Decompress(Stream(kWorked, 6, 8000), T());
  EXPECT_EQ(r.SampleCount, 6);
  EXPECT_EQ(r.PayloadSize, 3);
  EXPECT_EQ(r.CurrentSampleRate, 8000);
  EXPECT_EQ(r.PcmStream, Pcm(kWorkedPcm, 8000));
}

TEST(Decoder, CurveOffsetAndTheStraightLine) {
  EXPECT_DOUBLE_EQ(CurveOffset(T(), 1, 2, -5), -2.5);
  EXPECT_DOUBLE_EQ(CurveOffset(T(), 7, 7, -200), -200.0);
  EXPECT_DOUBLE_EQ(CurveOffset(T(), 3, 9, 0), 0.0);
  // (8, 0) then (0, 1500): 1501 steps on a straight line from 128 down to 32.
  const Bytes stream = Stream({0x80, 0x0F, 0xDC, 0x05, 0x00, 0x00}, 1502);
  V expected = {128};
  for (int j = 1; j <= 1501; ++j) {
    expected.push_back(static_cast<std::uint8_t>(128 + std::nearbyint(j * -96.0 / 1501.0)));
    EXPECT_DOUBLE_EQ(CurveOffset(T(), j, 1501, -96), j * -96.0 / 1501.0);
  }
  EXPECT_EQ(Recorder(stream), expected);
  EXPECT_EQ(Player(stream), expected);
  // j x c beyond 32 bits is formed in 64 bits.
  EXPECT_DOUBLE_EQ(CurveOffset(T(), 20'000'000, 40'000'000, -255), -127.5);
}

TEST(Decoder, CountCutOffIsReadOnIntoTheHeader) {
  // With the header's first bytes zero (the magic moved behind them) the count is 3.
  for (int left = 1; left <= 3; ++left) {
    Bytes payload = {0x80, 0xFF, 0x03};
    payload.resize(2 + left, 0x00);
    Bytes stream = Stream(payload, 100);
    const std::string magic = std::string(3, '\0') + "LORIX   1.5  ";
    std::copy(magic.begin(), magic.end(), stream.end() - kStreamHeaderSize);
    ASSERT_TRUE(HasStreamMagic(ReadStreamHeader(stream)));
    EXPECT_EQ(Recorder(stream), (V{128, 140, 176, 212, 224})) << left;
    EXPECT_EQ(Player(stream), (V{128, 140, 176, 212, 224})) << left;
  }
}

TEST(Decoder, PlayerChecksRateAndNeverWritesPastItsOutput) {
  Bytes memory(kWavHeaderSize + 5, 0xAA);
  std::int32_t count = -1;
  EXPECT_FALSE(PlayerDecode(Stream(kWorked, 6, 999), memory, count, T()));
  EXPECT_EQ(std::tuple(memory, count), std::tuple(Bytes(kWavHeaderSize + 5, 0xAA), -1));
  ASSERT_TRUE(PlayerDecode(Stream(kWorked, 6), std::span(memory).first(47), count, T()));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(Samples(memory), (V{128, 129, 133, 0xAA, 0xAA}));
}

// Every token of these streams draws one sample, so the samples written follow the tokens.
TEST(Decoder, PlayerReportsProgressEvery4096Tokens) {
  const std::pair<int, std::vector<std::int32_t>> cases[] = {
      {0, {0}}, {4096, {0, 4096}}, {4097, {0, 4096, 4097}}, {10000, {0, 4096, 8192, 10000}}};
  for (const auto& [tokens, expected] : cases) {
    Bytes out(kWavHeaderSize + tokens);
    std::int32_t count = 0;
    std::vector<std::int32_t> calls;
    const auto progress = [&calls](std::int32_t n, std::int32_t samples) {
      EXPECT_EQ(samples, n);
      calls.push_back(n);
    };
    ASSERT_TRUE(PlayerDecode(Stream(Bytes(tokens, 0x80), tokens), out, count, T(), progress));
    EXPECT_EQ(calls, expected) << tokens;
  }
}

TEST(Decoder, RecorderInformationTextAndImpossibleHeaders) {
  Bytes file = {'X', 'a', 'b', 'c'};
  AppendBytes(file, Stream({0x80}, 1, 11025, 3));
  EXPECT_EQ(Decompress(file, T()).InfoStream, (Bytes{'a', 'b', 'c'}));
  // The recorder takes the text only when at least one byte stands in front of it.
  EXPECT_TRUE(Decompress(Bytes(file.begin() + 1, file.end()), T()).InfoStream.empty());
  for (const Bytes& bad : {With(16, -1), With(16, 4), With(20, -1), With(36, -3), With(24, 0),
                           With(24, -11025), Bytes(43, 0)}) {
    EXPECT_THROW(Decompress(bad, T()), CodecError);
  }
}

TEST(Decoder, OverlongStreamIsRejected) {
  // One token of 2^31 - 1 samples; 2^28 + 2 samples in three tokens.
  const std::pair<Bytes, std::string> bombs[] = {
      {Stream({0x8F, 0xFE, 0xFF, 0xFF, 0x7F}, 0x7FFFFFFF),
       DecodeErrorText(kMaxDecodedSamples, kMaxDecodedSamples + 1, 0x7FFFFFFE, 128, 0)},
      {Stream({0x80, 0x8F, 0x00, 0x00, 0x00, 0x10, 0x80}, 0x7FFFFFFF),
       DecodeErrorText(kMaxDecodedSamples, kMaxDecodedSamples, 1 << 28, 128, 128)}};
  for (const auto& [bomb, text] : bombs) {
    try {
      Decompress(bomb, T());
      ADD_FAILURE() << "decoded: " << text;
    } catch (const DecodeError& e) {
      EXPECT_EQ(e.what(), text);
    }
  }
  EXPECT_EQ(DecodeErrorText(12, 3, 1500, 224, 128),
            "Fehler bei PCM-Smp.Nr. 12:  (j=3, Skips=1500, b=224, PrevB=128)");
}

}  // namespace
}  // namespace lorix::testing
