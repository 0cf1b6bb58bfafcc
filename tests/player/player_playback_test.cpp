// The play, pause and stop buttons, the 100 ms timer, the position and volume bars and the
// progress shown while a recording is decoded.

#include "audio/time_text.h"
#include "tests/player/player_fixture.h"

namespace lorix::testing {
namespace {

using PlayerPlayback = PlayerTest;
using Strings = std::vector<std::string>;
using Write = FakeMixerBackend::Write;

TEST_F(PlayerPlayback, PlayPauseAndStopSendTheirCommandsAndShowWhereTheyStopped) {
  const fs::path wav = WriteWav("Gruss.wav");
  app_.PlayPressed();  // no file yet
  EXPECT_TRUE(commands_.empty());

  PlayFor(wav, 1500);
  app_.PausePressed();
  EXPECT_EQ(TakeCommands(),
            (Strings{"status mciAlias position", "pause mciAlias", "status mciAlias position"}));
  const PlayerScreen& s = app_.screen();
  EXPECT_EQ(s.LineStatus, "angehalten nach 1.50 Sek.");
  EXPECT_EQ(s.PauseIcon, PlayerIcon::kPausing);
  EXPECT_EQ(s.LabelPosition, "Pos.: 1.50 Sek. [4.00 Sek.]  ");  // from the timer tick
  EXPECT_EQ(s.TrackPosition, 375);
  backend_.Advance(1000);  // paused: the position stands
  app_.PlayerTimerTick();  // and is not asked for
  EXPECT_TRUE(TakeCommands().empty());

  app_.PlayPressed();  // resumes
  EXPECT_EQ(TakeCommands(), Strings{"resume mciAlias"});
  EXPECT_EQ(s.LineStatus, "ok.");
  EXPECT_EQ(s.PauseIcon, PlayerIcon::kPause);
  backend_.Advance(500);
  app_.PausePressed();
  commands_.clear();

  app_.StopPressed();  // a paused playback is resumed before it stops
  EXPECT_EQ(TakeCommands(),
            (Strings{"resume mciAlias", "status mciAlias position", "close mciAlias"}));
  EXPECT_EQ(s.LineStatus, "gestoppt nach 2.00 Sek.");
  EXPECT_EQ(s.LabelPosition, "Pos.: 0.00 Sek. [4.00 Sek.]  ");
  EXPECT_EQ(s.TrackPosition, 0);
  EXPECT_EQ(s.PauseIcon, PlayerIcon::kPause);
  EXPECT_TRUE(s.BtnPlayEnabled);
  EXPECT_FALSE(s.BtnPauseEnabled || s.BtnStopEnabled);
  EXPECT_EQ(backend_.OpenOutputs(), 0);

  app_.StopPressed();
  app_.PausePressed();
  EXPECT_TRUE(TakeCommands().empty());
  EXPECT_EQ(s.LineStatus, "gestoppt nach 2.00 Sek.");

  app_.PlayPressed();
  EXPECT_EQ(TakeCommands(), PlayFromStart(wav.string()));
  EXPECT_EQ(s.LineStatus, "ok.   (gestartet ...)");
  EXPECT_TRUE(s.BtnPlayEnabled && s.BtnPauseEnabled && s.BtnStopEnabled);
  EXPECT_EQ(backend_.log.back(), "start 0");
}

TEST_F(PlayerPlayback, TimerShowsVolumeAndPositionAndStopsAtTheEnd) {
  const std::pair<std::uint32_t, int> volumes[] = {
      {50000, 238}, {65535, 1}, {0, 1000}, {32768, 500}, {32767, 501}};
  for (const auto& [volume, track] : volumes) {
    mixer_backend_.WriteValue(kSpeakersVolume, volume);
    app_.PlayerTimerTick();
    EXPECT_EQ(app_.screen().TrackVolume, track) << volume;
  }
  mixer_backend_.fail_value_reads = true;  // no volume to be read counts as silence
  app_.PlayerTimerTick();
  EXPECT_EQ(app_.screen().TrackVolume, 1000);
  EXPECT_TRUE(commands_.empty()) << "nothing plays";

  PlayFor(WriteWav("Gruss.wav"), 1500);
  app_.PlayerTimerTick();
  EXPECT_EQ(TakeCommands(), Strings{"status mciAlias position"});
  EXPECT_EQ(app_.screen().LabelPosition, "Pos.: 1.50 Sek. [4.00 Sek.]  ");
  EXPECT_EQ(app_.screen().TrackPosition, 375);
  EXPECT_EQ(app_.PlayPositionMs(), 1500);

  backend_.Advance(2500);
  app_.PlayerTimerTick();
  EXPECT_EQ(TakeCommands(),
            (Strings{"status mciAlias position", "status mciAlias position", "close mciAlias"}));
  EXPECT_FALSE(app_.playback().PlaybackActive());
  EXPECT_EQ(app_.screen().LineStatus, "gestoppt nach 4.00 Sek.");
  EXPECT_EQ(app_.screen().LabelPosition, "Pos.: 0.00 Sek. [4.00 Sek.]  ");
  EXPECT_EQ(app_.screen().TrackPosition, 0);
  EXPECT_FALSE(app_.screen().BtnPauseEnabled);
}

TEST_F(PlayerPlayback, PositionRoundsHalfToEvenAndEndsOnlyAnActivePlayback) {
  app_.ShowPlayerPosition(1000);  // no length yet
  EXPECT_EQ(app_.screen().LabelPosition, "Pos.: 1.00 Sek.");
  EXPECT_EQ(app_.screen().TrackPosition, 0);
  EXPECT_EQ(app_.PerMilleToMs(500), 0);

  PlayFor(WriteWav("Gruss.wav"), 0);  // 44100 samples at 11025 Hz
  const std::pair<std::int32_t, int> positions[] = {{2, 0},      {6, 2},   {10, 2},    {14, 4},
                                                    {3994, 999}, {-40, 0}, {1500, 375}};
  for (const auto& [ms, track] : positions) {
    app_.ShowPlayerPosition(ms);
    EXPECT_EQ(app_.screen().TrackPosition, track) << ms;
  }
  EXPECT_TRUE(commands_.empty());
  EXPECT_EQ(app_.screen().LabelPosition, "Pos.: 1.50 Sek. [4.00 Sek.]  ");
  app_.ShowPlayerPosition(3998);  // 999.5 rounds to the end
  EXPECT_EQ(TakeCommands(), (Strings{"status mciAlias position", "close mciAlias"}));
  EXPECT_EQ(app_.screen().LineStatus, "gestoppt nach 0.00 Sek.");
  app_.ShowPlayerPosition(5000);  // nothing left to stop
  EXPECT_EQ(app_.screen().TrackPosition, 1000);
  EXPECT_TRUE(commands_.empty());

  const std::pair<int, std::int32_t> starts[] = {{500, 2000}, {1, 4}, {333, 1332}, {1000, 4000}};
  for (const auto& [value, ms] : starts) EXPECT_EQ(app_.PerMilleToMs(value), ms) << value;
}

TEST_F(PlayerPlayback, PositionBarStopsWhileDraggedAndPlaysFromWhereItIsLetGo) {
  // Without a file the bar does nothing.
  app_.HandleSliderScroll(kScrollThumbTrack, 500, PlayerControl::kTrackPosition);
  app_.HandleSliderScroll(kScrollEndScroll, 500, PlayerControl::kTrackPosition);
  EXPECT_EQ(app_.screen().TrackPosition, 0);
  EXPECT_TRUE(commands_.empty());

  const fs::path wav = WriteWav("Gruss.wav");
  PlayFor(wav, 1000);
  app_.HandleSliderScroll(kScrollThumbTrack, 500, PlayerControl::kTrackPosition);
  EXPECT_EQ(TakeCommands(), (Strings{"status mciAlias position", "close mciAlias"}));
  EXPECT_EQ(app_.screen().LineStatus, "gestoppt nach 1.00 Sek.");
  EXPECT_EQ(app_.screen().LabelPosition, "Start: 2.00 Sek. [4.00 Sek.]  ");
  EXPECT_EQ(app_.screen().TrackPosition, 500);
  EXPECT_FALSE(app_.screen().BtnStopEnabled);

  app_.HandleSliderScroll(kScrollEndScroll, 123, PlayerControl::kTrackPosition);  // the bar counts
  Strings expected = PlayFromStart(wav.string());
  expected[3] = "play mciAlias from 2000";
  expected.push_back("status mciAlias position");
  EXPECT_EQ(TakeCommands(), expected);
  EXPECT_EQ(backend_.log.back(), "start 22050");
  EXPECT_EQ(app_.screen().LineStatus, "ok.   (gestartet bei 2.00 Sek. ...)");
  EXPECT_TRUE(app_.screen().BtnStopEnabled && app_.screen().BtnPauseEnabled);

  // Steps count from where the bar stands, whatever the thumb says; all of them stop.
  struct Step {
    int code, from, thumb, to;
  };
  const Step steps[] = {{kScrollPageUp, 500, 900, 400},  {kScrollPageDown, 500, 0, 600},
                        {kScrollLineUp, 500, 900, 490},  {kScrollLineDown, 500, 0, 510},
                        {kScrollPageUp, 40, 900, 0},     {kScrollPageDown, 950, 0, 1000},
                        {kScrollLineDown, 995, 0, 1000}, {kScrollThumbTrack, 500, 999, 999},
                        {kScrollThumbTrack, 500, -5, 0}, {kScrollThumbTrack, 500, 1300, 1000}};
  for (const Step& step : steps) {
    app_.TrackBarMoved(PlayerControl::kTrackPosition, step.from);
    app_.HandleSliderScroll(step.code, step.thumb, PlayerControl::kTrackPosition);
    EXPECT_EQ(app_.screen().TrackPosition, step.to) << step.code << " from " << step.from;
    EXPECT_EQ(app_.screen().LabelPosition,
              "Start: " + FormatSeconds(step.to * 4) + " [4.00 Sek.]  ");
    EXPECT_FALSE(app_.playback().PlaybackActive());
  }
  // Other codes, and other senders, leave bar and playback alone.
  // Letting go plays from there, a paused playback included.
  app_.TrackBarMoved(PlayerControl::kTrackPosition, 100);
  app_.HandleSliderScroll(kScrollEndScroll, 0, PlayerControl::kTrackPosition);
  app_.PausePressed();
  ASSERT_EQ(app_.screen().PauseIcon, PlayerIcon::kPausing);
  app_.HandleSliderScroll(kScrollEndScroll, 0, PlayerControl::kTrackPosition);
  EXPECT_EQ(app_.screen().PauseIcon, PlayerIcon::kPause);
  EXPECT_FALSE(app_.playback().PlaybackPaused());
  ASSERT_TRUE(app_.playback().PlaybackActive());
  commands_.clear();
  for (const int code : {4, 6, 7}) {
    app_.HandleSliderScroll(code, 200, PlayerControl::kTrackPosition);
  }
  app_.HandleSliderScroll(kScrollThumbTrack, 200, PlayerControl::kLineFile);
  EXPECT_EQ(app_.screen().TrackPosition, 100);
  EXPECT_EQ(app_.screen().LineStatus, "ok.   (gestartet bei 0.40 Sek. ...)");
  EXPECT_TRUE(app_.playback().PlaybackActive());
  EXPECT_TRUE(commands_.empty());
}

TEST_F(PlayerPlayback, VolumeBarSetsTheSpeakersAndLeavesThePlaybackAlone) {
  PlayFor(WriteWav("Gruss.wav"), 1000);
  app_.PlayerTimerTick();
  ASSERT_EQ(app_.screen().TrackPosition, 250);
  commands_.clear();
  app_.HandleSliderScroll(kScrollThumbTrack, 250, PlayerControl::kTrackVolume);
  EXPECT_EQ(app_.screen().TrackVolume, 250);
  app_.HandleSliderScroll(kScrollPageDown, 0, PlayerControl::kTrackVolume);
  EXPECT_EQ(app_.screen().TrackVolume, 350);
  app_.HandleSliderScroll(kScrollLineUp, 0, PlayerControl::kTrackVolume);
  EXPECT_EQ(app_.screen().TrackVolume, 340);
  app_.HandleSliderScroll(kScrollEndScroll, 100, PlayerControl::kTrackVolume);  // nothing
  EXPECT_EQ(app_.screen().TrackVolume, 340);
  app_.HandleSliderScroll(kScrollThumbTrack, 700, PlayerControl::kTrackVolume);
  app_.HandleSliderScroll(kScrollThumbTrack, 1200, PlayerControl::kTrackVolume);
  app_.HandleSliderScroll(kScrollThumbTrack, -3, PlayerControl::kTrackVolume);
  EXPECT_EQ(app_.screen().TrackVolume, 0);
  EXPECT_EQ(mixer_backend_.writes, (std::vector<Write>{{kSpeakersVolume, {49151}},
                                                       {kSpeakersVolume, {42598}},
                                                       {kSpeakersVolume, {43253}},
                                                       {kSpeakersVolume, {19660}},
                                                       {kSpeakersVolume, {0}},
                                                       {kSpeakersVolume, {65535}}}));
  EXPECT_TRUE(commands_.empty());
  EXPECT_TRUE(app_.playback().PlaybackActive());
  EXPECT_EQ(app_.screen().TrackPosition, 250);  // the position bar was not touched
}

TEST_F(PlayerPlayback, DecodeProgressIsMeasuredAgainstTheWholeFile) {
  const fs::path mail = WriteAttachmentFile("Nachricht.EXE", 2000, 8000);
  app_.LoadSoundFile(mail.string());
  const auto size = static_cast<std::int32_t>(fs::file_size(mail));
  repaints_.clear();
  app_.ShowDecodeProgress(100, 12000);
  EXPECT_EQ(app_.screen().LabelPosition, "dekomprimiert: 1.50 Sek.  ");
  EXPECT_EQ(app_.screen().TrackPosition, 100 * 1000 / size);
  EXPECT_GT(app_.screen().TrackPosition, 0);
  ASSERT_EQ(repaints_.size(), 1u);
  EXPECT_EQ(repaints_[0].LabelPosition, "dekomprimiert: 1.50 Sek.  ");
  app_.ShowDecodeProgress(size - 1, 12345);
  EXPECT_EQ(app_.screen().LabelPosition, "dekomprimiert: 1.54 Sek.  ");
  EXPECT_EQ(app_.screen().TrackPosition, 999);
  app_.ShowDecodeProgress(size, 5);
  EXPECT_EQ(app_.screen().LabelPosition, "dekomprimiert: 0.00 Sek.  ");
  EXPECT_EQ(app_.screen().TrackPosition, 1000);
  EXPECT_EQ(repaints_.size(), 3u);
}

}  // namespace
}  // namespace lorix::testing
