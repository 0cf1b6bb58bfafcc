// The player as a recipient meets it: an attachment made from a spoken message is started
// without an argument in a folder of its own; what reaches the rig's null sink must be the
// decoded recording. The bare player starts silently; a foreign file gets the wrong-format box.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "codec/wav_reader.h"
#include "desktop/command_output.h"
#include "tests/support/child_program.h"
#include "tests/support/sink_recording.h"
#include "tests/support/test_folder.h"
#include "tests/support/x11_windows.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kTool = LORIX_TOOL_PATH;
const fs::path kPlayer = kTool.parent_path() / "lorix-player";
const fs::path kSpeech = fs::path(LORIX_SPEECH_DIR) / "speech_de.wav";

// Mapped windows whose title is `title` (or starts with it), waiting up to `wait` for one.
std::size_t CountWindows(const std::string& title, bool prefix, std::chrono::milliseconds wait) {
  X11Windows windows;
  return windows.connected() ? windows.WaitFor(title, prefix, wait).size() : 0;
}

class PlayerEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* rig = std::getenv("LORIX_AUDIO_RIG");
    ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the test rig";
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the rig has no X display";
    ASSERT_TRUE(fs::exists(kPlayer)) << kPlayer;
    ASSERT_TRUE(fs::exists(kSpeech)) << kSpeech;
    folder_ = FreshTestFolder("lorix_player_e2e");
  }
  void TearDown() override { fs::remove_all(folder_); }

  int Tool(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {kTool.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunAndCapture(argv, 60s).exit_status;
  }

  fs::path folder_;
};

TEST_F(PlayerEndToEnd, AttachmentStartedWithoutArgumentPlaysItsRecording) {
  const fs::path attachment = folder_ / "LORIX_Gruss.EXE";
  const fs::path reference = folder_ / "reference.wav";
  ASSERT_EQ(Tool({"pack", "--player-exe", kPlayer.string(), kSpeech.string(), attachment.string()}),
            0);
  ASSERT_EQ(Tool({"decode", "--player", attachment.string(), reference.string()}), 0);
  const PcmSound decoded = ReadSound(reference);
  ASSERT_EQ(decoded.format.sample_rate, 11025u);
  const double seconds = static_cast<double>(decoded.samples.size()) / 11025;
  ASSERT_GT(seconds, 5.0);

  MonitorRecording heard(folder_ / "heard.wav");
  ASSERT_TRUE(heard.started());
  ChildProgram player(attachment, folder_);
  EXPECT_EQ(CountWindows("LORIX-Player V.", true, 10s), 1u) << "no player window";
  std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(seconds * 1000)) + 2s);
  heard.Stop();
  EXPECT_TRUE(player.Running()) << "the player ended by itself";
  EXPECT_EQ(CountWindows("Information", false, 0ms), 0u) << "a message box came up";

  // The player unpacked the same recording the decoder makes, next to where it was started.
  EXPECT_EQ(ReadBytes(folder_ / "TEMPs" / "TempWave.wav"), ReadBytes(reference));
  EXPECT_TRUE(fs::exists(folder_ / "TEMPs" / "TempInfo.txt"));

  // Half-second stretches of the recording are found in what the sink played; the rig may
  // drop a moment now and then, so one of the three may miss.
  const PcmSound recorded = ReadSound(folder_ / "heard.wav");
  EXPECT_GE(MatchedStretches(decoded.samples, recorded.samples, "heard"), 2);
}

TEST_F(PlayerEndToEnd, BarePlayerStartsSilentlyWithNothingToPlay) {
  const fs::path bare = folder_ / "LorixPlayer.exe";
  fs::copy_file(kPlayer, bare);
  MonitorRecording heard(folder_ / "heard.wav");
  ASSERT_TRUE(heard.started());
  ChildProgram player(bare, folder_);
  EXPECT_EQ(CountWindows("LORIX-Player V.", true, 10s), 1u) << "no player window";
  std::this_thread::sleep_for(2s);
  heard.Stop();
  EXPECT_TRUE(player.Running());
  EXPECT_EQ(CountWindows("Information", false, 0ms), 0u) << "the bare player complained";

  ASSERT_TRUE(fs::is_directory(folder_ / "TEMPs"));
  EXPECT_TRUE(fs::is_empty(folder_ / "TEMPs"));
  const PcmSound recorded = ReadSound(folder_ / "heard.wav");
  ASSERT_FALSE(recorded.samples.empty());
  const auto [low, high] = std::minmax_element(recorded.samples.begin(), recorded.samples.end());
  EXPECT_GE(*low, 126);
  EXPECT_LE(*high, 130);
}

TEST_F(PlayerEndToEnd, ForeignFileGetsTheWrongFormatBox) {
  const fs::path foreign = folder_ / "Brief.txt";
  std::ofstream(foreign) << std::string(300, 'x');
  ChildProgram player(kPlayer, folder_, {foreign.string()});
  EXPECT_EQ(CountWindows("Information", false, 10s), 1u) << "no wrong-format box";
  EXPECT_TRUE(player.Running());
  EXPECT_TRUE(fs::is_empty(folder_ / "TEMPs"));
}

// Installed (…/bin beside …/share/lorix) and started from the menu or a file manager, the
// player writes nothing into the folder it was started from (the user's home): its files go to
// the private per-user folder.
TEST_F(PlayerEndToEnd, TheInstalledPlayerWritesNothingIntoItsStartFolder) {
  const fs::path attachment = folder_ / "LORIX_Gruss.EXE";
  ASSERT_EQ(Tool({"pack", "--player-exe", kPlayer.string(), kSpeech.string(), attachment.string()}),
            0);
  const fs::path prefix = folder_ / "usr";
  fs::create_directories(prefix / "bin");
  fs::create_directories(prefix / "share" / "lorix");
  fs::copy_file(kPlayer, prefix / "bin" / "lorix-player");
  const fs::path home = folder_ / "home";
  fs::create_directory(home);
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  ASSERT_NE(runtime, nullptr) << "the rig sets XDG_RUNTIME_DIR";
  const auto before = fs::file_time_type::clock::now() - 1s;

  ChildProgram player(prefix / "bin" / "lorix-player", home, {attachment.string()});
  EXPECT_EQ(CountWindows("LORIX-Player V.", true, 10s), 1u) << "no player window";
  const auto private_wave_written = [&] {
    for (const auto& entry : fs::directory_iterator(fs::path(runtime) / "lorix")) {
      const fs::path wave = entry.path() / "TempWave.wav";
      if (fs::exists(wave) && fs::last_write_time(wave) >= before) return true;
    }
    return false;
  };
  EXPECT_TRUE(WaitUntil(private_wave_written, 10s, [] { std::this_thread::sleep_for(50ms); }))
      << "no TempWave.wav in the private folder";
  EXPECT_TRUE(player.Running());
  EXPECT_EQ(CountWindows("Information", false, 0ms), 0u) << "a message box came up";
  EXPECT_TRUE(fs::is_empty(home));
}

}  // namespace
}  // namespace lorix::testing
