// Fuzzes the text-encoding conversions: the information text of a stranger's attachment is
// turned from cp1252 into UTF-8 for the viewer, and user-edited texts are told apart as UTF-8 or
// cp1252 and converted.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "codec/text_encoding.h"
#include "fuzz/fuzz_support.h"

namespace {

// Well-formed UTF-8 by the table of the Unicode standard (no overlong forms, no surrogates,
// nothing above U+10FFFF), written independently of the decoder under test.
bool IsWellFormedUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    int trail = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead <= 0x7F) {
      trail = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      trail = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trail = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trail = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i - 1 < static_cast<std::size_t>(trail)) return false;
    for (int k = 1; k <= trail; ++k) {
      const auto byte = static_cast<std::uint8_t>(text[i + static_cast<std::size_t>(k)]);
      if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF)) return false;
    }
    i += static_cast<std::size_t>(trail) + 1;
  }
  return true;
}

// The five bytes cp1252 leaves undefined.
bool IsUndefinedCp1252(char c) {
  const auto b = static_cast<std::uint8_t>(c);
  return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  LORIX_FUZZ_CHECK(lorix::IsValidUtf8(text) == IsWellFormedUtf8(text));

  // Any cp1252 text becomes well-formed UTF-8 and comes back byte for byte, except the undefined
  // bytes, which were shown as U+FFFD and come back as '?'.
  const std::string utf8 = lorix::Cp1252ToUtf8(text);
  LORIX_FUZZ_CHECK(IsWellFormedUtf8(utf8));
  const std::string back = lorix::Utf8ToCp1252(utf8);
  LORIX_FUZZ_CHECK(back.size() == text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    LORIX_FUZZ_CHECK(back[i] == (IsUndefinedCp1252(text[i]) ? '?' : text[i]));
  }

  // Any bytes taken as UTF-8 give at most one cp1252 byte each.
  LORIX_FUZZ_CHECK(lorix::Utf8ToCp1252(text).size() <= text.size());
  LORIX_FUZZ_CHECK(lorix::AsciiUpperCase(text).size() == text.size());
  return 0;
}
