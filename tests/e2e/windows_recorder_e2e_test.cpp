// The Windows recorder Lorix.exe as a user meets it, under Wine on the test rig: started from a
// fresh folder with LorixPlayer.exe beside it, it makes its folders there, shows its main form
// in both views, the sound-card form in expert mode and the about box; a second start brings
// the first to the front with its box and ends at once. Everything is checked from outside, on
// the X display; the screenshots go to the build folder.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "desktop/command_output.h"
#include "desktop/path_search.h"
#include "tests/support/child_program.h"
#include "tests/support/test_folder.h"
#include "tests/support/x11_windows.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kRecorder = LORIX_WINDOWS_RECORDER_EXE;
const fs::path kPlayer = LORIX_WINDOWS_PLAYER_EXE;
const fs::path kScreenshots = LORIX_SCREENSHOT_DIR;
// The main window's caption: the program file's name, the short and the full version.
constexpr char kMainTitle[] = "Lorix V.1.5  (Build 1.5.0.1)";

unsigned long FindWindow(const std::string& title, bool prefix, std::chrono::milliseconds wait) {
  X11Windows windows;
  if (!windows.connected()) return 0;
  const auto found = windows.WaitFor(title, prefix, wait);
  return found.empty() ? 0 : found.front();
}

bool Gone(const std::string& title, std::chrono::milliseconds wait) {
  return WaitUntil([&] { return FindWindow(title, false, 0ms) == 0; }, wait,
                   [] { std::this_thread::sleep_for(100ms); });
}

void Key(unsigned long window, const std::string& key) {
  EXPECT_EQ(
      RunAndCapture({"xdotool", "key", "--window", std::to_string(window), key}, 10s).exit_status,
      0)
      << key;
}

void Screenshot(unsigned long window, const std::string& name) {
  fs::create_directories(kScreenshots);
  EXPECT_EQ(RunAndCapture(
                {"import", "-window", std::to_string(window), (kScreenshots / name).string()}, 20s)
                .exit_status,
            0)
      << name;
}

// Answers the box of `title` that comes up within `wait` with Return, after its screenshot
// when `screenshot` names one. False when no box came.
bool AnswerBox(const std::string& title, std::chrono::milliseconds wait,
               const std::string& screenshot = {}) {
  const unsigned long box = FindWindow(title, false, wait);
  if (box == 0) return false;
  if (!screenshot.empty()) Screenshot(box, screenshot);
  Key(box, "Return");
  return Gone(title, 10s);
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
};

TEST_F(WindowsRecorder, StartsInItsFolderShowsItsFormsAndASecondStartHandsOver) {
  // Expert mode from the command line shows the sound-card form and says so.
  ChildProgram recorder(wine_, folder_, {"Lorix.exe", "/x"});
  const unsigned long window = FindWindow(kMainTitle, false, 60s);
  ASSERT_NE(window, 0u) << "no main window";
  EXPECT_TRUE(AnswerBox("LORIX", 30s, "windows_recorder_expert_box.png")) << "no expert-mode box";
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
  EXPECT_TRUE(AnswerBox("LORIX", 30s, "windows_recorder_second_start.png"))
      << "the first instance shows no box";
  EXPECT_EQ(windows.Find(kMainTitle).size(), 1u);

  Close(window, recorder);
  EXPECT_TRUE(fs::exists(folder_ / "Lorix.INI")) << "the settings were not saved beside it";
}

}  // namespace
}  // namespace lorix::testing
