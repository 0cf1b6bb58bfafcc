#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "codec/bytes.h"

namespace lorix {

// A short German text for an errno value, for messages about files.
std::string SystemErrorText(int error_number);

// A file opened for reading by position. Errors throw CodecError with a German message that
// names the file.
class InputFile {
 public:
  explicit InputFile(const std::filesystem::path& path);
  std::int64_t size() const { return size_; }
  // Reads `count` bytes starting at `offset`; the range must lie inside the file.
  Bytes ReadRange(std::int64_t offset, std::int64_t count);

 private:
  std::filesystem::path path_;
  std::ifstream stream_;
  std::int64_t size_ = 0;
};

Bytes ReadWholeFile(const std::filesystem::path& path);

// Writes `bytes` to a temporary name in the target's folder and renames it into place, so that a
// failed write never destroys the file that was there before.
void WriteFileAtomically(const std::filesystem::path& path, ByteSpan bytes,
                         bool executable = false);

}  // namespace lorix
