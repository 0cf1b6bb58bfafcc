#pragma once

// Small text files the user may edit beside the program (mail texts, the recommendation): read
// as UTF-8, or as cp1252 when they are not valid UTF-8, which older editors write.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorix {

// The file's text as UTF-8 without a leading byte-order mark; nothing when it cannot be read or
// is larger than 1 MiB (such a file is not one of these texts).
std::optional<std::string> ReadUserTextFile(const std::filesystem::path& path);

// The lines of a text; a line ends at CR LF, LF or CR, and a break at the very end starts no
// further line.
std::vector<std::string_view> SplitTextLines(std::string_view text);

}  // namespace lorix
