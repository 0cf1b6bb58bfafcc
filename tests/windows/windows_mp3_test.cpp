// The MP3 encoder as the Windows programs are built with it (LAME cross-built from Debian's
// source package), run under Wine on the test rig: its file must be the standard MP3 file the
// Linux encoder writes, and sound like the recording.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>

#include "codec/wav_header.h"
#include "desktop/path_search.h"
#include "mp3/mp3_encoder.h"
#include "tests/support/child_program.h"
#include "tests/support/mp3_decode.h"
#include "tests/support/mp3_standard.h"
#include "tests/support/sink_recording.h"
#include "tests/support/test_folder.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kProbe = LORIX_MP3_PROBE_EXE;
constexpr int kRate = 11025;

// A second of a 440 Hz tone, as the recorder holds a recording.
Bytes OneSecondTone() {
  Bytes pcm;
  ResetPcmStream(pcm, kRate);
  for (int i = 0; i < kRate; ++i) {
    const double tone = std::sin(2 * std::numbers::pi * 440 * i / kRate);
    pcm.push_back(static_cast<std::uint8_t>(std::nearbyint(128 + 60 * tone)));
  }
  FinishPcmStream(pcm, kRate);
  return pcm;
}

TEST(WindowsMp3, ToneBecomesTheStandardFileOfTheLinuxEncoder) {
  ASSERT_NE(std::getenv("WINEPREFIX"), nullptr) << "the rig has no Wine (wine_rig.sh)";
  const fs::path wine = FindInPath("wine");
  ASSERT_FALSE(wine.empty()) << "Wine is missing (scripts/setup.sh)";
  ASSERT_TRUE(fs::exists(kProbe)) << kProbe;
  const fs::path folder = FreshTestFolder("lorix_windows_mp3");
  const Bytes tone = OneSecondTone();
  std::ofstream(folder / "tone.wav", std::ios::binary)
      .write(reinterpret_cast<const char*>(tone.data()), static_cast<std::streamsize>(tone.size()));

  ChildProgram probe(wine, folder, {kProbe.string(), "tone.wav", "tone.mp3"});
  ASSERT_TRUE(probe.started());
  EXPECT_EQ(probe.WaitForExit(60s), 0);
  const Bytes windows_mp3 = ReadBytes(folder / "tone.mp3");
  ASSERT_FALSE(windows_mp3.empty());

  std::tm recorded{};
  recorded.tm_year = 2024 - 1900;
  recorded.tm_mon = 0;
  recorded.tm_mday = 2;
  recorded.tm_hour = 3;
  recorded.tm_min = 4;
  const Bytes linux_mp3 = EncodeMp3(tone, recorded);
  const std::int64_t frames = CountStandardFrames(windows_mp3, kDefaultMp3KbitPerSecond);
  EXPECT_GE(frames, 16000 / 576);
  EXPECT_EQ(frames, CountStandardFrames(linux_mp3, kDefaultMp3KbitPerSecond));
  const std::string text(windows_mp3.begin(), windows_mp3.end());
  EXPECT_NE(text.find("LORIX-Sprachanhang 2024-01-02 03:04"), std::string::npos);
  ExpectPlayersTakeMp3(folder / "tone.mp3", kDefaultMp3KbitPerSecond);

  const Bytes samples(tone.begin() + kWavHeaderSize, tone.end());
  EXPECT_GE(DecodedCorrelation(samples, DecodeMp3(folder / "tone.mp3", folder / "decoded.wav")),
            0.9);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace lorix::testing
