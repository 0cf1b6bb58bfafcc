#pragma once

// The texts of the about box "Programm-Informationen": version lines, the program's running
// time, the tag of the contact mails and the recommendation mail with its clipboard text and
// question. Plain C++ so that tests check every text without a display. All texts are UTF-8.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "audio/dialogs.h"

namespace lorix {

// The optional, user-editable recommendation text beside the program.
inline constexpr const char* kRecommendationFileName = "Empfehlung.txt";

// The maker's two name lines shown in the box.
inline constexpr const char* kMakerNameLine1 = "Lorix-Team";
inline constexpr const char* kMakerNameLine2 = "Sprachnachrichten-Werkstatt";

using WallClock = std::chrono::system_clock;

// Whole minutes the program has been running: the elapsed time rounded half to even, at least 1
// (also when the clock was set back since the start).
int RunTimeMinutes(WallClock::time_point start, WallClock::time_point now);

// Hours ":" minutes, the minutes always with two digits: 75 gives "1:15".
std::string RunTimeText(int minutes);

// The title panel: "LORIX V." + short version.
std::string PanelTitleText(std::string_view short_version);

// The version line: program name + " V." + full version.
std::string VersionText(std::string_view program_name, std::string_view full_version);

// The main window's caption: the version line with the short version + "  (Build " + full
// version + ")".
std::string MainWindowCaption(std::string_view program_name, std::string_view short_version,
                              std::string_view full_version);

// Subject and body of a contact mail: program name + "(V." + full version + ")".
std::string EMailTag(std::string_view program_name, std::string_view full_version);

// The recommendation mail; the recipient is left for the user to fill in.
struct Recommendation {
  std::string recipient;
  std::string subject;
  std::string body;
};

std::filesystem::path RecommendationFilePath(const std::filesystem::path& program_folder);

// Subject "LORIX"; the body is the whole text of "Empfehlung.txt" in the program folder with its
// lines joined by CR LF, or "Programm-Empfehlung: LORIX" when there is no such file or it cannot
// be read. The file is read as UTF-8, or as cp1252 when it is not valid UTF-8.
Recommendation ReadRecommendation(const std::filesystem::path& program_folder);

// What goes on the clipboard: "MailTo: " + recipient, "subject=" + subject and the body, in the
// form a user can paste into any mail program.
std::string RecommendationClipboardText(const Recommendation& recommendation);

// The Yes/No question after the text went to the clipboard; it names the text file's path
// whether the file exists or not, so the user learns where to adapt the text.
std::string RecommendationQuestion(const Recommendation& recommendation,
                                   const std::filesystem::path& text_file);

// The recommendation button: puts the recommendation on the clipboard and asks whether to write
// it as a new mail. The mailto: link of that mail on "Ja", else empty.
std::string RecommendationMailLink(const std::filesystem::path& program_folder, Dialogs& dialogs,
                                   const std::function<void(const std::string&)>& set_clipboard);

}  // namespace lorix
