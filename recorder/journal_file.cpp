#include "recorder/journal_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lorix {

JournalFile::~JournalFile() {
  Close();
}

bool JournalFile::Create(const std::filesystem::path& path) {
  Close();
  ::unlink(path.c_str());
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  handle_ = fd;
  return true;
}

bool JournalFile::OpenAfter(const std::filesystem::path& path, std::uint64_t size) {
  Close();
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::uint64_t>(info.st_size) < size ||
      ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  return true;
}

std::size_t JournalFile::Write(ByteSpan bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written =
        ::write(static_cast<int>(handle_), bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    done += static_cast<std::size_t>(written);
  }
  return done;
}

bool JournalFile::Sync() {
  return ::fdatasync(static_cast<int>(handle_)) == 0;
}

void JournalFile::Close() {
  if (handle_ == kClosed) return;
  ::close(static_cast<int>(handle_));
  handle_ = kClosed;
}

}  // namespace lorix
