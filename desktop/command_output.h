#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace lorix {

struct CommandOutput {
  bool started = false;
  bool timed_out = false;  // the command was killed when its time was up
  int exit_status = -1;    // the exit code, -1 when it did not exit normally
  std::string output;      // what it wrote to stdout (at most kMaxCommandOutput bytes)
};

inline constexpr std::size_t kMaxCommandOutput = 64 * 1024;

// Runs a helper command (argv, no shell, argv[0] searched in PATH) and collects its stdout.
// stdin and stderr are /dev/null. A command still running after `timeout` is killed together
// with everything it started in its session.
CommandOutput RunAndCapture(const std::vector<std::string>& argv,
                            std::chrono::milliseconds timeout = std::chrono::seconds(5));

}  // namespace lorix
