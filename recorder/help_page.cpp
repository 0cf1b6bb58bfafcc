#include "recorder/help_page.h"

#include "codec/file_system.h"

namespace lorix {

bool OpenHelpPage(const std::filesystem::path& program_folder, const char* page_name,
                  const std::function<void(const std::string&)>& open) {
  const std::filesystem::path page = program_folder / page_name;
  if (!IsRegularFile(page) || !open) return false;
  open(page.string());
  return true;
}

}  // namespace lorix
