#pragma once

// A path as the shell and mail programs take it: UTF-16 with backslashes only (the programs'
// paths are UTF-8 and may use either separator).

#include <algorithm>
#include <filesystem>
#include <string>

#include "codec/win32/wide_text.h"

namespace lorix {

inline std::wstring WindowsPath(const std::filesystem::path& path) {
  std::wstring wide = Widen(path.string());
  std::replace(wide.begin(), wide.end(), L'/', L'\\');
  return wide;
}

}  // namespace lorix
