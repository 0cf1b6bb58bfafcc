#include "desktop/path_search.h"

#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <system_error>

#include "codec/file_system.h"

namespace lorix {

namespace {

bool IsExecutableFile(const std::filesystem::path& path) {
  return IsRegularFile(path) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::filesystem::path FindInPath(const std::string& program) {
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) {
    return IsExecutableFile(program) ? std::filesystem::path(program) : std::filesystem::path();
  }
  const char* variable = std::getenv("PATH");
  const std::string_view folders = variable != nullptr ? variable : "/usr/local/bin:/usr/bin:/bin";
  std::size_t begin = 0;
  while (begin <= folders.size()) {
    std::size_t end = folders.find(':', begin);
    if (end == std::string_view::npos) end = folders.size();
    const std::string_view folder = folders.substr(begin, end - begin);
    const std::filesystem::path candidate =
        std::filesystem::path(folder.empty() ? "." : std::string(folder)) / program;
    if (IsExecutableFile(candidate)) return candidate;
    begin = end + 1;
  }
  return {};
}

}  // namespace lorix
