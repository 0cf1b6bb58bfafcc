#pragma once

#include <cstdint>
#include <filesystem>

#include "codec/bytes.h"

namespace lorix {

// A short German text for an errno value, for messages about files.
std::string SystemErrorText(int error_number);

// A path in double quotes, as the programs' messages name files.
std::string Quoted(const std::filesystem::path& path);

// Throws CodecError: "Die Datei "<path>" <what>: <the system's reason>".
[[noreturn]] void ThrowFileError(const std::string& what, const std::filesystem::path& path,
                                 int error_number);

// The refusal of an input of kMaxInputBytes or more.
std::string TooLargeText(const std::filesystem::path& path);

// A file opened for reading by position, with plain system calls (the player carries no
// stream library). Errors throw CodecError with a German message that names the file; so does a
// file of 2 GB or more (kMaxInputBytes).
class InputFile {
 public:
  explicit InputFile(const std::filesystem::path& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  std::int64_t size() const { return size_; }
  // Reads `count` bytes starting at `offset`; the range must lie inside the file.
  Bytes ReadRange(std::int64_t offset, std::int64_t count);

 private:
  std::filesystem::path path_;
  int fd_ = -1;
  std::int64_t size_ = 0;
};

// Reads a whole file of at most `max_bytes` into `bytes`. Returns 0, or the errno value of
// the failure (EFBIG for a larger file, EISDIR for a folder); `bytes` is then empty.
int ReadFileInto(const std::filesystem::path& path, Bytes& bytes, std::uint64_t max_bytes);

Bytes ReadWholeFile(const std::filesystem::path& path);

// The permission bits a written file gets, set as given whatever the user's umask is.
struct FileMode {
  unsigned bits;
};
inline constexpr FileMode kDataFileMode{0644};
inline constexpr FileMode kProgramFileMode{0755};

// The permission bits of the regular file at `path`, so that a rewrite keeps them; `fallback`
// when there is no such file (and always on Windows, whose files carry no such bits).
FileMode ModeOfFile(const std::filesystem::path& path, FileMode fallback);

// Makes the folder's entries (a file made, renamed or removed in it) reach the disk. Returns 0,
// or the errno value of the failure.
int SyncFolder(const std::filesystem::path& folder);

// Writes `bytes` to a temporary file in the target's folder and renames it into place, so that a
// failed write never destroys the file that was there before. The temporary file gets a random
// name and is made exclusively, so a link planted under any name cannot redirect the write; a
// link at the target itself is replaced, not followed. When it returns, the file's bytes and its
// name in the folder are on the disk: what depends on the new file (removing what it replaces)
// may follow.
void WriteFileAtomically(const std::filesystem::path& path, ByteSpan bytes,
                         FileMode mode = kDataFileMode);
// The same in the folder open as `folder_fd`: the file is the last part of `path` there (the
// whole `path` names it in messages).
void WriteFileAtomically(int folder_fd, const std::filesystem::path& path, ByteSpan bytes,
                         FileMode mode = kDataFileMode);

}  // namespace lorix
