#include "desktop/default_application.h"

#include "desktop/command_output.h"

namespace lorix {

std::string DefaultApplicationId(const std::string& mime_type) {
  const CommandOutput run = RunAndCapture({"xdg-mime", "query", "default", mime_type});
  if (!run.started || run.timed_out || run.exit_status != 0) return {};
  // The answer is one id on one line; some versions list several, separated by semicolons.
  std::string id = run.output.substr(0, run.output.find_first_of(";\r\n"));
  const std::size_t begin = id.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  id = id.substr(begin, id.find_last_not_of(" \t") - begin + 1);
  if (id.find('/') != std::string::npos) return {};
  return id;
}

}  // namespace lorix
