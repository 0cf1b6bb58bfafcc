#include "codec/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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
    case ENOSPC:
      return "kein Platz mehr auf dem Datenträger";
    case EROFS:
      return "Datenträger ist schreibgeschützt";
    case ENOMEM:
      return "nicht genug Arbeitsspeicher";
    case EIO:
      return "Ein-/Ausgabefehler";
    case 0:
      return "unbekannter Fehler";
    default:
      return std::strerror(error_number);
  }
}

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    ThrowFileError("kann nicht gelesen werden", path, EISDIR);
  errno = 0;
  stream_.open(path, std::ios::binary);
  if (!stream_) ThrowFileError("kann nicht geöffnet werden", path, errno);
  stream_.seekg(0, std::ios::end);
  const std::streamoff end = stream_.tellg();
  if (end < 0) ThrowFileError("kann nicht gelesen werden", path, errno);
  size_ = end;
}

Bytes InputFile::ReadRange(std::int64_t offset, std::int64_t count) {
  if (offset < 0 || count < 0 || offset > size_ || count > size_ - offset) {
    throw CodecError("Die Datei " + Quoted(path_) + " ist kürzer als erwartet.");
  }
  Bytes bytes(static_cast<std::size_t>(count));
  stream_.clear();
  stream_.seekg(offset);
  errno = 0;
  if (count > 0 && !stream_.read(reinterpret_cast<char*>(bytes.data()), count)) {
    ThrowFileError("kann nicht gelesen werden", path_, errno ? errno : EIO);
  }
  return bytes;
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
