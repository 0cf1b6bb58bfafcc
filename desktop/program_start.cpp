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

}  // namespace

ProgramStart StartProgram(const std::vector<std::string>& argv) {
  ProgramStart start;
  const desktop_internal::SpawnSetup setup;
  pid_t pid = -1;
  const int error = setup.Spawn(argv, pid);
  if (error != 0) {
    start.result = StartResultFromErrno(error);
    return start;
  }
  ReapInBackground(pid);
  start.result = kStartSucceeded;
  start.pid = pid;
  return start;
}

}  // namespace lorix
