#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "desktop/command_output.h"
#include "desktop/open_with_desktop.h"
#include "desktop/program_start.h"
#include "desktop_rig.h"

namespace lorix::testing {
namespace {

using Call = DesktopRig::Call;

// True once the child is gone from the process table (reaped, not left a zombie).
bool Reaped(pid_t pid) {
  const fs::path entry = "/proc/" + std::to_string(pid);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (fs::exists(entry)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

TEST(ProgramStart, ArgumentsArriveVerbatimWithoutShell) {
  DesktopRig rig;
  rig.Recorder("tool");
  const std::string trap = (rig.root() / "pwned").string();
  const std::vector<std::string> arguments = {"a;touch " + trap, "$(touch " + trap + ")",
                                              kHostileText, "", " two  blanks "};
  std::vector<std::string> argv = {"tool"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const ProgramStart start = StartProgram(argv);
  ASSERT_TRUE(start.Succeeded());
  EXPECT_GT(start.result, 32);
  Call expected = {"tool"};
  expected.insert(expected.end(), arguments.begin(), arguments.end());
  EXPECT_EQ(rig.WaitForCalls(1), std::vector<Call>{expected});
  EXPECT_TRUE(Reaped(start.pid));
  EXPECT_FALSE(fs::exists(trap));
}

TEST(ProgramStart, FailuresGiveSmallResults) {
  DesktopRig rig;
  const std::string trap = (rig.root() / "pwned").string();
  // A file without a known format is not handed to a shell.
  rig.WriteFile(rig.bin() / "plain", "touch " + trap + "\n", true);
  rig.WriteFile(rig.bin() / "orphan", "#!/no/such/interpreter\n", true);
  rig.WriteFile(rig.bin() / "locked", "#!/bin/sh\n", false);
  EXPECT_EQ(StartProgram({"missing"}).result, kStartFileNotFound);
  EXPECT_EQ(StartProgram({}).result, kStartFileNotFound);
  EXPECT_EQ(StartProgram({"plain"}).result, kStartBadFormat);
  EXPECT_EQ(StartProgram({"orphan"}).result, kStartFileNotFound);
  EXPECT_EQ(StartProgram({"locked"}).result, kStartAccessDenied);
  EXPECT_FALSE(StartProgram({(rig.bin() / "missing").string()}).Succeeded());
  EXPECT_EQ(StartProgram({"missing"}).pid, -1);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(fs::exists(trap));
}

TEST(ProgramStart, ChildGetsNullStreamsAndNoOtherDescriptors) {
  DesktopRig rig;
  const fs::path out = rig.root() / "streams";
  const int leak = open(rig.log().c_str(), O_WRONLY | O_CREAT, 0644);  // no close-on-exec
  ASSERT_GE(leak, 3);
  // The shell's own descriptors are read before any redirection of its own changes them.
  rig.Script("probe",
             "fds=$(/usr/bin/readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
             "[ -e /proc/$$/fd/" +
                 std::to_string(leak) +
                 " ] && fds=\"$fds leaked\"\n"
                 "echo \"$fds\" > '" +
                 out.string() +
                 ".tmp'\n"
                 "/bin/mv '" +
                 out.string() + ".tmp' '" + out.string() + "'");
  ASSERT_TRUE(StartProgram({"probe"}).Succeeded());
  close(leak);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!fs::exists(out) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::ifstream in(out);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "/dev/null\n/dev/null\n/dev/null\n");
}

TEST(CommandOutput, CapturesStdoutStatusAndKillsOnTimeout) {
  DesktopRig rig;
  rig.Script("answer", "echo \"[$1]\"; echo hidden >&2; exit 3");
  const CommandOutput answer = RunAndCapture({"answer", "a b;c"});
  EXPECT_TRUE(answer.started);
  EXPECT_FALSE(answer.timed_out);
  EXPECT_EQ(answer.exit_status, 3);
  EXPECT_EQ(answer.output, "[a b;c]\n");

  EXPECT_FALSE(RunAndCapture({"missing"}).started);

  // A hanging helper is killed when its time is up.
  rig.Script("hang", "echo partial\nexec /bin/sleep 30");
  const auto begin = std::chrono::steady_clock::now();
  const CommandOutput hang = RunAndCapture({"hang"}, std::chrono::milliseconds(300));
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
  EXPECT_TRUE(hang.started);
  EXPECT_TRUE(hang.timed_out);
  EXPECT_EQ(hang.output, "partial\n");
}

TEST(OpenWithDesktop, PassesExactlyOneArgument) {
  DesktopRig rig;
  EXPECT_EQ(OpenWithDesktop("https://example.org/").result, kStartFileNotFound);
  rig.Recorder("xdg-open");
  const std::string url = "mailto:a@b.de?subject=x%20y&body=1;2";
  ASSERT_TRUE(OpenWithDesktop(url).Succeeded());
  ASSERT_TRUE(OpenWithDesktop("/home/u/LORIXs/Mein Ordner").Succeeded());
  ASSERT_TRUE(OpenWithDesktop("-rf x").Succeeded());
  EXPECT_FALSE(OpenWithDesktop("").Succeeded());
  const std::vector<Call> calls = rig.WaitForCalls(3);
  ASSERT_EQ(calls.size(), 3u);
  std::multiset<Call> got(calls.begin(), calls.end());  // detached: any order
  EXPECT_EQ(got, (std::multiset<Call>{{"xdg-open", url},
                                      {"xdg-open", "/home/u/LORIXs/Mein Ordner"},
                                      {"xdg-open", "./-rf x"}}));
}

}  // namespace
}  // namespace lorix::testing
