#include "recorder/mail_handoff.h"

#include <optional>
#include <string_view>
#include <utility>

#include "desktop/mailto_url.h"
#include "desktop/mapi_result.h"
#include "recorder/user_text_file.h"

namespace lorix {
namespace {

constexpr const char* kMessageCaption = "LORIX";
constexpr const char* kLineBreak = "\r\n";
// Followed by the attachment's path.
constexpr std::string_view kAttachByHandText =
    "Das Standard-Mail-Programm ist LORIX nicht bekannt, die Datei ist der neuen Mail daher "
    "eventuell nicht angehängt.\r\nBitte hängen Sie sie gegebenenfalls von Hand an; der Ordner "
    "mit der Datei wird geöffnet:\r\n";
// Followed by the paths, one per line.
constexpr std::string_view kAttachAllByHandText =
    "Das Standard-Mail-Programm ist LORIX nicht bekannt, die Dateien sind der neuen Mail daher "
    "eventuell nicht angehängt.\r\nBitte hängen Sie sie gegebenenfalls von Hand an; der Ordner "
    "mit den Dateien wird geöffnet:\r\n";

// Followed by the attachment's path.
constexpr std::string_view kNoMailProgramText =
    "Es wurde kein Mail-Programm mit MAPI-Schnittstelle gefunden, die Datei konnte daher keiner "
    "neuen Mail angehängt werden.\r\nSie wird im Explorer gezeigt; bitte ziehen Sie sie von dort "
    "in eine neue Mail:\r\n";
// Followed by the paths, one per line.
constexpr std::string_view kNoMailProgramAllText =
    "Es wurde kein Mail-Programm mit MAPI-Schnittstelle gefunden, die Dateien konnten daher "
    "keiner neuen Mail angehängt werden.\r\nSie werden im Explorer gezeigt; bitte ziehen Sie sie "
    "von dort in eine neue Mail:\r\n";

// The paths one per line, without a break after the last.
std::string OnePerLine(const std::vector<std::string>& paths) {
  std::string text;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) text += kLineBreak;
    text += paths[i];
  }
  return text;
}

// Each line followed by a blank and CR LF.
std::string LinesWithBlankAndBreak(std::string_view text) {
  std::string result;
  for (const std::string_view line : SplitTextLines(text))
    result.append(line).append(" ").append(kLineBreak);
  return result;
}

}  // namespace

MailTexts LoadMailTexts(const RecorderPaths& paths) {
  MailTexts texts;
  if (std::optional<std::string> mapi = ReadUserTextFile(paths.mail_text_mapi)) {
    texts.MapiMailText = std::move(*mapi);
  } else {
    texts.MapiMailText = "\r\n\r\n\r\n\r\n";
  }
  if (std::optional<std::string> system = ReadUserTextFile(paths.mail_text_system)) {
    texts.SystemMailText = LinesWithBlankAndBreak(*system);
  } else {
    texts.SystemMailText = " \r\n\r\n\r\n";
  }
  return texts;
}

std::string MailSubject(std::int64_t attached_bytes) {
  const std::int64_t kilobytes = attached_bytes / 1024 + 1;
  return "LORIX-Sprachanhang (" + std::to_string(kilobytes) + " KB) ";
}

MailHandoff::MailHandoff(MailTexts texts, std::filesystem::path program_folder, Dialogs& dialogs,
                         MailServices services)
    : texts_(std::move(texts)),
      program_folder_(std::move(program_folder)),
      dialogs_(dialogs),
      services_(std::move(services)) {}

int MailHandoff::OpenMailProgram(MailMethod method, const MailAttachment& attachment) {
  const std::string subject = MailSubject(attachment.attached_bytes);
  switch (method) {
    case MailMethod::kMapi:
      return SendMailWithAttachment(subject, texts_.MapiMailText, attachment.paths);
    case MailMethod::kSystem:
      return OpenSystemMail(subject, attachment.paths);
    case MailMethod::kNone:
      break;
  }
  return 0;
}

int MailHandoff::SendMailWithAttachment(const std::string& subject, const std::string& note_text,
                                        const std::vector<std::string>& attachment_paths) {
  MailDraft draft{subject, note_text, {}};
  for (const std::string& path : attachment_paths) draft.attachments.emplace_back(path);
  const MailComposerResult result = services_.compose(draft);
  const std::string_view message = MapiResultMessage(result.code);
  if (!message.empty()) dialogs_.ShowError(kMessageCaption, std::string(message));
  if (result.no_mail_program && !attachment_paths.empty()) {
    const std::string_view text =
        attachment_paths.size() == 1 ? kNoMailProgramText : kNoMailProgramAllText;
    dialogs_.Show({kMessageCaption, std::string(text) + OnePerLine(attachment_paths),
                   DialogIcon::kInformation, DialogButtons::kOk});
    services_.show_files(draft.attachments);
  } else if (result.attach_by_hand && !attachment_paths.empty()) {
    const std::string_view text =
        attachment_paths.size() == 1 ? kAttachByHandText : kAttachAllByHandText;
    dialogs_.Show({kMessageCaption, std::string(text) + OnePerLine(attachment_paths),
                   DialogIcon::kInformation, DialogButtons::kOk});
    // The files of one hand-off lie in one folder.
    services_.open_folder(std::filesystem::path(attachment_paths.front()).parent_path());
  }
  services_.restore_working_directory(program_folder_);
  return result.code;
}

int MailHandoff::OpenSystemMail(const std::string& subject,
                                const std::vector<std::string>& attachment_paths) {
  // The files are not attached here: the body names them so that the user can attach them.
  const std::string url =
      MailtoUrl("", subject, OnePerLine(attachment_paths) + texts_.SystemMailText);
  const int result = services_.open_url(url);
  if (result <= 32) {
    dialogs_.Show({kMessageCaption, "Fehler-Nr.: " + std::to_string(result), DialogIcon::kNone,
                   DialogButtons::kOk});
  }
  return result;
}

}  // namespace lorix
