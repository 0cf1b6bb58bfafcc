#include "recorder/about_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

#include "desktop/mailto_url.h"
#include "recorder/user_text_file.h"

namespace lorix {

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr const char* kThreeLineBreaks = "\r\n\r\n\r\n";

// The lines joined with CR LF.
std::string JoinLinesWithCrLf(std::string_view text) {
  const std::vector<std::string_view> lines = SplitTextLines(text);
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += kLineBreak;
    joined += lines[i];
  }
  return joined;
}

}  // namespace

int RunTimeMinutes(WallClock::time_point start, WallClock::time_point now) {
  // (now - start) in days x 1440, formed as seconds / 60 so that whole seconds give exact halves.
  const std::chrono::duration<double, std::ratio<60>> elapsed = now - start;
  const double minutes = std::nearbyint(elapsed.count());
  if (!(minutes >= 1.0)) return 1;
  if (minutes >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  return static_cast<int>(minutes);
}

std::string RunTimeText(int minutes) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d:%2.2d", minutes / 60, minutes % 60);
  return buffer;
}

std::string PanelTitleText(std::string_view short_version) {
  return "LORIX V." + std::string(short_version);
}

std::string VersionText(std::string_view program_name, std::string_view full_version) {
  return std::string(program_name) + " V." + std::string(full_version);
}

std::string MainWindowCaption(std::string_view program_name, std::string_view short_version,
                              std::string_view full_version) {
  return VersionText(program_name, short_version) + "  (Build " + std::string(full_version) + ")";
}

std::string EMailTag(std::string_view program_name, std::string_view full_version) {
  return std::string(program_name) + "(V." + std::string(full_version) + ")";
}

std::filesystem::path RecommendationFilePath(const std::filesystem::path& program_folder) {
  return program_folder / kRecommendationFileName;
}

Recommendation ReadRecommendation(const std::filesystem::path& program_folder) {
  Recommendation recommendation{"", "LORIX", "Programm-Empfehlung: LORIX"};
  const std::filesystem::path file = RecommendationFilePath(program_folder);
  const std::optional<std::string> text = ReadUserTextFile(file);
  if (text) recommendation.body = JoinLinesWithCrLf(*text);
  return recommendation;
}

std::string RecommendationClipboardText(const Recommendation& recommendation) {
  return "MailTo: " + recommendation.recipient + kLineBreak + "subject=" + recommendation.subject +
         kThreeLineBreaks + recommendation.body + kThreeLineBreaks;
}

std::string RecommendationQuestion(const Recommendation& recommendation,
                                   const std::filesystem::path& text_file) {
  return recommendation.body + kThreeLineBreaks +
         "Der obige Text wurde in die Zwischenablage kopiert." + kLineBreak +
         "(Sie können den Text auch anpassen in \"" + text_file.string() + "\")" + kLineBreak +
         kLineBreak + "Wollen Sie Ihr Mail-Programm zur Weiterempfehlung starten?";
}

std::string RecommendationMailLink(const std::filesystem::path& program_folder, Dialogs& dialogs,
                                   const std::function<void(const std::string&)>& set_clipboard) {
  const Recommendation recommendation = ReadRecommendation(program_folder);
  set_clipboard(RecommendationClipboardText(recommendation));
  const std::string question =
      RecommendationQuestion(recommendation, RecommendationFilePath(program_folder));
  const DialogAnswer answer =
      dialogs.Show({"LORIX", question, DialogIcon::kQuestion, DialogButtons::kYesNo});
  if (answer != DialogAnswer::kYes) return {};
  return MailtoUrl(recommendation.recipient, recommendation.subject, recommendation.body);
}

}  // namespace lorix
