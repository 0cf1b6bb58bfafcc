#include "desktop/file_dialog_filter.h"

#include <algorithm>

namespace lorix {

std::string NulSeparatedFilter(std::string_view bar_separated) {
  std::string list(bar_separated);
  std::replace(list.begin(), list.end(), '|', '\0');
  // A list ending in '|' already ends its last entry.
  if (!list.empty() && list.back() != '\0') list.push_back('\0');
  list.push_back('\0');
  return list;
}

std::string DialogDefaultExtension(std::string_view extension) {
  while (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
  return std::string(extension);
}

std::string BackslashPath(std::string_view path) {
  std::string windows_path(path);
  std::replace(windows_path.begin(), windows_path.end(), '/', '\\');
  return windows_path;
}

}  // namespace lorix
