#include "desktop/open_with_desktop.h"

namespace lorix {

ProgramStart OpenWithDesktop(const std::string& target) {
  if (target.empty()) return ProgramStart{kStartFileNotFound, -1};
  // xdg-open takes an argument starting with '-' for an option; a relative path says the same.
  const std::string argument = target.front() == '-' ? "./" + target : target;
  return StartProgram({"xdg-open", argument});
}

}  // namespace lorix
