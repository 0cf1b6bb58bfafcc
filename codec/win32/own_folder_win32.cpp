// The checked temporary folder on Windows. A folder there has no owner bits to look at; what
// matters is that it is a real folder (not a junction or link someone put in its place) and
// that files can be made in it. It is held open without delete sharing, so it cannot be renamed
// or replaced while the player writes into it.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>

#include "codec/file_io.h"
#include "codec/own_folder.h"
#include "codec/win32/wide_text.h"

namespace lorix {
namespace {

HANDLE OpenFolder(const std::wstring& name) {
  return CreateFileW(name.c_str(), FILE_LIST_DIRECTORY | FILE_ADD_FILE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

}  // namespace

OwnFolder::OwnFolder(const std::filesystem::path& path) {
  const std::wstring name = Widen(path.native());
  HANDLE folder = OpenFolder(name);
  if (folder == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND &&
      (CreateDirectoryW(name.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)) {
    folder = OpenFolder(name);
  }
  if (folder == INVALID_HANDLE_VALUE) {
    error_ = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
    return;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(folder, &info) ||
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error_ = ENOTDIR;
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    error_ = ELOOP;
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
    error_ = EROFS;
  } else {
    // A probe that is gone again when its handle closes: the folder may be read-only through
    // its permissions (an attachment opened from a mail program's view).
    const HANDLE probe =
        CreateFileW((name + L"\\~LORIX.probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
      error_ = EACCES;
    } else {
      CloseHandle(probe);
    }
  }
  if (error_ != 0) {
    CloseHandle(folder);
    return;
  }
  fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(folder), _O_RDONLY);
  if (fd_ < 0) {
    CloseHandle(folder);
    error_ = EIO;
  }
}

OwnFolder::~OwnFolder() {
  if (fd_ >= 0) _close(fd_);
}

std::string OwnFolder::ErrorText() const {
  return SystemErrorText(error_);
}

std::filesystem::path PrivateUserFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return {};
  const std::filesystem::path folder =
      std::filesystem::path(Narrow(std::wstring_view(buffer, length))) / "LORIX";
  return OwnFolder(folder).ok() ? folder : std::filesystem::path();
}

}  // namespace lorix
