#include "desktop/command_output.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "desktop/spawn_setup.h"

namespace lorix {

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Reads until end of file, the size limit or the deadline; false when the deadline passed first.
bool ReadAll(int fd, Clock::time_point deadline, std::string& output) {
  char buffer[4096];
  while (true) {
    pollfd entry{fd, POLLIN, 0};
    const int ready = poll(&entry, 1, RemainingMs(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return true;
    const std::size_t room = kMaxCommandOutput - output.size();
    output.append(buffer, std::min(room, static_cast<std::size_t>(n)));
    if (output.size() >= kMaxCommandOutput) return true;
  }
}

}  // namespace

CommandOutput RunAndCapture(const std::vector<std::string>& argv,
                            std::chrono::milliseconds timeout) {
  CommandOutput result;
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return result;
  pid_t pid = -1;
  int error = 0;
  {
    const desktop_internal::SpawnSetup setup(pipe_fds[1]);
    error = setup.Spawn(argv, pid);
  }
  close(pipe_fds[1]);
  if (error != 0) {
    close(pipe_fds[0]);
    return result;
  }
  result.started = true;
  const Clock::time_point deadline = Clock::now() + timeout;
  const bool complete = ReadAll(pipe_fds[0], deadline, result.output);
  close(pipe_fds[0]);
  int status = 0;
  if (!complete || !desktop_internal::WaitForChild(pid, deadline, status)) {
    // The child leads its own process group: this also ends whatever it started.
    kill(-pid, SIGKILL);
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.timed_out = true;
    return result;
  }
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  return result;
}

}  // namespace lorix
