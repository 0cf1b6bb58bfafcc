// The recorder's file dialog as Lorix.exe shows it (the system's Save As dialog), run under
// Wine on the test rig: what the request asks for must reach the system's dialog — the folder
// it starts in, the extension added to a name typed without one — and a cancel must come back
// as no choice.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "desktop/path_search.h"
#include "recorder/open_save_dialog.h"
#include "tests/support/child_program.h"
#include "tests/support/test_folder.h"
#include "tests/support/window_driver.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kProbe = LORIX_FILE_DIALOG_PROBE_EXE;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

class WindowsFileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("WINEPREFIX"), nullptr) << "the rig has no Wine (wine_rig.sh)";
    wine_ = FindInPath("wine");
    ASSERT_FALSE(wine_.empty()) << "Wine is missing (scripts/setup.sh)";
    ASSERT_TRUE(fs::exists(kProbe)) << kProbe;
    folder_ = FreshTestFolder("lorix_windows_file_dialog");
    fs::create_directories(folder_ / "LORIXs");
  }
  void TearDown() override { fs::remove_all(folder_); }

  // The probe's dialog on the display, found by the title the recorder asks for.
  static unsigned long WaitForDialog() {
    return FindWindow(PrepareOpenSaveDialog(true, true, "", "").title, false, 60s);
  }

  fs::path wine_;
  fs::path folder_;
};

TEST_F(WindowsFileDialog, StartsInTheRequestedFolderAndAddsTheDefaultExtension) {
  ChildProgram probe(wine_, folder_, {kProbe.string()});
  ASSERT_TRUE(probe.started());
  const unsigned long dialog = WaitForDialog();
  ASSERT_NE(dialog, 0u) << "no file dialog came up";
  Xdotool(dialog, "type", "probe");
  Xdotool(dialog, "key", "Return");
  ASSERT_EQ(probe.WaitForExit(30s), 0);

  std::stringstream chosen;
  chosen << std::ifstream(folder_ / "chosen.txt", std::ios::binary).rdbuf();
  // Wine shows the Linux root as drive Z:. The dialog may take the extension's case from the
  // selected filter entry; Windows' file names ignore case.
  std::string expected = "Z:" + (folder_ / "LORIXs" / "probe.wav").string();
  std::replace(expected.begin(), expected.end(), '/', '\\');
  EXPECT_EQ(Lower(chosen.str()), Lower(expected));
}

TEST_F(WindowsFileDialog, CancelChoosesNothing) {
  ChildProgram probe(wine_, folder_, {kProbe.string()});
  ASSERT_TRUE(probe.started());
  const unsigned long dialog = WaitForDialog();
  ASSERT_NE(dialog, 0u) << "no file dialog came up";
  Xdotool(dialog, "key", "Escape");
  EXPECT_EQ(probe.WaitForExit(30s), 1);
  EXPECT_FALSE(fs::exists(folder_ / "chosen.txt"));
}

}  // namespace
}  // namespace lorix::testing
