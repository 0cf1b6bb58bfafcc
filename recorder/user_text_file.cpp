#include "recorder/user_text_file.h"

#include <string_view>

#include "codec/bytes.h"
#include "codec/file_io.h"
#include "codec/text_encoding.h"

namespace lorix {
namespace {

constexpr std::uint64_t kMaxUserTextBytes = 1024 * 1024;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::optional<std::string> ReadUserTextFile(const std::filesystem::path& path) {
  Bytes bytes;
  if (ReadFileInto(path, bytes, kMaxUserTextBytes) != 0) return std::nullopt;
  std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!IsValidUtf8(text)) return Cp1252ToUtf8(text);
  if (text.starts_with(kUtf8ByteOrderMark)) text.erase(0, kUtf8ByteOrderMark.size());
  return text;
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

}  // namespace lorix
