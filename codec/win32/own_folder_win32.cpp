// The checked temporary folder on Windows: a real folder (not a junction or link someone put
// in its place), owned by this user (one another account made is not written into), in which
// files of the longest name the programs write can be made. It is held open without delete
// sharing, so it cannot be renamed or replaced while the player writes into it.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <aclapi.h>
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <vector>

#include "codec/attachment.h"
#include "codec/file_io.h"
#include "codec/own_folder.h"
#include "codec/win32/temp_name.h"
#include "codec/win32/wide_text.h"

namespace lorix {
namespace {

// One of this process's token's entries: TokenUser, or TokenOwner (the owner given to what
// it makes: the Administrators group for an elevated administrator).
std::vector<unsigned char> TokenEntry(HANDLE token, TOKEN_INFORMATION_CLASS kind) {
  DWORD size = 0;
  GetTokenInformation(token, kind, nullptr, 0, &size);
  std::vector<unsigned char> entry(size);
  if (size == 0 || !GetTokenInformation(token, kind, entry.data(), size, &size)) entry.clear();
  return entry;
}

// Whether the folder's owner is this user, or the owner this user's programs give what they
// make.
bool IsOwnedByThisUser(HANDLE folder) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                      nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  bool ours = false;
  HANDLE token = nullptr;
  if (owner != nullptr && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    const std::vector<unsigned char> user = TokenEntry(token, TokenUser);
    const std::vector<unsigned char> default_owner = TokenEntry(token, TokenOwner);
    ours = (!user.empty() &&
            EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid)) ||
           (!default_owner.empty() &&
            EqualSid(owner, reinterpret_cast<const TOKEN_OWNER*>(default_owner.data())->Owner));
    CloseHandle(token);
  }
  LocalFree(descriptor);
  return ours;
}

HANDLE OpenFolder(const std::wstring& name) {
  // READ_CONTROL: the owner is read through this handle.
  return CreateFileW(name.c_str(), FILE_LIST_DIRECTORY | FILE_ADD_FILE | READ_CONTROL,
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
  } else if (!IsOwnedByThisUser(folder)) {
    error_ = EPERM;
    foreign_ = true;
  } else {
    // A probe that is gone again when its handle closes: the folder may be read-only through
    // its permissions (an attachment opened from a mail program's view), or so deep that the
    // longest name written into it would pass the path limit. The probe's name is as long as
    // that name: the temporary name of "TempWave.wav" (its neighbour "TempInfo.txt" is as
    // long).
    const std::wstring probe_name =
        TempNameBeside(name + L"\\" + Widen(kTempWaveName), GetCurrentProcessId(), ~0u);
    // The length is checked on its own as well: Wine does not enforce the limit, Windows does.
    if (probe_name.size() >= MAX_PATH) {
      error_ = ENAMETOOLONG;
    } else {
      const HANDLE probe =
          CreateFileW(probe_name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
      if (probe == INVALID_HANDLE_VALUE) {
        error_ = EACCES;
      } else {
        CloseHandle(probe);
      }
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
  return foreign_ ? "gehört einem anderen Benutzer" : SystemErrorText(error_);
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
