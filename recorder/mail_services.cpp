// The hand-off's services on Linux: the desktop opens URLs and folders.

#include <system_error>

#include "desktop/open_with_desktop.h"
#include "desktop/system_tools.h"
#include "recorder/mail_handoff.h"

namespace lorix {

int MailServices::DefaultOpenUrl(const std::string& url) {
  return OpenWithDesktop(url).result;
}

void MailServices::DefaultOpenFolder(const std::filesystem::path& folder) {
  OpenFolderInFileManager(folder);
}

// The desktop's file managers take no selection from us: the folder is opened.
void MailServices::DefaultShowFiles(const std::vector<std::filesystem::path>& files) {
  if (!files.empty()) OpenFolderInFileManager(files.front().parent_path());
}

void MailServices::DefaultRestoreWorkingDirectory(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::current_path(folder, ignored);
}

}  // namespace lorix
