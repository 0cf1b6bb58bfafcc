#pragma once

// Folders the programs keep temporary files in. Such a folder in a place others can write to
// (a shared folder, /tmp, an unpacked archive) may have been prepared by someone else: a link to
// elsewhere, or a folder they can still write into. Neither is ever used.

#include <filesystem>
#include <string>

namespace lorix {

// A folder of this user's, held open: writes through `fd()` land in exactly the folder that was
// checked, even if its name is taken over afterwards.
class OwnFolder {
 public:
  // Opens `path`, making it (mode 0700) when missing. It must be a folder itself, not a link to
  // one, belong to this user and be writable by nobody else.
  explicit OwnFolder(const std::filesystem::path& path);
  ~OwnFolder();
  OwnFolder(const OwnFolder&) = delete;
  OwnFolder& operator=(const OwnFolder&) = delete;

  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // The errno value of the failure: ELOOP for a link, ENOTDIR for a file, EPERM for a folder
  // that is not ours or that others may write to.
  int error() const { return error_; }
  // Why the folder cannot be used, in German for a message.
  std::string ErrorText() const;

 private:
  int fd_ = -1;
  int error_ = 0;
  bool foreign_ = false;
};

// This user's private folder: "lorix" in $XDG_RUNTIME_DIR, else in $XDG_CACHE_HOME, else
// /tmp/lorix-<uid>; the first that is ours or can be made so. Empty when none can.
std::filesystem::path PrivateUserFolder();

// The folder for temporary files: `preferred` when it is ours or can be made so, else the
// folder of the same name in the private folder; `preferred` again when neither works (the
// writes then report why).
std::filesystem::path UsableTempFolder(const std::filesystem::path& preferred);

}  // namespace lorix
