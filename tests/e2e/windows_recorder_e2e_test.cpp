// The Windows recorder Lorix.exe as a user meets it, under Wine on the test rig: started from a
// fresh folder with LorixPlayer.exe beside it, it makes its folders there, shows its main form
// in both views, the sound-card form in expert mode and the about box; a second start brings
// the first to the front with its box and ends at once; closed while minimized, it stores the
// place it had on the screen. A spoken message goes the whole road by the space bar, into a
// mail through Simple MAPI and to the recipient's speaker; a recording cut short by a kill
// comes back at the next start. Everything is checked from outside, on the X display and the
// rig's sink; the screenshots go to the build folder.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "codec/wav_reader.h"
#include "desktop/command_output.h"
#include "desktop/path_search.h"
#include "recorder/ini_document.h"
#include "tests/support/child_program.h"
#include "tests/support/mp3_standard.h"
#include "tests/support/report_text.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/sink_recording.h"
#include "tests/support/test_folder.h"
#include "tests/support/window_driver.h"
#include "tests/support/x11_windows.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kRecorder = LORIX_WINDOWS_RECORDER_EXE;
const fs::path kPlayer = LORIX_WINDOWS_PLAYER_EXE;
const fs::path kScreenshots = LORIX_SCREENSHOT_DIR;
const fs::path kMapiStandIn = LORIX_MAPI32_STAND_IN;
const fs::path kSpeech = fs::path(LORIX_SPEECH_DIR) / "speech_de.wav";
// The main window's caption: the program file's name, the short and the full version.
constexpr char kMainTitle[] = "Lorix V.1.5  (Build 1.5.0.1)";

void Screenshot(unsigned long window, const std::string& name) {
  ScreenshotTo(window, kScreenshots / name);
}

bool WaitForFile(const fs::path& file, std::chrono::milliseconds wait) {
  return WaitUntil([&] { return fs::exists(file); }, wait,
                   [] { std::this_thread::sleep_for(50ms); });
}

class WindowsRecorder : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* rig = std::getenv("LORIX_AUDIO_RIG");
    ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the test rig";
    ASSERT_NE(std::getenv("WINEPREFIX"), nullptr) << "the rig has no Wine (wine_rig.sh)";
    wine_ = FindInPath("wine");
    ASSERT_FALSE(wine_.empty()) << "Wine is missing (scripts/setup.sh)";
    ASSERT_TRUE(fs::exists(kRecorder)) << kRecorder;
    ASSERT_TRUE(fs::exists(kPlayer)) << kPlayer;
    folder_ = FreshTestFolder("lorix_windows_recorder");
    fs::copy_file(kRecorder, folder_ / "Lorix.exe");
    fs::copy_file(kPlayer, folder_ / "LorixPlayer.exe");
  }
  void TearDown() override { fs::remove_all(folder_); }

  // A settings file that exists (no "nicht gefunden" box at the start or the close) and, for
  // the mail, the stand-in MAPI32.DLL beside the program, which Wine loads before its own.
  void PrepareForRecording() {
    std::ofstream(folder_ / "Lorix.INI") << "[Options]\r\n";
    fs::copy_file(kMapiStandIn, folder_ / "MAPI32.DLL");
    environment_.Append("WINEDLLOVERRIDES", "mapi32=n,b");
  }

  // Steps 1 and 2 by the space bar, then the spoken message played into the sink, which the
  // recorder records from the sink's monitor. Returns when paplay is done.
  void RecordTheMessage(unsigned long window) {
    std::this_thread::sleep_for(1s);  // the start-up's settings and mixer
    Key(window, "space");             // step 1: the level display
    std::this_thread::sleep_for(2500ms);
    Key(window, "space");  // step 2: record
    ASSERT_TRUE(WaitForFile(folder_ / "TEMPs" / "TempRecording.journal", 10s))
        << "the recording did not start";
    ChildProgram paplay("/usr/bin/paplay", folder_, {kSpeech.string()});
    ASSERT_TRUE(paplay.started());
    EXPECT_EQ(paplay.WaitForExit(60s), 0) << "paplay failed";
    std::this_thread::sleep_for(1s);
  }

  // Asks the main window to close and answers the boxes of the close (the settings file made
  // anew); the program must then end by itself.
  void Close(unsigned long window, ChildProgram& recorder) {
    X11Windows windows;
    windows.RequestClose(window);
    AnswerBox("Information", 10s);
    EXPECT_EQ(recorder.WaitForExit(30s), 0);
  }

  fs::path wine_;
  fs::path folder_;
  ScopedEnvironment environment_;
};

TEST_F(WindowsRecorder, StartsInItsFolderShowsItsFormsAndASecondStartHandsOver) {
  // Expert mode from the command line shows the sound-card form and says so.
  ChildProgram recorder(wine_, folder_, {"Lorix.exe", "/x"});
  const unsigned long window = FindWindow(kMainTitle, false, 60s);
  ASSERT_NE(window, 0u) << "no main window";
  EXPECT_TRUE(AnswerBox("LORIX", 30s, kScreenshots / "windows_recorder_expert_box.png"))
      << "no expert-mode box";
  EXPECT_TRUE(fs::is_directory(folder_ / "TEMPs"));
  EXPECT_TRUE(fs::is_directory(folder_ / "LORIXs"));

  const unsigned long sound_card = FindWindow("FormLorixSK", false, 10s);
  EXPECT_NE(sound_card, 0u) << "expert mode shows no sound-card form";
  if (sound_card != 0) Screenshot(sound_card, "windows_recorder_sound_card.png");

  // The compact view, then the full one: the three hidden blocks shown by their menu keys make
  // the window taller by their heights.
  X11Windows windows;
  ASSERT_TRUE(windows.connected());
  Screenshot(window, "windows_recorder_compact.png");
  const int compact_height = windows.Geometry(window).height;
  for (const char* key : {"ctrl+k", "ctrl+s", "ctrl+d"}) Key(window, key);
  EXPECT_TRUE(WaitUntil([&] { return windows.Geometry(window).height > compact_height + 250; }, 10s,
                        [] { std::this_thread::sleep_for(100ms); }))
      << "the full view is not taller: " << windows.Geometry(window).height;
  Screenshot(window, "windows_recorder_full.png");
  for (const char* key : {"ctrl+k", "ctrl+s", "ctrl+d"}) Key(window, key);
  EXPECT_TRUE(WaitUntil([&] { return windows.Geometry(window).height == compact_height; }, 10s,
                        [] { std::this_thread::sleep_for(100ms); }));

  // The about box, by its menu key; Escape closes it.
  Key(window, "alt+i");
  const unsigned long about = FindWindow("Programm-Informationen", false, 10s);
  EXPECT_NE(about, 0u) << "no about box";
  if (about != 0) {
    Screenshot(about, "windows_recorder_about.png");
    Key(about, "Escape");
    EXPECT_TRUE(Gone("Programm-Informationen", 10s));
  }

  // A second start ends at once without a window; the first says it was started already.
  ChildProgram second(wine_, folder_, {"Lorix.exe"});
  EXPECT_EQ(second.WaitForExit(60s), 0);
  EXPECT_TRUE(AnswerBox("LORIX", 30s, kScreenshots / "windows_recorder_second_start.png"))
      << "the first instance shows no box";
  EXPECT_EQ(windows.Find(kMainTitle).size(), 1u);

  // Closed while minimized (by the system menu: Alt+Space, "Minimize"), the window keeps the
  // place it had on the screen for the next start, not the far-off place of a minimized one.
  const WindowGeometry client = windows.Geometry(window);
  Key(window, "alt+space");
  std::this_thread::sleep_for(1s);
  Key(window, "n");
  std::this_thread::sleep_for(1s);
  Close(window, recorder);
  ASSERT_TRUE(fs::exists(folder_ / "Lorix.INI")) << "the settings were not saved beside it";
  const IniDocument settings(ReadText(folder_ / "Lorix.INI"));
  const std::int64_t left = settings.ReadInteger("WindowStart", "Left", -1);
  const std::int64_t top = settings.ReadInteger("WindowStart", "Top", -1);
  // The stored corner is the frame's: at most a frame's width left of and above the client area.
  EXPECT_TRUE(left >= 0 && left <= client.x && client.x - left < 64) << left << " " << client.x;
  EXPECT_TRUE(top >= 0 && top <= client.y && client.y - top < 64) << top << " " << client.y;
}

// The whole road of a message by keyboard: space, space, a spoken sentence, space (compress and
// listen), space (stop listening), space (build the attachment, saved as proposed, confirmed).
// Simple MAPI hands the attachment to the mail program, here the stand-in, which notes the
// message record; the recipient starts the attachment under Wine and hears the message.
TEST_F(WindowsRecorder, StepsOneToFourByKeyboardMailTheMessageWhichIsHeard) {
  PrepareForRecording();
  // Set by hand in the settings file, as users do: the message goes as program and MP3 file.
  fs::remove(folder_ / "Lorix.INI");
  std::ofstream(folder_ / "LORIX.INI") << "[Options]\r\nAttachmentKind=2\r\n";
  ChildProgram recorder(wine_, folder_, {"Lorix.exe"});
  const unsigned long window = FindWindow(kMainTitle, false, 60s);
  ASSERT_NE(window, 0u) << "no main window";
  RecordTheMessage(window);
  Key(window, "space");  // step 3: stop, compress and listen
  ASSERT_TRUE(WaitForFile(folder_ / "TEMPs" / "TempCompressed.wav", 30s)) << "no step 3";
  std::this_thread::sleep_for(2s);
  Screenshot(window, "windows_recorder_step3.png");
  Key(window, "space");  // stop listening
  std::this_thread::sleep_for(1s);
  Key(window, "space");  // step 4
  const unsigned long save = FindWindow("Lorix-Sprachanhang speichern", false, 30s);
  ASSERT_NE(save, 0u) << "no save dialog";
  Screenshot(save, "windows_recorder_save_dialog.png");
  Key(save, "Return");
  EXPECT_TRUE(AnswerBox("LORIX", 30s, kScreenshots / "windows_recorder_attachment_written.png"))
      << "no box about the attachment";

  fs::path attachment, mp3;
  for (const auto& entry : fs::directory_iterator(folder_ / "LORIXs")) {
    (entry.path().extension() == ".mp3" ? mp3 : attachment) = entry.path();
  }
  ASSERT_FALSE(attachment.empty()) << "no attachment in LORIXs";
  EXPECT_EQ(attachment.filename().string().rfind("LORIX_", 0), 0u) << attachment;
  EXPECT_EQ(attachment.extension(), ".EXE");
  // The MP3 beside it is a standard file that the common players take.
  ASSERT_FALSE(mp3.empty()) << "no MP3 file beside the attachment";
  EXPECT_EQ(mp3.stem(), attachment.stem());
  EXPECT_GT(CountStandardFrames(ReadBytes(mp3), 24), 0);
  ExpectPlayersTakeMp3(mp3, 24);

  // The message record as Simple MAPI handed it over: the compose dialog, both files.
  ASSERT_TRUE(WaitForFile(folder_ / "MAPI-Aufruf.txt", 30s)) << "no MAPISendMail call";
  const std::string record = ReadText(folder_ / "MAPI-Aufruf.txt");
  EXPECT_EQ(Line(record, "entry"), "MAPISendMailW") << record;
  EXPECT_EQ(Line(record, "flags"), "9") << record;
  EXPECT_EQ(Line(record, "file count"), "2") << record;
  EXPECT_EQ(Line(record, "file name"), attachment.filename().string()) << record;
  const std::string path = Line(record, "file path");
  EXPECT_NE(path.find("\\LORIXs\\" + attachment.filename().string()), std::string::npos) << record;
  EXPECT_NE(record.find(mp3.filename().string()), std::string::npos) << record;

  // Closing asks before the recording goes (OK) and ends the program.
  X11Windows windows;
  windows.RequestClose(window);
  EXPECT_TRUE(AnswerBox("LORIX", 15s)) << "no reset question at close";
  EXPECT_EQ(recorder.WaitForExit(30s), 0);

  // The recipient starts the attachment; the message is heard on the sink.
  const PcmSound speech = ReadSound(kSpeech);
  const double seconds = static_cast<double>(speech.samples.size()) / 11025;
  MonitorRecording heard(folder_ / "heard.wav");
  ASSERT_TRUE(heard.started());
  ChildProgram player(wine_, attachment.parent_path(), {attachment.filename().string()});
  const unsigned long player_window = FindWindow("LORIX-Player V.", true, 60s);
  ASSERT_NE(player_window, 0u) << "the attachment shows no player";
  EXPECT_TRUE(WaitForFile(attachment.parent_path() / "TEMPs" / "TempWave.wav", 30s));
  EXPECT_TRUE(WaitUntil([] { return SinkStreamIs(false); }, 30s,
                        [] { std::this_thread::sleep_for(100ms); }))
      << "the attachment's sound did not start";
  std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(seconds * 1000)) + 3s);
  heard.Stop();
  windows.RequestClose(player_window);
  EXPECT_EQ(player.WaitForExit(15s), 0);
  EXPECT_GE(
      MatchedStretches(speech.samples, ReadSound(folder_ / "heard.wav").samples, "heard", 0.6), 2);
}

// A kill during a recording: the next start asks, Return restores what was recorded up to
// about the kill, and space compresses it.
TEST_F(WindowsRecorder, ARecordingCutShortByAKillIsRestoredAtTheNextStart) {
  PrepareForRecording();
  {
    ChildProgram recorder(wine_, folder_, {"Lorix.exe"});
    const unsigned long window = FindWindow(kMainTitle, false, 60s);
    ASSERT_NE(window, 0u) << "no main window";
    RecordTheMessage(window);
    // The journal reaches the disk at most a second late.
    std::this_thread::sleep_for(1500ms);
    recorder.Signal(SIGKILL);
    ASSERT_EQ(recorder.WaitForExit(10s), -1);
    EXPECT_TRUE(Gone(kMainTitle, 30s));
  }
  ASSERT_FALSE(fs::exists(folder_ / "TEMPs" / "TempRecording.wav")) << "saved before the kill";

  ChildProgram recorder(wine_, folder_, {"Lorix.exe"});
  EXPECT_TRUE(AnswerBox("LORIX", 60s, kScreenshots / "windows_recorder_restore_question.png"))
      << "no question at the start after the kill";
  const unsigned long window = FindWindow(kMainTitle, false, 30s);
  ASSERT_NE(window, 0u) << "no main window";
  ASSERT_TRUE(WaitForFile(folder_ / "TEMPs" / "TempRecording.wav", 15s))
      << "Return did not restore the recording";
  Key(window, "space");  // step 3
  EXPECT_TRUE(WaitForFile(folder_ / "TEMPs" / "TempCompressed.wav", 30s))
      << "space did not compress the restored recording";
  const PcmSound speech = ReadSound(kSpeech);
  const PcmSound restored = ReadSound(folder_ / "TEMPs" / "TempRecording.wav");
  EXPECT_GE(restored.samples.size(), speech.samples.size() / 2);
  EXPECT_GE(MatchedStretches(speech.samples, restored.samples, "restored", 0.6), 2);

  X11Windows windows;
  windows.RequestClose(window);
  EXPECT_TRUE(AnswerBox("LORIX", 15s)) << "no reset question at close";
  EXPECT_EQ(recorder.WaitForExit(30s), 0);
  EXPECT_FALSE(fs::exists(folder_ / "TEMPs" / "TempRecording.journal"));
}

}  // namespace
}  // namespace lorix::testing
