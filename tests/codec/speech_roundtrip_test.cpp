#include "codec_test_util.h"

namespace lorix::testing {
namespace {

// The spoken German made by tests/make_speech.sh. A missing file fails the test.
std::vector<std::uint8_t> Speech(const std::string& name) {
  const char* env = std::getenv("LORIX_SPEECH_DIR");
  const auto file = std::filesystem::path(env && *env ? env : LORIX_SPEECH_DIR) / name;
  if (!std::filesystem::exists(file)) {
    ADD_FAILURE() << file << " is missing (made by tests/make_speech.sh)";
    return {};
  }
  const LoadedWav wav = LoadWavFile(file);
  EXPECT_EQ(wav.kind, WavKind::kPcm8Mono);
  EXPECT_EQ(wav.format.sample_rate, 11025);
  return Samples(wav.PcmStream);
}

class SpeechRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(SpeechRoundTrip, InvariantsHoldAtEveryLevelPair) {
  const auto samples = Speech(GetParam());
  ASSERT_GT(samples.size(), 11025u * 2);
  const std::pair<int, int> levels[] = {{0, 0}, {2, 0}, {0, 3}, {4, 4}, {8, 8}};
  for (const auto& [compress, mute] : levels) ExpectRoundTrip(samples, compress, mute);
  // Speech compresses, and a coarser setting compresses more.
  const auto size0 = Encode(samples, 0, 0).size(), size8 = Encode(samples, 8, 8).size();
  EXPECT_LT(size0, samples.size());
  EXPECT_LT(size8, size0);
}

INSTANTIATE_TEST_SUITE_P(Speech, SpeechRoundTrip,
                         ::testing::Values("speech_de.wav", "speech_de_long.wav"),
                         [](const auto& info) { return info.index ? "Long" : "Short"; });

TEST(SpeechAttachment, ThePlayerPlaysWhatTheRecorderHears) {
  const auto samples = Speech("speech_de_long.wav");
  ASSERT_FALSE(samples.empty());
  const Bytes stream = Encode(samples, 2, 3, InfoTextLength());
  const Bytes heard = Decompress(stream, T()).PcmStream;
  TempDir dir;
  const auto file = dir.path() / "LORIX_speech.EXE";
  WriteAttachment(file, Bytes(4096, 0x90), InfoText(), stream,
                  ReadStreamHeader(stream).PayloadSize());
  PlayerExtraction state;
  const ExtractResult r = ExtractPayload(file, state, T(), {dir.path(), file, {}, {}});
  ASSERT_EQ(r.outcome, ExtractOutcome::kExtracted) << r.message;
  const Bytes played = ReadFile(r.wav_path);
  ASSERT_EQ(played.size(), heard.size());
  const auto first =
      static_cast<std::ptrdiff_t>(kWavHeaderSize + ParseTokens(PayloadOf(stream))[0].n + 1);
  EXPECT_TRUE(std::equal(played.begin() + first, played.end(), heard.begin() + first));
  EXPECT_EQ(ReadFile(state.InfoFile), Bytes(InfoText().begin(), InfoText().end()));
}

}  // namespace
}  // namespace lorix::testing
