#include "audio/win32/winmm_mci.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <mmsystem.h>

#include "codec/win32/wide_text.h"

namespace lorix {

int WinmmSendString(const std::string& command, std::string& reply) {
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
