#include "audio/wave_playback.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "audio/mci_errors.h"
#include "audio/time_text.h"
#include "tests/support/recording_dialogs.h"

namespace lorix {
namespace {

// Stands in for the media-control service: records every command string and answers the
// status queries with the length and position it is told.
struct ScriptedMci {
  int Send(const std::string& command, std::string& reply) {
    commands.push_back(command);
    if (const auto it = failures.find(command); it != failures.end()) return it->second;
    if (command == "status mciAlias length") reply = std::to_string(length_ms);
    if (command == "status mciAlias position") reply = std::to_string(position_ms);
    return 0;
  }

  std::vector<std::string> commands;
  std::map<std::string, int> failures;
  int length_ms = 4000;
  int position_ms = 0;
};

class WavePlaybackTest : public ::testing::Test {
 protected:
  WavePlaybackTest() : playback_(MakeServices(), dialogs_) {}

  WavePlayback::Services MakeServices() {
    WavePlayback::Services services;
    services.send_command = [this](const std::string& c, std::string& r) {
      return mci_.Send(c, r);
    };
    services.find_application = [this](const std::string&) { return application_; };
    services.open_file = [this](const std::string& file) { opened_.push_back(file); };
    services.update_controls = [this] { ++updates_; };
    return services;
  }

  // The file made current and playing, with the command log emptied.
  void StartPlaying() {
    ASSERT_EQ(playback_.SetPlayFile(kFile, true), 0);
    mci_.commands.clear();
  }

  static constexpr const char* kFile = "/home/anna/TEMPs/TempRecording.wav";
  ScriptedMci mci_;
  testing::RecordingDialogs dialogs_;
  std::string application_ = "/usr/bin/audacious";
  std::vector<std::string> opened_;
  int updates_ = 0;
  WavePlayback playback_;
};

TEST(FormatSeconds, TwoDecimalsWithAPoint) {
  EXPECT_EQ(FormatSeconds(1500), "1.50 Sek.");
  EXPECT_EQ(FormatSeconds(0), "0.00 Sek.");
  EXPECT_EQ(FormatSeconds(4), "0.00 Sek.");
  EXPECT_EQ(FormatSeconds(6), "0.01 Sek.");
  EXPECT_EQ(FormatSeconds(123456789), "123456.79 Sek.");
}

TEST_F(WavePlaybackTest, SetPlayFilePlaysWithTheExactCommandSequence) {
  EXPECT_EQ(playback_.SetPlayFile("", true), 0);
  EXPECT_TRUE(mci_.commands.empty());
  EXPECT_EQ(playback_.SetPlayFile(kFile, true), 0);
  EXPECT_EQ(mci_.commands, (std::vector<std::string>{
                               "open \"/home/anna/TEMPs/TempRecording.wav\" type waveaudio alias "
                               "mciAlias",
                               "set mciAlias time format milliseconds", "status mciAlias length",
                               "play mciAlias"}));
  EXPECT_TRUE(playback_.PlaybackActive());
  EXPECT_FALSE(playback_.PlaybackPaused());
  EXPECT_EQ(playback_.PlayLengthSamples(), 44100);
  EXPECT_EQ(playback_.PlayLengthText(), " [4.00 Sek.]");
  EXPECT_EQ(playback_.LabelPlayFile(), std::string(kFile) + " [4.00 Sek.]");
  EXPECT_EQ(updates_, 1);
  // A second file closes the first before it opens; without play now the old length stays.
  mci_.length_ms = 1000;
  EXPECT_EQ(playback_.SetPlayFile("/tmp/b.wav", false), 0);
  EXPECT_EQ(mci_.commands.size(), 4u);
  EXPECT_EQ(playback_.LabelPlayFile(), "/tmp/b.wav [4.00 Sek.]");
  playback_.ButtonPlayClick();
  EXPECT_EQ(mci_.commands[4], "close mciAlias");
  EXPECT_EQ(mci_.commands[5], "open \"/tmp/b.wav\" type waveaudio alias mciAlias");
  EXPECT_EQ(playback_.PlayLengthSamples(), 11025);
  EXPECT_EQ(playback_.LabelPlayStatus(), "ok.   (Datei \"/tmp/b.wav\" gestartet ...)");
  // No rate yet: no length text.
  playback_.SetCurrentSampleRate(0);
  playback_.SetPlayFile("/tmp/c.wav", false);
  EXPECT_EQ(playback_.PlayLengthText(), "  ");
}

TEST_F(WavePlaybackTest, ReportsEveryFailingCommandWithItsPrefix) {
  mci_.failures["open \"/x.wav\" type waveaudio alias mciAlias"] = kMciFileNotFound;
  EXPECT_EQ(playback_.PlayWave("/x.wav", 0), kMciFileNotFound);
  EXPECT_EQ(mci_.commands.size(), 1u);  // nothing else is sent after a failed open
  EXPECT_FALSE(playback_.PlaybackActive());
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].caption, "Information");
  EXPECT_EQ(dialogs_.shown[0].text, "mci-Open: Die Datei wurde nicht gefunden.");
  EXPECT_EQ(dialogs_.shown[0].icon, DialogIcon::kError);

  mci_.failures = {{"set mciAlias time format milliseconds", kMciUnrecognizedKeyword},
                   {"status mciAlias length", kMciUnknownAlias},
                   {"play mciAlias", kMciNoOutputDevice},
                   {"status mciAlias position", kMciHardware}};
  EXPECT_EQ(playback_.PlayWave(kFile, 0), kMciNoOutputDevice);
  EXPECT_TRUE(playback_.PlaybackActive());  // a failed play still needs a close
  EXPECT_EQ(playback_.GetPlayPosition(), 0);
  std::vector<std::string> texts;
  for (const auto& shown : dialogs_.shown) texts.push_back(shown.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "mci-Open: Die Datei wurde nicht gefunden.",
                       "mci-SetTimeFormat: " + MciGetErrorString(kMciUnrecognizedKeyword),
                       "mci-GetLength: " + MciGetErrorString(kMciUnknownAlias),
                       "mci-Play: " + MciGetErrorString(kMciNoOutputDevice),
                       "mci-status: " + MciGetErrorString(kMciHardware)}));
  playback_.ButtonStopClick();
  EXPECT_EQ(mci_.commands.back(), "close mciAlias");
}

TEST_F(WavePlaybackTest, SliderEndScrollPlaysFromTheChosenPosition) {
  StartPlaying();
  mci_.position_ms = 1234;
  // Dragging stops the sound and shows the start; releasing plays from there.
  playback_.ScrollbarPlayPosScroll(WavePlayback::kScrollThumbTrack, 500);
  EXPECT_EQ(playback_.LabelPlayStatus(), "gestoppt nach 1.23 Sek.");
  EXPECT_EQ(playback_.LabelPlayPos(), "Start ab Pos.: 2.00 Sek. [4.00 Sek.]");
  EXPECT_EQ(playback_.ScrollbarPlay(), 500);
  mci_.position_ms = 2000;
  playback_.ScrollbarPlayPosScroll(WavePlayback::kScrollEndScroll, 500);
  EXPECT_EQ(mci_.commands, (std::vector<std::string>{
                               "status mciAlias position", "close mciAlias",
                               "open \"" + std::string(kFile) + "\" type waveaudio alias mciAlias",
                               "set mciAlias time format milliseconds", "status mciAlias length",
                               "play mciAlias from 2000", "status mciAlias position"}));
  EXPECT_EQ(playback_.LabelPlayStatus(), "ok.   (gestartet bei 2.00 Sek. ...)");
  EXPECT_TRUE(playback_.PlaybackActive());
  // Released at 0: no " from ".
  playback_.ScrollbarPlayPosScroll(WavePlayback::kScrollEndScroll, 0);
  EXPECT_EQ(mci_.commands[mci_.commands.size() - 2], "play mciAlias");
  // Another scroll code only stops.
  const std::size_t before = mci_.commands.size();
  playback_.ScrollbarPlayPosScroll(2, 250);
  EXPECT_EQ(mci_.commands.size(), before + 2);
  EXPECT_FALSE(playback_.PlaybackActive());
}

TEST_F(WavePlaybackTest, PauseTwiceAndStopWhilePaused) {
  StartPlaying();
  mci_.position_ms = 1500;
  playback_.ButtonPauseClick();
  EXPECT_TRUE(playback_.PlaybackPaused());
  EXPECT_EQ(playback_.LabelPlayStatus(), "angehalten nach 1.50 Sek.");
  playback_.ButtonPauseClick();
  EXPECT_FALSE(playback_.PlaybackPaused());
  EXPECT_EQ(playback_.LabelPlayStatus(), "ok.");
  EXPECT_EQ(mci_.commands,
            (std::vector<std::string>{"status mciAlias position", "pause mciAlias",
                                      "status mciAlias position", "resume mciAlias"}));
  playback_.ButtonPauseClick();
  mci_.commands.clear();
  playback_.ButtonStopClick();
  EXPECT_EQ(mci_.commands, (std::vector<std::string>{"resume mciAlias", "status mciAlias position",
                                                     "close mciAlias"}));
  EXPECT_FALSE(playback_.PlaybackActive());
  EXPECT_FALSE(playback_.PlaybackPaused());
  EXPECT_EQ(playback_.LabelPlayStatus(), "gestoppt nach 1.50 Sek.");
  EXPECT_EQ(playback_.LabelPlayPos(), "Pos.: 0.00 Sek. [4.00 Sek.]");
  EXPECT_EQ(playback_.ScrollbarPlay(), 0);
  // Closed: pause and stop do nothing.
  mci_.commands.clear();
  playback_.ButtonPauseClick();
  playback_.ButtonStopClick();
  EXPECT_TRUE(mci_.commands.empty());
}

TEST_F(WavePlaybackTest, PollingFollowsThePositionAndStopsAtTheEnd) {
  int refreshes = 0;
  StartPlaying();
  mci_.position_ms = 1000;
  playback_.PeriodicRefresh();
  EXPECT_EQ(playback_.PlayPositionMs(), 1000);
  EXPECT_EQ(playback_.LabelPlayPos(), "Pos.: 1.00 Sek. [4.00 Sek.]");
  EXPECT_EQ(playback_.ScrollbarPlay(), 250);
  mci_.position_ms = 3998;  // 999.5 thousandths: rounds to even, 1000, the end
  playback_.PeriodicRefresh();
  EXPECT_FALSE(playback_.PlaybackActive());
  EXPECT_EQ(mci_.commands.back(), "close mciAlias");
  EXPECT_EQ(playback_.LabelPlayStatus(), "gestoppt nach 4.00 Sek.");
  EXPECT_EQ(playback_.LabelPlayPos(), "Pos.: 0.00 Sek. [4.00 Sek.]");
  // Closed or paused: no polling, but the device refresh runs every tick.
  WavePlayback::Services services = MakeServices();
  services.refresh_devices = [&] { ++refreshes; };
  WavePlayback other(services, dialogs_);
  mci_.commands.clear();
  other.PeriodicRefresh();
  EXPECT_EQ(refreshes, 1);
  EXPECT_TRUE(mci_.commands.empty());
}

TEST_F(WavePlaybackTest, PositionConversionsAtLongLengthsAndLowRates) {
  StartPlaying();
  EXPECT_EQ(playback_.PerMilleToMs(500), 2000);
  EXPECT_EQ(playback_.PerMilleToMs(1000), 4000);
  // One hour at 44.1 kHz: ms x rate no longer fits 32 bits.
  playback_.SetCurrentSampleRate(44100);
  playback_.SetPlayLengthSamples(3600 * 44100);
  playback_.ShowPlayPosition(1800000);
  EXPECT_EQ(playback_.ScrollbarPlay(), 500);
  EXPECT_TRUE(playback_.PlaybackActive());
  playback_.SetCurrentSampleRate(99);
  EXPECT_EQ(playback_.PerMilleToMs(500), 0);
  EXPECT_EQ(playback_.PerMilleToMs(1000), 0);
  playback_.ScrollbarPlayPosScroll(WavePlayback::kScrollEndScroll, 700);
  EXPECT_EQ(mci_.commands[mci_.commands.size() - 2], "play mciAlias");
  playback_.SetPlayLengthSamples(0);
  playback_.ShowPlayPosition(5000);
  EXPECT_EQ(playback_.ScrollbarPlay(), 0);
}

TEST_F(WavePlaybackTest, AssociatedApplicationIsLookedUpOnce) {
  EXPECT_FALSE(playback_.ButtonStartApplication().enabled);
  application_ = "/opt/media/bin/klang.player";
  playback_.SetPlayFile("/a/eins.wav", false);
  EXPECT_TRUE(playback_.WaveAppLooked());
  EXPECT_EQ(playback_.WaveAppName(), "klang");
  const auto& button = playback_.ButtonStartApplication();
  EXPECT_TRUE(button.enabled);
  EXPECT_EQ(button.hint, "Datei \"/a/eins.wav\" mit \"klang\" öffnen");
  EXPECT_EQ(button.caption, "Wave-Datei mit \"klang\" öffnen");
  application_ = "/usr/bin/other";
  playback_.SetPlayFile("/a/zwei.wav", false);
  EXPECT_EQ(playback_.WaveAppName(), "klang");
  dialogs_.answers = {DialogAnswer::kNo, DialogAnswer::kYes};
  playback_.ButtonStartApplicationClick();
  EXPECT_TRUE(opened_.empty());
  playback_.ButtonStartApplicationClick();
  EXPECT_EQ(opened_, std::vector<std::string>{"/a/zwei.wav"});
  ASSERT_EQ(dialogs_.shown.size(), 2u);
  EXPECT_EQ(dialogs_.shown[1].caption, "Datei öffnen");
  EXPECT_EQ(dialogs_.shown[1].text, "Wollen Sie die Datei \"/a/zwei.wav\" mit \"klang\" öffnen?");
  EXPECT_EQ(dialogs_.shown[1].buttons, DialogButtons::kYesNo);

  application_ = "";
  WavePlayback other(MakeServices(), dialogs_);
  other.FindWaveApplication("/a/eins.wav");
  EXPECT_FALSE(other.ButtonStartApplication().enabled);
  EXPECT_EQ(other.ButtonStartApplication().hint, "(keine verknüpfte Anwendung gefunden)");
}

}  // namespace
}  // namespace lorix
