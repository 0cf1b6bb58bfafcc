#include "codec/own_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "codec/file_io.h"

namespace lorix {

OwnFolder::OwnFolder(const std::filesystem::path& path) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(path.c_str(), kFlags);
  if (fd < 0 && errno == ENOENT) {
    // One made by someone else in between is checked like any existing folder.
    if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) fd = ::open(path.c_str(), kFlags);
  }
  if (fd < 0) {
    error_ = errno;
    // A link is refused as "not a folder"; saying what it is helps more.
    struct stat link {};
    if (error_ == ENOTDIR && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
      error_ = ELOOP;
    }
    return;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    error_ = errno;
  } else if (info.st_uid != ::geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    error_ = EPERM;
    foreign_ = true;
  }
  if (error_ != 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
}

OwnFolder::~OwnFolder() {
  if (fd_ >= 0) ::close(fd_);
}

std::string OwnFolder::ErrorText() const {
  return foreign_ ? "gehört einem anderen Benutzer oder andere dürfen darin schreiben"
                  : SystemErrorText(error_);
}

std::filesystem::path PrivateUserFolder() {
  for (const char* variable : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
    const char* value = std::getenv(variable);
    // Relative values are invalid by the desktop's rules and ignored.
    if (value == nullptr || value[0] != '/') continue;
    const std::filesystem::path folder = std::filesystem::path(value) / "lorix";
    if (OwnFolder(folder).ok()) return folder;
  }
  const std::filesystem::path folder = "/tmp/lorix-" + std::to_string(::geteuid());
  return OwnFolder(folder).ok() ? folder : std::filesystem::path();
}

}  // namespace lorix
