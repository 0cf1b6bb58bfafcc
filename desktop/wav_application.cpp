#include "desktop/wav_application.h"

#include <optional>
#include <vector>

#include "desktop/default_application.h"
#include "desktop/desktop_entry.h"
#include "desktop/path_search.h"
#include "desktop/program_start.h"

namespace lorix {

WavApplication FindExecutableForWav() {
  WavApplication found;
  found.result = kStartNoAssociation;
  std::string id = DefaultApplicationId("audio/x-wav");
  if (id.empty()) id = DefaultApplicationId("audio/wav");
  const std::optional<DesktopEntry> entry = FindDesktopEntry(id);
  if (!entry) return found;
  const std::vector<std::string> arguments = ExecArguments(*entry);
  if (arguments.empty()) return found;
  const std::filesystem::path program = FindInPath(arguments.front());
  if (program.empty()) {
    found.result = kStartFileNotFound;
    return found;
  }
  found.result = kStartSucceeded;
  found.path = program.string();
  return found;
}

}  // namespace lorix
