#include "audio/time_text.h"

#include <clocale>
#include <cstdio>

namespace lorix {

std::string FormatDecimal(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  // printf writes the locale's decimal mark; the programs always show a point.
  const char* mark = std::localeconv()->decimal_point;
  std::string text(buffer);
  if (mark != nullptr && mark[0] != '\0' && mark[0] != '.' && mark[1] == '\0') {
    for (char& c : text) {
      if (c == mark[0]) c = '.';
    }
  }
  return text;
}

std::string FormatSeconds(std::int64_t ms) {
  return FormatDecimal(static_cast<double>(ms) / 1000.0, 2) + " Sek.";
}

}  // namespace lorix
