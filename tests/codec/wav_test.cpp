#include "codec_test_util.h"

namespace lorix::testing {
namespace {

TEST(WavHeader, FieldsForZeroAndOddSampleCounts) {
  // "RIFF", 36, "WAVE", "fmt ", 16, PCM 1, 1 channel, 11025 Hz, 11025 B/s, align 1, 8 bits, "data",
  // 0
  const std::string expected =
      "RIFF$\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x11+\0\0\x11+\0\0\1\0\x08\0"
      "data\0\0\0\0"s;
  const WavHeader h = BuildWavHeader(0, 1, 1, 8, 11025, 11025);
  EXPECT_EQ(std::string(h.begin(), h.end()), expected);
  EXPECT_EQ(BuildMonoWavHeader(0, 11025), h);
  Bytes image;
  ResetPcmStream(image, 11025);
  EXPECT_EQ(std::string(image.begin(), image.end()), expected);
  // 1001 samples: chunk size 1037, data size 1001, no pad byte.
  image.resize(44 + 1001, 128);
  EXPECT_EQ(FinishPcmStream(image, 8000), 1001);
  EXPECT_EQ(image.size(), 1045u);
  EXPECT_EQ(GetUint32(&image[4]), 1037u);
  const WavFormat f = ReadWavHeader(image);
  EXPECT_EQ(std::tuple(f.channels, f.bits_per_sample, f.sample_rate, f.sample_count),
            std::tuple(1, 8, 8000, 1001));
}

TEST(WavFile, LoadCutsClassifiesAndRejects) {
  TempDir dir;
  // channels, bits, rate, declared data size, data bytes in the file, kind (0: rejected)
  const std::tuple<std::uint16_t, std::uint16_t, std::int32_t, std::int32_t, int, int> cases[] = {
      {1, 8, 11025, 100, 130, 2},  // trailing bytes are cut off
      {1, 8, 22050, 100, 100, 2},  // 8-bit mono at another rate: still kind 2
      {1, 16, 11025, 100, 100, 1}, {2, 8, 11025, 100, 100, 1},
      {1, 8, 11025, 0, 0, 2},      {1, 8, 11025, 200, 100, 0},  // declares more data than it holds
      {1, 8, 11025, -1, 100, 0}};
  for (const auto& [channels, bits, rate, declared, actual, kind] : cases) {
    const WavHeader h = BuildWavHeader(declared, channels, 1, bits, rate, rate);
    Bytes bytes(h.begin(), h.end());
    for (int i = 0; i < actual; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
    const auto file = dir.Write("in.wav", bytes);
    if (kind == 0) {
      EXPECT_THROW(LoadWavFile(file), CodecError) << declared;
      continue;
    }
    const LoadedWav wav = LoadWavFile(file);
    EXPECT_EQ(static_cast<int>(wav.kind), kind);
    EXPECT_EQ(wav.PcmStream, Bytes(bytes.begin(), bytes.begin() + 44 + declared));
    EXPECT_EQ(std::tuple(wav.format.channels, wav.format.bits_per_sample, wav.format.sample_rate),
              std::tuple(channels, bits, rate));
  }
  EXPECT_THROW(LoadWavFile(dir.Write("short.wav", Bytes(43, 0))), CodecError);
  EXPECT_THROW(LoadWavFile(dir.path() / "missing.wav"), CodecError);
  EXPECT_THROW(LoadWavFile(dir.path()), CodecError);
}

TEST(WavFile, LooksLikeWav) {
  const Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  EXPECT_TRUE(LooksLikeWav("a/Sound.WaV", {}));
  EXPECT_TRUE(LooksLikeWav("a/sound.lrx", riff));
  EXPECT_FALSE(LooksLikeWav("a/sound.lrx", Bytes(riff.begin(), riff.end() - 1)));
  EXPECT_FALSE(LooksLikeWav("a/sound.wav.exe", Bytes(12, 'x')));
}

}  // namespace
}  // namespace lorix::testing
