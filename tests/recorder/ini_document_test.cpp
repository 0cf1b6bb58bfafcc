#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "recorder/ini_document.h"

namespace lorix {
namespace {

TEST(IniDocumentRead, FindsKeysByTrimmedCaseInsensitiveNamesAndFallsBackToTheDefault) {
  const IniDocument ini(
      "Orphan=1\r\n; Comment=1\r\n[ Options ]\r\n  compressLEVEL  =  5  \r\nName=\"  q  \"\r\n"
      "Half=\"open\r\nBare\r\nTwice=first\r\nTwice=second\r\n[OPTIONS]\r\nLate=again\r\n");
  EXPECT_EQ(ini.ReadString("options", "CompressLevel", "d"), "5");
  EXPECT_EQ(ini.ReadString("Options", "Name", "d"), "  q  ");
  EXPECT_EQ(ini.ReadString("Options", "Half", "d"), "\"open");
  EXPECT_EQ(ini.ReadString("Options", "Bare", "d"), "");
  EXPECT_EQ(ini.ReadString("Options", "Twice", "d"), "first");
  EXPECT_EQ(ini.ReadString("Options", "Late", "d"), "again");  // a repeated section counts too
  EXPECT_EQ(ini.ReadString("Options", "Missing", "d"), "d");
  EXPECT_EQ(ini.ReadString("Nowhere", "CompressLevel", "d"), "d");
  EXPECT_EQ(ini.ReadString("", "Orphan", "d"), "d");
  EXPECT_EQ(ini.ReadString("Options", "; Comment", "d"), "d");
}

TEST(IniDocumentRead, IntegersAreTheLeadingSignedDecimalDigitsElseTheDefault) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  const struct {
    const char* value;
    std::int64_t expected;
  } cases[] = {{"42", 42},
               {"  -7 ", -7},
               {"+5", 5},
               {"12 ms", 12},
               {"007", 7},
               {"0x10", 0},
               {"'8'", 8},
               {"99999999999999999999", kMax},
               {"-99999999999999999999", -kMax - 1},
               {"abc", -99},
               {"", -99},
               {"-", -99},
               {"- 5", -99}};
  for (const auto& c : cases) {
    const IniDocument ini("[S]\nKey=" + std::string(c.value) + "\n");
    EXPECT_EQ(ini.ReadInteger("S", "Key", -99), c.expected) << "value: " << c.value;
  }
  EXPECT_EQ(IniDocument("[S]\nBare\n").ReadInteger("S", "Bare", -99), -99);
}

TEST(IniDocumentWrite, ChangesOnlyTheValueOfAnExistingKey) {
  IniDocument ini(
      "; own\r\n[options]\r\ncompresslevel = 5   \r\nBare\r\nEmpty=\r\n\r\n[Extra]\r\nA=9\r\n");
  ini.WriteInteger("Options", "CompressLevel", 3);
  ini.WriteString("OPTIONS", "BARE", "x");
  ini.WriteString("Options", "Empty", "-1\r\n[Injected]");  // cannot split the line
  EXPECT_EQ(
      ini.Text(),
      "; own\r\n[options]\r\ncompresslevel = 3\r\nBare=x\r\nEmpty=-1\r\n\r\n[Extra]\r\nA=9\r\n");
}

TEST(IniDocumentWrite, AppendsNewKeysBehindTheSectionsLastKeyAndNewSectionsAtTheEnd) {
  IniDocument ini("[Options]\r\nA=1\r\n; next\r\n\r\n[Empty]\r\n[Options]\r\nC=3\r\n");
  ini.WriteInteger("options", "B", 2);
  ini.WriteInteger("Empty", "Key", 4);
  ini.WriteInteger("New", "Key", 5);
  ini.WriteInteger("New", "Other", 6);
  EXPECT_EQ(ini.Text(),
            "[Options]\r\nA=1\r\nB=2\r\n; next\r\n\r\n[Empty]\r\nKey=4\r\n[Options]\r\nC=3\r\n"
            "\r\n[New]\r\nKey=5\r\nOther=6\r\n");
}

TEST(IniDocumentLineEnds, NewFilesUseCrLfAndExistingFilesKeepTheirOwn) {
  IniDocument fresh;
  fresh.WriteInteger("S", "Key", 1);
  fresh.WriteInteger("T", "Key", 2);
  EXPECT_EQ(fresh.Text(), "[S]\r\nKey=1\r\n\r\n[T]\r\nKey=2\r\n");

  IniDocument unix_file("[S]\nKey=1\n");
  unix_file.WriteInteger("T", "Key", 3);
  EXPECT_EQ(unix_file.Text(), "[S]\nKey=1\n\n[T]\nKey=3\n");

  // Each line keeps its own end; new lines end like the first line.
  IniDocument mixed("[S]\r\nA=1\nB=2\r\n");
  mixed.WriteInteger("S", "A", 5);
  mixed.WriteInteger("S", "C", 3);
  EXPECT_EQ(mixed.Text(), "[S]\r\nA=5\nB=2\r\nC=3\r\n");

  // A last line without an end gets one only when something is added behind it.
  IniDocument unterminated("[S]\nKey=1");
  unterminated.WriteInteger("S", "Key", 7);
  EXPECT_EQ(unterminated.Text(), "[S]\nKey=7");
  unterminated.WriteInteger("S", "Next", 8);
  EXPECT_EQ(unterminated.Text(), "[S]\nKey=7\nNext=8\n");
}

TEST(IniDocumentBytes, TextTheProgramDoesNotUnderstandComesBackByteForByte) {
  const std::string text =
      "\xEF\xBB\xBF[Options]\r\nTitel=Gr\xF6\xDF"
      "e\r\n" +
      std::string("Nul=a\0b\r\n", 10) + "no equals sign\n[unclosed\r\n=no name\r\n\t\r\nlast line";
  IniDocument ini(text);
  EXPECT_EQ(ini.Text(), text);
  // The byte-order mark does not hide the first section.
  EXPECT_EQ(ini.ReadString("Options", "Titel", ""),
            "Gr\xF6\xDF"
            "e");
  ini.WriteInteger("Options", "Titel", 1);
  EXPECT_EQ(ini.Text().substr(0, 23), "\xEF\xBB\xBF[Options]\r\nTitel=1\r\n");
}

}  // namespace
}  // namespace lorix
