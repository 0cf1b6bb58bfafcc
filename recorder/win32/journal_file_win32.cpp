// The journal's file on Windows: a file handle that others may read and that may be renamed
// while it is open (the journal is made under a name of its own and renamed into place);
// FlushFileBuffers makes the written bytes reach the disk.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <algorithm>

#include "codec/win32/wide_text.h"
#include "recorder/journal_file.h"

namespace lorix {
namespace {

constexpr DWORD kSharing = FILE_SHARE_READ | FILE_SHARE_DELETE;

HANDLE HandleOf(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

JournalFile::~JournalFile() {
  Close();
}

bool JournalFile::Create(const std::filesystem::path& path) {
  Close();
  const std::wstring name = Widen(path.native());
  // A link is removed itself; CREATE_NEW then never opens what was there.
  DeleteFileW(name.c_str());
  const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, kSharing, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

bool JournalFile::OpenAfter(const std::filesystem::path& path, std::uint64_t size) {
  Close();
  const HANDLE file =
      CreateFileW(Widen(path.native()).c_str(), GENERIC_WRITE, kSharing, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  // Writes go on after the whole chunks: the file pointer is set there and the rest cut off.
  if (!GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
      ((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow) < size ||
      !SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
    CloseHandle(file);
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

std::size_t JournalFile::Write(ByteSpan bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(HandleOf(handle_), bytes.data() + done, chunk, &written, nullptr) ||
        written == 0) {
      break;
    }
    done += written;
  }
  return done;
}

bool JournalFile::Sync() {
  return FlushFileBuffers(HandleOf(handle_)) != 0;
}

void JournalFile::Close() {
  if (handle_ == kClosed) return;
  CloseHandle(HandleOf(handle_));
  handle_ = kClosed;
}

}  // namespace lorix
