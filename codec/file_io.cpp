#include "codec/file_io.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>

#include "codec/codec_error.h"

namespace lorix {
namespace {

// A hidden name no one can guess ahead of time. Should the kernel give no random bytes, the
// clock and a counter still make the names differ; the exclusive open keeps them safe anyway.
std::string RandomTempName() {
  static std::uint64_t counter = 0;
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::uint64_t value = static_cast<std::uint64_t>(now.tv_nsec) ^
                        (static_cast<std::uint64_t>(now.tv_sec) << 30) ^
                        (static_cast<std::uint64_t>(::getpid()) << 40) ^ ++counter;
  std::uint64_t random = 0;
  if (::getrandom(&random, sizeof random, GRND_NONBLOCK) == sizeof random) value ^= random;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = ".lorix-";
  for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(value >> shift) & 0x0F];
  return name + ".tmp";
}

// fsync of the folder open as `folder_fd` (which may be an O_PATH descriptor). A file system
// that cannot sync folders (EINVAL) keeps its entries by its own means.
int SyncFolderAt(int folder_fd) {
  const int fd = ::openat(folder_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int result = 0;
  if (::fsync(fd) != 0 && errno != EINVAL) result = errno;
  ::close(fd);
  return result;
}

}  // namespace

FileMode ModeOfFile(const std::filesystem::path& path, FileMode fallback) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return fallback;
  return FileMode{static_cast<unsigned>(info.st_mode & 0777)};
}

int SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int result = SyncFolderAt(fd);
  ::close(fd);
  return result;
}

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
  // Not blocking on open: a named pipe is refused below instead of hanging the program.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) ThrowFileError("kann nicht geöffnet werden", path, errno);
  struct stat info {};
  if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int error_number = S_ISDIR(info.st_mode) ? EISDIR : (errno ? errno : EIO);
    ::close(fd_);
    fd_ = -1;
    ThrowFileError("kann nicht gelesen werden", path, error_number);
  }
  if (info.st_size > kMaxInputBytes) {
    ::close(fd_);
    fd_ = -1;
    throw CodecError(TooLargeText(path));
  }
  size_ = info.st_size;
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

Bytes InputFile::ReadRange(std::int64_t offset, std::int64_t count) {
  if (offset < 0 || count < 0 || offset > size_ || count > size_ - offset) {
    throw CodecError("Die Datei " + Quoted(path_) + " ist kürzer als erwartet.");
  }
  Bytes bytes(static_cast<std::size_t>(count));
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(fd_, bytes.data() + done, static_cast<std::size_t>(count - done),
                                static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ThrowFileError("kann nicht gelesen werden", path_, errno);
    // The file shrank since it was opened.
    if (got == 0) throw CodecError("Die Datei " + Quoted(path_) + " ist kürzer als erwartet.");
    done += got;
  }
  return bytes;
}

int ReadFileInto(const std::filesystem::path& path, Bytes& bytes, std::uint64_t max_bytes) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat info {};
  int result = 0;
  if (fstat(fd, &info) != 0) {
    result = errno;
  } else if (S_ISDIR(info.st_mode)) {
    result = EISDIR;
  } else if (!S_ISREG(info.st_mode)) {
    result = EINVAL;
  } else if (static_cast<std::uint64_t>(info.st_size) > max_bytes) {
    result = EFBIG;
  } else {
    try {
      bytes.resize(static_cast<std::size_t>(info.st_size));
      std::size_t done = 0;
      while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
          result = errno;
          break;
        }
        if (got == 0) break;  // shrank while being read: taken as far as it goes
        done += static_cast<std::size_t>(got);
      }
      bytes.resize(done);
    } catch (const std::bad_alloc&) {
      result = ENOMEM;
    }
  }
  ::close(fd);
  if (result != 0) bytes.clear();
  return result;
}

Bytes ReadWholeFile(const std::filesystem::path& path) {
  InputFile file(path);
  return file.ReadRange(0, file.size());
}

void WriteFileAtomically(const std::filesystem::path& path, ByteSpan bytes, FileMode mode) {
  // The folder is the one the caller named, links and all; only the file's own name is
  // written with care.
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  const int folder_fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd < 0) ThrowFileError("kann nicht geschrieben werden", path, errno);
  try {
    WriteFileAtomically(folder_fd, path, bytes, mode);
  } catch (...) {
    ::close(folder_fd);
    throw;
  }
  ::close(folder_fd);
}

void WriteFileAtomically(int folder_fd, const std::filesystem::path& path, ByteSpan bytes,
                         FileMode mode) {
  const std::string name = path.filename().string();
  std::string temp;
  int fd = -1;
  // A clash with an existing name (by chance or planted) just draws another name.
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = RandomTempName();
    fd = ::openat(folder_fd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) ThrowFileError("kann nicht geschrieben werden", path, errno);

  int error_number = 0;
  // Set after creating: the mode given to open is narrowed by the umask.
  if (::fchmod(fd, static_cast<mode_t>(mode.bits)) != 0) error_number = errno;
  std::size_t written = 0;
  while (error_number == 0 && written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) error_number = n < 0 ? errno : EIO;
    if (n > 0) written += static_cast<std::size_t>(n);
  }
  if (error_number == 0 && ::fsync(fd) != 0) error_number = errno;
  if (::close(fd) != 0 && error_number == 0) error_number = errno;
  if (error_number == 0 && ::renameat(folder_fd, temp.c_str(), folder_fd, name.c_str()) != 0) {
    error_number = errno;
  }
  if (error_number != 0) {
    ::unlinkat(folder_fd, temp.c_str(), 0);
    ThrowFileError("kann nicht geschrieben werden", path, error_number);
  }
  // The rename reaches the disk with the folder: until then a power cut may bring back the old
  // file, or none, even though the new one's bytes are synced.
  error_number = SyncFolderAt(folder_fd);
  if (error_number != 0) ThrowFileError("kann nicht geschrieben werden", path, error_number);
}

}  // namespace lorix
