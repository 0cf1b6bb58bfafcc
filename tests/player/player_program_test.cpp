// lorix-player as a whole on the rig's X display: where its window sits and how large it
// is in both views (with screenshots of both into the build folder), the help keys, a file
// dropped from outside, closing the window, and a start without a display.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "desktop/command_output.h"
#include "tests/player/xdnd_source.h"
#include "tests/support/child_program.h"
#include "tests/support/test_folder.h"
#include "tests/support/x11_windows.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kPlayer = LORIX_PLAYER_PATH;
const fs::path kScreenshots = LORIX_SCREENSHOT_DIR;
constexpr const char* kTitlePrefix = "LORIX-Player V.";

class PlayerProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "no X display: run through the test rig";
    ASSERT_TRUE(x11_.connected()) << "the X display does not answer";
    ASSERT_TRUE(fs::exists(kPlayer)) << kPlayer;
    folder_ = FreshTestFolder("lorix_player_window");
    // The bare player, started from its own copy as a recipient starts an attachment.
    bare_ = folder_ / "LorixPlayer.exe";
    fs::copy_file(kPlayer, bare_);
  }
  void TearDown() override {
    player_.reset();
    fs::remove_all(folder_);
  }

  // Starts the player and waits for its window; fails the test when none comes.
  void Start(std::vector<std::string> args = {}) {
    player_ = std::make_unique<ChildProgram>(bare_, folder_, std::move(args));
    ASSERT_TRUE(player_->started());
    ASSERT_TRUE(Wait([&] { return x11_.Find(kTitlePrefix, true).size() == 1; }))
        << "no player window";
    window_ = x11_.Find(kTitlePrefix, true).front();
  }

  bool Wait(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s) {
    return WaitUntil(done, timeout, [] { std::this_thread::sleep_for(50ms); });
  }
  bool WaitForSize(int width, int height) {
    return Wait([&] {
      const WindowGeometry g = x11_.Geometry(window_);
      return g.width == width && g.height == height;
    });
  }
  // The single window titled `title`, waited for; 0 when none came.
  unsigned long WaitForWindow(const std::string& title) {
    unsigned long found = 0;
    Wait([&] {
      const auto windows = x11_.Find(title);
      found = windows.size() == 1 ? windows.front() : 0;
      return found != 0;
    });
    return found;
  }
  bool WaitUntilGone(const std::string& title) {
    return Wait([&] { return x11_.Find(title).empty(); });
  }

  static void Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    ASSERT_EQ(RunAndCapture(args).exit_status, 0) << args[1];
  }
  void KeyTo(unsigned long window, const std::string& key) {
    Xdotool({"windowfocus", std::to_string(window), "key", key});
  }
  void Screenshot(const std::string& name) {
    fs::create_directories(kScreenshots);
    const fs::path file = kScreenshots / name;
    fs::remove(file);
    EXPECT_EQ(RunAndCapture({"import", "-window", std::to_string(window_), file.string()}, 20s)
                  .exit_status,
              0);
    EXPECT_TRUE(fs::exists(file)) << file;
  }
  bool NoMessageBox() { return x11_.Find("Information").empty() && x11_.Find("Fehler").empty(); }

  X11Windows x11_;
  fs::path folder_;
  fs::path bare_;
  std::unique_ptr<ChildProgram> player_;
  unsigned long window_ = 0;
};

TEST_F(PlayerProgramTest, SitsInTheCornerAndTheViewKeySwitchesItsSize) {
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ(x11_.Title(window_), "LORIX-Player V.1.5.0.1");
  EXPECT_EQ(x11_.Geometry(window_), (WindowGeometry{0, 0, 237, 155, true}));
  // The bare player finds no recording in itself and says nothing about it.
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(NoMessageBox());
  EXPECT_TRUE(player_->Running());
  Screenshot("player_compact.png");

  KeyTo(window_, "e");
  ASSERT_TRUE(WaitForSize(606, 200)) << "E did not widen the window";
  EXPECT_EQ(x11_.Geometry(window_), (WindowGeometry{0, 0, 606, 200, true}));
  Screenshot("player_full.png");
  KeyTo(window_, "E");
  EXPECT_TRUE(WaitForSize(237, 155)) << "E did not narrow the window again";
}

TEST_F(PlayerProgramTest, HelpKeysOpenTheShortHelp) {
  ASSERT_NO_FATAL_FAILURE(Start());
  for (const char* key : {"h", "F1"}) {
    KeyTo(window_, key);
    const unsigned long help = WaitForWindow("Kurz-Hilfe");
    ASSERT_NE(help, 0u) << key << " opened no help";
    if (std::string(key) == "F1") {
      fs::create_directories(kScreenshots);
      RunAndCapture(
          {"import", "-window", std::to_string(help), (kScreenshots / "player_help.png").string()},
          20s);
    }
    KeyTo(help, "Return");
    ASSERT_TRUE(WaitUntilGone("Kurz-Hilfe")) << "Enter did not close the help";
  }
  EXPECT_TRUE(player_->Running());
}

TEST_F(PlayerProgramTest, ADroppedForeignFileGetsTheWrongFormatBox) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const fs::path foreign = folder_ / "Brief an Oma.txt";
  std::ofstream(foreign) << std::string(300, 'x');
  // The drop ends when the box is closed: the player reads the list inside the drop.
  auto drop = std::async(std::launch::async, [&] {
    return DropUriList(window_, 50, 50, FileUri(foreign.string()) + "\r\n", 20s);
  });
  const unsigned long box = WaitForWindow("Information");
  ASSERT_NE(box, 0u) << "no wrong-format box";
  fs::create_directories(kScreenshots);
  RunAndCapture(
      {"import", "-window", std::to_string(box), (kScreenshots / "player_foreign.png").string()},
      20s);
  KeyTo(box, "Return");
  EXPECT_TRUE(WaitUntilGone("Information"));
  EXPECT_EQ(drop.get(), "");
  EXPECT_TRUE(player_->Running());
  EXPECT_TRUE(fs::is_empty(folder_ / "TEMPs"));
}

TEST_F(PlayerProgramTest, ClosingTheWindowEndsTheProgramWithCodeZero) {
  ASSERT_NO_FATAL_FAILURE(Start());
  x11_.RequestClose(window_);
  EXPECT_EQ(player_->WaitForExit(5s), 0);
}

TEST_F(PlayerProgramTest, WithoutADisplayItSaysSoInGermanAndEndsWithOne) {
  const CommandOutput run =
      RunAndCapture({"env", "-u", "DISPLAY", "sh", "-c", "exec \"$0\" 2>&1", bare_.string()}, 10s);
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.output.find("Keine grafische Anzeige"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace lorix::testing
