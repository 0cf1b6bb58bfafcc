#include "recorder/window/help_page.h"

#include <system_error>

namespace lorix {

std::filesystem::path HelpPagePath(const std::filesystem::path& program_folder) {
  return program_folder / kHelpPageName;
}

bool OpenHelpPage(const std::filesystem::path& program_folder,
                  const std::function<void(const std::string&)>& open) {
  const std::filesystem::path page = HelpPagePath(program_folder);
  std::error_code error;
  if (!std::filesystem::is_regular_file(page, error) || !open) return false;
  open(page.string());
  return true;
}

}  // namespace lorix
