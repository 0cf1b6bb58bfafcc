#include "desktop/spawn_setup.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace lorix::desktop_internal {

SpawnSetup::SpawnSetup(int stdout_fd) {
  posix_spawnattr_init(&attributes_);
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
  flags |= POSIX_SPAWN_SETSID;
#else
  flags |= POSIX_SPAWN_SETPGROUP;
  posix_spawnattr_setpgroup(&attributes_, 0);
#endif
  posix_spawnattr_setflags(&attributes_, flags);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes_, &signals);
  sigfillset(&signals);
  sigdelset(&signals, SIGKILL);
  sigdelset(&signals, SIGSTOP);
  posix_spawnattr_setsigdefault(&attributes_, &signals);

  posix_spawn_file_actions_init(&actions_);
  posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (stdout_fd >= 0) {
    posix_spawn_file_actions_adddup2(&actions_, stdout_fd, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Descriptors opened without close-on-exec (by us or by a library) stay ours.
  posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
#endif
}

SpawnSetup::~SpawnSetup() {
  posix_spawn_file_actions_destroy(&actions_);
  posix_spawnattr_destroy(&attributes_);
}

int SpawnSetup::Spawn(const std::vector<std::string>& argv, pid_t& pid) const {
  if (argv.empty() || argv.front().empty()) return ENOENT;
  std::vector<char*> pointers;
  pointers.reserve(argv.size() + 1);
  for (const std::string& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
  pointers.push_back(nullptr);
  // posix_spawnp reports a failed exec (missing program, wrong format) as its own result and,
  // unlike execvp, never retries a file without a known format through /bin/sh.
  return posix_spawnp(&pid, pointers.front(), &actions_, &attributes_, pointers.data(), environ);
}

bool WaitForChild(pid_t pid, std::chrono::steady_clock::time_point deadline, int& status) {
  while (true) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return true;
    if (done < 0 && errno != EINTR) return true;  // not ours any more: nothing to wait for
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace lorix::desktop_internal
