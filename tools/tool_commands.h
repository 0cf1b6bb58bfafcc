#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace lorix::tool {

// One sub-command of lorix-tool. Returns the exit status: 0 success, 1 input rejected or an
// I/O error (one line on `err`), 2 a wrong call.
struct Command {
  const char* name;
  const char* help;
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

const std::vector<Command>& Commands();

}  // namespace lorix::tool
