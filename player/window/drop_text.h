#pragma once

// The files named by a drop. File managers hand over a text/uri-list: one "file://" URI per line
// with percent-escapes, lines ended by CR LF; other sources give plain paths, one per line.

#include <string>
#include <string_view>
#include <vector>

namespace lorix {

// The local paths in `text`, in order. Empty lines and comment lines ('#') are skipped, and so
// are URIs of other schemes (a dropped web link is no file). A "file:" URI loses its scheme
// and host and is percent-decoded; a plain path is taken as it stands.
std::vector<std::string> FilesFromDropText(std::string_view text);

// `text` with every "%XX" (two hex digits) replaced by its byte; malformed escapes stay.
std::string PercentDecode(std::string_view text);

}  // namespace lorix
