#pragma once

// The recording journal's file: made afresh or reopened after its whole chunks, appended to and
// synced. The POSIX version works on a file descriptor (journal_file.cpp); the Windows one on a
// file handle (win32/journal_file_win32.cpp).

#include <cstdint>
#include <filesystem>

#include "codec/bytes.h"

namespace lorix {

class JournalFile {
 public:
  JournalFile() = default;
  ~JournalFile();
  JournalFile(const JournalFile&) = delete;
  JournalFile& operator=(const JournalFile&) = delete;

  // Makes `path` as a new file for appending, private to this user (POSIX: mode 0600; Windows:
  // the permissions its folder passes on). A file or link already under that name is removed
  // first, never followed or written through. The file may be renamed while it is open.
  bool Create(const std::filesystem::path& path);
  // Opens the regular file at `path` for appending after its first `size` bytes, cutting off
  // what follows them. False when it is missing, no regular file, a link, or shorter.
  bool OpenAfter(const std::filesystem::path& path, std::uint64_t size);
  bool IsOpen() const { return handle_ != kClosed; }
  // Writes `bytes` at the end; the number written, fewer than given when the disk is full or
  // gone.
  std::size_t Write(ByteSpan bytes);
  // Makes the written bytes reach the disk (not the folder's entry: SyncFolder does that).
  bool Sync();
  void Close();

 private:
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;  // the file descriptor, or the Windows file handle
};

}  // namespace lorix
