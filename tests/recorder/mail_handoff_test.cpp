#include "recorder/mail_handoff.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "desktop/mapi_result.h"
#include "tests/support/recording_dialogs.h"

namespace lorix {
namespace {

namespace fs = std::filesystem;

fs::path MakeTempDir(const char* prefix) {
  std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp: " + pattern);
  return pattern;
}

// A fresh program folder for the mail text files; the working directory the test started in is
// put back at the end, since the hand-off changes it.
class MailHandoffTest : public ::testing::Test {
 protected:
  MailHandoffTest()
      : start_dir_(fs::current_path()),
        program_folder_(MakeTempDir("lorix-mail-")),
        paths_(RecorderPaths::ForProgramFolder(program_folder_)) {
    services_.compose = [this](const MailDraft& draft) {
      drafts_.push_back(draft);
      if (on_compose_) on_compose_();
      return MailComposerResult{compose_code_, attach_by_hand_, no_mail_program_};
    };
    services_.open_folder = [this](const fs::path& folder) { folders_.push_back(folder); };
    services_.show_files = [this](const std::vector<fs::path>& files) {
      shown_files_.push_back(files);
    };
    services_.open_url = [this](const std::string& url) {
      urls_.push_back(url);
      return open_result_;
    };
  }
  ~MailHandoffTest() override {
    fs::current_path(start_dir_);
    fs::remove_all(program_folder_);
  }

  void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  MailHandoff Handoff(MailTexts texts = {"Mapi-Text\r\n", "System-Text \r\n"}) {
    return MailHandoff(std::move(texts), program_folder_, dialogs_, services_);
  }

  static MailAttachment Attachment() { return {40000, {"/p/LORIXs/A.EXE"}}; }
  static MailAttachment BothFiles() { return {40000, {"/p/LORIXs/A.EXE", "/p/LORIXs/A.mp3"}}; }

  fs::path start_dir_;
  fs::path program_folder_;
  RecorderPaths paths_;
  testing::RecordingDialogs dialogs_;
  MailServices services_;
  std::vector<MailDraft> drafts_;
  std::vector<std::string> urls_;
  std::vector<fs::path> folders_;
  std::vector<std::vector<fs::path>> shown_files_;
  int compose_code_ = kMapiSuccess;
  bool attach_by_hand_ = false;
  bool no_mail_program_ = false;
  int open_result_ = 33;
  std::function<void()> on_compose_;
};

TEST(MailSubjectTest, CountsWholeKilobytesPlusOne) {
  EXPECT_EQ(MailSubject(40000), "LORIX-Sprachanhang (40 KB) ");
  EXPECT_EQ(MailSubject(1023), "LORIX-Sprachanhang (1 KB) ");
  EXPECT_EQ(MailSubject(1024), "LORIX-Sprachanhang (2 KB) ");
  EXPECT_EQ(MailSubject(3'000'000'000), "LORIX-Sprachanhang (2929688 KB) ");
}

TEST_F(MailHandoffTest, SystemTextPutsBlankAndLineBreakBehindEveryLine) {
  struct Case {
    std::string file;
    std::string text;
  };
  const Case cases[] = {
      {"Hallo\nGruss\n", "Hallo \r\nGruss \r\n"},
      {"Hallo\r\nGruss\r\n", "Hallo \r\nGruss \r\n"},
      {"Hallo\r\nGruss", "Hallo \r\nGruss \r\n"},
      {"Hallo\rGruss\r", "Hallo \r\nGruss \r\n"},
      {"Hallo\r\n\r\nGruss\n", "Hallo \r\n \r\nGruss \r\n"},
      {"", ""},
  };
  for (const Case& c : cases) {
    Write(paths_.mail_text_system, c.file);
    EXPECT_EQ(LoadMailTexts(paths_).SystemMailText, c.text) << c.file;
  }
}

TEST_F(MailHandoffTest, MissingOrUnreadableFilesGiveTheFallbackTexts) {
  MailTexts texts = LoadMailTexts(paths_);
  EXPECT_EQ(texts.MapiMailText, "\r\n\r\n\r\n\r\n");
  EXPECT_EQ(texts.SystemMailText, " \r\n\r\n\r\n");

  fs::create_directory(paths_.mail_text_mapi);
  fs::create_directory(paths_.mail_text_system);
  texts = LoadMailTexts(paths_);
  EXPECT_EQ(texts.MapiMailText, "\r\n\r\n\r\n\r\n");
  EXPECT_EQ(texts.SystemMailText, " \r\n\r\n\r\n");
}

TEST_F(MailHandoffTest, MailTextsAreReadAsUtf8OrElseCp1252) {
  Write(paths_.mail_text_mapi, "Liebe Grüße\r\n\r\nTeil 2\r\n");
  EXPECT_EQ(LoadMailTexts(paths_).MapiMailText, "Liebe Grüße\r\n\r\nTeil 2\r\n");

  Write(paths_.mail_text_mapi,
        "Liebe Gr\xFC\xDF"
        "e \x80\r\n");
  Write(paths_.mail_text_system,
        "Gr\xFC\xDF"
        "e\r\n");
  MailTexts texts = LoadMailTexts(paths_);
  EXPECT_EQ(texts.MapiMailText, "Liebe Grüße €\r\n");
  EXPECT_EQ(texts.SystemMailText, "Grüße \r\n");

  Write(paths_.mail_text_mapi, "\xEF\xBB\xBFHallo");
  Write(paths_.mail_text_system, "\xEF\xBB\xBFHallo\n");
  texts = LoadMailTexts(paths_);
  EXPECT_EQ(texts.MapiMailText, "Hallo");
  EXPECT_EQ(texts.SystemMailText, "Hallo \r\n");
}

TEST_F(MailHandoffTest, MapiMethodComposesMailWithSubjectTextAndAttachment) {
  MailHandoff handoff = Handoff({"Bitte anhören.\r\n", "unused"});
  EXPECT_EQ(handoff.OpenMailProgram(MailMethod::kMapi, Attachment()), kMapiSuccess);

  ASSERT_EQ(drafts_.size(), 1u);
  EXPECT_EQ(drafts_[0].subject, "LORIX-Sprachanhang (40 KB) ");
  EXPECT_EQ(drafts_[0].body, "Bitte anhören.\r\n");
  EXPECT_EQ(drafts_[0].attachments, std::vector<fs::path>{"/p/LORIXs/A.EXE"});
  EXPECT_TRUE(urls_.empty());
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_TRUE(folders_.empty());

  handoff.OpenMailProgram(MailMethod::kMapi, BothFiles());
  ASSERT_EQ(drafts_.size(), 2u);
  EXPECT_EQ(drafts_[1].attachments, (std::vector<fs::path>{"/p/LORIXs/A.EXE", "/p/LORIXs/A.mp3"}));
}

TEST_F(MailHandoffTest, MapiResultCodeShowsItsMessageInAnErrorBox) {
  const std::pair<int, std::string> cases[] = {
      {MAPI_USER_ABORT, "Benutzer hat Senden abgebrochen oder MAPI nicht installiert."},
      {MAPI_E_FAILURE, "Unbekannter Fehler."},
      {MAPI_E_ATTACHMENT_NOT_FOUND, "Datei zum Anhängen nicht gefunden"},
      {MAPI_E_AMBIGUOUS_RECIPIENT,
       "Empfänger nicht eindeutig. (Nur möglich, wenn Emailadresse nicht angegeben.)"},
  };
  for (const auto& [code, message] : cases) {
    compose_code_ = code;
    dialogs_.shown.clear();
    EXPECT_EQ(Handoff().OpenMailProgram(MailMethod::kMapi, Attachment()), code);
    ASSERT_EQ(dialogs_.shown.size(), 1u) << code;
    EXPECT_EQ(dialogs_.shown[0].caption, "LORIX");
    EXPECT_EQ(dialogs_.shown[0].text, message);
    EXPECT_EQ(dialogs_.shown[0].icon, DialogIcon::kError);
    EXPECT_EQ(dialogs_.shown[0].buttons, DialogButtons::kOk);
  }
  for (int silent : {kMapiSuccess, 4, 99, -1}) {
    compose_code_ = silent;
    dialogs_.shown.clear();
    Handoff().OpenMailProgram(MailMethod::kMapi, Attachment());
    EXPECT_TRUE(dialogs_.shown.empty()) << silent;
  }
}

TEST_F(MailHandoffTest, UnknownMailProgramAsksToAttachByHandAndOpensTheFolder) {
  attach_by_hand_ = true;
  EXPECT_EQ(Handoff().OpenMailProgram(MailMethod::kMapi, Attachment()), kMapiSuccess);
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].caption, "LORIX");
  EXPECT_EQ(dialogs_.shown[0].text,
            "Das Standard-Mail-Programm ist LORIX nicht bekannt, die Datei ist der neuen Mail "
            "daher eventuell nicht angehängt.\r\nBitte hängen Sie sie gegebenenfalls von Hand an; "
            "der Ordner mit der Datei wird geöffnet:\r\n/p/LORIXs/A.EXE");
  EXPECT_EQ(dialogs_.shown[0].icon, DialogIcon::kInformation);
  EXPECT_EQ(folders_, std::vector<fs::path>{"/p/LORIXs"});
}

TEST_F(MailHandoffTest, NoMailProgramSaysSoAndShowsTheFilesToDragIntoAMail) {
  no_mail_program_ = true;
  compose_code_ = MAPI_USER_ABORT;
  EXPECT_EQ(Handoff().OpenMailProgram(MailMethod::kMapi, Attachment()), MAPI_USER_ABORT);
  ASSERT_EQ(dialogs_.shown.size(), 2u);
  EXPECT_EQ(dialogs_.shown[0].text, "Benutzer hat Senden abgebrochen oder MAPI nicht installiert.");
  EXPECT_EQ(dialogs_.shown[1].caption, "LORIX");
  EXPECT_EQ(dialogs_.shown[1].text,
            "Es wurde kein Mail-Programm mit MAPI-Schnittstelle gefunden, die Datei konnte daher "
            "keiner neuen Mail angehängt werden.\r\nSie wird im Explorer gezeigt; bitte ziehen "
            "Sie sie von dort in eine neue Mail:\r\n/p/LORIXs/A.EXE");
  EXPECT_EQ(dialogs_.shown[1].icon, DialogIcon::kInformation);
  EXPECT_EQ(shown_files_, std::vector<std::vector<fs::path>>{{"/p/LORIXs/A.EXE"}});
  EXPECT_TRUE(folders_.empty());

  // A library that answers "not supported" has no message of its own; both files are shown.
  dialogs_.shown.clear();
  compose_code_ = 26;
  EXPECT_EQ(Handoff().OpenMailProgram(MailMethod::kMapi, BothFiles()), 26);
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].text,
            "Es wurde kein Mail-Programm mit MAPI-Schnittstelle gefunden, die Dateien konnten "
            "daher keiner neuen Mail angehängt werden.\r\nSie werden im Explorer gezeigt; bitte "
            "ziehen Sie sie von dort in eine neue Mail:\r\n/p/LORIXs/A.EXE\r\n/p/LORIXs/A.mp3");
  ASSERT_EQ(shown_files_.size(), 2u);
  EXPECT_EQ(shown_files_[1], (std::vector<fs::path>{"/p/LORIXs/A.EXE", "/p/LORIXs/A.mp3"}));
}

TEST_F(MailHandoffTest, MapiMethodMakesTheProgramFolderTheWorkingDirectoryAgain) {
  const fs::path elsewhere = MakeTempDir("lorix-mail-elsewhere-");
  on_compose_ = [&] { fs::current_path(fs::temp_directory_path()); };

  for (int code : {kMapiSuccess, MAPI_E_FAILURE}) {
    compose_code_ = code;
    fs::current_path(elsewhere);
    Handoff().OpenMailProgram(MailMethod::kMapi, Attachment());
    EXPECT_TRUE(fs::equivalent(fs::current_path(), program_folder_)) << code;
  }
  fs::remove_all(elsewhere);
}

TEST_F(MailHandoffTest, SystemMethodOpensMailtoUrlWithPathAndSystemText) {
  Write(paths_.mail_text_system, "Hallo\r\nGruss\r\n");
  MailHandoff handoff = Handoff(LoadMailTexts(paths_));
  EXPECT_EQ(handoff.OpenMailProgram(MailMethod::kSystem, Attachment()), 33);

  ASSERT_EQ(urls_.size(), 1u);
  EXPECT_EQ(urls_[0],
            "mailto:?subject=LORIX-Sprachanhang%20%2840%20KB%29%20"
            "&body=%2Fp%2FLORIXs%2FA.EXEHallo%20%0D%0AGruss%20%0D%0A");
  EXPECT_TRUE(drafts_.empty());
  EXPECT_TRUE(dialogs_.shown.empty());

  handoff.OpenMailProgram(MailMethod::kSystem, BothFiles());
  ASSERT_EQ(urls_.size(), 2u);
  EXPECT_NE(urls_[1].find("&body=%2Fp%2FLORIXs%2FA.EXE%0D%0A%2Fp%2FLORIXs%2FA.mp3Hallo%20"),
            std::string::npos);
}

TEST_F(MailHandoffTest, SystemMethodReportsAFailedStartByNumber) {
  for (int result : {2, 32, 0}) {
    open_result_ = result;
    dialogs_.shown.clear();
    EXPECT_EQ(Handoff().OpenMailProgram(MailMethod::kSystem, Attachment()), result);
    ASSERT_EQ(dialogs_.shown.size(), 1u) << result;
    EXPECT_EQ(dialogs_.shown[0].caption, "LORIX");
    EXPECT_EQ(dialogs_.shown[0].text, "Fehler-Nr.: " + std::to_string(result));
    EXPECT_EQ(dialogs_.shown[0].buttons, DialogButtons::kOk);
  }
}

TEST_F(MailHandoffTest, NoMethodDoesNothing) {
  const fs::path elsewhere = fs::temp_directory_path();
  fs::current_path(elsewhere);
  EXPECT_EQ(Handoff().OpenMailProgram(MailMethod::kNone, Attachment()), 0);
  EXPECT_TRUE(drafts_.empty());
  EXPECT_TRUE(urls_.empty());
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_TRUE(fs::equivalent(fs::current_path(), elsewhere));
}

}  // namespace
}  // namespace lorix
