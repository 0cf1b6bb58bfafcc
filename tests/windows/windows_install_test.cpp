// The Windows programs as a Windows user gets them, under Wine on the test rig. The setup program
// runs without questions in a prefix of its own, made fresh for each test as a new user's
// computer: it installs for the user (or, asked, for every user), the Start-menu entry starts
// Lorix, which keeps its files in the user's folders, a .lrx file opens in the installed player,
// and the uninstaller leaves no file or key of the installation behind but the user's files.
// The portable archive, unpacked, runs with everything beside the program.

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "desktop/command_output.h"
#include "desktop/path_search.h"
#include "tests/support/child_program.h"
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

const fs::path kSetup = LORIX_WINDOWS_SETUP_EXE;
const fs::path kArchive = LORIX_WINDOWS_ZIP;
const fs::path kTool = LORIX_TOOL_PATH;
const fs::path kCmake = LORIX_CMAKE_COMMAND;
const fs::path kSpeech = fs::path(LORIX_SPEECH_DIR) / "speech_de.wav";
constexpr char kMainTitle[] = "Lorix V.1.5  (Build 1.5.0.1)";
constexpr char kUninstallKey[] = R"(Software\Microsoft\Windows\CurrentVersion\Uninstall\Lorix)";
// What the setup program puts into the program folder, besides its uninstaller.
const std::set<std::string> kProgramFiles = {
    "LIESMICH.txt",    "Lorix-Hilfe-Mail.html", "Lorix-Hilfe.html", "Lorix.exe",
    "Lorix.installed", "LorixPlayer.exe",       "MailTextMAPI.txt", "MailTextSystem.txt"};

std::set<std::string> FileNames(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// The data of the value `name` in what "reg query" lists: "    NAME    REG_SZ    DATA".
std::string RegistryValue(const std::string& listing, const std::string& name) {
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("    " + name + "    REG_", 0) != 0) continue;
    const std::size_t type_end = line.find("    ", name.size() + 8);
    return type_end == std::string::npos ? std::string() : line.substr(type_end + 4);
  }
  return {};
}

// Whether a player plays from a TEMPs in the user's private folder %TEMP%\LORIX.
bool PlaysFromAPrivateFolder(const fs::path& user) {
  for (const auto& entry : fs::recursive_directory_iterator(user)) {
    const fs::path& path = entry.path();
    if (path.filename() == "TempWave.wav" && path.parent_path().filename() == "TEMPs" &&
        path.parent_path().parent_path().filename() == "LORIX") {
      return true;
    }
  }
  return false;
}

// A Wine prefix of its own, made at the start and ended with its server: a computer on which
// nothing was installed yet. Wine's menu builder stays off, so the Start-menu entry does not
// reach the rig's desktop.
class FreshPrefix {
 public:
  explicit FreshPrefix(const fs::path& folder) : folder_(folder) {
    environment_.Set("WINEPREFIX", folder.string())
        .Append("WINEDLLOVERRIDES", "winemenubuilder.exe=d");
    wine_ = FindInPath("wine");
    ChildProgram boot(FindInPath("wineboot"), folder.parent_path(), {"-i"});
    made_ = boot.WaitForExit(180s).has_value();
    // As on the rig: the programs start once the boot's server has ended and saved the prefix.
    WaitForTheEnd();
    const char* user = getpwuid(getuid())->pw_name;
    user_ = folder / "drive_c" / "users" / user;
  }
  // Waits until the prefix's server is gone: the next prefix may get this one's inode and with
  // it this server's socket, and a server still ending would kill the next one's programs.
  ~FreshPrefix() {
    ChildProgram stop(FindInPath("wineserver"), folder_.parent_path(), {"-k"});
    stop.WaitForExit(30s);
    WaitForTheEnd();
  }

  bool made() const { return made_ && fs::is_directory(user_); }
  const fs::path& user() const { return user_; }
  fs::path ProgramFiles() const { return folder_ / "drive_c" / "Program Files"; }
  // The Start-menu entry of an installation for the user alone or for every user.
  fs::path StartMenuEntry(bool all_users) const {
    const fs::path menu = all_users ? folder_ / "drive_c/ProgramData" : user_ / "AppData/Roaming";
    return menu / "Microsoft/Windows/Start Menu/Programs/Lorix.lnk";
  }

  // Runs a Windows program to its end; its exit code, -1 when it did not end in time.
  int Run(const std::vector<std::string>& args, std::chrono::milliseconds wait = 120s) {
    ChildProgram program(wine_, folder_.parent_path(), args);
    return program.WaitForExit(wait).value_or(-1);
  }
  // Opens a file (a shortcut, a document) as Explorer does, through the shell.
  void Open(const fs::path& file) { EXPECT_EQ(Run({"start", "/unix", file.string()}), 0); }
  // The values of a registry key as "reg query" lists them; empty when the key is missing.
  std::string RegistryKey(const std::string& key) {
    const CommandOutput query = RunAndCapture({wine_.string(), "reg", "query", key}, 60s);
    return query.exit_status == 0 ? query.output : std::string();
  }
  // Waits until every program of the prefix has ended and its registry is on disk.
  void WaitForTheEnd() {
    ChildProgram wait(FindInPath("wineserver"), folder_.parent_path(), {"-w"});
    EXPECT_TRUE(wait.WaitForExit(120s).has_value());
  }
  std::string RegistryFiles() const {
    return ReadText(folder_ / "user.reg") + ReadText(folder_ / "system.reg");
  }

 private:
  fs::path folder_;
  ScopedEnvironment environment_;
  fs::path wine_;
  fs::path user_;
  bool made_ = false;
};

class WindowsInstall : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* rig = std::getenv("LORIX_AUDIO_RIG");
    ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the test rig";
    ASSERT_NE(std::getenv("WINEPREFIX"), nullptr) << "the rig has no Wine (wine_rig.sh)";
    ASSERT_TRUE(fs::exists(kSetup)) << kSetup;
    folder_ = FreshTestFolder("lorix_windows_install");
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Closes Lorix's main window, which has just made its settings file, and answers the box
  // that says so.
  static void CloseFirstStart(unsigned long window) {
    X11Windows().RequestClose(window);
    ASSERT_TRUE(AnswerBox("Information", 20s)) << "no box about the new settings file";
    EXPECT_TRUE(Gone(kMainTitle, 30s));
  }

  // Starts Lorix by its Start-menu entry and closes it; Lorix must then end by itself.
  static void StartAndCloseLorix(FreshPrefix& prefix, const fs::path& start_menu_entry) {
    ASSERT_TRUE(fs::exists(start_menu_entry)) << "no Start-menu entry";
    prefix.Open(start_menu_entry);
    const unsigned long window = FindWindow(kMainTitle, false, 90s);
    ASSERT_NE(window, 0u) << "the Start-menu entry did not start Lorix";
    CloseFirstStart(window);
    prefix.WaitForTheEnd();
  }

  // The user's files of an installed Lorix: settings, temporary files, the attachments' folder.
  static void ExpectFilesInTheUsersFolders(const FreshPrefix& prefix) {
    EXPECT_TRUE(fs::exists(prefix.user() / "AppData/Roaming/Lorix/LORIX.INI"));
    EXPECT_TRUE(fs::is_directory(prefix.user() / "AppData/Local/Lorix/TEMPs"));
    EXPECT_TRUE(fs::is_directory(prefix.user() / "Documents/LORIXs"));
  }

  // Opens a .lrx file lying in the user's documents: the installed player plays it from its
  // private temporary folder, not from one beside the file.
  void OpenARecording(FreshPrefix& prefix) {
    const fs::path recording = prefix.user() / "Documents" / "Gruss.lrx";
    ASSERT_EQ(RunAndCapture({kTool.string(), "encode", kSpeech.string(), recording.string()}, 60s)
                  .exit_status,
              0);
    prefix.Open(recording);
    const unsigned long player = FindWindow("LORIX-Player V.", true, 60s);
    ASSERT_NE(player, 0u) << "opening the .lrx file did not start the player";
    EXPECT_TRUE(WaitUntil([] { return SinkStreamIs(false); }, 30s,
                          [] { std::this_thread::sleep_for(100ms); }))
        << "the player plays nothing";
    // The shell starts the player in the recording's folder.
    EXPECT_FALSE(fs::exists(recording.parent_path() / "TEMPs"));
    EXPECT_TRUE(PlaysFromAPrivateFolder(prefix.user()));
    X11Windows().RequestClose(player);
    EXPECT_TRUE(Gone("LORIX-Player V.1.5.0.1", 30s));
    prefix.WaitForTheEnd();
  }

  // The quiet uninstallation as the uninstall entry names it, then a look at what is left.
  void Uninstall(FreshPrefix& prefix, bool all_users, const fs::path& installed) {
    const std::string root_key = all_users ? "HKLM" : "HKCU";
    const std::string entry = prefix.RegistryKey(root_key + "\\" + kUninstallKey);
    const std::string quiet = RegistryValue(entry, "QuietUninstallString");
    ASSERT_FALSE(quiet.empty()) << entry;
    // "C:\…\Deinstallieren.exe" /S /CurrentUser
    const std::size_t end = quiet.find('"', 1);
    std::vector<std::string> args = {quiet.substr(1, end - 1)};
    for (std::size_t at = end + 2; at < quiet.size();) {
      const std::size_t blank = std::min(quiet.find(' ', at), quiet.size());
      args.push_back(quiet.substr(at, blank - at));
      at = blank + 1;
    }
    EXPECT_EQ(prefix.Run(args), 0);
    // The uninstaller goes on from a copy of itself in the temporary folder.
    EXPECT_TRUE(WaitUntil([&] { return !fs::exists(installed); }, 60s,
                          [] { std::this_thread::sleep_for(200ms); }))
        << "left in the program folder: " << ::testing::PrintToString(FileNames(installed));
    prefix.WaitForTheEnd();
    EXPECT_FALSE(fs::exists(prefix.StartMenuEntry(all_users)));
    const std::string registry = prefix.RegistryFiles();
    for (const char* key : {R"(Uninstall\\Lorix])", R"(Classes\\.lrx])", "Lorix.Aufnahme"}) {
      EXPECT_EQ(registry.find(key), std::string::npos) << key << " is left in the registry";
    }
    ExpectFilesInTheUsersFolders(prefix);
  }

  fs::path folder_;
};

// A user without a choice made: the setup program installs for them alone, Lorix starts from
// the Start menu and keeps its files in their folders, and the uninstaller takes it all back.
TEST_F(WindowsInstall, InstallsForTheUserStartsFromTheStartMenuAndUninstallsCleanly) {
  FreshPrefix prefix(folder_ / "prefix");
  ASSERT_TRUE(prefix.made()) << "wineboot did not make the prefix";
  ASSERT_EQ(prefix.Run({kSetup.string(), "/S"}), 0);

  const fs::path installed = prefix.user() / "AppData/Local/Programs/Lorix";
  std::set<std::string> expected = kProgramFiles;
  expected.insert("Deinstallieren.exe");
  EXPECT_EQ(FileNames(installed), expected);
  const std::string entry = prefix.RegistryKey(std::string("HKCU\\") + kUninstallKey);
  EXPECT_EQ(RegistryValue(entry, "DisplayName"), "Lorix") << entry;
  EXPECT_EQ(RegistryValue(entry, "DisplayVersion"), "1.5.0.1");
  EXPECT_EQ(RegistryValue(entry, "Publisher"), "LORIX");
  EXPECT_NE(RegistryValue(entry, "DisplayIcon").find(R"(\Lorix.exe",0)"), std::string::npos);
  EXPECT_NE(RegistryValue(entry, "EstimatedSize"), "");
  EXPECT_NE(RegistryValue(entry, "UninstallString").find("Deinstallieren.exe"), std::string::npos);
  // Wine opens documents only by the machine's associations, so the user's own one is looked
  // at in the registry; the machine-wide install below opens a file through it.
  EXPECT_EQ(RegistryValue(prefix.RegistryKey(R"(HKCU\Software\Classes\.lrx)"), "(Default)"),
            "Lorix.Aufnahme");
  EXPECT_NE(prefix.RegistryKey(R"(HKCU\Software\Classes\Lorix.Aufnahme\shell\open\command)")
                .find(R"(\LorixPlayer.exe" "%1")"),
            std::string::npos);

  StartAndCloseLorix(prefix, prefix.StartMenuEntry(false));
  ExpectFilesInTheUsersFolders(prefix);
  EXPECT_EQ(FileNames(installed), expected) << "Lorix wrote into its program folder";

  Uninstall(prefix, false, installed);
}

// An administrator installs for every user, twice (a newer version over an older one): one
// installation in Program Files, whose Lorix still uses the user's folders, .lrx files open in
// its player, and the uninstaller leaves nothing of it.
TEST_F(WindowsInstall, InstallsForAllUsersOverAnEarlierOneAndOpensRecordings) {
  FreshPrefix prefix(folder_ / "prefix");
  ASSERT_TRUE(prefix.made()) << "wineboot did not make the prefix";
  ASSERT_EQ(prefix.Run({kSetup.string(), "/S", "/AllUsers"}), 0);
  const fs::path installed = prefix.ProgramFiles() / "Lorix";
  ASSERT_TRUE(fs::exists(installed / "Lorix.exe"));
  ASSERT_EQ(prefix.Run({kSetup.string(), "/S", "/AllUsers"}), 0);

  std::set<std::string> expected = kProgramFiles;
  expected.insert("Deinstallieren.exe");
  EXPECT_EQ(FileNames(installed), expected);
  EXPECT_FALSE(fs::exists(prefix.user() / "AppData/Local/Programs/Lorix"));
  EXPECT_EQ(prefix.RegistryKey(std::string("HKCU\\") + kUninstallKey), "");
  EXPECT_NE(prefix.RegistryKey(std::string("HKLM\\") + kUninstallKey), "");

  StartAndCloseLorix(prefix, prefix.StartMenuEntry(true));
  ExpectFilesInTheUsersFolders(prefix);
  EXPECT_EQ(FileNames(installed), expected) << "Lorix wrote into its program folder";
  OpenARecording(prefix);

  Uninstall(prefix, true, installed);
}

// The archive unpacked into a folder: the programs with their files, and Lorix started there
// keeps its settings, temporary files and attachments beside itself.
TEST_F(WindowsInstall, TheArchiveUnpackedRunsPortable) {
  ASSERT_EQ(RunAndCapture({kCmake.string(), "-E", "chdir", folder_.string(), kCmake.string(), "-E",
                           "tar", "xf", kArchive.string()},
                          60s)
                .exit_status,
            0);
  const fs::path unpacked = folder_ / "Lorix";
  std::set<std::string> expected = kProgramFiles;
  expected.erase("Lorix.installed");
  EXPECT_EQ(FileNames(unpacked), expected);

  ChildProgram recorder(FindInPath("wine"), unpacked, {"Lorix.exe"});
  const unsigned long window = FindWindow(kMainTitle, false, 60s);
  ASSERT_NE(window, 0u) << "no main window";
  CloseFirstStart(window);
  EXPECT_EQ(recorder.WaitForExit(30s), 0);
  EXPECT_TRUE(fs::exists(unpacked / "Lorix.INI"));
  EXPECT_TRUE(fs::is_directory(unpacked / "TEMPs"));
  EXPECT_TRUE(fs::is_directory(unpacked / "LORIXs"));
}

}  // namespace
}  // namespace lorix::testing
