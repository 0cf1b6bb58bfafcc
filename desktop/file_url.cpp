// FileUrl of mailto_url.h, apart from the mailto: texts: it names files the Linux way, for the
// mail programs the desktop starts.

#include <system_error>

#include "desktop/mailto_url.h"

namespace lorix {

std::string FileUrl(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) absolute = path;
  return "file://" + PercentEncode(absolute.lexically_normal().string(), "/");
}

}  // namespace lorix
