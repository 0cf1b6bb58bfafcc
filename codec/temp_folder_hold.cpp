// The claim on Linux: an exclusive flock on the folder itself, through a descriptor of its own
// that stays open while the player runs. The lock belongs to the folder, not to a file name, so
// it survives the player's own replacing of its files, and the system drops it when the
// process ends.

#include "codec/temp_folder_hold.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "codec/own_folder.h"

namespace lorix {

TempFolderHold::~TempFolderHold() {
  Release();
}

void TempFolderHold::Release() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
}

bool TempFolderHold::Take(const std::filesystem::path& /*folder*/, const OwnFolder& open_folder) {
  const int fd = ::fcntl(open_folder.fd(), F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return false;
  // A descriptor of its own: the duplicate shares the checked folder's open file, which the
  // lock belongs to, and outlives the check.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error_number = errno;
    ::close(fd);
    // Only a lock someone holds counts; a file system without locks cannot tell, and its
    // folder is used as before.
    if (error_number == EWOULDBLOCK) return false;
    Release();
    return true;
  }
  Release();
  handle_ = fd;
  return true;
}

}  // namespace lorix
