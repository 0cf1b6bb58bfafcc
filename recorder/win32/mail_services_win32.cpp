// The hand-off's services on Windows: the shell opens the mailto: URL and the folder, Explorer
// shows the files selected.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <shellapi.h>

#include "codec/win32/wide_text.h"
#include "desktop/win32/explorer_selection_win32.h"
#include "recorder/mail_handoff.h"

namespace lorix {
namespace {

int ShellExecuteOpen(const std::string& target) {
  const HINSTANCE result = ShellExecuteW(GetDesktopWindow(), L"open", Widen(target).c_str(),
                                         nullptr, nullptr, SW_SHOWNORMAL);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace

int MailServices::DefaultOpenUrl(const std::string& url) {
  return ShellExecuteOpen(url);
}

void MailServices::DefaultOpenFolder(const std::filesystem::path& folder) {
  ShellExecuteOpen(folder.string());
}

void MailServices::DefaultShowFiles(const std::vector<std::filesystem::path>& files) {
  ShowFilesInExplorer(files);
}

void MailServices::DefaultRestoreWorkingDirectory(const std::filesystem::path& folder) {
  SetCurrentDirectoryW(Widen(folder.native()).c_str());
}

}  // namespace lorix
