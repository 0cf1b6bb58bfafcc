#include "desktop/wav_application.h"

namespace lorix {

std::string ApplicationName(const std::string& program_path) {
  // A Windows program's path ends at a backslash.
  const std::size_t slash = program_path.find_last_of("/\\");
  const std::string file =
      slash == std::string::npos ? program_path : program_path.substr(slash + 1);
  return file.substr(0, file.find('.'));
}

}  // namespace lorix
