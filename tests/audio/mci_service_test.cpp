#include "audio/mci_service.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "audio/manual_playback_backend.h"
#include "tests/audio/wav_builder.h"

namespace lorix {
namespace {

namespace fs = std::filesystem;

class MciServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("lorix_mci_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    // 4000 ms at 11025 Hz, in a folder with a blank in its name.
    fs::create_directories(dir_ / "mit Leerzeichen");
    sound_ = (dir_ / "mit Leerzeichen" / "ton 1.wav").string();
    testing::WriteFile(sound_, testing::MonoWav(11025, 4000));
  }
  void TearDown() override { fs::remove_all(dir_); }

  int Send(const std::string& command) { return mci_.MciSendString(command, reply_); }
  int OpenSound(const std::string& alias = "mciAlias") {
    return Send("open \"" + sound_ + "\" type waveaudio alias " + alias);
  }
  std::string Status(const std::string& item) {
    EXPECT_EQ(Send("status mciAlias " + item), 0);
    return reply_;
  }

  fs::path dir_;
  std::string sound_;
  ManualPlaybackBackend backend_;
  MciService mci_{backend_};
  std::string reply_;
};

TEST_F(MciServiceTest, PlaysPausesResumesAndEndsOnTheClock) {
  ASSERT_EQ(OpenSound(), 0);
  EXPECT_EQ(Send("set mciAlias time format milliseconds"), 0);
  EXPECT_EQ(Status("length"), "4000");
  EXPECT_EQ(Status("position"), "0");
  EXPECT_EQ(Send("play mciAlias"), 0);
  EXPECT_EQ(reply_, "");
  backend_.Advance(1500);
  EXPECT_EQ(Status("position"), "1500");
  EXPECT_EQ(Send("pause mciAlias"), 0);
  backend_.Advance(1000);
  EXPECT_EQ(Status("position"), "1500");
  EXPECT_EQ(Send("pause mciAlias"), 0);  // pausing twice changes nothing
  EXPECT_EQ(Send("resume mciAlias"), 0);
  backend_.Advance(1000);
  EXPECT_EQ(Status("position"), "2500");
  backend_.Advance(5000);
  EXPECT_EQ(Status("position"), "4000");  // ends exactly at the length
  EXPECT_EQ(backend_.OpenOutputs(), 0);   // the device is released at the end
  EXPECT_EQ(Send("close mciAlias"), 0);
  EXPECT_EQ(backend_.log, (std::vector<std::string>{"start 0", "pause", "resume", "stop"}));
  EXPECT_EQ(Send("status mciAlias position"), kMciUnknownAlias);
}

TEST_F(MciServiceTest, PlaysFromAPositionAndRestartsAfterTheEnd) {
  ASSERT_EQ(OpenSound("Clip"), 0);
  EXPECT_EQ(Send("PLAY clip FROM 2000"), 0);  // keywords and alias in any case
  EXPECT_EQ(Send("status CLIP position"), 0);
  EXPECT_EQ(reply_, "2000");
  backend_.Advance(250);
  EXPECT_EQ(Send("status clip position"), 0);
  EXPECT_EQ(reply_, "2250");
  // A new play from a position replaces the running sound.
  EXPECT_EQ(Send("play clip from 0"), 0);
  EXPECT_EQ(backend_.OpenOutputs(), 1);
  EXPECT_EQ(Send("play clip from 4000"), 0);  // from the very end: ends at once
  EXPECT_EQ(Send("status clip position"), 0);
  EXPECT_EQ(reply_, "4000");
  EXPECT_EQ(Send("play clip"), 0);  // after the end: from the start again
  EXPECT_EQ(Send("pause clip"), 0);
  EXPECT_EQ(Send("play clip"), 0);  // while paused: resumes
  EXPECT_EQ(backend_.log,
            (std::vector<std::string>{"start 22050", "stop", "start 0", "stop", "start 44100",
                                      "stop", "start 0", "pause", "resume"}));
  EXPECT_EQ(Send("play clip from 4001"), kMciOutOfRange);
}

TEST_F(MciServiceTest, ReportsFileErrors) {
  EXPECT_EQ(Send("open \"" + (dir_ / "fehlt.wav").string() + "\" type waveaudio alias a"),
            kMciFileNotFound);
  EXPECT_EQ(Send("open \"" + dir_.string() + "\" type waveaudio alias a"), kMciCannotReadFile);
  const fs::path text = dir_ / "text.wav";
  testing::WriteFile(text, Bytes(200, 'x'));
  EXPECT_EQ(Send("open \"" + text.string() + "\" type waveaudio alias a"), kMciNotWaveFile);
  const fs::path no_data = dir_ / "nodata.wav";
  testing::WriteFile(no_data, testing::Riff({testing::FormatChunk(1, 1, 8000, 8)}));
  EXPECT_EQ(Send("open \"" + no_data.string() + "\" type waveaudio alias a"), kMciDamagedWaveFile);
  const fs::path adpcm = dir_ / "adpcm.wav";
  testing::WriteFile(adpcm, testing::Riff({testing::FormatChunk(2, 1, 8000, 4),
                                           testing::Chunk("data", Bytes(10))}));
  EXPECT_EQ(Send("open \"" + adpcm.string() + "\" type waveaudio alias a"), kMciUnsupportedFormat);
  // None of the failures left the alias behind.
  ASSERT_EQ(Send("open \"" + sound_ + "\" type waveaudio alias a"), 0);
  EXPECT_EQ(Send("open \"" + sound_ + "\" type waveaudio alias A"), kMciDuplicateAlias);
  backend_.no_device = true;
  EXPECT_EQ(Send("play a"), kMciNoOutputDevice);
  EXPECT_EQ(Send("status a position"), 0);
  EXPECT_EQ(reply_, "0");
}

TEST_F(MciServiceTest, RejectsMalformedCommands) {
  ASSERT_EQ(OpenSound(), 0);
  const std::pair<std::string, int> cases[] = {
      {"", kMciMissingCommandString},
      {"   ", kMciMissingCommandString},
      {"spiel mciAlias", kMciUnrecognizedCommand},
      {"\"play\" mciAlias", kMciUnrecognizedCommand},
      {"open \"" + sound_ + " type waveaudio alias b", kMciNoClosingQuote},
      {"open \"" + sound_ + "\"type waveaudio alias b", kMciUnrecognizedKeyword},
      {"open " + sound_ + " type waveaudio alias b", kMciUnrecognizedKeyword},  // blanks unquoted
      {"open \"" + sound_ + "\" type waveaudio", kMciMissingParameter},
      {"open \"" + sound_ + "\" type waveaudio alias", kMciMissingParameter},
      {"open \"\" alias b", kMciMissingParameter},
      {"open", kMciMissingParameter},
      {"open \"" + sound_ + "\" type sequencer alias b", kMciUnsupportedDeviceType},
      {"open \"" + sound_ + "\" alias b alias c", kMciUnrecognizedKeyword},
      {"open \"" + sound_ + "\" alias b wait", kMciUnrecognizedKeyword},
      {"set mciAlias time format samples", kMciUnrecognizedKeyword},
      {"set mciAlias time format", kMciMissingParameter},
      {"set mciAlias time format ms extra", kMciUnrecognizedKeyword},
      {"set other time format milliseconds", kMciUnknownAlias},
      {"status mciAlias", kMciMissingParameter},
      {"status mciAlias mode", kMciUnrecognizedKeyword},
      {"status mciAlias length now", kMciUnrecognizedKeyword},
      {"status other length", kMciUnknownAlias},
      {"play", kMciMissingParameter},
      {"play mciAlias from", kMciMissingParameter},
      {"play mciAlias from 12a", kMciBadInteger},
      {"play mciAlias from -5", kMciBadInteger},
      {"play mciAlias from +5", kMciBadInteger},
      {"play mciAlias from 99999999999999999999999", kMciBadInteger},
      {"play mciAlias to 100", kMciUnrecognizedKeyword},
      {"play mciAlias from 1 to 2", kMciUnrecognizedKeyword},
      {"play other", kMciUnknownAlias},
      {"pause", kMciMissingParameter},
      {"pause other", kMciUnknownAlias},
      {"resume mciAlias now", kMciUnrecognizedKeyword},
      {"close mciAlias now", kMciUnrecognizedKeyword},
      {"close other", kMciUnknownAlias},
      {"close", kMciMissingParameter},
  };
  for (const auto& [command, error] : cases) {
    EXPECT_EQ(Send(command), error) << command;
  }
  EXPECT_TRUE(backend_.log.empty());
  // Still open and untouched after all of it.
  EXPECT_EQ(Status("length"), "4000");
  EXPECT_EQ(Send("set mciAlias time format ms"), 0);
}

TEST_F(MciServiceTest, ReleasesTheDeviceOnCloseAndFailure) {
  ASSERT_EQ(OpenSound(), 0);
  ASSERT_EQ(Send("play mciAlias"), 0);
  backend_.Advance(1000);
  backend_.FailRunningOutputs();
  backend_.Advance(1000);
  EXPECT_EQ(Status("position"), "1000");  // stays where the device gave up
  EXPECT_EQ(backend_.OpenOutputs(), 0);
  ASSERT_EQ(Send("play mciAlias"), 0);  // goes on from there
  EXPECT_EQ(backend_.log.back(), "start 11025");
  {
    ManualPlaybackBackend other;
    MciService service(other);
    std::string reply;
    ASSERT_EQ(service.MciSendString("open \"" + sound_ + "\" alias x", reply), 0);
    ASSERT_EQ(service.MciSendString("play x", reply), 0);
    EXPECT_EQ(other.OpenOutputs(), 1);
    ASSERT_EQ(service.MciSendString("close x", reply), 0);
    EXPECT_EQ(other.OpenOutputs(), 0);
  }
}

TEST(MciErrors, EveryCodeHasItsOwnGermanText) {
  const int codes[] = {kMciUnrecognizedKeyword, kMciUnrecognizedCommand,   kMciHardware,
                       kMciUnknownAlias,        kMciOutOfMemory,           kMciMissingCommandString,
                       kMciBadInteger,          kMciMissingParameter,      kMciFileNotFound,
                       kMciOutOfRange,          kMciDuplicateAlias,        kMciNotWaveFile,
                       kMciNoClosingQuote,      kMciUnsupportedDeviceType, kMciCannotReadFile,
                       kMciDamagedWaveFile,     kMciUnsupportedFormat,     kMciNoOutputDevice};
  std::set<std::string> texts;
  for (const int code : codes) texts.insert(MciGetErrorString(code));
  EXPECT_EQ(texts.size(), std::size(codes));
  EXPECT_EQ(MciGetErrorString(kMciFileNotFound), "Die Datei wurde nicht gefunden.");
  EXPECT_EQ(MciGetErrorString(12345), "Unbekannter Fehler 12345.");
}

}  // namespace
}  // namespace lorix
