#include "desktop/program_start.h"

#include <sys/wait.h>

#include <cerrno>
#include <system_error>
#include <thread>

#include "desktop/spawn_setup.h"

namespace lorix {

int StartResultFromErrno(int error_number) {
  switch (error_number) {
    case ENOENT:
      return kStartFileNotFound;
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
      return kStartPathNotFound;
    case EACCES:
    case EPERM:
    case ETXTBSY:
      return kStartAccessDenied;
    case ENOMEM:
    case E2BIG:
      return kStartOutOfMemory;
    case ENOEXEC:
    case EINVAL:
      return kStartBadFormat;
    default:
      return kStartOutOfResources;
  }
}

namespace {

void ReapInBackground(pid_t pid) {
  try {
    std::thread([pid] {
      while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the child still runs; it is reaped by init once we have exited.
  }
}

ProgramStart Spawn(const std::vector<std::string>& argv) {
  ProgramStart start;
  const desktop_internal::SpawnSetup setup;
  const int error = setup.Spawn(argv, start.pid);
  if (error != 0) {
    start.pid = -1;
    start.result = StartResultFromErrno(error);
    return start;
  }
  start.result = kStartSucceeded;
  return start;
}

}  // namespace

ProgramStart StartProgram(const std::vector<std::string>& argv) {
  const ProgramStart start = Spawn(argv);
  if (start.Succeeded()) ReapInBackground(start.pid);
  return start;
}

ProgramRun StartProgramAndWait(const std::vector<std::string>& argv,
                               std::chrono::milliseconds wait) {
  ProgramRun run{Spawn(argv), std::nullopt};
  if (!run.start.Succeeded()) return run;
  int status = 0;
  if (!desktop_internal::WaitForChild(run.start.pid, std::chrono::steady_clock::now() + wait,
                                      status)) {
    ReapInBackground(run.start.pid);
    return run;
  }
  run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace lorix
