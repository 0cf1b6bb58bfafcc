#pragma once

#include <spawn.h>

#include <chrono>
#include <string>
#include <vector>

namespace lorix::desktop_internal {

// Attributes and file actions shared by every program we start. The child gets its own session
// (so a terminal's Ctrl+C aimed at us does not reach it), an empty signal mask and default signal
// handling (whatever our threads block or ignore must not leak into it), /dev/null for stdin and
// stderr, /dev/null or `stdout_fd` for stdout, and none of our other file descriptors.
class SpawnSetup {
 public:
  // `stdout_fd` < 0 sends stdout to /dev/null; otherwise it becomes the child's stdout.
  explicit SpawnSetup(int stdout_fd = -1);
  ~SpawnSetup();
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  // Starts argv[0] (searched in PATH when it has no slash) directly, never through a shell.
  // Returns 0 and the child's id, or the errno value of the failure.
  int Spawn(const std::vector<std::string>& argv, pid_t& pid) const;

 private:
  posix_spawnattr_t attributes_;
  posix_spawn_file_actions_t actions_;
};

// Waits for the child until the deadline; false when it is still running then. `status` is
// waitpid's status of the ended child.
bool WaitForChild(pid_t pid, std::chrono::steady_clock::time_point deadline, int& status);

}  // namespace lorix::desktop_internal
