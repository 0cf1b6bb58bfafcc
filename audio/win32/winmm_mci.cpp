#include "audio/win32/winmm_mci.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <mmsystem.h>

#include <string_view>

#include "codec/win32/wide_text.h"

namespace lorix {
namespace {

// The playback code opens a file with `open "<file>" type waveaudio alias <alias>` (a quote in
// the name doubled). Finds the file and the alias of such a command; false for any other.
bool ParseOpenCommand(std::string_view command, std::string& file, std::string& alias) {
  constexpr std::string_view kOpen = "open \"";
  constexpr std::string_view kTypeAndAlias = "\" type waveaudio alias ";
  if (command.substr(0, kOpen.size()) != kOpen) return false;
  file.clear();
  std::size_t at = kOpen.size();
  while (at < command.size()) {
    if (command[at] == '"' && command.substr(at, 2) != "\"\"") break;
    file += command[at];
    at += command[at] == '"' ? 2 : 1;
  }
  if (command.substr(at, kTypeAndAlias.size()) != kTypeAndAlias) return false;
  alias = command.substr(at + kTypeAndAlias.size());
  return !alias.empty() && alias.find(' ') == std::string::npos;
}

}  // namespace

int WinmmSendString(const std::string& command, std::string& reply) {
  reply.clear();
  // The command string's parser reads "type!element" even inside quotes, so a folder named
  // "Wichtig!" would break the open. The command form takes the file's name as it is; the
  // alias then serves the string commands that follow.
  std::string file, alias;
  if (ParseOpenCommand(command, file, alias)) {
    const std::wstring wide_file = Widen(file), wide_alias = Widen(alias);
    MCI_OPEN_PARMSW open{};
    open.lpstrDeviceType = L"waveaudio";
    open.lpstrElementName = wide_file.c_str();
    open.lpstrAlias = wide_alias.c_str();
    return static_cast<int>(mciSendCommandW(0, MCI_OPEN,
                                            MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_ALIAS,
                                            reinterpret_cast<DWORD_PTR>(&open)));
  }
  wchar_t buffer[17] = {};
  const MCIERROR result =
      mciSendStringW(Widen(command).c_str(), buffer, ARRAYSIZE(buffer), nullptr);
  reply = Narrow(buffer);
  return static_cast<int>(result);
}

std::string WinmmErrorText(int code) {
  wchar_t buffer[1024] = {};
  mciGetErrorStringW(static_cast<MCIERROR>(code), buffer, 1023);
  return Narrow(buffer);
}

}  // namespace lorix
