#include "codec_test_util.h"
#include "tests/audio/wav_builder.h"

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

TEST(WavFile, LoadCutsClassifiesAndTakesTruncatedDataAsFarAsItGoes) {
  TempDir dir;
  // channels, bits, rate, declared data size, data bytes in the file, bytes taken, kind
  const std::tuple<std::uint16_t, std::uint16_t, std::int32_t, std::int32_t, int, int, int>
      cases[] = {{1, 8, 11025, 100, 130, 100, 2},  // trailing bytes are cut off
                 {1, 8, 22050, 100, 100, 100, 2},  // 8-bit mono at another rate: still kind 2
                 {1, 16, 11025, 100, 100, 100, 1},
                 {2, 8, 11025, 100, 100, 100, 1},
                 {1, 8, 11025, 0, 0, 0, 2},
                 {1, 8, 11025, 200, 100, 100, 2},   // cut off by the end of the file
                 {2, 16, 11025, 200, 101, 100, 1},  // ... and to whole frames
                 {1, 8, 11025, -1, 100, 100, 2}};   // the size a streaming writer leaves
  for (const auto& [channels, bits, rate, declared, actual, taken, kind] : cases) {
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    const WavHeader h = BuildWavHeader(declared, channels, align, bits, rate, rate * align);
    Bytes bytes(h.begin(), h.end());
    for (int i = 0; i < actual; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
    const LoadedWav wav = LoadWavFile(dir.Write("in.wav", bytes));
    EXPECT_EQ(static_cast<int>(wav.kind), kind);
    // The header says what was taken.
    const WavHeader taken_header = BuildWavHeader(taken, channels, align, bits, rate, rate * align);
    Bytes expected(taken_header.begin(), taken_header.end());
    expected.insert(expected.end(), bytes.begin() + 44, bytes.begin() + 44 + taken);
    EXPECT_EQ(wav.PcmStream, expected) << declared;
    EXPECT_EQ(std::tuple(wav.format.channels, wav.format.bits_per_sample, wav.format.sample_rate,
                         wav.format.sample_count),
              std::tuple(channels, bits, rate, taken));
  }
  EXPECT_THROW(LoadWavFile(dir.Write("short.wav", Bytes(43, 0))), CodecError);
  EXPECT_THROW(LoadWavFile(dir.path() / "missing.wav"), CodecError);
  EXPECT_THROW(LoadWavFile(dir.path()), CodecError);
}

TEST(WavFile, OtherChunksAndTheExtensibleFormatLoadToTheCanonicalImage) {
  TempDir dir;
  const Bytes samples = {120, 130, 140, 150, 160, 170};
  const Bytes plain = Riff({FormatChunk(1, 1, 11025, 8), Chunk("data", samples)});
  ASSERT_EQ(plain.size(), 44u + samples.size());
  // A LIST chunk of odd length (with its pad byte) in front, as converters write it, a fact
  // chunk, and a chunk behind the data.
  const Bytes list = {'I', 'N', 'F', 'O', 'I', 'C', 'M', 'T', 3, 0, 0, 0, 'h', 'i', 0};
  const std::vector<Bytes> files = {
      Riff({Chunk("LIST", list), FormatChunk(1, 1, 11025, 8), Chunk("fact", {6, 0, 0, 0}),
            Chunk("data", samples), Chunk("id3 ", {1, 2, 3, 4})}),
      Riff({ExtensibleFormatChunk(1, 11025, 8, 1), Chunk("fact", {6, 0, 0, 0}),
            Chunk("data", samples)})};
  for (const Bytes& file : files) {
    const LoadedWav wav = LoadWavFile(dir.Write("in.wav", file));
    EXPECT_EQ(wav.PcmStream, plain);
    EXPECT_EQ(wav.kind, WavKind::kPcm8Mono);
  }
  // Not RIFF/WAVE, no data, or a format that cannot be played: refused with a German text.
  const std::vector<Bytes> refused = {Bytes(plain.begin() + 4, plain.end()),
                                      Riff({FormatChunk(1, 1, 11025, 8)}),
                                      Riff({FormatChunk(3, 1, 11025, 32), Chunk("data", samples)})};
  for (const Bytes& file : refused) {
    EXPECT_THROW(LoadWavFile(dir.Write("bad.wav", file)), CodecError);
  }
}

}  // namespace
}  // namespace lorix::testing
