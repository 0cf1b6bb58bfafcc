// The information text, the web, download and mail links with their copy buttons, the
// associated WAV application and the system mixer. Each asks before anything outside the
// player is opened.

#include <system_error>

#include "codec/info_text.h"
#include "player/player_app.h"

namespace lorix {

bool PlayerApp::Ask(const std::string& caption, const std::string& text) {
  return dialogs_.Show({caption, text, DialogIcon::kNone, DialogButtons::kOkCancel}) ==
         DialogAnswer::kOk;
}

void PlayerApp::OpenInfoText() {
  if (extraction_.InfoFile.empty()) return;
  // The stored file keeps the attachment's bytes; a viewer that expects UTF-8 gets a copy.
  const std::filesystem::path shown = services_.info_text_view
                                          ? services_.info_text_view(extraction_.InfoFile)
                                          : extraction_.InfoFile;
  if (services_.open) services_.open(shown.string());
}

void PlayerApp::StartWaveApplication() {
  if (current_wav_file_.empty()) return;
  if (Ask("Datei öffnen", "Wollen Sie die Datei \"" + current_wav_file_ + "\" mit \"" +
                              wave_app_name_ + "\" öffnen?") &&
      services_.open) {
    services_.open(current_wav_file_);
  }
}

void PlayerApp::StartSystemMixer() {
  const int result = services_.start_system_mixer ? services_.start_system_mixer() : 0;
  if (result < 31) dialogs_.ShowError("Information", "Systemmixer nicht verfügbar !!");
}

void PlayerApp::OpenWebPage(PlayerControl sender) {
  const std::string url(kWebPageUrl);
  if (sender == PlayerControl::kBtnCopyWebPage) {
    CopyToClipboard(url);
    return;
  }
  if (Ask("Zusätzliche Information",
          "Wollen Sie \"" + url + "\" für weitere Informationen öffnen?") &&
      services_.open) {
    services_.open(url);
  }
}

void PlayerApp::OpenDownloadPage(PlayerControl sender) {
  const std::string url(kDownloadPageUrl);
  if (sender == PlayerControl::kBtnCopyDownload) {
    CopyToClipboard(url);
    return;
  }
  if (Ask("Download starten",
          "Wollen Sie das aktuellste LORIX-Sende-Programm herunterladen ?\r\n(\"" + url + "\")") &&
      services_.open) {
    services_.open(url);
  }
}

std::string PlayerApp::MailSubject() const {
  return "LORIX-Player(V." + setup_.version + ")";
}

void PlayerApp::MailToAuthor(PlayerControl sender) {
  const std::string subject = MailSubject();
  const std::string mail(kAuthorMail);
  if (sender == PlayerControl::kBtnCopyMail) {
    CopyToClipboard(mail);
    return;
  }
  // The subject holds only characters a mailto URL carries as they are.
  if (Ask("eMail senden", "Wollen Sie eine eMail senden an \"" + mail + "\" ?") && services_.open) {
    services_.open("mailto:" + mail + "?subject=" + subject + "&body=" + subject);
  }
}

void PlayerApp::CopyToClipboard(const std::string& text) {
  // The answer holds the whole player and comes to the front: the click that copied may have
  // left another program in front of it.
  if (services_.copy_to_clipboard && services_.copy_to_clipboard(text)) {
    dialogs_.Show({"Info", "\"" + text + "\"\r\nwurde in die Zwischenablage kopiert",
                   DialogIcon::kNone, DialogButtons::kOk, DialogModality::kTaskModal});
  } else {
    dialogs_.Show({"Info",
                   "\"" + text +
                       "\"\r\nkonnte nicht in die Zwischenablage kopiert werden. Bitte noch "
                       "einmal versuchen.",
                   DialogIcon::kError, DialogButtons::kOk, DialogModality::kTaskModal});
  }
}

}  // namespace lorix
