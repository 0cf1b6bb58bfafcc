#pragma once

#include <string>
#include <string_view>

namespace lorix {

// Texts in attachments are stored in the Windows Western code page (cp1252); the desktop shows
// UTF-8. Characters without a cp1252 form become '?'; undefined cp1252 bytes become U+FFFD.
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view cp1252);

// True when `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// The text with a..z made upper-case; every other byte unchanged (file-name comparisons).
std::string AsciiUpperCase(std::string_view text);

}  // namespace lorix
