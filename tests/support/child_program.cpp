#include "tests/support/child_program.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace lorix::testing {

ChildProgram::ChildProgram(const std::filesystem::path& program,
                           const std::filesystem::path& folder, std::vector<std::string> args) {
  args.insert(args.begin(), program.string());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
    pid_ = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
}

ChildProgram::~ChildProgram() {
  if (!Running()) return;
  kill(pid_, SIGTERM);
  if (!WaitForExit(std::chrono::seconds(3))) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

bool ChildProgram::Running() {
  if (pid_ <= 0 || exit_code_) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
  exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return false;
}

void ChildProgram::Signal(int signal_number) {
  if (Running()) kill(pid_, signal_number);
}

std::optional<int> ChildProgram::WaitForExit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (Running()) {
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return exit_code_;
}

}  // namespace lorix::testing
