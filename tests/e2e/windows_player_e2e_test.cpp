// The Windows player as a recipient meets it, under Wine on the test rig: an attachment packed
// with the Windows LorixPlayer.exe is started without an argument; it must unpack the same
// recording the decoder makes and play it into the rig's null sink. Its keys, its two views,
// its help and wrong-format boxes and its exit code are checked from outside, on the X display.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "codec/wav_reader.h"
#include "desktop/command_output.h"
#include "desktop/path_search.h"
#include "tests/support/child_program.h"
#include "tests/support/sink_recording.h"
#include "tests/support/test_folder.h"
#include "tests/support/window_driver.h"
#include "tests/support/x11_windows.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kTool = LORIX_TOOL_PATH;
const fs::path kPlayer = LORIX_WINDOWS_PLAYER_EXE;
const fs::path kSpeech = fs::path(LORIX_SPEECH_DIR) / "speech_de.wav";
const fs::path kLongSpeech = fs::path(LORIX_SPEECH_DIR) / "speech_de_long.wav";
const fs::path kSndVolStandIn = LORIX_SNDVOL_STAND_IN;
const fs::path kScreenshots = LORIX_SCREENSHOT_DIR;
constexpr int kRate = 11025;

void Screenshot(unsigned long window, const std::string& name) {
  ScreenshotTo(window, kScreenshots / name);
}

// Whether each 50 ms stretch of an 8-bit recording carries sound.
std::vector<bool> Loudness(const Bytes& samples) {
  constexpr std::size_t kStretch = kRate / 20;
  std::vector<bool> loud;
  for (std::size_t start = 0; start + kStretch <= samples.size(); start += kStretch) {
    const auto [low, high] =
        std::minmax_element(samples.begin() + start, samples.begin() + start + kStretch);
    loud.push_back(*low < 124 || *high > 132);
  }
  return loud;
}

class WindowsPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* rig = std::getenv("LORIX_AUDIO_RIG");
    ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the test rig";
    ASSERT_NE(std::getenv("WINEPREFIX"), nullptr) << "the rig has no Wine (wine_rig.sh)";
    wine_ = FindInPath("wine");
    ASSERT_FALSE(wine_.empty()) << "Wine is missing (scripts/setup.sh)";
    ASSERT_TRUE(fs::exists(kPlayer)) << kPlayer;
    ASSERT_TRUE(fs::exists(kSpeech)) << kSpeech;
    folder_ = FreshTestFolder("lorix_windows_player");
  }
  void TearDown() override { fs::remove_all(folder_); }

  int Tool(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {kTool.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunAndCapture(argv, 60s).exit_status;
  }

  // Packs the spoken message with lorix-tool's own choice of player, the Windows player beside
  // it; the player's decoding of it is `reference`.
  fs::path PackAttachment(const fs::path& reference, const fs::path& speech = kSpeech) {
    const fs::path attachment = folder_ / "LORIX_Gruss.EXE";
    EXPECT_EQ(Tool({"pack", speech.string(), attachment.string()}), 0);
    const Bytes player = ReadBytes(kPlayer);
    const Bytes packed = ReadBytes(attachment);
    EXPECT_TRUE(packed.size() > player.size() &&
                std::equal(player.begin(), player.end(), packed.begin()))
        << "the attachment does not start with the Windows player";
    EXPECT_EQ(Tool({"decode", "--player", attachment.string(), reference.string()}), 0);
    return attachment;
  }

  // Waits until the started attachment has written its recording and its sound runs into the
  // sink: Wine opens the sound stream a varying while after the file is there, and keys sent
  // before it would act on a playback that has not begun.
  void WaitForPlayback() { WaitForPlayback(folder_ / "TEMPs" / "TempWave.wav"); }
  void WaitForPlayback(const fs::path& wav) {
    EXPECT_TRUE(
        WaitUntil([&] { return fs::exists(wav); }, 30s, [] { std::this_thread::sleep_for(50ms); }))
        << "no TempWave.wav";
    EXPECT_TRUE(WaitForStream(false)) << "no sound stream in the sink";
  }

  // Waits until the player plays from a TEMPs under %TEMP%\LORIX written since `since`.
  void WaitForPrivatePlayback(fs::file_time_type since) {
    EXPECT_TRUE(WaitUntil([&] { return !PrivateTempWave(since).empty(); }, 30s,
                          [] { std::this_thread::sleep_for(100ms); }))
        << "no TempWave.wav under %TEMP%";
    EXPECT_TRUE(WaitForStream(false)) << "no sound stream in the sink";
  }

  // A TempWave.wav written since `since` into a TEMPs of %TEMP%\LORIX in the prefix; empty when
  // there is none.
  static fs::path PrivateTempWave(fs::file_time_type since) {
    const fs::path users = fs::path(std::getenv("WINEPREFIX")) / "drive_c" / "users";
    for (const auto& entry : fs::recursive_directory_iterator(users)) {
      if (entry.path().filename() == "TempWave.wav" &&
          entry.path().parent_path().parent_path().filename() == "LORIX" &&
          fs::last_write_time(entry.path()) >= since) {
        return entry.path();
      }
    }
    return {};
  }

  // The number of streams in the sink, held or running.
  static std::size_t StreamCount() {
    const std::string streams = RunAndCapture({"pactl", "list", "sink-inputs"}, 5s).output;
    std::size_t count = 0;
    for (std::size_t at = streams.find("Sink Input #"); at != std::string::npos;
         at = streams.find("Sink Input #", at + 1)) {
      ++count;
    }
    return count;
  }

  // Waits until the player's stream in the sink runs (`corked` false) or is held (true). Under
  // load Wine takes a while to act on a key; the next key waits for that.
  static bool WaitForStream(bool corked) {
    return WaitUntil([&] { return SinkStreamIs(corked); }, 30s,
                     [] { std::this_thread::sleep_for(50ms); });
  }

  fs::path wine_;
  fs::path folder_;
};

TEST_F(WindowsPlayer, AttachmentStartedWithoutArgumentPlaysItsRecording) {
  const fs::path reference = folder_ / "reference.wav";
  const fs::path attachment = PackAttachment(reference);
  const PcmSound decoded = ReadSound(reference);
  ASSERT_EQ(decoded.format.sample_rate, static_cast<unsigned>(kRate));
  const double seconds = static_cast<double>(decoded.samples.size()) / kRate;
  ASSERT_GT(seconds, 5.0);

  MonitorRecording heard(folder_ / "heard.wav");
  ASSERT_TRUE(heard.started());
  ChildProgram player(wine_, folder_, {attachment.filename().string()});
  const unsigned long window = FindWindow("LORIX-Player V.1.5.0.1", false, 60s);
  ASSERT_NE(window, 0u) << "no player window";
  WaitForPlayback();
  std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(seconds * 1000)) + 2s);
  heard.Stop();
  EXPECT_EQ(FindWindow("Information", false, 0ms), 0u) << "a message box came up";

  EXPECT_EQ(ReadBytes(folder_ / "TEMPs" / "TempWave.wav"), ReadBytes(reference));
  EXPECT_TRUE(fs::exists(folder_ / "TEMPs" / "TempInfo.txt"));

  // Half-second stretches of the recording are found in what the sink played. Wine's sound
  // output stutters now and then on a busy machine and tears a stretch, so one of the three
  // suffices here: the bytes played are compared exactly above.
  const PcmSound recorded = ReadSound(folder_ / "heard.wav");
  EXPECT_GE(MatchedStretches(decoded.samples, recorded.samples, "heard", 0.8), 1);

  // E widens the window to the full view and back; the client areas are those of the outer
  // sizes 243 x 181 and 612 x 226 under Wine's own 3-pixel frame and caption.
  X11Windows windows;
  ASSERT_TRUE(windows.connected());
  EXPECT_EQ(windows.Geometry(window).width, 237);
  Screenshot(window, "windows_player_compact.png");
  Key(window, "e");
  EXPECT_TRUE(WaitUntil([&] { return windows.Geometry(window).width == 606; }, 5s,
                        [] { std::this_thread::sleep_for(50ms); }));
  Screenshot(window, "windows_player_full.png");
  Key(window, "e");
  EXPECT_TRUE(WaitUntil([&] { return windows.Geometry(window).width == 237; }, 5s,
                        [] { std::this_thread::sleep_for(50ms); }));

  windows.RequestClose(window);
  EXPECT_EQ(player.WaitForExit(15s), 0);
}

TEST_F(WindowsPlayer, SpacePausesAndResumesSStopsF1Helps) {
  const fs::path reference = folder_ / "reference.wav";
  const fs::path attachment = PackAttachment(reference);
  const double seconds = static_cast<double>(ReadSound(reference).samples.size()) / kRate;

  MonitorRecording heard(folder_ / "heard.wav");
  ASSERT_TRUE(heard.started());
  ChildProgram player(wine_, folder_, {attachment.filename().string()});
  const unsigned long window = FindWindow("LORIX-Player V.", true, 60s);
  ASSERT_NE(window, 0u) << "no player window";
  WaitForPlayback();
  std::this_thread::sleep_for(1500ms);
  Key(window, "space");  // pause
  EXPECT_TRUE(WaitForStream(true)) << "the pause did not hold the stream";
  std::this_thread::sleep_for(2500ms);
  EXPECT_TRUE(SinkStreamIs(true)) << "the pause ended by itself";
  Key(window, "space");  // go on
  EXPECT_TRUE(WaitForStream(false)) << "the stream did not go on";
  std::this_thread::sleep_for(1500ms);
  Key(window, "s");
  // The recording reaches the file a few seconds late: long enough for the silence to show.
  std::this_thread::sleep_for(6s);
  heard.Stop();

  // Silence from the stop on, although the message would have gone on. The pause shows on the
  // stream above, not here: the sink's monitor leaves out most of the time all streams are held.
  const std::vector<bool> loud = Loudness(ReadSound(folder_ / "heard.wav").samples);
  const auto first = std::find(loud.begin(), loud.end(), true);
  const auto last = std::find(loud.rbegin(), loud.rend(), true).base();
  ASSERT_LT(first, last) << "nothing was heard";
  std::string timeline;
  for (const bool stretch : loud) timeline += stretch ? '#' : '.';
  std::printf("heard, 50 ms a sign: %s\n", timeline.c_str());
  EXPECT_GE(loud.end() - last, 30) << "the sound went on after S";
  EXPECT_LT(static_cast<double>(std::count(loud.begin(), loud.end(), true)) / 20, seconds - 1)
      << "the whole message was played";

  Key(window, "F1");
  const unsigned long help = FindWindow("Kurz-Hilfe", false, 10s);
  EXPECT_NE(help, 0u) << "no help box";
  if (help != 0) Key(help, "Return");
  EXPECT_TRUE(Gone("Kurz-Hilfe", 5s));
  X11Windows windows;
  windows.RequestClose(window);
  EXPECT_EQ(player.WaitForExit(15s), 0);
}

TEST_F(WindowsPlayer, ForeignFileGetsTheInformationBox) {
  const fs::path player_copy = folder_ / "LorixPlayer.exe";
  fs::copy_file(kPlayer, player_copy);
  const fs::path foreign = folder_ / "Brief.txt";
  std::ofstream(foreign) << std::string(300, 'x');
  ChildProgram player(wine_, folder_,
                      {player_copy.filename().string(), foreign.filename().string()});
  const unsigned long box = FindWindow("Information", false, 60s);
  EXPECT_NE(box, 0u) << "no wrong-format box";
  if (box != 0) Screenshot(box, "windows_player_foreign.png");
  EXPECT_TRUE(player.Running());
  EXPECT_TRUE(fs::is_empty(folder_ / "TEMPs"));
}

// The media service's string commands read "type!element" even inside quotes; the player opens
// the file by the command form, so a folder named "Wichtig!" does not stop the message.
TEST_F(WindowsPlayer, AnAttachmentInAFolderWithAnExclamationMarkPlays) {
  const fs::path reference = folder_ / "reference.wav";
  const fs::path packed = PackAttachment(reference);
  const fs::path important = folder_ / "Wichtig!";
  fs::create_directory(important);
  fs::rename(packed, important / packed.filename());

  ChildProgram player(wine_, important, {packed.filename().string()});
  const unsigned long window = FindWindow("LORIX-Player V.", true, 60s);
  ASSERT_NE(window, 0u) << "no player window";
  WaitForPlayback(important / "TEMPs" / "TempWave.wav");
  EXPECT_EQ(FindWindow("Information", false, 0ms), 0u) << "a message box came up";
  EXPECT_EQ(ReadBytes(important / "TEMPs" / "TempWave.wav"), ReadBytes(reference));
  X11Windows windows;
  windows.RequestClose(window);
  EXPECT_EQ(player.WaitForExit(15s), 0);
}

// A recipient double-clicks two messages in one folder. The second player leaves the first one's
// TEMPs alone (its media service holds TempWave.wav) and plays from a folder of its own under
// %TEMP%\LORIX; both play and neither shows a box.
TEST_F(WindowsPlayer, TwoAttachmentsFromOneFolderBothPlay) {
  const fs::path reference = folder_ / "reference.wav";
  const fs::path first = PackAttachment(reference, kLongSpeech);
  const fs::path second = folder_ / "LORIX_Zweite.EXE";
  fs::copy_file(first, second);
  const fs::path wave = folder_ / "TEMPs" / "TempWave.wav";
  const fs::path info = folder_ / "TEMPs" / "TempInfo.txt";

  ChildProgram player_a(wine_, folder_, {first.filename().string()});
  ASSERT_NE(FindWindow("LORIX-Player V.", true, 60s), 0u) << "no first player window";
  WaitForPlayback();
  const Bytes wave_bytes = ReadBytes(wave), info_bytes = ReadBytes(info);
  const auto wave_time = fs::last_write_time(wave), info_time = fs::last_write_time(info);
  const auto before_second = fs::file_time_type::clock::now() - 1s;

  ChildProgram player_b(wine_, folder_, {second.filename().string()});
  X11Windows windows;
  ASSERT_TRUE(windows.connected());
  EXPECT_TRUE(WaitUntil([&] { return windows.Find("LORIX-Player V.", true).size() == 2; }, 60s,
                        [] { std::this_thread::sleep_for(100ms); }))
      << "no second player window";
  EXPECT_TRUE(
      WaitUntil([] { return StreamCount() >= 2; }, 30s, [] { std::this_thread::sleep_for(100ms); }))
      << "the two players do not play at the same time";
  EXPECT_EQ(FindWindow("Information", false, 0ms), 0u) << "a message box came up";
  EXPECT_EQ(FindWindow("Fehler", false, 0ms), 0u) << "an error box came up";
  EXPECT_TRUE(player_a.Running() && player_b.Running());

  // The first player's files are as it wrote them.
  EXPECT_EQ(ReadBytes(wave), wave_bytes);
  EXPECT_EQ(ReadBytes(info), info_bytes);
  EXPECT_EQ(fs::last_write_time(wave), wave_time);
  EXPECT_EQ(fs::last_write_time(info), info_time);

  // The second one's recording lies in a LORIX folder of the prefix's temporary folder.
  const fs::path second_wave = PrivateTempWave(before_second);
  ASSERT_FALSE(second_wave.empty()) << "no TempWave.wav of the second player under %TEMP%";
  EXPECT_EQ(ReadBytes(second_wave), ReadBytes(reference));

  for (const unsigned long window : windows.Find("LORIX-Player V.", true)) {
    windows.RequestClose(window);
  }
  EXPECT_EQ(player_a.WaitForExit(15s), 0);
  EXPECT_EQ(player_b.WaitForExit(15s), 0);
}

// A TEMPs that another account made is not written into (the owner is looked at as on
// Linux): the message plays from %TEMP%\LORIX.
TEST_F(WindowsPlayer, AnotherAccountsTEMPsIsLeftAlone) {
  const fs::path reference = folder_ / "reference.wav";
  const fs::path attachment = PackAttachment(reference);
  const fs::path foreign = folder_ / "TEMPs";
  fs::create_directory(foreign);
  constexpr uid_t kNobody = 65534;
  ASSERT_EQ(chown(foreign.c_str(), kNobody, kNobody), 0) << "the rig cannot hand a folder over";
  const auto before = fs::file_time_type::clock::now() - 1s;

  ChildProgram player(wine_, folder_, {attachment.filename().string()});
  const unsigned long window = FindWindow("LORIX-Player V.", true, 60s);
  ASSERT_NE(window, 0u) << "no player window";
  WaitForPrivatePlayback(before);
  EXPECT_TRUE(fs::is_empty(foreign));
  EXPECT_EQ(FindWindow("Information", false, 0ms), 0u) << "a message box came up";
  EXPECT_EQ(FindWindow("Fehler", false, 0ms), 0u) << "an error box came up";
  X11Windows windows;
  windows.RequestClose(window);
  EXPECT_EQ(player.WaitForExit(15s), 0);
}

// A current folder so deep that "TEMPs\TempWave.wav" would still fit the path limit of 260
// characters, but not the temporary name it is written under: the player plays from
// %TEMP%\LORIX instead of failing at the write.
TEST_F(WindowsPlayer, AFolderNearThePathLimitFallsBackToTheTemporaryFolder) {
  const fs::path reference = folder_ / "reference.wav";
  const fs::path packed = PackAttachment(reference);
  // Wine shows the rig's folders under Z:, so a folder's Windows name is two characters longer.
  constexpr std::size_t kWindowsLength = 230;
  fs::path deep = folder_;
  while (deep.string().size() + 2 < kWindowsLength) {
    const std::size_t missing = kWindowsLength - deep.string().size() - 2 - 1;
    deep /= std::string(std::min<std::size_t>(missing, 100), 'x');
  }
  ASSERT_EQ(deep.string().size() + 2, kWindowsLength);
  ASSERT_LT(kWindowsLength + std::string("\\TEMPs\\TempWave.wav").size(), 260u);
  fs::create_directories(deep);
  fs::rename(packed, deep / packed.filename());
  const auto before = fs::file_time_type::clock::now() - 1s;

  ChildProgram player(wine_, deep, {packed.filename().string()});
  const unsigned long window = FindWindow("LORIX-Player V.", true, 60s);
  ASSERT_NE(window, 0u) << "no player window";
  WaitForPrivatePlayback(before);
  EXPECT_FALSE(fs::exists(deep / "TEMPs" / "TempWave.wav"));
  EXPECT_EQ(FindWindow("Fehler", false, 0ms), 0u) << "an error box came up";
  X11Windows windows;
  windows.RequestClose(window);
  EXPECT_EQ(player.WaitForExit(15s), 0);
}

// The M key starts the volume mixer of today's Windows: a stand-in SndVol.exe in the prefix's
// system folder notes its start in the player's current folder.
TEST_F(WindowsPlayer, MStartsTheVolumeMixerOfTodaysWindows) {
  ASSERT_TRUE(fs::exists(kSndVolStandIn)) << kSndVolStandIn;
  const fs::path system_folder =
      fs::path(std::getenv("WINEPREFIX")) / "drive_c" / "windows" / "system32";
  // In the prefix for this test only: the others meet Wine without a volume mixer.
  struct Installed {
    fs::path path;
    ~Installed() { fs::remove(path); }
  } installed{system_folder / "SndVol.exe"};
  fs::copy_file(kSndVolStandIn, installed.path, fs::copy_options::overwrite_existing);
  const fs::path player_copy = folder_ / "LorixPlayer.exe";
  fs::copy_file(kPlayer, player_copy);

  ChildProgram player(wine_, folder_, {player_copy.filename().string()});
  const unsigned long window = FindWindow("LORIX-Player V.", true, 60s);
  ASSERT_NE(window, 0u) << "no player window";
  Key(window, "m");
  const fs::path noted = folder_ / "SndVol-Aufruf.txt";
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(noted) && fs::file_size(noted) > 0; }, 30s,
                        [] { std::this_thread::sleep_for(100ms); }))
      << "SndVol.exe was not started";
  EXPECT_EQ(FindWindow("Information", false, 0ms), 0u) << "\"Systemmixer nicht verfügbar\"";
  X11Windows windows;
  windows.RequestClose(window);
  EXPECT_EQ(player.WaitForExit(15s), 0);
}

}  // namespace
}  // namespace lorix::testing
