#pragma once

// The information text of an attachment is stored in cp1252; a Linux text viewer expects UTF-8.

#include <filesystem>

namespace lorix {

inline constexpr const char* kInfoViewName = "TempInfo-utf8.txt";

// Writes a UTF-8 copy of the cp1252 file `info_file` beside it ("TempInfo-utf8.txt") and returns
// the copy's path; when the copy cannot be made, `info_file` itself (shown as it is).
std::filesystem::path WriteInfoTextView(const std::filesystem::path& info_file);

}  // namespace lorix
