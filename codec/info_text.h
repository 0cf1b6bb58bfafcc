#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lorix {

// The addresses the information text and the programs' link buttons name.
inline constexpr std::string_view kWebPageUrl = "https://www.lorix.example/";
inline constexpr std::string_view kDownloadPageUrl = "https://www.lorix.example/download/";
inline constexpr std::string_view kAuthorMail = "autor@lorix.example";

// The fixed information text appended to every attachment: cp1252 bytes, CR LF line ends.
const std::string& InfoText();

// Its length in bytes, as written into every stream header.
std::int32_t InfoTextLength();

}  // namespace lorix
