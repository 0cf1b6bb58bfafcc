// Plays spoken German through the media-control service on ALSA's "default" device, which
// the audio rig routes into a null sink, and records the sink's monitor to compare.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "audio/alsa_playback_backend.h"
#include "audio/mci_service.h"
#include "codec/wav_reader.h"
#include "tests/support/sink_recording.h"

extern char** environ;

namespace lorix {
namespace {

using testing::BestCorrelation;
using testing::MonitorRecording;
using testing::ReadSound;

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

const fs::path kSpeech = fs::path(LORIX_SPEECH_DIR) / "speech_de.wav";

class PlaybackRig : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* rig = std::getenv("LORIX_AUDIO_RIG");
    ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the audio rig fixture";
    ASSERT_TRUE(fs::exists(kSpeech)) << kSpeech;
    sound_ = ReadSound(kSpeech);
    ASSERT_EQ(sound_.format.sample_rate, 11025u);
    ASSERT_EQ(Send("open \"" + kSpeech.string() + "\" type waveaudio alias mciAlias"), 0);
    ASSERT_EQ(Send("set mciAlias time format milliseconds"), 0);
    length_ms_ = Query("length");
    ASSERT_EQ(length_ms_, std::lround(sound_.FrameCount() * 1000.0 / 11025));
    ASSERT_GT(length_ms_, 3000);
  }

  int Send(const std::string& command) { return mci_.MciSendString(command, reply_); }
  long Query(const std::string& item) {
    EXPECT_EQ(Send("status mciAlias " + item), 0);
    return std::stol(reply_);
  }
  // Polls until the position has clearly moved past `ms`. The rig's null sink may take up to
  // two seconds to start a new stream, while the device's own first buffer (250 ms) already
  // counts as played; what is measured afterwards is how the position follows the clock.
  long WaitForStart(long ms) {
    const auto deadline = Clock::now() + milliseconds(5000);
    long position = Query("position");
    while (position <= ms + 350 && Clock::now() < deadline) {
      std::this_thread::sleep_for(milliseconds(5));
      position = Query("position");
    }
    EXPECT_GT(position, ms + 350) << "playback did not begin";
    return position;
  }
  // How far the position moves during one second of wall-clock time. The rig's null sink runs
  // on a timer and may stall for a moment, so callers accept a wide band around 1000.
  long AdvanceOverOneSecond() {
    const long before = Query("position");
    std::this_thread::sleep_for(milliseconds(1000));
    return Query("position") - before;
  }
  // Polls until the position reaches the length; returns false on timeout.
  bool WaitForEnd(milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
      if (Query("position") == length_ms_) return true;
      std::this_thread::sleep_for(milliseconds(50));
    }
    return false;
  }

  PcmSound sound_;
  AlsaPlaybackBackend backend_;
  MciService mci_{backend_};
  std::string reply_;
  long length_ms_ = 0;
};

TEST_F(PlaybackRig, WhatIsPlayedReachesTheSinkUnchanged) {
  const fs::path out =
      fs::temp_directory_path() / ("lorix_playback_rig_" + std::to_string(getpid()) + ".wav");
  MonitorRecording recording(out);
  ASSERT_TRUE(recording.started()) << "parecord could not be started";
  const auto start = Clock::now();
  ASSERT_EQ(Send("play mciAlias"), 0);
  ASSERT_TRUE(WaitForEnd(milliseconds(length_ms_ + 5000)));
  const auto elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
  EXPECT_GE(elapsed, length_ms_ - 300);
  std::this_thread::sleep_for(milliseconds(500));
  recording.Stop();
  EXPECT_EQ(Send("close mciAlias"), 0);

  const PcmSound recorded = ReadSound(out);
  fs::remove(out);
  // Three half-second stretches of the speech, each found anywhere in the recording. The test
  // sink may drop a moment now and then, so one stretch of the three may miss.
  const std::size_t n = sound_.samples.size();
  int matched = 0;
  for (const std::size_t start : {n / 4, n / 2, 3 * n / 4}) {
    const auto begin = sound_.samples.begin() + static_cast<std::ptrdiff_t>(start);
    const Bytes stretch(begin, begin + 5512);
    const double correlation = BestCorrelation(stretch, recorded.samples);
    std::cout << "correlation of the stretch at " << start << ": " << correlation << "\n";
    if (correlation > 0.9) ++matched;
  }
  EXPECT_GE(matched, 2);
}

TEST_F(PlaybackRig, PauseResumeAndStartPositionFollowTheClock) {
  ASSERT_EQ(Send("play mciAlias"), 0);
  WaitForStart(0);
  const long playing = AdvanceOverOneSecond();
  EXPECT_GE(playing, 500);
  EXPECT_LE(playing, 1500);

  ASSERT_EQ(Send("pause mciAlias"), 0);
  const long paused = Query("position");
  std::this_thread::sleep_for(milliseconds(500));
  EXPECT_EQ(Query("position"), paused);
  ASSERT_EQ(Send("resume mciAlias"), 0);
  WaitForStart(paused);
  const long after_resume = AdvanceOverOneSecond();
  EXPECT_GE(after_resume, 500);
  EXPECT_LE(after_resume, 1500);

  ASSERT_EQ(Send("play mciAlias from 2000"), 0);
  EXPECT_EQ(Query("position"), 2000);
  WaitForStart(2000);
  const long after_seek = AdvanceOverOneSecond();
  EXPECT_GE(after_seek, 500);
  EXPECT_LE(after_seek, 1500);
  const long later = Query("position");

  // The end is reached and the position stays at the length.
  const auto start = Clock::now();
  ASSERT_TRUE(WaitForEnd(milliseconds(length_ms_ - later + 5000)));
  const auto rest = std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
  EXPECT_GE(rest, length_ms_ - later - 400);
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(Query("position"), length_ms_);
  EXPECT_EQ(Send("close mciAlias"), 0);
}

// A device without a pause of its own: the buffer is dropped on pause and refilled from the
// position heard last on resume.
TEST(PlaybackRigWithoutDevicePause, PauseAndResumeByRepositioning) {
  const char* rig = std::getenv("LORIX_AUDIO_RIG");
  ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the audio rig fixture";
  AlsaPlaybackBackend backend("default", false);
  MciService mci(backend);
  std::string reply;
  const auto position = [&] {
    EXPECT_EQ(mci.MciSendString("status s position", reply), 0);
    return std::stol(reply);
  };
  ASSERT_EQ(mci.MciSendString("open \"" + kSpeech.string() + "\" alias s", reply), 0);
  ASSERT_EQ(mci.MciSendString("play s from 1000", reply), 0);
  const auto deadline = Clock::now() + milliseconds(5000);
  while (position() < 1300 && Clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(10));
  }
  ASSERT_EQ(mci.MciSendString("pause s", reply), 0);
  const long paused = position();
  EXPECT_GE(paused, 1300);
  std::this_thread::sleep_for(milliseconds(500));
  EXPECT_EQ(position(), paused);
  ASSERT_EQ(mci.MciSendString("resume s", reply), 0);
  // Nothing is skipped and nothing repeated: the position goes on from where it stood.
  EXPECT_GE(position(), paused);
  EXPECT_LE(position(), paused + 300);
  const auto resumed = Clock::now();
  while (position() < paused + 300 && Clock::now() < resumed + milliseconds(5000)) {
    std::this_thread::sleep_for(milliseconds(10));
  }
  EXPECT_GE(position(), paused + 300) << "playback did not go on after resume";
  EXPECT_EQ(mci.MciSendString("close s", reply), 0);
}

}  // namespace
}  // namespace lorix
