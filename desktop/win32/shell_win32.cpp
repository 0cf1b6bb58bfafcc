#include "desktop/win32/shell_win32.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <shellapi.h>

#include "codec/win32/wide_text.h"

namespace lorix {

void ShellOpen(const std::string& target) {
  ShellExecuteW(GetDesktopWindow(), L"open", Widen(target).c_str(), nullptr, nullptr,
                SW_SHOWNORMAL);
}

WavApplication FindExecutableFor(const std::string& file) {
  wchar_t program[MAX_PATH] = {};
  const auto result = reinterpret_cast<INT_PTR>(FindExecutableW(Widen(file).c_str(), L"", program));
  WavApplication found;
  found.result = static_cast<int>(result);
  if (result > 32) found.path = Narrow(program);
  return found;
}

int StartCommandLine(const std::string& command_line) {
  // WinExec takes the ANSI code page; the programs started here have plain ASCII names.
  return static_cast<int>(WinExec(command_line.c_str(), SW_SHOWNORMAL));
}

int StartVolumeMixer() {
  const int result = StartCommandLine("SndVol.exe");
  return result >= 31 ? result : StartCommandLine("SNDVOL32");
}

}  // namespace lorix
