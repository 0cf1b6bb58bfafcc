#pragma once

// Recording what the test rig's null sink plays, reading the recorded WAV file back, and
// finding a played stretch in it.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "codec/bytes.h"
#include "codec/wav_reader.h"
#include "desktop/command_output.h"

extern char** environ;

namespace lorix::testing {

inline Bytes ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// A WAV file parsed the way the playback service parses it; a parse error fails the test.
inline PcmSound ReadSound(const std::filesystem::path& path) {
  PcmSound sound;
  EXPECT_EQ(ParseWav(ReadBytes(path), sound), WavParseError::kNone) << path;
  return sound;
}

// Records the null sink's monitor, 8-bit mono at 11025 Hz, while it lives.
class MonitorRecording {
 public:
  explicit MonitorRecording(const std::filesystem::path& out) {
    const std::string file = out.string();
    std::vector<std::string> args = {
        "parecord",     "--device=lorix_sink.monitor", "--format=u8", "--channels=1",
        "--rate=11025", "--file-format=wav",           file};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    started_ = posix_spawnp(&pid_, "parecord", nullptr, nullptr, argv.data(), environ) == 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // the stream is connected by then
  }
  ~MonitorRecording() { Stop(); }

  bool started() const { return started_; }

  // Ends the recording so that the file is complete.
  void Stop() {
    if (!started_) return;
    started_ = false;
    kill(pid_, SIGINT);
    for (int i = 0; i < 50; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
  bool started_ = false;
};

// The best normalised cross-correlation of `played` within `recorded`, over every lag.
inline double BestCorrelation(const Bytes& played, const Bytes& recorded) {
  const std::size_t n = played.size();
  if (recorded.size() < n || n == 0) return 0;
  std::vector<double> a(n);
  double mean_a = 0;
  for (std::size_t i = 0; i < n; ++i) mean_a += played[i];
  mean_a /= static_cast<double>(n);
  double norm_a = 0;
  for (std::size_t i = 0; i < n; ++i) {
    a[i] = played[i] - mean_a;
    norm_a += a[i] * a[i];
  }
  double best = 0;
  for (std::size_t lag = 0; lag + n <= recorded.size(); ++lag) {
    double mean_b = 0;
    for (std::size_t i = 0; i < n; ++i) mean_b += recorded[lag + i];
    mean_b /= static_cast<double>(n);
    double dot = 0;
    double norm_b = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double b = recorded[lag + i] - mean_b;
      dot += a[i] * b;
      norm_b += b * b;
    }
    if (norm_a > 0 && norm_b > 0) best = std::max(best, dot / std::sqrt(norm_a * norm_b));
  }
  return best;
}

// How many of three half-second stretches of `original` (at a quarter, half and three quarters)
// are found in `recorded` with a normalised correlation of at least `threshold`. The rig may drop
// a moment now and then, so callers ask for two of the three.
inline int MatchedStretches(const Bytes& original, const Bytes& recorded, const char* what,
                            double threshold = 0.9) {
  constexpr std::size_t kStretch = 11025 / 2;
  const std::size_t n = original.size();
  int matched = 0;
  for (const std::size_t start : {n / 4, n / 2, 3 * n / 4}) {
    if (start + kStretch > n) continue;
    const auto begin = original.begin() + static_cast<std::ptrdiff_t>(start);
    const double correlation = BestCorrelation(Bytes(begin, begin + kStretch), recorded);
    std::printf("%s: correlation of the stretch at %zu: %.3f\n", what, start, correlation);
    if (correlation >= threshold) ++matched;
  }
  return matched;
}

// Whether a stream in the rig's sink runs (`corked` false) or is held (true) right now. A
// program's sound starts when its stream runs, which under load can be seconds after the program
// has its file ready.
inline bool SinkStreamIs(bool corked) {
  const std::string state = corked ? "Corked: yes" : "Corked: no";
  return RunAndCapture({"pactl", "list", "sink-inputs"}, std::chrono::seconds(5))
             .output.find(state) != std::string::npos;
}

}  // namespace lorix::testing
