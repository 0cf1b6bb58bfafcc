#include "desktop/mailto_url.h"

namespace lorix {

std::string PercentEncode(std::string_view text, std::string_view keep) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' ||
                            c == '~';
    if (unreserved || keep.find(c) != std::string_view::npos) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

std::string MailtoUrl(std::string_view recipient, std::string_view subject, std::string_view body) {
  return "mailto:" + PercentEncode(recipient, "@") + "?subject=" + PercentEncode(subject) +
         "&body=" + PercentEncode(body);
}

}  // namespace lorix
