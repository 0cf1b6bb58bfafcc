#include "recorder/ini_file.h"

#include <cerrno>
#include <string>

#include "codec/bytes.h"
#include "codec/file_io.h"

namespace lorix {
namespace {

constexpr std::uint64_t kMaxIniFileBytes = 16 * 1024 * 1024;

}  // namespace

int LoadIniFile(const std::filesystem::path& path, IniDocument& document) {
  Bytes bytes;
  const int result = ReadFileInto(path, bytes, kMaxIniFileBytes);
  document =
      IniDocument(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return result;
}

bool IsMissingFile(int error_number) {
  return error_number == ENOENT || error_number == ENOTDIR;
}

void SaveIniFile(const std::filesystem::path& path, const IniDocument& document) {
  const std::string text = document.Text();
  // A rewritten file keeps the permissions the user gave it (say, readable only by them).
  WriteFileAtomically(path,
                      ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                      ModeOfFile(path, kDataFileMode));
}

}  // namespace lorix
