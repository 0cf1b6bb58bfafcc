// The file functions of codec/file_io.h on Windows: the C runtime's descriptors opened by the
// path's UTF-16 name, and a rename that replaces the target for the atomic write: the file is
// flushed (FlushFileBuffers through _commit) before MoveFileEx renames it with write-through.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>
#include <new>

#include "codec/codec_error.h"
#include "codec/file_io.h"
#include "codec/win32/temp_name.h"
#include "codec/win32/wide_text.h"

namespace lorix {
namespace {

// Read-only, and others may go on reading and writing: the player reads its own running file.
int OpenForReading(const std::filesystem::path& path) {
  return _wsopen(Widen(path.native()).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO);
}

// Reads until `count` bytes are in or the file ends; the number read, or -1.
std::int64_t ReadFully(int fd, std::uint8_t* data, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    const unsigned chunk = static_cast<unsigned>(std::min<std::int64_t>(count - done, 1 << 30));
    const int got = _read(fd, data + done, chunk);
    if (got < 0) return -1;
    if (got == 0) break;
    done += got;
  }
  return done;
}

int ErrnoOfLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    default:
      return EIO;
  }
}

}  // namespace

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
  fd_ = OpenForReading(path);
  if (fd_ < 0) ThrowFileError("kann nicht geöffnet werden", path, errno);
  struct _stat64 info {};
  if (_fstat64(fd_, &info) != 0 || !(info.st_mode & _S_IFREG)) {
    const int error_number = (info.st_mode & _S_IFDIR) ? EISDIR : EIO;
    _close(fd_);
    fd_ = -1;
    ThrowFileError("kann nicht gelesen werden", path, error_number);
  }
  if (info.st_size > kMaxInputBytes) {
    _close(fd_);
    fd_ = -1;
    throw CodecError(TooLargeText(path));
  }
  size_ = info.st_size;
}

InputFile::~InputFile() {
  if (fd_ >= 0) _close(fd_);
}

Bytes InputFile::ReadRange(std::int64_t offset, std::int64_t count) {
  if (offset < 0 || count < 0 || offset > size_ || count > size_ - offset) {
    throw CodecError("Die Datei " + Quoted(path_) + " ist kürzer als erwartet.");
  }
  Bytes bytes(static_cast<std::size_t>(count));
  if (_lseeki64(fd_, offset, SEEK_SET) < 0)
    ThrowFileError("kann nicht gelesen werden", path_, errno);
  const std::int64_t got = ReadFully(fd_, bytes.data(), count);
  if (got < 0) ThrowFileError("kann nicht gelesen werden", path_, errno);
  // The file shrank since it was opened.
  if (got < count) throw CodecError("Die Datei " + Quoted(path_) + " ist kürzer als erwartet.");
  return bytes;
}

int ReadFileInto(const std::filesystem::path& path, Bytes& bytes, std::uint64_t max_bytes) {
  bytes.clear();
  const int fd = OpenForReading(path);
  if (fd < 0)
    return errno == EACCES &&
                   (GetFileAttributesW(Widen(path.native()).c_str()) & FILE_ATTRIBUTE_DIRECTORY)
               ? EISDIR
               : errno;
  struct _stat64 info {};
  int result = 0;
  if (_fstat64(fd, &info) != 0) {
    result = errno;
  } else if (info.st_mode & _S_IFDIR) {
    result = EISDIR;
  } else if (!(info.st_mode & _S_IFREG)) {
    result = EINVAL;
  } else if (static_cast<std::uint64_t>(info.st_size) > max_bytes) {
    result = EFBIG;
  } else {
    try {
      bytes.resize(static_cast<std::size_t>(info.st_size));
      const std::int64_t got = ReadFully(fd, bytes.data(), info.st_size);
      // A file that shrank while being read is taken as far as it goes.
      if (got < 0) {
        result = errno;
      } else {
        bytes.resize(static_cast<std::size_t>(got));
      }
    } catch (const std::bad_alloc&) {
      result = ENOMEM;
    }
  }
  _close(fd);
  if (result != 0) bytes.clear();
  return result;
}

Bytes ReadWholeFile(const std::filesystem::path& path) {
  InputFile file(path);
  return file.ReadRange(0, file.size());
}

void WriteFileAtomically(const std::filesystem::path& path, ByteSpan bytes, FileMode /*mode*/) {
  // A name made exclusively: nothing that is already there (by chance or planted) is written
  // through. The counter draws another name for a clash.
  static unsigned counter = 0;
  std::wstring temp_name;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp_name = TempNameBeside(Widen(path.native()), GetCurrentProcessId(), ++counter);
    fd = _wsopen(temp_name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                 _SH_DENYWR, _S_IREAD | _S_IWRITE);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) ThrowFileError("kann nicht geschrieben werden", path, errno);

  std::size_t written = 0;
  while (written < bytes.size()) {
    const unsigned chunk =
        static_cast<unsigned>(std::min<std::size_t>(bytes.size() - written, 1 << 30));
    const int n = _write(fd, bytes.data() + written, chunk);
    if (n <= 0) {
      const int error_number = n < 0 ? errno : EIO;
      _close(fd);
      DeleteFileW(temp_name.c_str());
      ThrowFileError("kann nicht geschrieben werden", path, error_number);
    }
    written += static_cast<std::size_t>(n);
  }
  const int sync_result = _commit(fd);
  const int sync_errno = errno;
  if (_close(fd) != 0 || sync_result != 0) {
    const int error_number = sync_result != 0 ? sync_errno : errno;
    DeleteFileW(temp_name.c_str());
    ThrowFileError("kann nicht geschrieben werden", path, error_number);
  }
  if (!MoveFileExW(temp_name.c_str(), Widen(path.native()).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const int error_number = ErrnoOfLastError();
    DeleteFileW(temp_name.c_str());
    ThrowFileError("kann nicht geschrieben werden", path, error_number);
  }
}

FileMode ModeOfFile(const std::filesystem::path& /*path*/, FileMode fallback) {
  return fallback;
}

// MoveFileEx with MOVEFILE_WRITE_THROUGH returns only once the rename is on the disk, and the
// file's own bytes were flushed (_commit, FlushFileBuffers) before it: the folder needs no
// sync of its own.
int SyncFolder(const std::filesystem::path& /*folder*/) {
  return 0;
}

// The folder is held open by the caller (OwnFolder), so it cannot be replaced meanwhile; the
// file is written by its full name.
void WriteFileAtomically(int /*folder_fd*/, const std::filesystem::path& path, ByteSpan bytes,
                         FileMode mode) {
  WriteFileAtomically(path, bytes, mode);
}

}  // namespace lorix
