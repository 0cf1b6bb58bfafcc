#pragma once

// Hands a finished attachment to the user's mail program: the two mail texts read at start, the
// subject, and the three start methods of the radio group "Mail-Programm starten:" (a new mail
// with the file attached, the desktop's mailto: handler with the file's path in the body, or
// nothing).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "audio/dialogs.h"
#include "desktop/mail_composer.h"
#include "recorder/recorder_paths.h"

namespace lorix {

// The body texts of the two methods, UTF-8 with CR LF line breaks.
struct MailTexts {
  std::string MapiMailText;    // "MailTextMAPI.txt" as it stands
  std::string SystemMailText;  // "MailTextSystem.txt", every line followed by a blank and CR LF
};

// Reads both texts from the program folder, once at start. The files are user-editable: they are
// read as UTF-8, or as cp1252 when they are not valid UTF-8 (a leading UTF-8 byte-order mark is
// dropped). A file that cannot be read gives its fallback text without any message.
MailTexts LoadMailTexts(const RecorderPaths& paths);

// "LORIX-Sprachanhang (" + size of all attached files in KB, rounded up by one + " KB) ", with
// the trailing blank.
std::string MailSubject(std::int64_t attached_bytes);

// The radio buttons of the method choice, valued as their tags (the stored setting).
enum class MailMethod { kNone = 0, kMapi = 1, kSystem = 2 };

// What the hand-off needs to know about the files just written: the attachment, the MP3 file or
// both.
struct MailAttachment {
  std::int64_t attached_bytes = 0;  // all files together
  std::vector<std::string> paths;
};

// The platform services behind the hand-off; tests replace them. The defaults are the desktop's
// own (mail_services.cpp) or the Windows shell's (win32/mail_services_win32.cpp).
struct MailServices {
  // Opens a new mail with the file attached; says with a Simple-MAPI-style code (mapi_result.h)
  // how that went and whether the user has to attach the file by hand.
  std::function<MailComposerResult(const MailDraft&)> compose = OpenMailComposer;
  // Opens a mailto: URL with the desktop; returns a program-start result (more than 32: started).
  std::function<int(const std::string& url)> open_url = DefaultOpenUrl;
  // Shows a folder in the file manager; a failure is ignored.
  std::function<void(const std::filesystem::path& folder)> open_folder = DefaultOpenFolder;
  // Shows files of one folder selected in the file manager, ready to be dragged into a mail;
  // where it cannot select them, their folder is opened. A failure is ignored.
  std::function<void(const std::vector<std::filesystem::path>& files)> show_files =
      DefaultShowFiles;
  // Makes the folder the working directory again; a failure is ignored.
  std::function<void(const std::filesystem::path& folder)> restore_working_directory =
      DefaultRestoreWorkingDirectory;

  static int DefaultOpenUrl(const std::string& url);
  static void DefaultOpenFolder(const std::filesystem::path& folder);
  static void DefaultShowFiles(const std::vector<std::filesystem::path>& files);
  static void DefaultRestoreWorkingDirectory(const std::filesystem::path& folder);
};

class MailHandoff {
 public:
  MailHandoff(MailTexts texts, std::filesystem::path program_folder, Dialogs& dialogs,
              MailServices services = {});

  // Opens the mail program with the method of the checked radio button, after the attachment was
  // written. Returns the composer's code for kMapi, the start result for kSystem, 0 for kNone.
  int OpenMailProgram(MailMethod method, const MailAttachment& attachment);

  // Opens a new mail with subject, body and the attached files; a non-empty message for the
  // returned code is shown in an error box. When the mail program is one that may leave the files
  // out, a note says so and their folder is opened, so that the user can attach them by hand.
  // When there is no mail program to take the files, a note says so and the files are shown
  // selected in the file manager, to be dragged into a mail.
  // The mail program may have changed the working directory, so the program folder becomes it
  // again, whatever the outcome.
  int SendMailWithAttachment(const std::string& subject, const std::string& note_text,
                             const std::vector<std::string>& attachment_paths);

  const MailTexts& texts() const { return texts_; }

 private:
  int OpenSystemMail(const std::string& subject, const std::vector<std::string>& attachment_paths);

  MailTexts texts_;
  std::filesystem::path program_folder_;
  Dialogs& dialogs_;
  MailServices services_;
};

}  // namespace lorix
