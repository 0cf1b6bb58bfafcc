// The claim on Windows: a named mutex of this session whose name is the folder's identity
// (volume serial number and file index), so every path to the folder meets the same claim.
// The system closes it when the process ends. A player that took no such claim still shows
// itself: its media service holds "TempWave.wav" open without sharing deletion, so the file
// could not be replaced.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <io.h>

#include <string>

#include "codec/attachment.h"
#include "codec/own_folder.h"
#include "codec/temp_folder_hold.h"
#include "codec/win32/temp_name.h"
#include "codec/win32/wide_text.h"

namespace lorix {
namespace {

HANDLE AsHandle(long long value) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value));
}

std::wstring ClaimName(HANDLE folder) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(folder, &info)) return {};
  return L"Local\\LORIX-TEMPs-" + Hex8(info.dwVolumeSerialNumber) + L"-" +
         Hex8(info.nFileIndexHigh) + Hex8(info.nFileIndexLow);
}

// Whether a running program has `file` open in a way that keeps it from being replaced.
bool IsHeldOpen(const std::filesystem::path& file) {
  const HANDLE handle = CreateFileW(Widen(file.native()).c_str(), DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    CloseHandle(handle);
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

TempFolderHold::~TempFolderHold() {
  Release();
}

void TempFolderHold::Release() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
  handle_ = -1;
}

bool TempFolderHold::Take(const std::filesystem::path& folder, const OwnFolder& open_folder) {
  const std::wstring name = ClaimName(reinterpret_cast<HANDLE>(_get_osfhandle(open_folder.fd())));
  if (name.empty()) return false;
  const HANDLE claim = CreateMutexW(nullptr, FALSE, name.c_str());
  if (claim == nullptr) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS || IsHeldOpen(folder / kTempWaveName)) {
    CloseHandle(claim);
    return false;
  }
  Release();
  handle_ = static_cast<long long>(reinterpret_cast<intptr_t>(claim));
  return true;
}

}  // namespace lorix
