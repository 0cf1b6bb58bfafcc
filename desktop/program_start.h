#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace lorix {

// Result numbers of a program start, in the convention the programs' callers expect from the
// classic program-start and shell-open calls: more than 32 means started, 32 or less is an error.
inline constexpr int kStartOutOfResources = 0;
inline constexpr int kStartFileNotFound = 2;
inline constexpr int kStartPathNotFound = 3;
inline constexpr int kStartAccessDenied = 5;
inline constexpr int kStartOutOfMemory = 8;
inline constexpr int kStartBadFormat = 11;
inline constexpr int kStartNoAssociation = 31;
inline constexpr int kStartSucceeded = 33;

struct ProgramStart {
  int result = kStartFileNotFound;
  pid_t pid = -1;  // the started child, -1 when nothing was started
  bool Succeeded() const { return result > 32; }
};

// Maps an errno value of a failed start onto the result numbers above.
int StartResultFromErrno(int error_number);

// Starts a program detached: argv[0] is searched in PATH unless it contains a slash; every
// argument arrives exactly as given (no shell is involved); stdin, stdout and stderr are
// /dev/null; the child runs in its own session and is not waited for. A thread of ours waits for
// this one child (waitpid on its id only), so it never lingers as a zombie and no other code's
// child handling is disturbed.
ProgramStart StartProgram(const std::vector<std::string>& argv);

struct ProgramRun {
  ProgramStart start;
  // The exit code when the program ended within the wait (-1 when a signal ended it); empty when
  // it was not started or still runs.
  std::optional<int> exit_status;
};

// Starts a program as StartProgram does and waits up to `wait` for it to end, for helpers that
// report their outcome by exit code and normally return at once. One still running then is left
// running, and reaped in the background.
ProgramRun StartProgramAndWait(const std::vector<std::string>& argv,
                               std::chrono::milliseconds wait);

}  // namespace lorix
