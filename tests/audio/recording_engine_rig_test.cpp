#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "audio/alsa_capture_backend.h"
#include "audio/recording_engine.h"
#include "codec/wav_file.h"
#include "tests/support/recording_dialogs.h"

extern char** environ;

namespace lorix::testing {
namespace {

using namespace std::chrono_literals;

pid_t Spawn(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

// Mean of every `factor` samples around the zero line.
std::vector<double> Decimate(const std::vector<double>& x, std::size_t factor) {
  std::vector<double> out(x.size() / factor);
  for (std::size_t i = 0; i < out.size(); ++i) {
    for (std::size_t k = 0; k < factor; ++k) out[i] += x[i * factor + k];
  }
  return out;
}

// The lag of `y` against `x` in [first, last] with the largest inner product.
std::size_t BestLag(const std::vector<double>& x, const std::vector<double>& y, std::size_t first,
                    std::size_t last) {
  std::size_t best = first;
  double best_sum = -1e300;
  for (std::size_t lag = first; lag <= last && lag + x.size() <= y.size(); ++lag) {
    double sum = 0;
    for (std::size_t i = 0; i < x.size(); ++i) sum += x[i] * y[lag + i];
    if (sum > best_sum) best_sum = sum, best = lag;
  }
  return best;
}

TEST(EngineRig, RecordsWhatTheRigPlaysOnTheUiThreadAndStopsClean) {
  const char* rig = std::getenv("LORIX_AUDIO_RIG");
  ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the audio rig fixture";
  const std::string wav = std::string(LORIX_SPEECH_DIR) + "/speech_de.wav";
  const LoadedWav speech = LoadWavFile(wav);
  ASSERT_EQ(speech.kind, WavKind::kPcm8Mono);
  std::vector<double> played;
  for (std::size_t i = 44; i < speech.PcmStream.size(); ++i) {
    played.push_back(speech.PcmStream[i] - 128.0);
  }
  ASSERT_GT(played.size(), 11025u);

  AlsaCaptureBackend backend;
  TaskQueue ui;
  RecordingDialogs dialogs;
  RecordingEngine engine(backend, ui.Poster(), dialogs);
  std::vector<std::uint8_t> captured;
  int buffers = 0;
  bool off_thread = false;
  bool short_buffer = false;
  const auto ui_thread = std::this_thread::get_id();
  engine.OnSoundData = [&](const std::uint8_t* data, std::int32_t count) {
    ++buffers;
    off_thread |= std::this_thread::get_id() != ui_thread;
    short_buffer |= count != 1000;
    captured.insert(captured.end(), data, data + count);
  };

  engine.StartSK();
  ASSERT_EQ(engine.phase(), RecordingEngine::Phase::kRunning)
      << (dialogs.shown.empty() ? "" : dialogs.shown.back().text);
  const pid_t player = Spawn({"aplay", "-q", "-D", "default", wav});
  ASSERT_GT(player, 0);
  int status = -1;
  const bool played_out =
      ui.RunUntil([&] { return waitpid(player, &status, WNOHANG) == player; },
                  std::chrono::milliseconds(static_cast<long>(played.size() * 1000 / 11025)) + 20s);
  ASSERT_TRUE(played_out) << "aplay did not finish";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const int after_play = buffers;
  ASSERT_TRUE(ui.RunUntil([&] { return buffers >= after_play + 8; }, 10s));

  engine.StopSK();
  const int at_stop = buffers;
  EXPECT_TRUE(ui.RunUntil([&] { return engine.phase() == RecordingEngine::Phase::kStopped; }, 5s));
  ui.RunPending(300ms);
  EXPECT_EQ(buffers, at_stop) << "data after StopSK";
  EXPECT_FALSE(engine.DeviceOpen());
  EXPECT_TRUE(engine.state().SKStopped);
  EXPECT_EQ(engine.state().InBuffersActive, 0);
  EXPECT_FALSE(off_thread);
  EXPECT_FALSE(short_buffer);
  EXPECT_TRUE(dialogs.shown.empty());

  std::vector<double> heard(captured.size());
  for (std::size_t i = 0; i < captured.size(); ++i) heard[i] = captured[i] - 128.0;

  // The speech part: from the first to the last sample clearly off the zero line. The rig's
  // sound server mangles the first moments of a new playback stream (it renders ahead and
  // rewinds), so the comparison starts one and a half seconds into the speech.
  const auto loud = [](double v) { return std::abs(v) > 8; };
  const std::size_t begin = std::find_if(played.begin(), played.end(), loud) - played.begin();
  const std::size_t end = played.rend() - std::find_if(played.rbegin(), played.rend(), loud);
  const std::vector<double> part(played.begin() + begin + 11025 * 3 / 2, played.begin() + end);
  ASSERT_GT(part.size(), 11025u * 5);
  ASSERT_GE(heard.size(), part.size());

  constexpr std::size_t kFactor = 8;
  const std::size_t coarse = BestLag(Decimate(part, kFactor), Decimate(heard, kFactor), 0,
                                     (heard.size() - part.size()) / kFactor);
  const std::size_t from = coarse * kFactor > 2 * kFactor ? coarse * kFactor - 2 * kFactor : 0;
  const std::size_t lag = BestLag(part, heard, from, coarse * kFactor + 2 * kFactor);
  double xy = 0, xx = 0, yy = 0;
  for (std::size_t i = 0; i < part.size(); ++i) {
    xy += part[i] * heard[lag + i];
    xx += part[i] * part[i];
    yy += heard[lag + i] * heard[lag + i];
  }
  const double correlation = xy / std::sqrt(xx * yy);
  EXPECT_GT(correlation, 0.9) << "lag " << lag << " samples";
  std::printf("correlation %.4f at lag %zu, %d overruns\n", correlation, lag, backend.overruns());
}

}  // namespace
}  // namespace lorix::testing
