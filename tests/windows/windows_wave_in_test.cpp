// The recording engine on Windows' wave input (winmm, window messages), run under Wine on the
// test rig: Wine's wave input records the sink's monitor, so the spoken message played into
// the sink must come back through the engine's data sink, buffer after buffer in order, and a
// stop must get every queued buffer back before the device is closed.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "audio/capture_backend.h"
#include "audio/recording_engine.h"
#include "desktop/path_search.h"
#include "tests/support/child_program.h"
#include "tests/support/sink_recording.h"
#include "tests/support/test_folder.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kProbe = LORIX_WAVE_IN_PROBE_EXE;
const fs::path kSpeech = fs::path(LORIX_SPEECH_DIR) / "speech_de.wav";

// The probe's report: one "key=value" a line.
std::map<std::string, std::string> ReadReport(const fs::path& path) {
  std::map<std::string, std::string> report;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) report[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return report;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

TEST(WindowsWaveIn, EngineRecordsTheSinkAndGetsEveryBufferBack) {
  ASSERT_NE(std::getenv("WINEPREFIX"), nullptr) << "the rig has no Wine (wine_rig.sh)";
  const fs::path wine = FindInPath("wine");
  ASSERT_FALSE(wine.empty()) << "Wine is missing (scripts/setup.sh)";
  ASSERT_TRUE(fs::exists(kProbe)) << kProbe;
  ASSERT_TRUE(fs::exists(kSpeech)) << kSpeech;
  const PcmSound speech = ReadSound(kSpeech);
  ASSERT_EQ(speech.format.sample_rate, 11025u);
  // The whole message and three seconds for the sink's and the device's latencies.
  const int seconds = static_cast<int>(speech.samples.size() / 11025) + 4;
  const fs::path folder = FreshTestFolder("lorix_windows_wave_in");

  ChildProgram probe(
      wine, folder,
      {kProbe.string(), std::to_string(seconds), "capturing", "captured.wav", "report.txt"});
  ASSERT_TRUE(probe.started());
  ASSERT_TRUE(WaitFor([&] { return fs::exists(folder / "capturing") || !probe.Running(); }, 30s));
  ASSERT_TRUE(fs::exists(folder / "capturing")) << "the engine did not start recording";
  ChildProgram paplay("/usr/bin/paplay", folder, {kSpeech.string()});
  ASSERT_TRUE(paplay.started());
  EXPECT_EQ(paplay.WaitForExit(std::chrono::seconds(seconds + 10)), 0) << "paplay failed";
  ASSERT_EQ(probe.WaitForExit(30s), 0) << "the probe failed";

  // While it ran: full buffers, handed back in the order they were queued, no error.
  auto report = ReadReport(folder / "report.txt");
  const int sink_buffers = std::stoi(report["sink_buffers"]);
  EXPECT_EQ(report["queued_at_start"], std::to_string(kRecordBufferCount));
  EXPECT_GE(sink_buffers, (seconds - 1) * 11025 / static_cast<int>(kCaptureBufferBytes));
  EXPECT_EQ(report["short_buffers"], "0");
  EXPECT_EQ(report["out_of_order"], "0");
  EXPECT_EQ(report["error_lines"], "0");
  EXPECT_EQ(report["boxes"], "0");

  // The stop: every queued buffer came back empty, none reached the sink, the device closed.
  EXPECT_EQ(report["stopped_at_once"], "1");
  EXPECT_EQ(report["drained"], "1");
  // (One buffer may have come back just before the reset, on its way to the engine.)
  const int held_at_reset = std::stoi(report["held_at_reset"]);
  EXPECT_GE(held_at_reset, kRecordBufferCount - 1);
  EXPECT_LE(held_at_reset, kRecordBufferCount);
  EXPECT_EQ(report["returned_by_reset"], report["held_at_reset"]);
  EXPECT_EQ(report["returned_full_by_reset"], "0");
  EXPECT_EQ(report["sink_buffers_after_stop"], "0");
  EXPECT_EQ(report["in_buffers_active"], "0");
  EXPECT_EQ(report["device_open"], "0");
  EXPECT_EQ(report["closes"], "1");

  // Devices it cannot record from are refused with the sound-card window's texts.
  EXPECT_EQ(report["unknown_device_error"], "Record format not supported");
  EXPECT_EQ(report["mapper_error"], "Problem creating record handle:  device ID out of range");

  // An engine ending while it records closes its device; no buffer is reported afterwards.
  EXPECT_EQ(report["ended_while_running"], "1");
  EXPECT_EQ(report["returned_after_end"], "0");
  EXPECT_EQ(report["open_after_end"], "0");

  // What the sink received is the message: two of three half-second stretches of it are found
  // whole. (The rig's sound server may leave a gap in a stream now and then, most under load;
  // lost or swapped buffers are caught by the order check above.)
  const PcmSound captured = ReadSound(folder / "captured.wav");
  EXPECT_EQ(captured.format.sample_rate, 11025u);
  EXPECT_EQ(captured.samples.size(), static_cast<std::size_t>(sink_buffers) * kCaptureBufferBytes);
  std::printf("device %s: %d buffers\n", report["device_name"].c_str(), sink_buffers);
  EXPECT_GE(MatchedStretches(speech.samples, captured.samples, "captured", 0.6), 2);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace lorix::testing
