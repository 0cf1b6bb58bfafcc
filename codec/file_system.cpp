#include "codec/file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace lorix {
namespace {

void CollectFiles(const std::filesystem::path& folder, const std::filesystem::path& relative,
                  std::vector<std::filesystem::path>& files) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::filesystem::path path = folder / name;
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode)) {
      CollectFiles(path, relative / name, files);
    } else if (IsRegularFile(path)) {
      files.push_back(relative / name);
    }
  }
  closedir(dir);
}

}  // namespace

FileKind KindOf(const std::filesystem::path& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return FileKind::kMissing;
  if (S_ISREG(info.st_mode)) return FileKind::kRegular;
  if (S_ISDIR(info.st_mode)) return FileKind::kDirectory;
  return FileKind::kOther;
}

int MakeDirectories(const std::filesystem::path& folder) {
  if (folder.empty() || KindOf(folder) == FileKind::kDirectory) return 0;
  const std::filesystem::path parent = folder.parent_path();
  if (!parent.empty() && parent != folder) {
    if (const int error = MakeDirectories(parent)) return error;
  }
  if (mkdir(folder.c_str(), 0777) == 0) return 0;
  // Made by someone else in the meantime, or "a/b/." style names: fine if it is a folder now.
  const int error = errno;
  return KindOf(folder) == FileKind::kDirectory ? 0 : error;
}

bool EntryExists(const std::filesystem::path& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

int RemoveFile(const std::filesystem::path& path) {
  return unlink(path.c_str()) == 0 ? 0 : errno;
}

int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::filesystem::path CurrentDirectory() {
  std::string buffer(4096, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.c_str();
}

std::filesystem::path ReadSymbolicLink(const std::filesystem::path& link) {
  std::string buffer(4096, '\0');
  while (true) {
    const ssize_t length = readlink(link.c_str(), buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) return buffer.substr(0, length);
    if (buffer.size() > (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<std::filesystem::path> FilesBelow(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  CollectFiles(folder, {}, files);
  return files;
}

}  // namespace lorix
