#include "audio/mci_service.h"

namespace lorix {

// Kept apart from the interpreter: the Windows player builds its command strings with it too.
std::string MciQuoted(const std::string& word) {
  std::string quoted = "\"";
  for (const char c : word) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + '"';
}

}  // namespace lorix
