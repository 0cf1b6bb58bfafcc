#include "codec_test_util.h"

namespace lorix::testing {
namespace {

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(InfoText, Cp1252WithCrLfLineEnds) {
  const std::string& text = InfoText();
  EXPECT_EQ(text.rfind(" LORIX:\r\n", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(Count(text, "\r\n"), Count(text, "\n"));
  EXPECT_EQ(Count(text, "\r\n"), Count(text, "\r"));
  EXPECT_EQ(Count(text, "\xC3") + Count(text, std::string(1, '\0')), 0u) << "UTF-8 or NUL";
  for (const char* line :
       {"\r\n Mit LORIX k\xF6nnen Sprach-Aufzeichnungen per eMail\r\n",
        "\r\n Der Empf\xE4nger braucht daf\xFCr nichts zu installieren: der Anhang\r\n",
        "\r\n Einstellbare Kompression und Stille-Unterdr\xFC"
        "ckung.\r\n",
        "\r\n   https://www.lorix.example/\r\n"}) {
    EXPECT_EQ(Count(text, line), 1u) << line;
  }
  EXPECT_EQ(InfoTextLength(), static_cast<std::int32_t>(text.size()));
}

TEST(TextEncoding, RoundTrips) {
  const std::pair<std::string, std::string> cases[] = {
      {"Hallo, Welt!\r\n", "Hallo, Welt!\r\n"},
      {"äöüÄÖÜß", "\xE4\xF6\xFC\xC4\xD6\xDC\xDF"},
      {"€ „zitiert“ – … Œ ž Ÿ", "\x80 \x84zitiert\x93 \x96 \x85 \x8C \x9E \x9F"},
      {"\u00A0©°ÿ", "\xA0\xA9\xB0\xFF"}};
  for (const auto& [utf8, cp1252] : cases) {
    EXPECT_EQ(Utf8ToCp1252(utf8), cp1252) << utf8;
    EXPECT_EQ(Cp1252ToUtf8(cp1252), utf8) << utf8;
  }
  // Every defined cp1252 byte survives the way to UTF-8 and back; the five undefined become U+FFFD.
  for (int b = 1; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b)), utf8 = Cp1252ToUtf8(one);
    EXPECT_TRUE(IsValidUtf8(utf8)) << b;
    const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
    EXPECT_EQ(undefined ? utf8 : Utf8ToCp1252(utf8), undefined ? "\uFFFD" : one) << b;
  }
}

TEST(TextEncoding, UnmappableAndMalformed) {
  EXPECT_EQ(Utf8ToCp1252("a✓b😀c"), "a?b?c");
  EXPECT_EQ(Utf8ToCp1252("x\xC3"), "x?");
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");
  EXPECT_TRUE(IsValidUtf8("Grüße €😀"));
  for (const char* bad :
       {"\xC3", "\xC3(", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF5\x80\x80\x80", "\xFF"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
}

}  // namespace
}  // namespace lorix::testing
