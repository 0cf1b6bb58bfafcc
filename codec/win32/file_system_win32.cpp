// The questions of codec/file_system.h answered by the Windows file functions.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <cerrno>

#include "codec/file_system.h"
#include "codec/win32/wide_text.h"

namespace lorix {
namespace {

void CollectFiles(const std::filesystem::path& folder, const std::filesystem::path& relative,
                  std::vector<std::filesystem::path>& files) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW(Widen((folder / "*").native()).c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = Narrow(entry.cFileName);
    if (name == "." || name == "..") continue;
    // Junctions and folder links are not followed, so a loop cannot make the walk endless.
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CollectFiles(folder / name, relative / name, files);
    } else {
      files.push_back(relative / name);
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    default:
      return EACCES;
  }
}

}  // namespace

FileKind KindOf(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path.native()).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::kMissing;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::kDirectory;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return FileKind::kOther;
  return FileKind::kRegular;
}

int MakeDirectories(const std::filesystem::path& folder) {
  if (folder.empty() || KindOf(folder) == FileKind::kDirectory) return 0;
  const std::filesystem::path parent = folder.parent_path();
  if (!parent.empty() && parent != folder) {
    if (const int error = MakeDirectories(parent)) return error;
  }
  if (CreateDirectoryW(Widen(folder.native()).c_str(), nullptr)) return 0;
  const DWORD error = GetLastError();
  // Made by someone else in the meantime: fine if it is a folder now.
  if (KindOf(folder) == FileKind::kDirectory) return 0;
  return ErrnoOf(error);
}

// The attributes of a link or junction are its own: it is not followed.
bool EntryExists(const std::filesystem::path& path) {
  return GetFileAttributesW(Widen(path.native()).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int RemoveFile(const std::filesystem::path& path) {
  return DeleteFileW(Widen(path.native()).c_str()) ? 0 : ErrnoOf(GetLastError());
}

int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  return MoveFileExW(Widen(from.native()).c_str(), Widen(to.native()).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? 0
             : ErrnoOf(GetLastError());
}

std::filesystem::path CurrentDirectory() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  if (length == 0) return {};
  std::wstring buffer(length, L'\0');
  const DWORD got = GetCurrentDirectoryW(length, buffer.data());
  if (got == 0 || got >= length) return {};
  buffer.resize(got);
  return Narrow(buffer);
}

// The player never follows links by name on Windows.
std::filesystem::path ReadSymbolicLink(const std::filesystem::path&) {
  return {};
}

std::vector<std::filesystem::path> FilesBelow(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  CollectFiles(folder, {}, files);
  return files;
}

}  // namespace lorix
