#include "audio/time_text.h"

#include <charconv>

namespace lorix {

std::string FormatSeconds(std::int64_t ms) {
  // to_chars never looks at the locale, so a German desktop still gets a decimal point.
  char buffer[64];
  const double seconds = static_cast<double>(ms) / 1000.0;
  const auto result =
      std::to_chars(buffer, buffer + sizeof(buffer), seconds, std::chars_format::fixed, 2);
  return std::string(buffer, result.ptr) + " Sek.";
}

}  // namespace lorix
