#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/alsa_capture_backend.h"
#include "audio/alsa_playback_backend.h"
#include "audio/mci_service.h"
#include "audio/recording_engine.h"
#include "audio/task_queue.h"
#include "codec/file_io.h"
#include "codec/wav_file.h"
#include "tests/support/recording_dialogs.h"

namespace lorix::testing {
namespace {

using namespace std::chrono_literals;

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

TEST(EngineRig, RecordsWhatTheServicePlaysOnTheUiThreadAndStopsClean) {
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

  // The speech is played through the command service while the engine records the monitor.
  AlsaPlaybackBackend speakers;
  MciService service(speakers);
  std::string reply;
  ASSERT_EQ(service.MciSendString("open \"" + wav + "\" type waveaudio alias mciAlias", reply), 0);
  ASSERT_EQ(service.MciSendString("set mciAlias time format milliseconds", reply), 0);
  ASSERT_EQ(service.MciSendString("status mciAlias length", reply), 0);
  const std::string length = reply;
  ASSERT_EQ(service.MciSendString("play mciAlias", reply), 0);
  const auto played_to_end = [&] {
    return service.MciSendString("status mciAlias position", reply) == 0 && reply == length;
  };
  ASSERT_TRUE(ui.RunUntil(played_to_end, std::chrono::milliseconds(std::stol(length)) + 20s))
      << "playback did not reach its end";
  EXPECT_EQ(service.MciSendString("close mciAlias", reply), 0);
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

  // What was recorded goes through a WAV file, as the recorder keeps it.
  const std::filesystem::path out = std::filesystem::temp_directory_path() /
                                    ("lorix_engine_rig_" + std::to_string(getpid()) + ".wav");
  const WavHeader header =
      BuildMonoWavHeader(static_cast<std::int32_t>(captured.size()), kDefaultSampleRate);
  Bytes file(header.begin(), header.end());
  file.insert(file.end(), captured.begin(), captured.end());
  WriteFileAtomically(out, file);
  const LoadedWav recorded = LoadWavFile(out);
  std::filesystem::remove(out);
  ASSERT_EQ(recorded.kind, WavKind::kPcm8Mono);
  ASSERT_EQ(recorded.PcmStream.size(), captured.size() + kWavHeaderSize);
  std::vector<double> heard;
  for (std::size_t i = kWavHeaderSize; i < recorded.PcmStream.size(); ++i) {
    heard.push_back(recorded.PcmStream[i] - 128.0);
  }

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
