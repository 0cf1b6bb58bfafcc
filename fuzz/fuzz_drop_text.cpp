// Fuzzes the player's reading of dropped text: a uri-list or plain paths from whatever program
// the user drags from, percent-escapes included.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/mailto_url.h"
#include "fuzz/fuzz_support.h"
#include "player/window/drop_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Decoding only ever shortens, and undoes the encoding of any bytes.
  LORIX_FUZZ_CHECK(lorix::PercentDecode(text).size() <= size);
  LORIX_FUZZ_CHECK(lorix::PercentDecode(lorix::PercentEncode(text)) == text);

  for (const std::string& file : lorix::FilesFromDropText(text)) {
    LORIX_FUZZ_CHECK(!file.empty());
  }

  // The input's lines as absolute paths in a uri-list, the way file managers hand them over,
  // come back as exactly those paths, whatever bytes they hold.
  std::vector<std::string> paths;
  std::string uri_list = "# dropped\r\n";
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    paths.push_back("/" + std::string(text.substr(begin, end - begin)));
    uri_list += "file://" + lorix::PercentEncode(paths.back(), "/") + "\r\n";
    begin = end + 1;
  }
  LORIX_FUZZ_CHECK(lorix::FilesFromDropText(uri_list) == paths);
  return 0;
}
