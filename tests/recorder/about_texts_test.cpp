#include "recorder/about_texts.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using lorix::WallClock;

fs::path MakeTempDir(const char* prefix) {
  std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp: " + pattern);
  return pattern;
}

int MinutesAfter(WallClock::duration elapsed) {
  const WallClock::time_point start = WallClock::now();
  return lorix::RunTimeMinutes(start, start + elapsed);
}

TEST(AboutRunTime, ShowsHoursAndMinutesWithTwoDigits) {
  EXPECT_EQ(lorix::RunTimeText(MinutesAfter(100s)), "0:02");
  EXPECT_EQ(lorix::RunTimeText(MinutesAfter(75min)), "1:15");
  EXPECT_EQ(lorix::RunTimeText(MinutesAfter(10h)), "10:00");
  EXPECT_EQ(lorix::RunTimeText(MinutesAfter(26h + 5min)), "26:05");
}

TEST(AboutRunTime, RoundsHalfMinutesToEvenAndShowsAtLeastOneMinute) {
  EXPECT_EQ(MinutesAfter(89s), 1);
  EXPECT_EQ(MinutesAfter(90s), 2);   // 1.5 -> 2
  EXPECT_EQ(MinutesAfter(150s), 2);  // 2.5 -> 2
  EXPECT_EQ(MinutesAfter(210s), 4);  // 3.5 -> 4
  EXPECT_EQ(MinutesAfter(0s), 1);
  EXPECT_EQ(MinutesAfter(29s), 1);
  EXPECT_EQ(MinutesAfter(-5min), 1);  // the clock was set back
}

class AboutRecommendation : public ::testing::Test {
 protected:
  AboutRecommendation() : folder_(MakeTempDir("lorix-about-")) {}
  ~AboutRecommendation() override { fs::remove_all(folder_); }

  void WriteTextFile(const std::string& bytes) {
    std::ofstream(folder_ / "Empfehlung.txt", std::ios::binary) << bytes;
  }

  fs::path folder_;
};

TEST_F(AboutRecommendation, WithoutTextFileRecommendsTheProgramByName) {
  const lorix::Recommendation recommendation = lorix::ReadRecommendation(folder_);
  EXPECT_EQ(recommendation.recipient, "");
  EXPECT_EQ(recommendation.subject, "LORIX");
  EXPECT_EQ(recommendation.body, "Programm-Empfehlung: LORIX");
  EXPECT_EQ(lorix::RecommendationFilePath(folder_), folder_ / "Empfehlung.txt");
}

TEST_F(AboutRecommendation, TextFileLinesAreJoinedWithCrLf) {
  // LF, CR LF and CR line ends; an empty line inside stays, the last line break adds none.
  WriteTextFile("Hallo,\nhör dir das an:\r\n\r\nGrüße\rEnde\n");
  EXPECT_EQ(lorix::ReadRecommendation(folder_).body,
            "Hallo,\r\nhör dir das an:\r\n\r\nGrüße\r\nEnde");
  WriteTextFile("eine Zeile");
  EXPECT_EQ(lorix::ReadRecommendation(folder_).body, "eine Zeile");
  WriteTextFile("Schluss mit Leerzeile\r\n\r\n");
  EXPECT_EQ(lorix::ReadRecommendation(folder_).body, "Schluss mit Leerzeile\r\n");
}

TEST_F(AboutRecommendation, ReadsCp1252TextAndDropsAUtf8ByteOrderMark) {
  WriteTextFile(
      "Gr\xFC\xDF"
      "e f\xFCr 5 \x80\r\nTsch\xFC\xDF");
  EXPECT_EQ(lorix::ReadRecommendation(folder_).body, "Grüße für 5 €\r\nTschüß");
  WriteTextFile("\xEF\xBB\xBFGrüße");
  EXPECT_EQ(lorix::ReadRecommendation(folder_).body, "Grüße");
}

TEST_F(AboutRecommendation, EmptyOrUnreadableTextFile) {
  WriteTextFile("");
  EXPECT_EQ(lorix::ReadRecommendation(folder_).body, "");
  fs::remove(folder_ / "Empfehlung.txt");
  fs::create_directory(folder_ / "Empfehlung.txt");
  EXPECT_EQ(lorix::ReadRecommendation(folder_).body, "Programm-Empfehlung: LORIX");
}

}  // namespace
