#include "codec/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "codec/codec_error.h"

namespace lorix {
namespace {

std::string Quoted(const std::filesystem::path& path) {
  return "\"" + path.string() + "\"";
}

[[noreturn]] void ThrowFileError(const std::string& what, const std::filesystem::path& path,
                                 int error_number) {
  throw CodecError("Die Datei " + Quoted(path) + " " + what + ": " + SystemErrorText(error_number));
}

}  // namespace

std::string SystemErrorText(int error_number) {
  switch (error_number) {
    case ENOENT:
      return "Datei oder Ordner nicht gefunden";
    case EACCES:
    case EPERM:
      return "Zugriff verweigert";
    case EISDIR:
      return "ist ein Ordner";
    case EEXIST:
      return "eine Datei gleichen Namens ist im Weg";
    case ENOTDIR:
      return "ein Teil des Pfades ist kein Ordner";
    case ENOSPC:
      return "kein Platz mehr auf dem Datenträger";
    case EROFS:
      return "Datenträger ist schreibgeschützt";
    case ENOMEM:
      return "nicht genug Arbeitsspeicher";
    case EIO:
      return "Ein-/Ausgabefehler";
    case EFBIG:
      return "Datei zu groß";
    case 0:
      return "unbekannter Fehler";
    default:
      return std::strerror(error_number);
  }
}

std::string TooLargeText(const std::filesystem::path& path) {
  return "Die Datei " + Quoted(path) + " ist 2 GB groß oder größer und wird nicht gelesen.";
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

void WriteFileAtomically(const std::filesystem::path& path, ByteSpan bytes, bool executable) {
  std::filesystem::path temp = path;
  temp += ".tmp" + std::to_string(::getpid());
  const mode_t mode = executable ? 0777 : 0666;  // narrowed by the user's umask
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) ThrowFileError("kann nicht geschrieben werden", path, errno);

  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error_number = n < 0 ? errno : EIO;
      ::close(fd);
      ::unlink(temp.c_str());
      ThrowFileError("kann nicht geschrieben werden", path, error_number);
    }
    written += static_cast<std::size_t>(n);
  }
  const int sync_result = ::fsync(fd);
  const int sync_errno = errno;
  if (::close(fd) != 0 || sync_result != 0) {
    const int error_number = sync_result != 0 ? sync_errno : errno;
    ::unlink(temp.c_str());
    ThrowFileError("kann nicht geschrieben werden", path, error_number);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int error_number = errno;
    ::unlink(temp.c_str());
    ThrowFileError("kann nicht geschrieben werden", path, error_number);
  }
}

}  // namespace lorix
