#pragma once

// A program started for a test in a working folder of its own, ended with SIGTERM if it is
// still running when the object goes.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lorix::testing {

class ChildProgram {
 public:
  ChildProgram(const std::filesystem::path& program, const std::filesystem::path& folder,
               std::vector<std::string> args = {});
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  bool started() const { return pid_ > 0; }
  bool Running();
  // Sends `signal_number` to the program (SIGKILL: it dies without a chance to clean up).
  void Signal(int signal_number);
  // The exit code once the program has ended by itself within `timeout`; -1 for a signal.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  std::optional<int> exit_code_;
};

}  // namespace lorix::testing
