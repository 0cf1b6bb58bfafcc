#include "recorder/window/help_page.h"

#include <system_error>

namespace lorix {

bool OpenHelpPage(const std::filesystem::path& program_folder, const char* page_name,
                  const std::function<void(const std::string&)>& open) {
  const std::filesystem::path page = program_folder / page_name;
  std::error_code error;
  if (!std::filesystem::is_regular_file(page, error) || !open) return false;
  open(page.string());
  return true;
}

}  // namespace lorix
