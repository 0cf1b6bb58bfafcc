// The recorder's mail hand-off by Simple MAPI as Lorix.exe runs it (lorix_mapi_mail_probe.exe),
// under Wine on the test rig: with the stand-in MAPI32.DLL beside the program the stand-in must
// receive the message record of a new mail; with no Simple MAPI at all the user must be told,
// be shown the file, and no success may be claimed.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "desktop/path_search.h"
#include "tests/support/child_program.h"
#include "tests/support/report_text.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_folder.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kProbe = LORIX_MAPI_MAIL_PROBE_EXE;
const fs::path kStandIn = LORIX_MAPI32_STAND_IN;
// A folder name the Western code page cannot spell.
constexpr const char* kAttachmentFolder = "Anhänge Ω";
constexpr const char* kAttachmentName = "LORIX_20240102_030405.EXE";

class WindowsMapiMail : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("WINEPREFIX"), nullptr) << "the rig has no Wine (wine_rig.sh)";
    wine_ = FindInPath("wine");
    ASSERT_FALSE(wine_.empty()) << "Wine is missing (scripts/setup.sh)";
    ASSERT_TRUE(fs::exists(kProbe)) << kProbe;
    folder_ = FreshTestFolder("lorix_windows_mail");
    fs::copy_file(kProbe, folder_ / "lorix_mapi_mail_probe.exe");
    fs::create_directory(folder_ / kAttachmentFolder);
    std::ofstream(folder_ / kAttachmentFolder / kAttachmentName, std::ios::binary)
        << std::string(40000, 'x');
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(folder_);
  }

  // Runs the hand-off with Wine's MAPI32.DLL set to `mapi32` ("n,b": one beside the program
  // first; "d": none at all) and returns its report.
  std::string RunHandoff(const std::string& mapi32) {
    ScopedEnvironment environment;
    environment.Append("WINEDLLOVERRIDES", "mapi32=" + mapi32);
    ChildProgram probe(wine_, folder_,
                       {(folder_ / "lorix_mapi_mail_probe.exe").string(),
                        std::string(kAttachmentFolder) + "\\" + kAttachmentName, "report.txt"});
    EXPECT_TRUE(probe.started());
    EXPECT_EQ(probe.WaitForExit(60s), 0);
    return ReadText(folder_ / "report.txt");
  }

  fs::path wine_;
  fs::path folder_;
};

TEST_F(WindowsMapiMail, StandInBesideTheProgramReceivesTheRecordOfANewMail) {
  fs::copy_file(kStandIn, folder_ / "MAPI32.DLL");
  const std::string report = RunHandoff("n,b");
  const std::string path = Line(report, "path");
  ASSERT_NE(path.find(std::string("\\") + kAttachmentFolder + "\\" + kAttachmentName),
            std::string::npos)
      << report;
  EXPECT_EQ(report, "path: " + path + "\ncode: 0\n");

  // The UTF-16 entry, with the flags for the logon and compose dialogs (0x1 + 0x8); nothing
  // named but the file, which is kept out of the note text.
  EXPECT_EQ(ReadText(folder_ / "MAPI-Aufruf.txt"),
            "entry: MAPISendMailW\n"
            "session: 0\n"
            "parent window: 0\n"
            "flags: 9\n"
            "reserved: 0\n"
            "message reserved: 0\n"
            "subject: LORIX-Sprachanhang (40 KB) \n"
            "note text: Bitte anhören.<CR><LF>Grüße Ω<CR><LF>\n"
            "message type: (null)\n"
            "date received: (null)\n"
            "conversation id: (null)\n"
            "message flags: 0\n"
            "originator: reserved 0, class 0, name (null), address (null), entry id size 0, "
            "entry id (null)\n"
            "recipient count: 1\n"
            "recipient: reserved 0, class 1, name (null), address (null), entry id size 0, "
            "entry id (null)\n"
            "file count: 1\n"
            "file: reserved 0, flags 0, position 4294967295, type (null)\n"
            "file path: " +
                path +
                "\n"
                "file name: " +
                kAttachmentName + "\n");
}

TEST_F(WindowsMapiMail, WithoutSimpleMapiTheFileIsShownAndNoSuccessClaimed) {
  const std::string report = RunHandoff("d");
  const std::string path = Line(report, "path");
  ASSERT_NE(path.find(kAttachmentName), std::string::npos) << report;
  EXPECT_EQ(report,
            "path: " + path +
                "\n"
                "code: 1\n"
                "box: 3 Benutzer hat Senden abgebrochen oder MAPI nicht installiert.\n"
                "box: 1 Es wurde kein Mail-Programm mit MAPI-Schnittstelle gefunden, die Datei "
                "konnte daher keiner neuen Mail angehängt werden.<CR><LF>Sie wird im Explorer "
                "gezeigt; bitte ziehen Sie sie von dort in eine neue Mail:<CR><LF>" +
                path +
                "\n"
                "shown: " +
                path + "\n");
  EXPECT_FALSE(fs::exists(folder_ / "MAPI-Aufruf.txt"));
}

}  // namespace
}  // namespace lorix::testing
