#include "player/window_win32/temp_base.h"

#include "codec/attachment.h"
#include "codec/file_system.h"
#include "codec/win32/wide_text.h"

#include <windows.h>

namespace lorix {
namespace {

// True when a file can be made in `folder` (the probe is gone again when its handle closes).
bool CanWriteIn(const std::filesystem::path& folder) {
  const HANDLE probe =
      CreateFileW(Widen((folder / "~LORIX.probe").native()).c_str(), GENERIC_WRITE, 0, nullptr,
                  CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  CloseHandle(probe);
  return true;
}

std::filesystem::path UserTempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  return length > 0 && length <= MAX_PATH ? Narrow(std::wstring_view(buffer, length))
                                          : std::string(".");
}

}  // namespace

std::filesystem::path PlayerTempBase() {
  std::filesystem::path current = CurrentDirectory();
  if (current.empty()) current = ".";
  if (MakeDirectories(current / kTempFolder) == 0 && CanWriteIn(current / kTempFolder)) {
    return current;
  }
  return UserTempFolder() / "LORIX";
}

}  // namespace lorix
