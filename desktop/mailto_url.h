#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lorix {

// Percent-encodes the bytes of a UTF-8 text: the unreserved characters A-Z a-z 0-9 - . _ ~ and
// those in `keep` stay, every other byte becomes %XX (upper-case hex), so a blank is %20 and
// CR LF is %0D%0A.
std::string PercentEncode(std::string_view text, std::string_view keep = {});

// "mailto:" + recipient + "?subject=" + subject + "&body=" + body, each part percent-encoded
// (the recipient keeps its '@'). An empty recipient gives "mailto:?subject=...".
std::string MailtoUrl(std::string_view recipient, std::string_view subject, std::string_view body);

// The file: URL of a local file ("file:///folder/a%20b.EXE"); a relative path is made absolute.
std::string FileUrl(const std::filesystem::path& path);

}  // namespace lorix
